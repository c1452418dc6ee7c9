#pragma once
// The materials editor: the current project's software versions, site
// descriptions and board ads, forum press releases and mailing letters, one
// tab each. Created once, shown modeless, kept above the other windows; closing
// it only hides it.
#include "projects/materialsql.h"
#include "core/appcontext.h"
#include "db/database.h"
#include "db/query.h"
#include "db/columnlimits.h"
#include "db/rowguard.h"

#include <QWidget>
#include <array>
#include <functional>
#include <optional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollArea;
class QTabWidget;

namespace qv::core {
struct AppContext;
}
namespace qv::mainview {
struct MainView;
}

namespace qv::projects {

class FieldGrid;
class LinkLabel;
class MaterialLineEdit;
class MaterialList;
class MaterialMemo;
class SoftPage;

// The row a tab shows: which material it was loaded from, for which project,
// and whether its fields were edited since. A tab saves only into that row,
// and only while the row still holds what `row` remembers of it.
struct LoadedMaterial {
    int id = 0;
    int projectId = 0;
    bool edited = false;
    db::LoadedRow row;
    bool isLoaded() const { return id > 0; }
};

class TfrmProjectMaterials : public QWidget {
    Q_OBJECT
public:
    enum Tab { SoftTab = 0, SiteTab = 1, ForumTab = 2, LetterTab = 3 };

    TfrmProjectMaterials(core::AppContext &ctx, mainview::MainView *main, QWidget *parent = nullptr);
    ~TfrmProjectMaterials() override;

    // Unsaved edits on any tab.
    bool MaterialChanged = false;

    QTabWidget *pcMaterials;

    // Site descriptions and board ads.
    MaterialList *cbCMaterials;
    QPushButton *btnCMaterialSave;
    QPushButton *btnCMaterialNew;
    QPushButton *btnCmaterialCopy;
    LinkLabel *Label7;
    QScrollArea *ScrollBox1;
    MaterialLineEdit *edtURL_2;
    MaterialLineEdit *edtCategories_2;
    MaterialLineEdit *edtTitle_2;
    MaterialLineEdit *edtTitle200_2;
    MaterialLineEdit *edtTitle100_2;
    MaterialLineEdit *edtTitle50_2;
    QLabel *lbTitle200_2;
    QLabel *lbTitle100_2;
    QLabel *lbTitle50_2;
    QTabWidget *PageControl1;
    MaterialMemo *memDescription_2;
    MaterialMemo *memDescription500_2;
    MaterialMemo *memDescription250_2;
    MaterialMemo *memDescription100_2;
    QLabel *lbDescription500_2;
    QLabel *lbDescription250_2;
    QLabel *lbDescription100_2;
    MaterialMemo *memKeywords_2;
    QTabWidget *PageControl3;
    MaterialMemo *memKeywords500_2;
    MaterialMemo *memKeywords250_2;
    MaterialMemo *memKeywords100_2;
    QLabel *lbKeywords500_2;
    QLabel *lbKeywords250_2;
    QLabel *lbKeywords100_2;
    MaterialLineEdit *edtBURL_2;
    MaterialLineEdit *edtFIO_2;
    MaterialLineEdit *edtEMail_2;
    MaterialLineEdit *edtOrganization_2;
    MaterialLineEdit *edtTel_2;
    MaterialLineEdit *edtFAX_2;
    MaterialLineEdit *edtCity_2;
    MaterialLineEdit *edtCountry_2;
    MaterialLineEdit *edtAddress_2;

    // Forum press releases.
    MaterialList *cbFMaterials;
    QPushButton *FMaterialSave;
    QPushButton *btnFMaterialNew;
    QPushButton *btnFMaterialCopy;
    LinkLabel *Label5;
    QScrollArea *ScrollBox2;
    MaterialLineEdit *edtTitle_8;
    MaterialLineEdit *edtSTitle_8;
    MaterialMemo *memDescription_8;
    MaterialLineEdit *edtFIO_8;
    MaterialLineEdit *edtEMail_8;
    MaterialLineEdit *edtOrganization_8;
    MaterialLineEdit *edtTel_8;
    MaterialLineEdit *edtFAX_8;
    MaterialLineEdit *edtCity_8;
    MaterialLineEdit *edtCountry_8;
    MaterialLineEdit *edtURL_8;

