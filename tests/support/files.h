#pragma once
// Files a test writes and reads back whole.
#include <QByteArray>
#include <QString>

namespace qv::test {

// Writes `bytes` to `path`, replacing what it held; a file that cannot be
// opened fails the running test.
void writeFile(const QString &path, const QByteArray &bytes);
// The file's bytes; empty when it cannot be read.
QByteArray readFile(const QString &path);

} // namespace qv::test
