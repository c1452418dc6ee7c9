#include "contacts/contactsview.h"
#include "controls/anylength.h"
#include "mainview/mainview.h"
#include "contacts/tfrmemailconfig.h"
#include "contacts/tfrmosubjectadd.h"
#include "controls/elidedheader.h"
#include "controls/tmirztreeview.h"
#include "core/appcontext.h"
#include "core/prompt.h"
#include "db/database.h"
#include "db/query.h"
#include "workbench/filtercommands.h"
#include "workbench/navigator.h"
#include "workbench/navigator_names.h"
#include "db/rawrows.h"

#include <QAction>
#include <QComboBox>
#include <QGridLayout>
#include <QHash>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace qv::contacts {

using core::prompt;
using workbench::Navigator;

namespace {
const char *const kHeaders[ContactsModel::Columns] = {
    "Статус", "Организация",       "ФИО",           "Отдел",      "Должность", "Телефоны", "email",
    "Адрес",  "Внес пользователь", "Дата внесения", "ID Контакта"};
// A contact section's name: unique in the project, whatever its parent.
workbench::NodeNaming sectionNaming(int projectId)
{
    workbench::NodeNaming n;
    n.blank = QStringLiteral("Название раздела не должно быть пустым!");
    n.taken = QStringLiteral("Раздел с таким названием уже существует!");
    n.what = QStringLiteral("Раздел");
    n.table = QStringLiteral("osubjects");
    n.column = QStringLiteral("osubject_name");
    n.takenSql = [projectId](const QString &name) {
        return QStringLiteral("SELECT osubject_id FROM osubjects WHERE osubject_name=") + db::Sql(name)
               + QStringLiteral(" AND osubject_project_id=") + db::SqlInt(projectId);
    };
    return n;
}
} // namespace

std::optional<std::vector<controls::TreeRow>> ReadSections(int projectId)
{
    std::vector<controls::TreeRow> rows;
    const bool ok = db::ForEachRow(QStringLiteral("SELECT * FROM osubjects WHERE osubject_project_id=") + db::SqlInt(projectId),
                                   [&](const db::Row &r) {
                                       const int parent = static_cast<int>(db::ParseInt(r[1]).value_or(0));
                                       if (parent == 0 && r[2].isEmpty())
                                           return;
                                       rows.push_back({static_cast<int>(db::ParseInt(r[0]).value_or(0)), parent, r[2]});
                                   });
    if (!ok)
        return std::nullopt;
    return rows;
}

QString ContactsModel::cell(int row, int column) const
{
    const Item &item = m_items[row];
    if (column == 0)
        return item.status;
    if (column == IdColumn)
        return QString::number(item.id);
    if (column < 1 || column > 7)
        return {};
    qsizetype from = 0;
    for (int c = 1; c < column; ++c)
        from = item.packed.indexOf('\0', from) + 1;
    const qsizetype end = item.packed.indexOf('\0', from);
    return QString::fromUtf8(item.packed.constData() + from, end - from);
}

QVariant ContactsModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::ToolTipRole))
        return {};
    return cell(index.row(), index.column());
}

QVariant ContactsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= Columns)
        return {};
    return QString::fromUtf8(kHeaders[section]);
}

void ContactsModel::reset(QVector<Item> items)
{
    beginResetModel();
    m_items = std::move(items);
    endResetModel();
}

ContactsView::ContactsView(mainview::MainView &main, core::AppContext &ctx) : QObject(main.frmMain), m_main(main), m_ctx(ctx)
{
    buildPages();
    N18 = main.pmContacts->addAction(QStringLiteral("Переименовать раздел ..."));
    N18->setObjectName(QStringLiteral("N18"));
    N21 = main.pmContacts->addAction(QStringLiteral("Удалить раздел ..."));
    N21->setObjectName(QStringLiteral("N21"));
    connect(N18, &QAction::triggered, this, &ContactsView::N18Click);
    connect(N21, &QAction::triggered, this, &ContactsView::N21Click);
    Q_ASSERT(main.navigator);
    if (main.navigator) {
        main.navigator->contactsExpanded = [this](QTreeWidgetItem *top) { contactsExpanded(top); };
        main.navigator->contactsClick = [this](QTreeWidgetItem *node) { contactsClick(node); };
    }
}

ContactsView::~ContactsView() = default;

void ContactsView::attachWindows(TfrmOSubjectAdd *subjectAdd, TfrmEmailConfig *emailConfig)
{
    m_subjectAdd = subjectAdd;
    m_emailConfig = emailConfig;
}

