#include "core/prompt.h"
#include "core/launcher.h"

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

QString shownText(const QString &text)
{
    // Messages compose lines with a lone CR; show them as line breaks.
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return shown;
}

int InteractivePrompt::box(const QString &text, MessageIcon icon, int buttons, int defaultButton)
{
    // Texts from the data (names, statements, replies) are never markup.
    QMessageBox box(icon == MessageIcon::Error     ? QMessageBox::Critical
                    : icon == MessageIcon::Warning ? QMessageBox::Warning
                    : icon == MessageIcon::Question ? QMessageBox::Question
                                                   : QMessageBox::Information,
                    QApplication::applicationName(), shownText(text),
                    QMessageBox::StandardButtons(buttons), owner());
    box.setTextFormat(Qt::PlainText);
    if (defaultButton)
        box.setDefaultButton(QMessageBox::StandardButton(defaultButton));
    return box.exec();
}

void InteractivePrompt::message(const QString &text, MessageIcon icon)
{
    box(text, icon, QMessageBox::Ok);
}

bool InteractivePrompt::question(const QString &text)
{
    return box(text, MessageIcon::Question, QMessageBox::Yes | QMessageBox::No) != QMessageBox::No;
}

bool InteractivePrompt::deleteQuestion(const QString &text)
{
    return box(text, MessageIcon::Question, QMessageBox::Yes | QMessageBox::No, QMessageBox::No) != QMessageBox::No;
}

bool InteractivePrompt::okCancel(const QString &text)
{
    return box(text, MessageIcon::Information, QMessageBox::Ok | QMessageBox::Cancel) == QMessageBox::Ok;
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
    // Started with none of this process's files open (the browser engine's
    // sockets and shared memory among them), its output away from ours.
    return StartDetachedClean(program, arguments, workingDir);
}

int InteractivePrompt::exec(QDialog *dialog) { return dialog->exec(); }

} // namespace qv::core
