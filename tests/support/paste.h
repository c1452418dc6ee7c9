#pragma once
// Pasting into a line edit as a user does: the text on the clipboard, then
// Ctrl+A and Ctrl+V on the edit.
#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QTest>

namespace qv::test {

// A text longer than Qt's default limit of a line edit (32,767 characters).
inline QString longerThanALineEdit(QChar c = QChar(0x0436), qsizetype size = 40000)
{
    return QString(size - 1, c) + QLatin1Char('!');
}

inline void paste(QLineEdit *edit, const QString &text)
{
    QGuiApplication::clipboard()->setText(text);
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
}

} // namespace qv::test
