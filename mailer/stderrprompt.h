#pragma once
// The mailer has no windows: whatever the shared code would show in a box
// goes to the error output, and nothing waits for an answer.
#include "core/prompt.h"

#include <cstdio>

namespace qv::mailer {

class StderrPrompt : public core::Prompt {
public:
    void message(const QString &text, core::MessageIcon) override
    {
        QString line = text;
        line.replace(QLatin1Char('\r'), QLatin1Char('\n'));
        std::fprintf(stderr, "DAVireza: %s\n", line.toLocal8Bit().constData());
    }
    bool question(const QString &text) override
    {
        message(text, core::MessageIcon::Information);
        return false;
    }
    bool okCancel(const QString &text) override { return question(text); }
    std::optional<QString> input(const QString &, const QString &, const QString &) override { return std::nullopt; }
    QString saveFileName(const QString &, const QString &, const QString &) override { return QString(); }
    QString openFileName(const QString &, const QString &, const QString &) override { return QString(); }
    bool openUrl(const QUrl &) override { return false; }
    qint64 startProgram(const QString &, const QStringList &, const QString &) override { return -1; }
    qint64 startWatchedProgram(const QString &, const QStringList &, const QString &, core::ProgramEnded) override { return -1; }
    int exec(QDialog *) override { return 0; }
};

} // namespace qv::mailer