void ContactsView::buildPages()
{
    pcContacts = new QTabWidget(m_main.splRight);
    pcContacts->setObjectName(QStringLiteral("pcContacts"));
    m_main.pcContacts = pcContacts;
    m_main.splRight->insertWidget(m_main.splRight->indexOf(m_main.pcMain) + 1, pcContacts);
    pcContacts->hide();

    pcContacts->addTab(buildListPage(), QStringLiteral("Контакты"));
    pcContacts->addTab(buildContactPage(edit, QStringLiteral("trvOSubjects_"), QStringLiteral("Сохранить редактирование"),
                                        QStringLiteral("Телефоны (через запятую):")),
                       QStringLiteral("Редактировать"));
    pcContacts->addTab(buildContactPage(add, QStringLiteral("trvOSubjects"), QStringLiteral("Сохранить новый контакт"),
                                        QStringLiteral("Телефоны (можно несколько через запятую):")),
                       QStringLiteral("Добавить контакт"));
    nameContactFields();
    connectPages();
}

QWidget *ContactsView::buildListPage()
{
    auto *listPage = new QWidget(pcContacts);
    auto *lv = new QVBoxLayout(listPage);
    lv->setContentsMargins(0, 0, 0, 0);
    lv->setSpacing(0);
    lv->addWidget(buildMailingTools(listPage));
    lv->addWidget(buildContactList(listPage), 1);
    lv->addWidget(buildStatusPanels(listPage));
    return listPage;
}

QWidget *ContactsView::buildMailingTools(QWidget *listPage)
{
    QToolBar *bar = m_main.tbContacts;
    bar->setParent(listPage);
    bar->show();
    bar->addSeparator();
    tbDaVireza = new QToolButton(bar);
    tbDaVireza->setObjectName(QStringLiteral("tbDaVireza"));
    tbDaVireza->setText(QStringLiteral("Разослать по контактам"));
    tbDaVireza->setToolButtonStyle(Qt::ToolButtonTextOnly);
    pmMailer = new QMenu(tbDaVireza);
    pmMailer->setObjectName(QStringLiteral("pmMailer"));
    N14 = pmMailer->addAction(QStringLiteral("Разослать по всем контактам раздела..."));
    N15 = pmMailer->addAction(QStringLiteral("Разослать только  \"Неразосланным\" контактам раздела..."));
    N32 = pmMailer->addAction(QStringLiteral("Наклейки для конвертов..."));
    tbDaVireza->setMenu(pmMailer);
    tbDaVireza->setPopupMode(QToolButton::InstantPopup);
    bar->addWidget(tbDaVireza);
    tbEmailConfig = new QToolButton(bar);
    tbEmailConfig->setObjectName(QStringLiteral("tbEmailConfig"));
    tbEmailConfig->setText(QStringLiteral("Настройка"));
    tbEmailConfig->setToolButtonStyle(Qt::ToolButtonTextOnly);
    bar->addWidget(tbEmailConfig);
    return bar;
}

QWidget *ContactsView::buildContactList(QWidget *listPage)
{
    lvContacts = new QTableView(listPage);
    lvContacts->setObjectName(QStringLiteral("lvContacts"));
    contactsModel = new ContactsModel(lvContacts);
    lvContacts->setModel(contactsModel);
    lvContacts->setSelectionBehavior(QAbstractItemView::SelectRows);
    lvContacts->setSelectionMode(QAbstractItemView::SingleSelection);
    lvContacts->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Tab leaves the list and Ctrl+Tab reaches the tabs, instead of both
    // walking the cells of a list that selects whole rows.
    lvContacts->setTabKeyNavigation(false);
    lvContacts->setShowGrid(true);
    lvContacts->setWordWrap(false);
    lvContacts->verticalHeader()->hide();
    controls::ElideHeaderCaptions(lvContacts->horizontalHeader());
    lvContacts->horizontalHeader()->setHighlightSections(false);
    lvContacts->setColumnWidth(0, 130);
    lvContacts->setColumnWidth(1, 120);
    lvContacts->setColumnWidth(2, 80);
    lvContacts->setColumnWidth(6, 70);
    return lvContacts;
}

QWidget *ContactsView::buildStatusPanels(QWidget *listPage)
{
    sbContacts = new QStatusBar(listPage);
    sbContacts->setObjectName(QStringLiteral("sbContacts"));
    sbContacts->setSizeGripEnabled(false);
    for (const QString &text : {QStringLiteral("Контактов всего:"), QStringLiteral("Новых:"), QString()}) {
        auto *panel = new QLabel(text, sbContacts);
        sbContacts->addWidget(panel);
    }
    const QList<QLabel *> panels = sbContacts->findChildren<QLabel *>();
    const int widths[] = {150, 150, 50};
    for (int i = 0; i < panels.size() && i < 3; ++i)
        panels[i]->setMinimumWidth(widths[i]);
    return sbContacts;
}

