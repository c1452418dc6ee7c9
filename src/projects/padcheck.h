#pragma once
// The field rules of PAD 3.11, applied to a written PAD file: what a software
// catalog's validator would refuse, said in words the user can act on.
#include <QString>
#include <QStringList>

namespace qv::projects {

// One line per field of the software page whose element the rules reject,
// "<the page's caption>: <what is wrong>", in the order of the file's
// elements; empty when every element passes. Reads the file's elements by
// their place under the root, so it checks what was written, whatever the
// template holds; an element the template lacks counts as empty.
QStringList PadProblems(const QString &padText);

// The one message shown after an export whose file breaks the rules.
QString PadProblemsMessage(const QStringList &problems);

} // namespace qv::projects
