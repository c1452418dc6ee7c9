#pragma once
// The resource record editor on the main window's second and third pages:
// adding a resource by its registration address, and editing the selected
// resource's record, field mapping, title, flags and rubrics. A save offers
// the record to the maker's service.
#include "core/kind.h"
#include "workbench/recordeditor_logic.h"
#include "db/rowguard.h"

#include <QObject>
#include <QStringList>

class QCheckBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;

namespace qv::core {
struct AppContext;
}
namespace qv::controls {
class TmirzTreeView;
}
namespace qv::mainview {
struct MainView;
}

namespace qv::workbench {

struct KindFacts;
class TfrmToBaza;

class RecordEditor : public QObject {
    Q_OBJECT
public:
    RecordEditor(mainview::MainView &main, core::AppContext &ctx);

    void attachUpload(TfrmToBaza *upload) { m_upload = upload; }

    // Edit page.
    QTableWidget *vlCatalog;
    controls::TmirzTreeView *trvSubjects;
    QLineEdit *edtCatalogTitle;
    QCheckBox *cbNeedBURL;
    QCheckBox *cbRedirect;
    QPushButton *btnSaveChanges;
    // Add page.
    QLineEdit *edtURLAdd;
    QPushButton *LinkCreate;

    // The template's lines as loaded on the last entry to the edit page, and
    // the loaded row's field names.
    QStringList ResourceFieldMap;
    QStringList ResourceColumnNames;

    // "Добавить в базу".
    void LinkCreateClick();
    // The page of pcMain changed: runs on every change of the current page,
    // whatever moved it (a click or a key on the tab bar, or code). Called
    // again for the page it has already handled, it does nothing.
    void pcMainChange();
    // "Сохранить": the record, its rubric links and list, then the upload
    // offer. False when nothing was written.
    bool btnSaveChangesClick();
    void vlCatalogSelectCell();

    // The grid row of a label (-1 when none), and its value.
    int rowOfLabel(const QString &label) const;
    QString gridValue(int row) const;
    void setGridValue(int row, const QString &value);
    // The id of the record the edit page holds (0: none).
    int loadedId() const { return m_loaded.id; }

private:
    struct Loaded {
        int id = 0;
        QString name;
        core::Kind kind = core::Kind::None;
        QList<TemplateLine> lines;
        QStringList columns;
        // The row as loaded (or last saved), for the save's check.
        db::LoadedRow row;
    };
    struct RecordRow;
    enum class SaveResult { Saved, Refused, Gone };
    enum class WriteResult { Written, Failed, Gone };

    void buildPages();
    void setDefaultWebMenu();
    // Shows `page` as pcMain's current page without running the handler.
    void movePage(int page);
    // The steps of a page change once the unsaved edits are settled.
    void enterPage(int page);
    bool loadRecord();
    // The steps of a load.
    std::optional<RecordRow> readRecordRow(const KindFacts &k);
    void showRecordGrid(const QList<TemplateLine> &lines, const RecordRow &record);
    void showRecordWebMenu(const QList<TemplateLine> &lines);
    void showTitleAndFlags(const RecordRow &record);
    bool showRubrics(const KindFacts &k, int resource);
    // A refused save from the unsaved-edit question: the edited record stays
    // on screen, unsaved, and stays the selected resource.
    void keepEditedRecord();
    SaveResult saveRecord();
    // The steps of a save before the write.
    QList<int> tickedRubrics() const;
    bool nameFree(const KindFacts &k, int id, const QString &newName);
    QList<db::FieldValue> savedFields(const KindFacts &k, const Loaded &record, const QString &newName, const QList<int> &ticked,
                                      qsizetype *recordFields) const;
    QStringList editAssignments(const KindFacts &k, const QList<db::FieldValue> &fields, qsizetype recordFields) const;
    // The record's row, its rubric links and its rubric list in one
    // transaction.
    WriteResult writeRecord(const Loaded &record, const QStringList &set, const QList<db::FieldValue> &compared,
                            const QList<int> &rubrics);
    void offerUpload(const Loaded &record);

    mainview::MainView &m_main;
    core::AppContext &m_ctx;
    TfrmToBaza *m_upload = nullptr;
    Loaded m_loaded;
    // The page the handler last handled, and the guard of the editor's own
    // page moves.
    int m_lastPage = 0;
    bool m_movingPage = false;
};

} // namespace qv::workbench