    // Mailing letters.
    MaterialList *cbOMaterials;
    QPushButton *btnMessageSave;
    QPushButton *btnOMaterialNew;
    LinkLabel *Label4;
    QScrollArea *ScrollBox5;
    MaterialLineEdit *edtSubject;
    MaterialMemo *memBody;

    // The software page's size field, when the page has one.
    QLineEdit *edtBSize1 = nullptr;

    // ---- the window ----
    void FormCreate();
    // The user switched tabs.
    void pcMaterialsChange();
    // Closing: offers to save pending edits, then always lets the window close.
    bool FormCloseQuery();
    void cbCMaterialsDropDown();
    void cbFMaterialsDropDown();
    void cbOMaterialsDropDown();
    // Length counters.
    void edtTitle50_2Change();
    void edtTitle100_2Change();
    void edtTitle200_2Change();
    void memDescription100_2Change();
    void memDescription250_2Change();
    void memDescription500_2Change();
    void memKeywords100_2Change();
    void memKeywords250_2Change();
    void memKeywords500_2Change();
    // The keyword copy into the three limited keyword fields.
    void memKeywords_2Change();
    void ScrollBox1MouseWheel(int delta);
    void ScrollBox2MouseWheel(int delta);
    void ScrollBox1Click();
    void Label7Click();
    void Label5Click();
    void Label4Click();
    // "Size(bytes)": the size of a chosen file into edtBSize1.
    void Button3Click();

    // Shows a tab from code: no prompt and no load.
    void setTab(int index);
    // The tab shown gets the material its list names, loaded, unless it holds
    // that material already (its edits kept). Which material is active for
    // the form filler and the mailing stays as it was.
    void showListedMaterial();
    // Shows the window (modeless) and brings it up.
    void showEditor();
    // Scrolls the site-description and press-release pages back to the top.
    void scrollToTop();
    // Gives the focus to the scroll area of the tab shown (tabs 1 and 2).
    void focusPage();

    // Before the current project changes: offers to save pending edits into the
    // rows they were loaded from. Then forgets what the tabs show.
    void confirmPendingEdits();
    void forgetProject();
    const LoadedMaterial &loaded(int tab) const { return m_loaded.at(static_cast<size_t>(tab)); }

    // ---- site descriptions ----
    void cbCMaterialsChange();
    void btnCMaterialSaveClick();
    void btnCMaterialNewClick();
    void btnCmaterialCopyClick();
    SiteDescription siteFields() const;
    void setSiteFields(const SiteDescription &d);

    // ---- forum press releases ----
    void cbFMaterialsChange();
    void FMaterialSaveClick();
    void btnFMaterialNewClick();
    void btnFMaterialCopyClick();
    PressRelease pressReleaseFields() const;
    void setPressReleaseFields(const PressRelease &d);
    // The main window renamed or deleted a press release: the list follows.
    void pressReleaseRenamed(int id, const QString &name);
    void pressReleaseDeleted(int id);

    // ---- letters ----
    void cbOMaterialsChange();
    void btnMessageSaveClick();
    void btnOMaterialNewClick();

    // ---- software versions ----
    void cbSMaterialsChange();
    void btnSmaterialSaveClick();
    void btnSMaterialNewClick();
    // Selects the software version of that name (none when there is no such).
    void selectSMaterial(const QString &name);
    void cbExpExistsClick();
    // The description language chosen: offers to save the texts shown, then
    // shows the chosen language's texts of the loaded row.
    void cmbDescLanguage1Change();
    // "Создать PAD файл".
    void btnPadGenerateClick();
    // The software page's controls.
    SoftPage *soft = nullptr;
    // The language whose texts the software page's description fields hold.
    QString CurrentDescLanguage;

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *buildSoftPage();
    QWidget *buildSitePage();
    QWidget *siteHeader(QWidget *page);
    void addSiteTitleFields(FieldGrid &grid);
    void addSiteDescriptionTabs(FieldGrid &grid);
    void addSiteKeywordFields(FieldGrid &grid);
    void addSiteContactFields(FieldGrid &grid);
    void connectSiteFields();
    QWidget *buildForumPage();
    QWidget *forumHeader(QWidget *page);
    void addForumMessageFields(FieldGrid &grid);
    void addForumRegistrationFields(FieldGrid &grid);
    void connectForumFields();
    QWidget *buildLetterPage();
    void resetSoftPage();
    void clearSiteFields();
    void clearPressReleaseFields();
    void clearLetterFields();

