// The materials editor's software versions (tab 0): the load, the save, a
// new version, the expiry switch and the per-language descriptions.
//
// The page shows the project's first software version; its save writes the
// page into every version row of the project it was loaded for. The six
// description fields hold one language of the loaded row at a time; they are
// filled with the row, so that a save never writes texts that were not loaded.
#include "projects/softpage.h"
#include "projects/softsql.h"
#include "projects/tfrmprojectmaterials.h"
#include "projects/tfrmprojectmaterials_fields.h"
#include "core/appcontext.h"
#include "core/prompt.h"
#include "db/database.h"
#include "db/query.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QListWidget>
#include <QPushButton>

namespace qv::projects {

using core::prompt;

namespace {
const char *const kNameTaken = "Такое описание для данного проекта есть, нужно придумать другое описание!";
const char *const kSaveDescriptions = "Были сделаны изменения в описаниях, сохранить их?";
} // namespace

QWidget *TfrmProjectMaterials::buildSoftPage()
{
    auto *page = new QWidget;
    page->setObjectName(QStringLiteral("tsSoft"));
    soft = new SoftPage(page);
    edtBSize1 = soft->edtBSize1;
    CurrentDescLanguage = soft->cmbDescLanguage1->currentText();

    // Every change of a stored field (and of the on-screen agreements and the
    // old parsers' fields) is an edit of the version.
    auto edited = [this] { markEdited(SoftTab); };
    for (const auto &[e, column] : soft->typedEdits()) {
        // A size put in by the size button is no edit; a typed one is.
        if (e == soft->edtBSize1)
            connect(e, &QLineEdit::textEdited, this, edited);
        else
            connect(e, &QLineEdit::textChanged, this, edited);
    }
    for (MaterialLineEdit *e : {soft->edtExpDays, soft->edtExpUses, soft->edtExpOther, soft->edtVFilename1, soft->edtPFilename1,
                                soft->edtGFilename1, soft->edtLFilename1})
        connect(e, &QLineEdit::textChanged, this, edited);
    for (MaterialMemo *m : {soft->memDAgree1, soft->memLAgree1})
        connect(m, &QPlainTextEdit::textChanged, this, edited);
    for (QComboBox *c : {soft->cmbType1, soft->cmbReleaseStatus1, soft->cmbInstall1, soft->cmbCategoryClass1, soft->cmbCategory1})
        connect(c, &QComboBox::currentIndexChanged, this, edited);
    for (QListWidget *l : {soft->clbLanguages1, soft->clbOS1})
        connect(l, &QListWidget::itemChanged, this, edited);
    for (QDateEdit *d : {soft->dtpReleaseDate1, soft->dtpExpDate})
        connect(d, &QDateEdit::dateChanged, this, edited);
    for (QCheckBox *c : {soft->cbExpDate, soft->CheckBox3, soft->CheckBox4, soft->CheckBox5})
        connect(c, &QCheckBox::toggled, this, edited);
    connect(soft->cbExpExists, &QCheckBox::clicked, this, [this] {
        markEdited(SoftTab);
        cbExpExistsClick();
    });

    // The description texts have their own flag.
    auto descriptionEdited = [this] { m_ctx.DescriptionsChanged = true; };
    for (MaterialLineEdit *e : {soft->edtKeywords1, soft->edt45Description1, soft->edt80Description1})
        connect(e, &QLineEdit::textChanged, this, descriptionEdited);
    for (MaterialMemo *m : {soft->mem250Description1, soft->mem450Description1, soft->mem2000Description1})
        connect(m, &QPlainTextEdit::textChanged, this, descriptionEdited);

    connect(soft->cmbDescLanguage1, &QComboBox::activated, this, [this] { cmbDescLanguage1Change(); });
    connect(soft->cbSMaterials, &QComboBox::activated, this, [this] { cbSMaterialsChange(); });
    connect(soft->btnSmaterialSave, &QPushButton::clicked, this, [this] { btnSmaterialSaveClick(); });
    connect(soft->btnPadGenerate, &QPushButton::clicked, this, [this] { btnPadGenerateClick(); });
    connect(soft->Button3, &QPushButton::clicked, this, [this] { Button3Click(); });
    return page;
}

void TfrmProjectMaterials::resetSoftPage()
{
    soft->reset();
    CurrentDescLanguage = soft->cmbDescLanguage1->currentText();
    m_ctx.DescriptionsChanged = false;
}

void TfrmProjectMaterials::cbSMaterialsChange()
{
    const int projectId = m_ctx.CurrentProjectId;
    if (projectId <= 0)
        return;
    const QString sql = SoftwareOfProjectSql(projectId);
    if (db::ExecQuery(sql) != 0)
        return;
    const QString language = soft->cmbDescLanguage1->currentText();
    const LoadedMaterial before = m_loaded[SoftTab];
    int id = 0;
    LanguageTexts texts;
    db::LoadedRow remembered;
    {
        db::QueryResult result(db::DbConnection());
        const auto row = result.FetchRow();
        if (!row) {
            result.free();
            prompt().message(QStringLiteral("Ошибка! Row=nil после выполнения запроса:") + QLatin1Char('\r') + sql);
            return;
        }
        id = result.field(*row, QStringLiteral("smaterial_id")).toInt();
        texts = LanguageTextsFromRow(result, *row, language);
        remembered = db::LoadedRow::fromResult(QStringLiteral("smaterials"), QStringLiteral("smaterial_id"), id, result, *row);
        soft->showRow(result, *row);
    }
    m_ctx.CurrentMaterialId = id;
    // Pending description edits of this very row and language stay on
    // screen; otherwise the fields show the row's texts.
    const bool keepTexts = m_ctx.DescriptionsChanged && soft->textsLoaded && before.id == id && before.projectId == projectId
                           && CurrentDescLanguage == language;
    if (!keepTexts) {
        soft->setTexts(texts);
        soft->textsLoaded = true;
        m_ctx.DescriptionsChanged = false;
    }
    CurrentDescLanguage = language;
    m_loaded[SoftTab] = LoadedMaterial{id, projectId, false, remembered};
    MaterialChanged = false;
}

void TfrmProjectMaterials::btnSmaterialSaveClick()
{
    MaterialChanged = false;
    LoadedMaterial &l = m_loaded[SoftTab];
    // A page that shows no loaded version has nothing to write.
    if (!l.isLoaded())
        return;
    l.edited = false;
    // The texts go under the language they belong to.
    const bool withTexts = soft->textsLoaded || m_ctx.DescriptionsChanged;
    std::optional<LanguageTexts> texts;
    if (withTexts)
        texts = soft->texts();
    QString error;
    const auto written = SoftwareSaveValues(soft->values(), CurrentDescLanguage, texts, &error);
    const std::optional<QString> sql =
        written ? SoftwareUpdateSql(soft->values(), CurrentDescLanguage, texts, l.projectId, &error) : std::nullopt;
    auto keepEdits = [this, &l] {
        // The edits stay on screen, still unsaved.
        l.edited = true;
        MaterialChanged = true;
    };
    if (!sql) {
        prompt().message(error, core::MessageIcon::Error);
        return keepEdits();
    }
    QList<db::FieldValue> fields;
    for (const auto &[column, value] : *written)
        fields.append(db::FieldValue{column, SoftFieldCaption(column), value});
    if (!db::FieldsFit(QStringLiteral("smaterials"), fields))
        return keepEdits();
    // The page shows the loaded version; the save writes every version of
    // the project, provided the loaded one still holds what was loaded.
    const auto write = [&sql] { return db::ExecQuery(*sql) == 0; };
    switch (db::SaveRow(l.row, fields, write)) {
    case db::SaveOutcome::Saved: break;
    case db::SaveOutcome::Gone: {
        // The loaded version was deleted: the page goes on writing into the
        // project's remaining versions, as it always writes into all of them.
        db::LoadedRow none;
        if (db::SaveRow(none, fields, write) != db::SaveOutcome::Saved)
            return keepEdits();
        break;
    }
    case db::SaveOutcome::Declined:
    case db::SaveOutcome::Failed: return keepEdits();
    }
    if (withTexts) {
        soft->textsLoaded = true;
        m_ctx.DescriptionsChanged = false;
    }
}

void TfrmProjectMaterials::btnSMaterialNewClick()
{
    if (!projectChosen())
        return;
    createMaterial(NewMaterial{.caption = QStringLiteral("Добавления новой версии"),
                               .label = QStringLiteral("Введите название новой версии:"),
                               .byNameSql = SoftwareByNameSql,
                               .taken = QString::fromUtf8(kNameTaken),
                               .insertSql = [](const QString &name, int projectId) -> std::optional<QString> {
                                   return SoftwareInsertSql(name, projectId);
                               },
                               .addToMain = nullptr,
                               .list = soft->cbSMaterials,
                               // The page goes on showing the project's first version.
                               .show = [this](int, int) { cbSMaterialsChange(); }});
}

void TfrmProjectMaterials::selectSMaterial(const QString &name)
{
    soft->cbSMaterials->setCurrentIndex(soft->cbSMaterials->findText(name, Qt::MatchExactly));
}

void TfrmProjectMaterials::cbExpExistsClick() { soft->expirySwitched(); }

void TfrmProjectMaterials::cmbDescLanguage1Change()
{
    const QString chosen = soft->cmbDescLanguage1->currentText();
    // The switch reads and writes the row the page loaded, whatever material
    // is active elsewhere now.
    LoadedMaterial &l = m_loaded[SoftTab];
    if (chosen != CurrentDescLanguage && m_ctx.DescriptionsChanged && prompt().question(QString::fromUtf8(kSaveDescriptions))
        && l.isLoaded()) {
        const QString sql = LanguageTextsUpdateSql(l.id, CurrentDescLanguage, soft->texts());
        // A failed save keeps the texts and their language on screen.
        if (sql.isEmpty())
            return;
        const QStringList columns = LanguageColumns(CurrentDescLanguage);
        const QStringList values = StoredLanguageValues(soft->texts());
        QList<db::FieldValue> fields;
        for (qsizetype i = 0; i < columns.size(); ++i)
            fields.append(db::FieldValue{columns[i], SoftFieldCaption(columns[i]), values.value(i)});
        if (!db::FieldsFit(QStringLiteral("smaterials"), fields))
            return;
        const db::SaveOutcome saved = db::SaveRow(l.row, fields, [&sql] { return db::ExecQuery(sql) == 0; });
        if (saved == db::SaveOutcome::Gone)
            prompt().message(db::RowGoneMessage());
        if (saved != db::SaveOutcome::Saved)
            return;
    }

    soft->setTexts(LanguageTexts());
    soft->textsLoaded = false;
    m_ctx.DescriptionsChanged = false;
    if (!l.isLoaded()) {
        CurrentDescLanguage = chosen;
        return;
    }
    if (db::ExecQuery(SoftwareByIdSql(l.id)) != 0)
        return;
    std::optional<LanguageTexts> texts;
    {
        db::QueryResult result(db::DbConnection());
        if (const auto row = result.FetchRow()) {
            texts = LanguageTextsFromRow(result, *row, chosen);
            // What the fields now show of the row is what a save compares with.
            for (const QString &column : LanguageColumns(chosen))
                l.row.set(column, result.field(*row, column));
        }
    }
    // A row that is gone leaves the fields empty.
    if (texts) {
        soft->setTexts(*texts);
        soft->textsLoaded = true;
    }
    m_ctx.DescriptionsChanged = false;
    CurrentDescLanguage = chosen;
}

} // namespace qv::projects
