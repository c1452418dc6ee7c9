// The software page's PAD export: the project's software version written
// into the template "Pad_File.xml" beside the executable.
#include "projects/padcheck.h"
#include "projects/padexport.h"
#include "projects/softpage.h"
#include "projects/softsql.h"
#include "projects/tfrmprojectmaterials.h"
#include "projects/tfrmprojectmaterials_fields.h"
#include "core/appcontext.h"
#include "core/prompt.h"
#include "db/database.h"
#include "db/query.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>

namespace qv::projects {

using core::prompt;

namespace {
const char *const kNotWritten = "PAD файл не создан.";

// The template's text; nothing, with the reason in `error`, when it cannot be read.
std::optional<QString> readTemplate(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("Не удалось прочитать шаблон PAD файла \"") + path + QStringLiteral("\": ") + file.errorString()
                 + QLatin1Char('.');
        return std::nullopt;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        *error = QStringLiteral("Не удалось прочитать шаблон PAD файла \"") + path + QStringLiteral("\": ") + file.errorString()
                 + QLatin1Char('.');
        return std::nullopt;
    }
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8.decode(bytes);
    if (utf8.hasError()) {
        *error = QStringLiteral("Шаблон PAD файла \"") + path + QStringLiteral("\" должен быть в кодировке UTF-8.");
        return std::nullopt;
    }
    // A byte order mark is no part of the text.
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    return text;
}
} // namespace

void TfrmProjectMaterials::btnPadGenerateClick()
{
    if (!projectChosen())
        return;
    const QString fileName = prompt().saveFileName(QString(), QString(), QString());
    if (fileName.isEmpty())
        return;

    QString error;
    const std::optional<QString> templateText = readTemplate(m_ctx.AppDir + QStringLiteral("Pad_File.xml"), &error);
    if (!templateText) {
        prompt().message(error + QLatin1Char(' ') + QString::fromUtf8(kNotWritten), core::MessageIcon::Error);
        return;
    }

    if (db::ExecQuery(PadSourceSql(m_ctx.CurrentProjectId)) != 0)
        return;
    std::optional<PadSource> source;
    {
        db::QueryResult result(db::DbConnection());
        if (const auto row = result.FetchRow())
            source = PadSourceFromRow(result, *row);
    }
    if (!source) {
        prompt().message(QStringLiteral("У проекта нет описания программы (версии софта). ") + QString::fromUtf8(kNotWritten));
        return;
    }
    // The expiry counts and the agreements as they stand on screen.
    source->expDays = soft->edtExpDays->text();
    source->expUses = soft->edtExpUses->text();
    source->distributionAgreement = soft->memDAgree1->storedText();
    source->licenseAgreement = soft->memLAgree1->storedText();

    const PadResult pad = BuildPad(*templateText, *source);
    if (!pad.error.isEmpty()) {
        prompt().message(pad.error + QLatin1Char(' ') + QString::fromUtf8(kNotWritten), core::MessageIcon::Error);
        return;
    }
    QSaveFile out(fileName);
    if (!out.open(QIODevice::WriteOnly) || out.write(pad.text.toUtf8()) < 0 || !out.commit()) {
        prompt().message(QStringLiteral("Не удалось записать PAD файл \"") + fileName + QStringLiteral("\": ")
                             + out.errorString(),
                         core::MessageIcon::Error);
        return;
    }
    // The file stands; what the catalogs' validators would refuse in it is
    // said in one message, so the user knows what to mend.
    const QStringList problems = PadProblems(pad.text);
    if (!problems.isEmpty())
        prompt().message(PadProblemsMessage(problems), core::MessageIcon::Warning);
}

} // namespace qv::projects