QWidget *ContactsView::buildContactPage(Fields &f, const QString &treeName, const QString &saveCaption, const QString &telLabel)
{
    auto *page = new QWidget(pcContacts);
    auto *g = new QGridLayout(page);
    int r = 0;
    auto line = [&](const QString &label) {
        auto *e = new QLineEdit(page);
        e->setMaxLength(controls::kNoMaxLength);
        g->addWidget(new QLabel(label, page), r, 0);
        g->addWidget(e, r++, 1);
        return e;
    };
    f.fio = line(QStringLiteral("ФИО:"));
    f.organization = new QComboBox(page);
    f.organization->setEditable(true);
    f.organization->lineEdit()->setMaxLength(controls::kNoMaxLength);
    g->addWidget(new QLabel(QStringLiteral("Организация:"), page), r, 0);
    g->addWidget(f.organization, r++, 1);
    f.tel = line(telLabel);
    f.email = line(QStringLiteral("Email (можно несколько через запятую):"));
    f.address = line(QStringLiteral("Адрес:"));
    f.status = line(QStringLiteral("Должность:"));
    f.department = line(QStringLiteral("Отдел:"));
    // The fields keep together at the top, labels beside them; the room
    // below them goes to the section tree on the right.
    g->setRowStretch(r, 1);
    g->setColumnStretch(1, 1);
    g->setColumnStretch(2, 1);
    g->addWidget(new QLabel(QStringLiteral("Выберите разделы контакта:"), page), 0, 2);
    f.tree = new controls::TmirzTreeView(page);
    f.tree->setObjectName(treeName);
    f.tree->setHeaderHidden(true);
    f.tree->SetStateRecursion(true);
    g->addWidget(f.tree, 1, 2, r, 1);
    f.save = new QPushButton(saveCaption, page);
    g->addWidget(f.save, r + 1, 0, 1, 3);
    return page;
}

void ContactsView::nameContactFields()
{
    add.save->setObjectName(QStringLiteral("btnContactSave"));
    const char *names[][2] = {{"edtFIO_", "edtFIO"},
                              {"cmbOrganization_", "cmbOrganization"},
                              {"edtTel_", "edtTel"},
                              {"edtEmail_", "edtEmail"},
                              {"edtAddress_", "edtAddress"},
                              {"edtStatus_", "edtStatus"},
                              {"edtDepartment_", "edtDepartment"}};
    const QList<QWidget *> editWidgets{edit.fio,     edit.organization, edit.tel,       edit.email,
                                       edit.address, edit.status,       edit.department};
    const QList<QWidget *> addWidgets{add.fio, add.organization, add.tel, add.email, add.address, add.status, add.department};
    for (int i = 0; i < 7; ++i) {
        editWidgets[i]->setObjectName(QLatin1String(names[i][0]));
        addWidgets[i]->setObjectName(QLatin1String(names[i][1]));
    }
}

void ContactsView::connectPages()
{
    // Every change of the tab prepares the tab it shows, once: a click on the
    // tab, the keys (Ctrl+Tab from the list among them) and the code that
    // moves it alike.
    connect(pcContacts, &QTabWidget::currentChanged, this, &ContactsView::pcContactsChange);
    connect(lvContacts->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this](const QModelIndex &current) {
        SelectedContactId = current.isValid() ? static_cast<int>(contactsModel->contactId(current.row())) : 0;
    });
    // A double click or Enter on a contact opens it for editing.
    connect(lvContacts, &QTableView::activated, this, &ContactsView::lvContactsDblClick);
    connect(edit.save, &QPushButton::clicked, this, &ContactsView::btnContactSaveClick);
    connect(add.save, &QPushButton::clicked, this, &ContactsView::btnContactSaveClick);
    connect(tbEmailConfig, &QToolButton::clicked, this, &ContactsView::tbEmailConfigClick);
    connect(N14, &QAction::triggered, this, &ContactsView::N14Click);
    connect(N15, &QAction::triggered, this, &ContactsView::N15Click);
    connect(N32, &QAction::triggered, this, &ContactsView::N32Click);
}

// ---- the navigator's branch ----

