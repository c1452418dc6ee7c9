#include "core/prompt.h"
#include "core/launcher.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>

namespace qv::core {

namespace {
InteractivePrompt g_interactive;
Prompt *g_current = nullptr;

bool staysOnTop(const QWidget *w) { return w && w->windowFlags().testFlag(Qt::WindowStaysOnTopHint); }

// The window itself or one it belongs to (a dialog of the users list) stays on top.
bool aboveOnTop(const QWidget *w)
{
    for (; w; w = w->parentWidget() ? w->parentWidget()->window() : nullptr) {
        if (staysOnTop(w))
            return true;
    }
    return false;
}

// A shown window of the program that stays on top (the materials editor, the
// users list), other than `except`; none when there is none.
QWidget *onTopWindow(const QWidget *except)
{
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (w != except && w->isVisible() && staysOnTop(w) && w->windowType() != Qt::Popup && w->windowType() != Qt::ToolTip)
            return w;
    }
    return nullptr;
}

// A box opens over the window it is asked from. Asked while a window that
// stays on top is shown (an operation of the materials editor run from the
// main window, the editor just shown and not yet active), it is that
// window's box: below it, it would be hidden.
QWidget *owner()
{
    QWidget *active = QApplication::activeWindow();
    if (aboveOnTop(active))
        return active;
    if (QWidget *onTop = onTopWindow(nullptr))
        return onTop;
    return active;
}

// A dialog with an owner of its own, asked while a window that stays on
// top is shown, stays on top too; true when it was made to.
bool keepAbove(QWidget *dialog)
{
    if (aboveOnTop(dialog) || !onTopWindow(dialog))
        return false;
    dialog->setWindowFlag(Qt::WindowStaysOnTopHint);
    return true;
}

// Room enough for any value a column holds: the input box never cuts a pasted
// text (Qt's default cuts at 32,767 characters without a word); the caller
// checks the value against its column.
constexpr int kInputRoom = 16 * 1024 * 1024;
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
    QMessageBox box(icon == MessageIcon::Error      ? QMessageBox::Critical
                    : icon == MessageIcon::Warning  ? QMessageBox::Warning
                    : icon == MessageIcon::Question ? QMessageBox::Question
                                                    : QMessageBox::Information,
                    QApplication::applicationName(), shownText(text), QMessageBox::StandardButtons(buttons), owner());
    box.setTextFormat(Qt::PlainText);
    if (defaultButton)
        box.setDefaultButton(QMessageBox::StandardButton(defaultButton));
    return box.exec();
}

void InteractivePrompt::message(const QString &text, MessageIcon icon) { box(text, icon, QMessageBox::Ok); }

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
    QInputDialog dialog(owner());
    dialog.setWindowTitle(caption);
    dialog.setLabelText(label);
    dialog.setInputMode(QInputDialog::TextInput);
    if (auto *edit = dialog.findChild<QLineEdit *>())
        edit->setMaxLength(kInputRoom);
    dialog.setTextValue(preset);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.textValue();
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

qint64 InteractivePrompt::startWatchedProgram(const QString &program, const QStringList &arguments, const QString &workingDir,
                                              ProgramEnded ended)
{
    return StartWatchedClean(program, arguments, workingDir, std::move(ended));
}

int InteractivePrompt::exec(QDialog *dialog)
{
    const bool raised = keepAbove(dialog);
    const int result = dialog->exec();
    if (raised)
        dialog->setWindowFlag(Qt::WindowStaysOnTopHint, false);
    return result;
}

} // namespace qv::core
