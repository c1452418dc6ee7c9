#include "support/scriptedprompt.h"

#include <QDialog>
#include <utility>

namespace qv::test {

ScriptedPrompt::ScriptedPrompt() { core::setPrompt(this); }

ScriptedPrompt::~ScriptedPrompt() { core::setPrompt(nullptr); }

void ScriptedPrompt::message(const QString &text, core::MessageIcon icon)
{
    messages << text;
    messageIcons << icon;
}

bool ScriptedPrompt::question(const QString &text)
{
    questions << text;
    if (answers.isEmpty() && onQuestion)
        return onQuestion(text);
    if (answers.isEmpty())
        throw ScriptExhausted("unexpected question: " + text.toStdString());
    return answers.takeFirst();
}

bool ScriptedPrompt::deleteQuestion(const QString &text)
{
    deleteQuestions << text;
    return question(text);
}

std::optional<QString> ScriptedPrompt::input(const QString &caption, const QString &, const QString &)
{
    inputCaptions << caption;
    if (inputs.isEmpty())
        throw ScriptExhausted("unexpected input box: " + caption.toStdString());
    return inputs.takeFirst();
}

QString ScriptedPrompt::saveFileName(const QString &caption, const QString &, const QString &)
{
    if (fileNames.isEmpty())
        throw ScriptExhausted("unexpected save dialog: " + caption.toStdString());
    return fileNames.takeFirst();
}

QString ScriptedPrompt::openFileName(const QString &caption, const QString &, const QString &)
{
    if (fileNames.isEmpty())
        throw ScriptExhausted("unexpected open dialog: " + caption.toStdString());
    return fileNames.takeFirst();
}

bool ScriptedPrompt::openUrl(const QUrl &url)
{
    openedUrls << url;
    return true;
}

qint64 ScriptedPrompt::startProgram(const QString &program, const QStringList &arguments, const QString &workingDir)
{
    started << Started{program, arguments, workingDir, {}};
    if (realPrograms)
        return core::InteractivePrompt().startProgram(program, arguments, workingDir);
    return nextPid;
}

qint64 ScriptedPrompt::startWatchedProgram(const QString &program, const QStringList &arguments, const QString &workingDir,
                                           core::ProgramEnded ended)
{
    if (realPrograms) {
        started << Started{program, arguments, workingDir, {}};
        return core::InteractivePrompt().startWatchedProgram(program, arguments, workingDir, std::move(ended));
    }
    started << Started{program, arguments, workingDir, nextPid < 0 ? core::ProgramEnded() : std::move(ended)};
    return nextPid;
}

void ScriptedPrompt::end(qsizetype index, int exitCode, const QString &output)
{
    if (index < 0 || index >= started.size() || !started[index].ended)
        throw ScriptExhausted("no watched program to end");
    const core::ProgramEnded ended = std::exchange(started[index].ended, {});
    ended(exitCode, output);
}

int ScriptedPrompt::exec(QDialog *dialog)
{
    dialogsShown << dialog->objectName();
    if (dialogs.isEmpty())
        throw ScriptExhausted("unexpected dialog: " + dialog->objectName().toStdString());
    return dialogs.takeFirst()(dialog);
}

} // namespace qv::test