void ContactsView::contactsExpanded(QTreeWidgetItem *top)
{
    if (!top)
        return;
    qDeleteAll(top->takeChildren());
    const auto rows = ReadSections(m_ctx.CurrentProjectId);
    if (!rows)
        return;
    controls::BuildRowTree(
        m_main.trvFilters, top, controls::PlanTreeRows(*rows, QStringLiteral("Корзина1111")),
        [](const controls::TreeRowNode &r) { return Navigator::makeNode(r.name, 2, Navigator::ContactSectionNode, r.id); });
    top->insertChild(0, Navigator::makeNode(QStringLiteral("Добавить подраздел"), 3, Navigator::AddContactSectionNode));
}

void ContactsView::hideBrowser()
{
    QWidget *panel = m_main.pnlBrowser;
    if (m_ctx.SavedBrowserHeight == -1)
        m_ctx.SavedBrowserHeight = panel->height();
    panel->setMaximumHeight(0);
}

void ContactsView::contactsClick(QTreeWidgetItem *node)
{
    if (!node)
        return;
    if (!node->parent())
        pcContacts->setCurrentIndex(0);
    hideBrowser();
    if (!node->parent())
        return;
    if (Navigator::nodeKind(node) == Navigator::AddContactSectionNode) {
        addSubsection();
        return;
    }
    contactsModel->reset({});
    if (const auto id = Navigator::nodeId(node))
        listSection(*id);
}

void ContactsView::listSection(int sectionId)
{
    // The mailing statuses of the active letter, read once; none without one.
    // The letter is the one chosen in the main window for this project, not
    // whatever the editor loaded last.
    QHash<qint64, QString> statuses;
    bool failed = false;
    Q_ASSERT(m_main.activeLetter);
    const auto active = m_main.activeLetter ? m_main.activeLetter(&failed) : std::nullopt;
    if (failed)
        return;
    if (active) {
        if (db::ExecQuery(QStringLiteral("SELECT orl_contact_id, orl_status, orl_datetime FROM oreglog WHERE orl_material_id=")
                          + db::SqlInt(active->id))
            != 0)
            return;
        db::RawRows log(db::DbConnection());
        const QString sentAt = QStringLiteral("Разослано ("), failedAt = QStringLiteral("Была ошибка (");
        while (log.next()) {
            const QByteArrayView status = log.bytes(1);
            QString text;
            if (status == "1")
                text = sentAt + log.text(2) + QLatin1Char(')');
            else if (status == "2")
                text = failedAt + log.text(2) + QLatin1Char(')');
            statuses.insert(log.integer(0), text);
        }
        if (log.failed())
            return;
    }
    m_ctx.CurrentContactSectionId = sectionId;
    QVector<ContactsModel::Item> items;
    int fresh = 0;
    // The join is streamed and each shown value decoded straight from the
    // client library's buffers: 100,000 contacts cost little more than the transfer.
    if (db::ExecQuery(
            QStringLiteral("SELECT contact_id, contact_FIO, contact_company, contact_status, contact_department, "
                           "contact_tel, contact_email, contact_address FROM contacts, osubjects2contacts WHERE "
                           "contacts.contact_id = osubjects2contacts.s2o_contact_id AND osubjects2contacts.s2o_subject_id=")
            + db::SqlInt(sectionId))
        != 0)
        return;
    db::RawRows rows(db::DbConnection());
    // Cells by position in the list: company, FIO, department, position,
    // telephones, e-mail, address.
    constexpr int fromColumn[] = {2, 1, 4, 3, 5, 6, 7};
    while (rows.next()) {
        ContactsModel::Item item;
        item.id = rows.integer(0);
        item.status = statuses.value(item.id);
        qsizetype size = 7;
        for (int c : fromColumn)
            size += rows.bytes(c).size();
        item.packed.reserve(size);
        for (int c : fromColumn) {
            const QByteArrayView v = rows.bytes(c);
            item.packed.append(v.data(), v.size());
            item.packed.append('\0');
        }
        if (item.status.isEmpty())
            ++fresh;
        items.append(std::move(item));
    }
    const bool ok = !rows.failed();
    if (!ok)
        return;
    const int total = static_cast<int>(items.size());
    contactsModel->reset(std::move(items));
    SelectedContactId = 0;
    const QList<QLabel *> panels = sbContacts->findChildren<QLabel *>();
    if (panels.size() >= 2) {
        panels[0]->setText(QStringLiteral("Контактов Всего: ") + QString::number(total));
        panels[1]->setText(QStringLiteral("Контактов Новых: ") + QString::number(fresh));
    }
}

void ContactsView::relist()
{
    QTreeWidgetItem *node = m_main.trvFilters->currentItem();
    if (Navigator::nodeKind(node) != Navigator::ContactSectionNode)
        return;
    if (const auto id = Navigator::nodeId(node))
        listSection(*id);
}

