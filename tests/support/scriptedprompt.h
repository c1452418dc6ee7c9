#pragma once
// A prompt that answers from a script given in advance and records what the
// program showed. Installed for its lifetime.
#include "core/prompt.h"

#include <QList>
#include <QStringList>
#include <QUrl>
#include <functional>
#include <optional>
#include <stdexcept>

class QDialog;

namespace qv::test {

// Thrown when the program asks for something the script has no answer for:
// the test then ends instead of waiting on a dialog.
struct ScriptExhausted : std::runtime_error {
    using std::runtime_error::runtime_error;
};

class ScriptedPrompt : public core::Prompt {
public:
    ScriptedPrompt();
    ~ScriptedPrompt() override;

    struct Started {
        QString program;
        QStringList arguments;
        QString workingDir;
        // Set for a watched start: plays the program's end (see end()).
        core::ProgramEnded ended;
    };

    // Answers to questions and OK/Cancel boxes, used front first; when they
    // run out, `onQuestion` answers (if set).
    QList<bool> answers;
    std::function<bool(const QString &)> onQuestion;
    QList<std::optional<QString>> inputs;
    QStringList fileNames;
    QList<std::function<int(QDialog *)>> dialogs;
    // Returned by startProgram; -1 makes every start fail.
    qint64 nextPid = 4242;
    // Start programs for real (still recorded).
    bool realPrograms = false;

    // What was shown, in order.
    QStringList messages;
    QList<core::MessageIcon> messageIcons; // the icon of each of `messages`
    QStringList questions;
    // The questions asked as deleting ones ("Нет" the default), also in `questions`.
    QStringList deleteQuestions;
    QStringList inputCaptions;
    QList<QUrl> openedUrls;
    QList<Started> started;
    QStringList dialogsShown;

    void message(const QString &text, core::MessageIcon icon) override;
    bool question(const QString &text) override;
    bool deleteQuestion(const QString &text) override;
    bool okCancel(const QString &text) override { return question(text); }
    std::optional<QString> input(const QString &caption, const QString &label, const QString &preset) override;
    QString saveFileName(const QString &caption, const QString &startName, const QString &filter) override;
    QString openFileName(const QString &caption, const QString &startDir, const QString &filter) override;
    bool openUrl(const QUrl &url) override;
    qint64 startProgram(const QString &program, const QStringList &arguments, const QString &workingDir) override;
    // A watched start is recorded with its callback; a real program (see
    // realPrograms) calls it itself when it ends.
    qint64 startWatchedProgram(const QString &program, const QStringList &arguments, const QString &workingDir,
                               core::ProgramEnded ended) override;
    // Plays the end of the watched program started `index`-th: its exit code and output.
    void end(qsizetype index, int exitCode, const QString &output = QString());
    int exec(QDialog *dialog) override;

private:
    core::Prompt *m_previous = nullptr;
};

} // namespace qv::test
