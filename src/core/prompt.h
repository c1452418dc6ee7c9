#pragma once
// Every message box, question, input box, file dialog, opened address, started
// program and modal dialog goes through this seam. The program uses the
// interactive implementation; tests install a scripted one that answers in
// advance and records what was shown.
#include <QString>
#include <QStringList>
#include <QUrl>
#include <functional>
#include <optional>

class QDialog;
class QWidget;

namespace qv::core {

enum class MessageIcon { Information, Warning, Error, Question };

// Called when a watched program has ended: its exit code (-1 when it did not
// exit by itself) and what it wrote to its output and error output.
using ProgramEnded = std::function<void(int exitCode, const QString &output)>;

class Prompt {
public:
    virtual ~Prompt() = default;
    // A message with an OK button.
    virtual void message(const QString &text, MessageIcon icon = MessageIcon::Information) = 0;
    // A Yes/No question; true for Yes.
    virtual bool question(const QString &text) = 0;
    // A Yes/No question whose Yes deletes: "Нет" is its default button, so
    // Enter keeps the data; true for Yes.
    virtual bool deleteQuestion(const QString &text) { return question(text); }
    // A message with OK and Cancel; true for OK.
    virtual bool okCancel(const QString &text) = 0;
    // An input box preset with `preset`; nothing when cancelled. It takes a
    // text of any length: the caller checks it against its column.
    virtual std::optional<QString> input(const QString &caption, const QString &label, const QString &preset) = 0;
    // File dialogs; an empty text when cancelled.
    virtual QString saveFileName(const QString &caption, const QString &startName, const QString &filter) = 0;
    virtual QString openFileName(const QString &caption, const QString &startDir, const QString &filter) = 0;
    // Opens an address or file in the user's default program.
    virtual bool openUrl(const QUrl &url) = 0;
    // Starts a program without waiting; its process id, or -1.
    virtual qint64 startProgram(const QString &program, const QStringList &arguments, const QString &workingDir) = 0;
    // Starts a program without waiting and calls `ended` from the event loop
    // when it has ended; its process id, or -1 (and `ended` is never called).
    virtual qint64 startWatchedProgram(const QString &program, const QStringList &arguments, const QString &workingDir,
                                       ProgramEnded ended) = 0;
    // Runs a dialog modally and returns its result code.
    virtual int exec(QDialog *dialog) = 0;
};

// The interactive implementation: Qt's own boxes and dialogs.
class InteractivePrompt : public Prompt {
public:
    void message(const QString &text, MessageIcon icon) override;
    bool question(const QString &text) override;
    bool deleteQuestion(const QString &text) override;
    bool okCancel(const QString &text) override;
    std::optional<QString> input(const QString &caption, const QString &label, const QString &preset) override;
    QString saveFileName(const QString &caption, const QString &startName, const QString &filter) override;
    QString openFileName(const QString &caption, const QString &startDir, const QString &filter) override;
    bool openUrl(const QUrl &url) override;
    qint64 startProgram(const QString &program, const QStringList &arguments, const QString &workingDir) override;
    qint64 startWatchedProgram(const QString &program, const QStringList &arguments, const QString &workingDir,
                               ProgramEnded ended) override;
    int exec(QDialog *dialog) override;

private:
    int box(const QString &text, MessageIcon icon, int buttons, int defaultButton = 0);
};

// A message's text as a box shows it: a lone CR is a line break.
QString shownText(const QString &text);

Prompt &prompt();
// Installs another implementation (not owned); nullptr restores the interactive one.
void setPrompt(Prompt *p);

} // namespace qv::core
