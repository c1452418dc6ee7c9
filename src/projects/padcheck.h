#pragma once
// The field rules of the PAD format, applied to a written PAD file: what a
// software catalog's validator would refuse, said in words the user can act on.
#include <QString>
#include <QStringList>

namespace qv::projects {

// One line per field the rules reject, naming the field as the software page
// shows it ("Program Info / Program Name: ...") and what is wrong with it;
// empty when every field passes. Reads the file's elements by their place
// under the root, so it checks what was written, whatever the template holds.
QStringList PadProblems(const QString &padText);

// The one message shown after an export whose file breaks the rules.
QString PadProblemsMessage(const QStringList &problems);

} // namespace qv::projects
