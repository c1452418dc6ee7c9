#pragma once
// The contacts side of the main window: the contact sections under the
// navigator's contacts branch, the contact list of a section with the
// mailing status of the active letter, the contact editor's tabs, the SMTP
// settings and the hand-over of a mailing to the mailer program.
#include <QAbstractTableModel>
#include <QObject>
#include <QVector>
#include <functional>
#include <optional>
#include <vector>

#include "controls/rowtree.h"
#include "db/rowguard.h"

class QAction;
class QComboBox;
class QLineEdit;
class QMenu;
class QPushButton;
class QStatusBar;
class QTabWidget;
class QTableView;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace qv::core {
struct AppContext;
}
namespace qv::controls {
class TmirzTreeView;
}
namespace qv::mainview {
struct MainView;
}

namespace qv::contacts {

class TfrmOSubjectAdd;
class TfrmEmailConfig;

// The project's sections in the order the server gives them, without the
// nameless top ones (never shown, nor anything under them); nothing when the
// statement failed (reported).
std::optional<std::vector<controls::TreeRow>> ReadSections(int projectId);

// The contacts of a section, one row per link row.
class ContactsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int Columns = 11;
    static constexpr int IdColumn = 10;
    // A listed contact: its mailing status, its id, and the seven texts of
    // columns 1 to 7 as UTF-8, each ended by a zero byte (decoded when shown).
    struct Item {
        QString status;
        qint64 id = 0;
        QByteArray packed;
    };
    using QAbstractTableModel::QAbstractTableModel;
    int rowCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : static_cast<int>(m_items.size());
    }
    int columnCount(const QModelIndex &parent = {}) const override { return parent.isValid() ? 0 : Columns; }
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    void reset(QVector<Item> items);
    // The text the list shows in a cell.
    QString cell(int row, int column) const;
    qint64 contactId(int row) const { return m_items[row].id; }

private:
    QVector<Item> m_items;
};

class ContactsView : public QObject {
    Q_OBJECT
public:
    ContactsView(mainview::MainView &main, core::AppContext &ctx);
    ~ContactsView() override;

    void attachWindows(TfrmOSubjectAdd *subjectAdd, TfrmEmailConfig *emailConfig);

    QTabWidget *pcContacts;
    // Tab 0.
    QTableView *lvContacts;
    ContactsModel *contactsModel;
    QStatusBar *sbContacts;
    QToolButton *tbDaVireza;
    QMenu *pmMailer;
    QAction *N14;
    QAction *N15;
    QAction *N32;
    QToolButton *tbEmailConfig;
    // Tab 1 ("Редактировать") and tab 2 ("Добавить контакт").
    struct Fields {
        QLineEdit *fio, *status, *department, *tel, *email, *address;
        QComboBox *organization;
        controls::TmirzTreeView *tree;
        QPushButton *save;
    };
    Fields edit;
    Fields add;
    // The navigator's section commands.
    QAction *N18;
    QAction *N21;

    // The contact the list's current row shows (0: none).
    int SelectedContactId = 0;

    // The navigator's contacts branch.
    void contactsExpanded(QTreeWidgetItem *top);
    void contactsClick(QTreeWidgetItem *node);
    // Lists the section shown now again (after a save, a letter change).
    void relist();
    // "Переименовать раздел ...", "Удалить раздел ...".
    void N18Click();
    void N21Click();
    // The project changed or went: no section of it stays shown.
    void forgetSection();

    void lvContactsDblClick();
    void pcContactsChange();
    void btnContactSaveClick();

    void tbEmailConfigClick();
    void N14Click() { launchMailer(0); }
    void N15Click() { launchMailer(1); }
    void N32Click();

private:
    void buildPages();
    // The list tab: the mailing tools, the list, the counters below it.
    QWidget *buildListPage();
    QWidget *buildMailingTools(QWidget *listPage);
    QWidget *buildContactList(QWidget *listPage);
    QWidget *buildStatusPanels(QWidget *listPage);
    // The editing tab and the adding tab: the fields, the section tree, the save button.
    QWidget *buildContactPage(Fields &f, const QString &treeName, const QString &saveCaption, const QString &telLabel);
    void nameContactFields();
    void connectPages();
    void listSection(int sectionId);
    void addSubsection();
    void hideBrowser();
    QTreeWidgetItem *selectedSectionNode() const;
    bool loadEditTab();
    static void clearFields(const Fields &f);
    // The sections a save puts the contact in; nothing, with a message, when
    // there is nothing to save (no contact loaded, no data, no section).
    std::optional<QList<int>> contactToSave(const Fields &f, bool editing) const;
    // The contact's row (its update, or its insert, which sets `id`) and its
    // links to the project's sections; false when a statement failed (reported).
    bool writeContact(bool editing, const QString &values, const QList<int> &sections, qint64 &id);
    void launchMailer(int mode);
    // The mailer started for the section `sectionId` of `projectId` has ended.
    void mailerEnded(int projectId, int sectionId, int exitCode, const QString &output);

    mainview::MainView &m_main;
    core::AppContext &m_ctx;
    TfrmOSubjectAdd *m_subjectAdd = nullptr;
    TfrmEmailConfig *m_emailConfig = nullptr;
    // The contact tab 1 was loaded for, and its row as loaded (or last saved).
    int m_loadedContactId = 0;
    db::LoadedRow m_loadedRow;
};

} // namespace qv::contacts
