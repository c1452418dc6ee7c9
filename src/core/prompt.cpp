#include "core/prompt.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QProcess>

namespace qv::core {

namespace {
InteractivePrompt g_interactive;
Prompt *g_current = nullptr;

QWidget *owner() { return QApplication::activeWindow(); }
} // namespace

Prompt &prompt() { return g_current ? *g_current : g_interactive; }

void setPrompt(Prompt *p) { g_current = p; }

void InteractivePrompt::message(const QString &text, MessageIcon icon)
{
    // Messages compose lines with a lone CR; show them as line breaks.
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    const QString title = QApplication::applicationName();
    switch (icon) {
    case MessageIcon::Information: QMessageBox::information(owner(), title, shown); break;
    case MessageIcon::Warning: QMessageBox::warning(owner(), title, shown); break;
    case MessageIcon::Error: QMessageBox::critical(owner(), title, shown); break;
    }
}

bool InteractivePrompt::question(const QString &text)
{
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return QMessageBox::question(owner(), QApplication::applicationName(), shown, QMessageBox::Yes | QMessageBox::No)
           != QMessageBox::No;
}

bool InteractivePrompt::okCancel(const QString &text)
{
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return QMessageBox::information(owner(), QApplication::applicationName(), shown, QMessageBox::Ok | QMessageBox::Cancel)
           == QMessageBox::Ok;
}

std::optional<QString> InteractivePrompt::input(const QString &caption, const QString &label, const QString &preset)
{
    bool ok = false;
    const QString text = QInputDialog::getText(owner(), caption, label, QLineEdit::Normal, preset, &ok);
    if (!ok)
        return std::nullopt;
    return text;
}

QString InteractivePrompt::saveFileName(const QString &caption, const QString &startName, const QString &filter)
{
    return QFileDialog::getSaveFileName(owner(), caption, startName, filter);
}

QString InteractivePrompt::openFileName(const QString &caption, const QString &startDir, const QString &filter)
{
    return QFileDialog::getOpenFileName(owner(), caption, startDir, filter);
}

bool InteractivePrompt::openUrl(const QUrl &url) { return QDesktopServices::openUrl(url); }

qint64 InteractivePrompt::startProgram(const QString &program, const QStringList &arguments, const QString &workingDir)
{
    qint64 pid = -1;
    if (!QProcess::startDetached(program, arguments, workingDir, &pid))
        return -1;
    return pid;
}

int InteractivePrompt::exec(QDialog *dialog) { return dialog->exec(); }

} // namespace qv::core