    // The header strip of tabs 1 to 3.
    QWidget *headerStrip(QWidget *page, const QString &title, bool boldTitle, MaterialList *list,
                         const QList<QPushButton *> &buttons, LinkLabel *help);
    QPushButton *stripButton(const QString &name, const QString &caption);
    QScrollArea *scrollArea(QWidget *page, const QString &name, QWidget *content);
    // Marks a tab as edited (every field change).
    void markEdited(int tab);
    void counter(QLabel *label, int limit, int length, bool entered);
    void loadTab(int tab);
    // The prompt; on Yes the tabs in `tabs` that hold edits of a loaded row
    // are saved. Every pending edit counts as dealt with afterwards.
    void askAndSave(const QList<int> &tabs);
    void saveTab(int tab);
    bool projectChosen() const;
    // Asks for a material name; nothing when cancelled or empty.
    std::optional<QString> askName(const QString &caption, const QString &label) const;
    // What a "new" or "copy" button does after its own checks.
    struct NewMaterial {
        // The name prompt's caption and label.
        QString caption;
        QString label;
        // The statement that finds a material of the typed name in the project.
        std::function<QString(const QString &name, int projectId)> byNameSql;
        // The message when there is one.
        QString taken;
        // The insert for the typed name; nothing when it cannot be built
        // (what it needs could not be read).
        std::function<std::optional<QString>(const QString &name, int projectId)> insertSql;
        // Adds the new row to the main window's list (none when empty).
        std::function<void(const QString &name, int id)> addToMain;
        // The editor's list that shows the new row, selected.
        QComboBox *list = nullptr;
        // Shows the new row on its tab.
        std::function<void(int id, int projectId)> show;
    };
    // Asks the name, checks the project has no material of that name, inserts
    // the row, adds it to the main window's list and to the editor's, selects
    // it and shows it. Stops when the name is cancelled or taken, or a
    // statement fails.
    void createMaterial(const NewMaterial &m);
    // A new site description or board ad: `insertSql` and `show` as in NewMaterial.
    NewMaterial siteMaterial(std::function<std::optional<QString>(const QString &, int)> insertSql,
                             std::function<void(int, int)> show);
    // Loads the current project's material `id` into `tab`: `fromRow` reads
    // the row, `show` puts it on screen once the result is freed; the tab then
    // counts as loaded with that row. Nothing changes when the statement fails.
    template <typename FromRow, typename Show>
    void loadMaterial(int tab, MaterialKind kind, int id, FromRow fromRow, Show show)
    {
        const int projectId = m_ctx.CurrentProjectId;
        if (id > 0 && projectId > 0) {
            if (db::ExecQuery(MaterialByIdSql(kind, id, projectId)) != 0)
                return;
            std::optional<decltype(fromRow(std::declval<const db::QueryResult &>(), std::declval<const db::Row &>()))> d;
            db::LoadedRow remembered;
            {
                db::QueryResult result(db::DbConnection());
                if (const auto row = result.FetchRow()) {
                    d = fromRow(result, *row);
                    remembered = db::LoadedRow::fromResult(MaterialTable(kind), MaterialPrefix(kind) + QStringLiteral("id"), id,
                                                           result, *row);
                }
            }
            if (d) {
                m_ctx.CurrentMaterialId = id;
                show(*d);
                m_loaded[static_cast<size_t>(tab)] = LoadedMaterial{id, projectId, false, remembered};
            }
        }
        m_loaded[static_cast<size_t>(tab)].edited = false;
        MaterialChanged = false;
    }
    // Saves what `tab` shows into the row it was loaded from: `fields` are the
    // columns the statement writes with their values and the captions of their
    // fields. A value too long for its column, a row changed by another copy
    // that the user chose not to write over, or a failed save keeps the edits
    // on screen, still unsaved.
    void saveLoaded(int tab, MaterialKind kind, const QList<db::FieldValue> &fields,
                    const std::function<QString(const LoadedMaterial &)> &sql);
    // After a copy: the tab now shows the new row `id`.
    void showCopy(int tab, MaterialKind kind, int id, int projectId);
    // The current project's data for a new material; nothing when the statement failed.
    std::optional<ProjectData> currentProjectData() const;
    void openHelp(const QString &board);

    core::AppContext &m_ctx;
    mainview::MainView *m_main;
    std::array<LoadedMaterial, 4> m_loaded;
    bool m_settingTab = false;
    bool m_centred = false;
};

} // namespace qv::projects