void ContactsView::forgetSection()
{
    m_ctx.CurrentContactSectionId = 0;
    SelectedContactId = 0;
    m_loadedContactId = 0;
    contactsModel->reset({});
    pcContacts->setCurrentIndex(0);
}

void ContactsView::addSubsection()
{
    if (!m_subjectAdd)
        return;
    QTreeWidget *tree = m_subjectAdd->trvOSubjects;
    tree->clear();
    auto *root = new QTreeWidgetItem(QStringList{QStringLiteral("Корневой раздел")});
    tree->addTopLevelItem(root);
    const auto rows = ReadSections(m_ctx.CurrentProjectId);
    if (!rows)
        return;
    controls::BuildRowTree(tree, root, controls::PlanTreeRows(*rows), [](const controls::TreeRowNode &r) {
        auto *n = new QTreeWidgetItem(QStringList{r.name});
        n->setData(0, Qt::UserRole, r.id);
        return n;
    });
    root->setExpanded(true);
    m_subjectAdd->edtOsubjectName->clear();
    m_subjectAdd->NewSubjectName.clear();
    m_subjectAdd->ParentSubjectId = 0;
    prompt().exec(m_subjectAdd);
    const QString name = m_subjectAdd->NewSubjectName;
    if (name.isEmpty())
        return;
    workbench::NodeNaming naming = sectionNaming(m_ctx.CurrentProjectId);
    naming.label = QStringLiteral("Введите название нового подраздела:");
    const int parentId = m_subjectAdd->ParentSubjectId;
    naming.writeSql = [&](const QString &newName) {
        return QStringLiteral("INSERT INTO osubjects SET osubject_name=") + db::Sql(newName)
               + QStringLiteral(" , osubject_project_id=") + db::SqlInt(m_ctx.CurrentProjectId)
               + QStringLiteral(", osubject_pid=") + db::SqlInt(parentId);
    };
    if (workbench::WriteNodeName(naming, name) != workbench::NameWrite::Written)
        return;
    QTreeWidgetItem *top = m_main.trvFilters->currentItem();
    while (top && top->parent())
        top = top->parent();
    Q_ASSERT(m_main.navigator);
    if (top && m_main.navigator)
        m_main.navigator->selectAndClick(top);
}

QTreeWidgetItem *ContactsView::selectedSectionNode() const
{
    // Only a node that stands for a section: not the top node, not the add node.
    QTreeWidgetItem *node = m_main.trvFilters->currentItem();
    if (!node || !node->parent() || Navigator::nodeKind(node) != Navigator::ContactSectionNode || !Navigator::nodeId(node))
        return nullptr;
    return node;
}

void ContactsView::N18Click()
{
    QTreeWidgetItem *node = selectedSectionNode();
    Q_ASSERT(m_main.navigator);
    if (!node || !m_main.navigator)
        return;
    const int id = *Navigator::nodeId(node);
    workbench::NodeNaming naming = sectionNaming(m_ctx.CurrentProjectId);
    naming.caption = QStringLiteral("Переименование раздела");
    naming.label = QStringLiteral("Введите новое название раздела");
    naming.writeSql = [id](const QString &newName) {
        return QStringLiteral("UPDATE osubjects SET osubject_name=") + db::Sql(newName) + QStringLiteral(" WHERE osubject_id=")
               + db::SqlInt(id);
    };
    m_main.navigator->renameNode(node, naming);
}

void ContactsView::N21Click()
{
    QTreeWidgetItem *node = selectedSectionNode();
    if (!node)
        return;
    const int id = *Navigator::nodeId(node);
    if (!prompt().deleteQuestion(QStringLiteral("Вы действительно хотите удалить раздел:\"") + node->text(0)
                                 + QStringLiteral("\"?")))
        return;
    // Subsections count as they are in the table now, added since the build too.
    bool failed = false;
    const auto child = db::FirstRow(QStringLiteral("SELECT osubject_id FROM osubjects WHERE osubject_pid=") + db::SqlInt(id)
                                        + QStringLiteral(" LIMIT 1"),
                                    &failed);
    if (failed)
        return;
    if (child || node->childCount() > 0) {
        prompt().message(
            QStringLiteral("Удаление раздела невозможно, т.к. раздел содержит подразделы! Удалите сперва подразделы."));
        return;
    }
    if (db::ExecQuery(QStringLiteral("DELETE FROM osubjects WHERE osubject_id=") + db::SqlInt(id)) != 0)
        return;
    if (m_ctx.CurrentContactSectionId == id)
        forgetSection();
    workbench::RemoveNavigatorNode(m_main, node);
}

} // namespace qv::contacts
