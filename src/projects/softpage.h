#pragma once
// The controls of the materials editor's software page and the rules by which
// they show a stored software version and give back what the page saves. The
// window connects their handlers and runs the statements.
#include "projects/softsql.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QString>
#include <optional>
#include <utility>

class QCheckBox;
class QComboBox;
class QDate;
class QDateEdit;
class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;
class QScrollArea;
class QTabWidget;
class QWidget;

namespace qv::projects {

class LinkLabel;
class MaterialLineEdit;
class MaterialMemo;

// "yyyy-mm-dd" read by position (year 1-4, month 6-7, day 9-10); nothing for
// an empty text, the zero date or a text that is no valid date.
std::optional<QDate> DateFromStored(const QString &stored);
// A date as stored: "yyyy-mm-dd".
QString DateForStorage(const QDate &date);

// Owned by the page it builds into.
class SoftPage : public QObject {
public:
    // Builds the controls into `page`.
    explicit SoftPage(QWidget *page);

    // The top panel.
    QWidget *pnlMenu;
    QPushButton *btnSmaterialSave;
    QPushButton *btnPadGenerate;
    QPushButton *Button1;
    LinkLabel *lblHelp;
    // Hidden: the names of the versions added since the start.
    QComboBox *cbSMaterials;
    QScrollArea *ScrollBox3;
    QTabWidget *PageControl2;

    // Company.
    MaterialLineEdit *edtOrganization1, *edtAddress11, *edtAddress21, *edtCity1, *edtState1, *edtZip1, *edtCountry1;
    MaterialLineEdit *edtAFirstName1, *edtALastName1, *edtAEmail1;
    MaterialLineEdit *edtCFirstName1, *edtCLastName1, *edtCEmail1;
    MaterialLineEdit *edtGEmail1, *edtGPhone1, *edtGFAX, *edtSEmail1, *edtSPhone1, *edtSaEmail1, *edtSaPhone1;

    // Program Info.
    MaterialLineEdit *edtName1, *edtVersion1;
    QDateEdit *dtpReleaseDate1;
    QComboBox *cmbType1, *cmbReleaseStatus1;
    MaterialLineEdit *edtCost1, *edtRCost1;
    QComboBox *cmbInstall1;
    QListWidget *clbLanguages1;
    MaterialLineEdit *edtBSize1;
    QPushButton *Button3;
    QComboBox *cmbCategoryClass1;
    MaterialLineEdit *edtChanges1, *edtReq1;
    QListWidget *clbOS1;
    QCheckBox *cbExpExists;
    QGroupBox *gbExp;
    MaterialLineEdit *edtExpDays, *edtExpUses, *edtExpOther;
    QCheckBox *cbExpDate;
    QDateEdit *dtpExpDate;

    // Description: one language at a time.
    QComboBox *cmbDescLanguage1;
    MaterialLineEdit *edtKeywords1, *edt45Description1, *edt80Description1;
    MaterialMemo *mem250Description1, *mem450Description1, *mem2000Description1;

    // Web Info.
    MaterialLineEdit *edtURLSite1, *edtURLDownload1, *edtURLScreenShot1, *edtURLPAD1, *edtURLOrder1, *edtURLIcon1, *edtURLInfo1,
        *edtURLSecDownload1, *edtURLDownload11, *edtURLDownload21;

    // Permissions: read by the PAD export from the screen, not stored.
    MaterialMemo *memDAgree1, *memLAgree1;

    // Additional.
    MaterialLineEdit *edtCategoryPossible1;
    QComboBox *cmbCategory1;
    // Hidden groups, neither stored nor loaded.
    QGroupBox *gbFileInfo, *gbSupport;
    MaterialLineEdit *edtVFilename1, *edtPFilename1, *edtGFilename1, *edtLFilename1;
    QCheckBox *CheckBox3, *CheckBox4, *CheckBox5;

    // True while the six description fields hold the texts of the loaded row
    // in the window's current description language (or the user's edits of them).
    bool textsLoaded = false;

    // What the page's save writes, keyed as SoftSaveColumns() spells the
    // columns; "smaterial_bsize" holds the typed size.
    QHash<QString, QString> values() const;
    // Shows a fetched row (every control but the six description fields).
    void showRow(const db::QueryResult &result, const db::Row &row);
    // The expiry switch: unchecked empties the three expiry edits, disables
    // the group and unchecks the date; checked enables the group.
    void expirySwitched();

    LanguageTexts texts() const;
    void setTexts(const LanguageTexts &texts);

    // Back to the state of a new window (no version shown).
    void reset();

    // The typed edits with their columns, for the change handlers.
    const QList<std::pair<MaterialLineEdit *, QString>> &typedEdits() const { return m_typed; }
    // The six description fields.
    QList<QWidget *> descriptionFields() const;

private:
    void buildCompany(QWidget *tab);
    void buildProgramInfo(QWidget *tab);
    void buildDescription(QWidget *tab);
    void buildWebInfo(QWidget *tab);
    void buildPermissions(QWidget *tab);
    void buildAdditional(QWidget *tab);
    MaterialLineEdit *edit(QWidget *parent, const char *name, const char *column = nullptr, int limit = 0);

    QList<std::pair<MaterialLineEdit *, QString>> m_typed;
    QList<MaterialLineEdit *> m_webEdits;
};

} // namespace qv::projects
