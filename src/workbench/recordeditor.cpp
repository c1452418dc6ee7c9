#include "workbench/recordeditor.h"
#include "controls/anylength.h"
#include "controls/boldlabel.h"
#include "controls/browsermenu.h"
#include "controls/elidedheader.h"
#include "controls/rowtree.h"
#include "mainview/mainview.h"
#include "controls/tmirztreeview.h"
#include "controls/treewalk.h"
#include "core/appcontext.h"
#include "core/prompt.h"
#include "db/assignments.h"
#include "db/columnlimits.h"
#include "db/database.h"
#include "db/query.h"
#include "workbench/browserpane.h"
#include "workbench/formfiller.h"
#include "workbench/kindfacts.h"
#include "workbench/navigator.h"
#include "workbench/resourcelist.h"
#include "workbench/resourcelist_logic.h"
#include "workbench/tfrmtobaza.h"

#include <QCheckBox>
#include <QDateTime>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHash>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QSet>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QWebEngineView>

namespace qv::workbench {

using core::prompt;

namespace {
constexpr int ListPage = 0, EditPage = 1, AddPage = 2;
constexpr int RubricIdRole = Qt::UserRole;

QString now() { return QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")); }

// Whether the list may hold a resource it did not hold before, now that the
// resource is linked to `rubrics`: a filter's list may, a rubric's list when
// the rubric is one of them; a section's list changes only by its own command.
bool mayNowList(const ResourceList *list, const QList<int> &rubrics)
{
    const auto shown = list ? list->shownSource() : std::nullopt;
    return shown && (shown->type == ListSource::Filter || (shown->type == ListSource::Rubric && rubrics.contains(shown->id)));
}

} // namespace

RecordEditor::RecordEditor(mainview::MainView &main, core::AppContext &ctx) : QObject(main.frmMain), m_main(main), m_ctx(ctx)
{
    buildPages();
    m_lastPage = main.pcMain->currentIndex();
    // Every change of the page runs the handler: a click on a tab, the keys
    // of the tab bar, and the code that moves the page alike.
    connect(main.pcMain, &QTabWidget::currentChanged, this, [this] { pcMainChange(); });
    Q_ASSERT(main.browser);
    if (main.browser && main.browser->filler())
        main.browser->filler()->saveEditedResource = [this] { btnSaveChangesClick(); };
}

void RecordEditor::buildPages()
{
    QWidget *edit = m_main.pcMain->widget(EditPage);
    auto *g = new QGridLayout(edit);
    vlCatalog = new QTableWidget(0, 2, edit);
    vlCatalog->setObjectName(QStringLiteral("vlCatalog"));
    vlCatalog->setHorizontalHeaderLabels({QStringLiteral("Поле"), QStringLiteral("Значение")});
    vlCatalog->horizontalHeader()->setStretchLastSection(true);
    controls::ElideHeaderCaptions(vlCatalog->horizontalHeader());
    vlCatalog->verticalHeader()->hide();
    vlCatalog->setItemDelegate(new controls::AnyLengthDelegate(vlCatalog));
    g->addWidget(vlCatalog, 0, 0, 6, 1);
    auto *help = new QPlainTextEdit(edit);
    help->setReadOnly(true);
    help->setPlainText(QStringLiteral("Инструкция по редактированию каталога или форума:\n"
                                      "1. Активируйте каждое поле формы в нижнем браузере и выберите в его контекстном меню "
                                      "соответствующий пункт.\n"
                                      "2. Выберите раздел и введите описание.\n"
                                      "3. Нажмите \"Сохранить\"."));
    help->setMaximumHeight(90);
    g->addWidget(help, 6, 0);
    g->addWidget(controls::BoldLabel(QStringLiteral("Выберите раздел:"), edit), 0, 1);
    trvSubjects = new controls::TmirzTreeView(edit);
    trvSubjects->setObjectName(QStringLiteral("trvSubjects"));
    trvSubjects->setHeaderHidden(true);
    trvSubjects->SetStateRecursion(true);
    g->addWidget(trvSubjects, 1, 1);
    g->addWidget(controls::BoldLabel(QStringLiteral("Описание каталога/форума:"), edit), 2, 1);
    edtCatalogTitle = new QLineEdit(QStringLiteral("Название ссылки"), edit);
    edtCatalogTitle->setObjectName(QStringLiteral("edtCatalogTitle"));
    controls::AnyLength(edtCatalogTitle);
    g->addWidget(edtCatalogTitle, 3, 1);
    auto *flags = new QHBoxLayout;
    cbNeedBURL = new QCheckBox(QStringLiteral("Требуют обратной ссылки"), edit);
    cbNeedBURL->setObjectName(QStringLiteral("cbNeedBURL"));
    cbRedirect = new QCheckBox(QStringLiteral("Редирект"), edit);
    cbRedirect->setObjectName(QStringLiteral("cbRedirect"));
    flags->addWidget(cbNeedBURL);
    flags->addWidget(cbRedirect);
    g->addLayout(flags, 4, 1);
    btnSaveChanges = new QPushButton(QStringLiteral("Сохранить"), edit);
    btnSaveChanges->setObjectName(QStringLiteral("btnSaveChanges"));
    g->addWidget(btnSaveChanges, 5, 1);
    g->setColumnStretch(0, 3);
    g->setColumnStretch(1, 2);

    QWidget *add = m_main.pcMain->widget(AddPage);
    auto *v = new QVBoxLayout(add);
    v->addWidget(controls::BoldLabel(QStringLiteral("URL страницы добавления или регистрации:"), add));
    auto *row = new QHBoxLayout;
    edtURLAdd = new QLineEdit(QStringLiteral("http://"), add);
    edtURLAdd->setObjectName(QStringLiteral("edtURLAdd"));
    controls::AnyLength(edtURLAdd);
    LinkCreate = new QPushButton(QStringLiteral("Добавить в базу"), add);
    LinkCreate->setObjectName(QStringLiteral("LinkCreate"));
    row->addWidget(edtURLAdd, 1);
    row->addWidget(LinkCreate);
    v->addLayout(row);
    v->addStretch(1);

    connect(LinkCreate, &QPushButton::clicked, this, &RecordEditor::LinkCreateClick);
    connect(btnSaveChanges, &QPushButton::clicked, this, [this] { btnSaveChangesClick(); });
    connect(vlCatalog, &QTableWidget::cellClicked, this, [this] { vlCatalogSelectCell(); });
    connect(vlCatalog, &QTableWidget::cellChanged, this, [this] { vlCatalogSelectCell(); });
}

void RecordEditor::vlCatalogSelectCell() { m_ctx.LinkEditUnsaved = true; }

int RecordEditor::rowOfLabel(const QString &label) const
{
    for (int r = 0; r < vlCatalog->rowCount(); ++r) {
        if (vlCatalog->item(r, 0) && vlCatalog->item(r, 0)->text() == label)
            return r;
    }
    return -1;
}

QString RecordEditor::gridValue(int row) const
{
    const QTableWidgetItem *item = row >= 0 ? vlCatalog->item(row, 1) : nullptr;
    return item ? item->text() : QString();
}

void RecordEditor::setGridValue(int row, const QString &value)
{
    if (row < 0 || row >= vlCatalog->rowCount())
        return;
    const QSignalBlocker block(vlCatalog);
    vlCatalog->setItem(row, 1, new QTableWidgetItem(value));
}

void RecordEditor::setDefaultWebMenu()
{
    m_main.pmWeb->clear();
    for (const QString &caption : controls::DefaultBrowserMenu())
        mainview::AddWebMenuItem(m_main, caption);
}

void RecordEditor::LinkCreateClick()
{
    const QString typed = edtURLAdd->text();
    const auto k = kindFacts(m_ctx.CurrentKind);
    if (!k) {
        // The base a resource goes to is the branch chosen in the navigator.
        prompt().message(
            QStringLiteral("Сначала выберите в дереве слева, куда добавить ресурс: каталоги, форумы или софт каталоги."));
        return;
    }
    const auto address = AddressOfRegistrationPage(typed);
    if (typed.trimmed().isEmpty() || typed.trimmed() == QLatin1String("http://")) {
        prompt().message(QStringLiteral("Вы не ввели URL"));
        return;
    }
    if (!address) {
        prompt().message(QStringLiteral("В адресе нет имени сайта: ") + typed);
        return;
    }
    const QString byName = QStringLiteral("SELECT ") + k->prefix + QStringLiteral("id FROM ") + k->table
                           + QStringLiteral(" WHERE ") + k->prefix + QStringLiteral("name=") + db::Sql(address->name);
    bool failed = false;
    auto row = db::FirstRow(byName, &failed);
    if (failed)
        return;
    // A second form of a known site opens the site's record, and says so.
    const bool existed = row.has_value();
    if (!row) {
        const QString p = k->prefix;
        if (db::ExecQuery(QStringLiteral("INSERT INTO ") + k->table + QStringLiteral(" SET ") + p + QStringLiteral("name=")
                          + db::Sql(address->name) + QStringLiteral(", ") + p + QStringLiteral("user_id_add=")
                          + db::SqlInt(m_ctx.CurrentUserId.value_or(0)) + QStringLiteral(", ") + p
                          + QStringLiteral("datetime_add=") + db::Sql(now()) + QStringLiteral(", ") + p + QStringLiteral("url=")
                          + db::Sql(address->site) + QStringLiteral(", ") + p + QStringLiteral("aurl=") + db::Sql(typed))
            != 0)
            return;
        row = db::FirstRow(byName, &failed);
        if (failed || !row)
            return;
    }
    const int id = static_cast<int>(db::ParseInt(row->value(0)).value_or(0));
    m_ctx.SelectedResourceId = id;
    m_ctx.SelectedResourceName = address->name;
    if (m_main.pcMain->currentIndex() == EditPage) {
        m_lastPage = -1; // the edit page shown already: load it again
        pcMainChange();
    } else {
        m_main.pcMain->setCurrentIndex(EditPage);
    }
    // The page is the resource's only when its record is the one on screen
    // (the page change may have kept an edited record or gone back to the
    // list).
    if (m_main.pcMain->currentIndex() != EditPage || m_loaded.id != id)
        return;
    // The list and the browser pane follow: the record is the list's current
    // row when the list shown holds it (a new record has no rubric yet).
    Q_ASSERT(m_main.browser);
    if (m_main.browser)
        m_main.browser->selectResource(id, address->name, mayNowList(m_main.resources, {}));
    m_main.tcWeb->setCurrentIndex(1);
    if (m_main.browser)
        m_main.browser->openAddress(typed);
    if (existed)
        prompt().message(QStringLiteral("Ресурс \"") + address->name + QStringLiteral("\" уже есть в базе: открыта его запись."));
}

void RecordEditor::movePage(int page)
{
    const QScopedValueRollback guard(m_movingPage, true);
    m_main.pcMain->setCurrentIndex(page);
    m_lastPage = page;
}

void RecordEditor::pcMainChange()
{
    const int page = m_main.pcMain->currentIndex();
    if (m_movingPage || page == m_lastPage)
        return;
    // Edits of the record shown so far are offered for saving before
    // anything is reloaded.
    if (m_ctx.LinkEditUnsaved && m_loaded.id > 0) {
        m_ctx.LinkEditUnsaved = false;
        if (prompt().question(QStringLiteral("Вы не сохранили отредактированную ссылку, при переходе на другую вкладку "
                                             "редактирование не будет сохранено. Сохранить ссылку?"))) {
            switch (saveRecord()) {
            case SaveResult::Saved: break;
            case SaveResult::Refused: keepEditedRecord(); return;
            case SaveResult::Gone: return; // the save has gone back to the list
            }
        }
    }
    enterPage(page);
}

void RecordEditor::enterPage(int page)
{
    m_lastPage = page;
    if (page != EditPage)
        setDefaultWebMenu();
    if (page == AddPage)
        edtURLAdd->clear();
    if (page != EditPage)
        return;
    if ((m_ctx.SelectedResourceName.isEmpty() && m_ctx.SelectedResourceId <= 0) || !loadRecord()) {
        movePage(ListPage);
        setDefaultWebMenu();
    }
}

void RecordEditor::keepEditedRecord()
{
    m_ctx.LinkEditUnsaved = true;
    movePage(EditPage);
    m_ctx.SelectedResourceId = m_loaded.id;
    m_ctx.SelectedResourceName = m_loaded.name;
    Q_ASSERT(m_main.browser);
    if (m_main.browser)
        m_main.browser->selectResource(m_loaded.id, m_loaded.name, false);
}

// A resource's row as read, and its values by column name.
struct RecordEditor::RecordRow {
    QStringList columns;
    db::Row row;
    QString value(const QString &column) const;
};

QString RecordEditor::RecordRow::value(const QString &column) const
{
    for (int i = 0; i < columns.size(); ++i) {
        if (columns[i].compare(column, Qt::CaseInsensitive) == 0)
            return row.value(i);
    }
    return QString();
}

bool RecordEditor::loadRecord()
{
    const auto k = kindFacts(m_ctx.CurrentKind);
    if (!k)
        return false;
    QString why;
    const auto lines = ReadFieldTemplate(m_ctx.AppDir + k->fieldTemplate, &why);
    if (!lines) {
        prompt().message(why);
        return false;
    }
    const auto record = readRecordRow(*k);
    if (!record)
        return false;
    Loaded loaded;
    loaded.id = static_cast<int>(db::ParseInt(record->row.value(0)).value_or(0));
    loaded.kind = m_ctx.CurrentKind;
    loaded.lines = *lines;
    loaded.columns = record->columns;
    loaded.row = db::LoadedRow(k->table, k->prefix + QStringLiteral("id"), loaded.id);
    for (int i = 0; i < record->columns.size(); ++i)
        loaded.row.set(record->columns[i], record->row.value(i));
    loaded.name = record->value(k->prefix + QStringLiteral("name"));

    showRecordGrid(*lines, *record);
    ResourceColumnNames = record->columns;
    showRecordWebMenu(*lines);
    showTitleAndFlags(*record);
    if (!showRubrics(*k, loaded.id))
        return false;
    m_loaded = loaded;
    return true;
}

// The row, by the id the list gave it (by name when only that is known).
std::optional<RecordEditor::RecordRow> RecordEditor::readRecordRow(const KindFacts &k)
{
    const QString where = m_ctx.SelectedResourceId > 0 ? k.prefix + QStringLiteral("id=") + db::SqlInt(m_ctx.SelectedResourceId)
                                                       : k.prefix + QStringLiteral("name=") + db::Sql(m_ctx.SelectedResourceName);
    if (db::ExecQuery(QStringLiteral("SELECT * FROM ") + k.table + QStringLiteral(" WHERE ") + where) != 0)
        return std::nullopt;
    QStringList columns;
    std::optional<db::Row> row;
    {
        db::QueryResult result(db::DbConnection());
        columns = result.fieldNames().names();
        row = result.FetchRow();
        if (result.failed())
            return std::nullopt;
    }
    if (!row) {
        prompt().message(QStringLiteral("Ресурс \"") + m_ctx.SelectedResourceName + QStringLiteral("\" не найден в базе."));
        return std::nullopt;
    }
    return RecordRow{columns, *row};
}

// The grid and the menu of mapping rows.
void RecordEditor::showRecordGrid(const QList<TemplateLine> &lines, const RecordRow &record)
{
    ResourceFieldMap.clear();
    const QSignalBlocker block(vlCatalog);
    vlCatalog->setRowCount(static_cast<int>(lines.size()));
    for (int i = 0; i < lines.size(); ++i) {
        const TemplateLine &l = lines[i];
        ResourceFieldMap << l.label + QLatin1Char('=') + l.column;
        auto *key = new QTableWidgetItem(l.label);
        key->setFlags(key->flags() & ~Qt::ItemIsEditable);
        key->setToolTip(l.label);
        vlCatalog->setItem(i, 0, key);
        vlCatalog->setItem(i, 1, new QTableWidgetItem(l.column.isEmpty() ? QString() : record.value(l.column)));
    }
    // The names are shown whole: many differ only in their last words.
    vlCatalog->resizeColumnToContents(0);
    // A record opens at its first row, wherever the last one was left.
    vlCatalog->setCurrentCell(0, 1);
    vlCatalog->scrollToTop();
}

void RecordEditor::showRecordWebMenu(const QList<TemplateLine> &lines)
{
    m_main.pmWeb->clear();
    for (int i = 5; i < lines.size(); ++i)
        mainview::AddWebMenuItem(m_main, lines[i].label);
    for (const QString &caption : controls::BrowserMenuTail())
        mainview::AddWebMenuItem(m_main, caption);
}

void RecordEditor::showTitleAndFlags(const RecordRow &record)
{
    edtCatalogTitle->setText(record.row.value(2));
    const bool catalogs = m_ctx.CurrentKind == core::Kind::Catalogs;
    cbRedirect->setVisible(catalogs);
    cbNeedBURL->setVisible(catalogs);
    if (catalogs) {
        cbRedirect->setChecked(record.value(QStringLiteral("catalog_redirect")) != QLatin1String("0"));
        cbNeedBURL->setChecked(record.value(QStringLiteral("catalog_need_burl")) != QLatin1String("0"));
    }
}

// The rubric tree: all rows first, then the nodes.
bool RecordEditor::showRubrics(const KindFacts &k, int resource)
{
    std::vector<controls::TreeRow> rubrics;
    if (!db::ForEachRow(QStringLiteral("SELECT * FROM ") + k.subjects, [&](const db::Row &r) {
            rubrics.push_back(
                {static_cast<int>(db::ParseInt(r[0]).value_or(0)), static_cast<int>(db::ParseInt(r[1]).value_or(0)), r[2]});
        }))
        return false;
    QSet<int> linked;
    if (!db::ForEachRow(QStringLiteral("SELECT ") + k.subjectLinkSubject + QStringLiteral(" FROM ") + k.subjectLinks
                            + QStringLiteral(" WHERE ") + k.subjectLinkResource + QLatin1Char('=') + db::SqlInt(resource),
                        [&](const db::Row &r) { linked.insert(static_cast<int>(db::ParseInt(r[0]).value_or(0))); }))
        return false;
    trvSubjects->clear();
    trvSubjects->beginLoad();
    controls::BuildRowTree(trvSubjects, nullptr, controls::PlanTreeRows(rubrics), [](const controls::TreeRowNode &r) {
        auto *n = new QTreeWidgetItem(QStringList{r.name});
        n->setData(0, RubricIdRole, r.id);
        return n;
    });
    // Exactly the resource's links: a tick is pushed down to sub-rubrics
    // only by the user's click. Every ticked rubric is in sight.
    QTreeWidgetItem *firstTicked = nullptr;
    for (QTreeWidgetItem *n : controls::TreeItems(trvSubjects)) {
        const bool ticked = linked.contains(n->data(0, RubricIdRole).toInt());
        trvSubjects->setState(n, ticked ? 2 : 1);
        if (!ticked)
            continue;
        if (!firstTicked)
            firstTicked = n;
        for (QTreeWidgetItem *up = n->parent(); up; up = up->parent())
            up->setExpanded(true);
    }
    trvSubjects->endLoadAsAssigned();
    if (firstTicked)
        trvSubjects->scrollToItem(firstTicked);
    return true;
}

bool RecordEditor::btnSaveChangesClick() { return saveRecord() == SaveResult::Saved; }

RecordEditor::SaveResult RecordEditor::saveRecord()
{
    const Loaded record = m_loaded;
    const auto k = kindFacts(record.kind);
    if (record.id <= 0 || !k)
        return SaveResult::Refused;
    const QList<int> ticked = tickedRubrics();
    if (ticked.isEmpty()) {
        prompt().message(QStringLiteral("Не выбран раздел ссылки!"));
        return SaveResult::Refused;
    }
    const QString newName = gridValue(0).trimmed();
    if (!nameFree(*k, record.id, newName))
        return SaveResult::Refused;
    m_ctx.LinkEditUnsaved = false;
    qsizetype recordFields = 0;
    const QList<db::FieldValue> fields = savedFields(*k, record, newName, ticked, &recordFields);
    if (!db::FieldsFit(k->table, fields)) {
        m_ctx.LinkEditUnsaved = true;
        return SaveResult::Refused;
    }
    const QStringList set = editAssignments(*k, fields, recordFields);
    switch (writeRecord(record, set, fields, ticked)) {
    case WriteResult::Written: break;
    case WriteResult::Failed: m_ctx.LinkEditUnsaved = true; return SaveResult::Refused;
    case WriteResult::Gone:
        // Nothing left to save the edits to: back to the list.
        m_loaded = Loaded();
        prompt().message(QStringLiteral("Ресурс не найден в базе: возможно, он удалён."));
        movePage(ListPage);
        setDefaultWebMenu();
        return SaveResult::Gone;
    }
    // The list item of this record follows, and the selection keeps its name.
    Q_ASSERT(m_main.resources);
    if (ResourceList *list = m_main.resources) {
        for (int r = 0; r < list->count(); ++r) {
            if (list->subItem(r, SubId) != QString::number(record.id))
                continue;
            list->setSubItem(r, SubName, newName);
            list->setSubItem(r, SubTitle, edtCatalogTitle->text());
            list->setSubItem(r, SubUrl, gridValue(1));
            list->setSubItem(r, SubRegUrl, gridValue(2));
        }
    }
    if (m_ctx.SelectedResourceId == record.id || m_ctx.SelectedResourceName == record.name)
        m_ctx.SelectedResourceName = newName;
    m_loaded.name = newName;
    // A record the list does not show (one just added) may belong there now.
    Q_ASSERT(m_main.browser && m_main.resources);
    if (m_main.browser && m_main.resources && m_ctx.SelectedResourceId == record.id && m_main.resources->rowOf(record.id) < 0
        && mayNowList(m_main.resources, ticked))
        m_main.browser->selectResource(record.id, newName, true);
    offerUpload(record);
    return SaveResult::Saved;
}

QList<int> RecordEditor::tickedRubrics() const
{
    QList<int> ticked;
    for (QTreeWidgetItem *n : controls::TreeItems(trvSubjects)) {
        if (controls::TmirzTreeView::state(n) == 2)
            ticked << n->data(0, RubricIdRole).toInt();
    }
    return ticked;
}

// The name is the record's key: never empty, never another resource's.
bool RecordEditor::nameFree(const KindFacts &k, int id, const QString &newName)
{
    const QString p = k.prefix;
    if (newName.isEmpty()) {
        prompt().message(QStringLiteral("Имя ресурса не может быть пустым!"));
        return false;
    }
    bool failed = false;
    const auto other = db::FirstRow(QStringLiteral("SELECT ") + p + QStringLiteral("id FROM ") + k.table
                                        + QStringLiteral(" WHERE ") + p + QStringLiteral("name=") + db::Sql(newName)
                                        + QStringLiteral(" AND ") + p + QStringLiteral("id<>") + db::SqlInt(id),
                                    &failed);
    if (failed)
        return false;
    if (other) {
        prompt().message(QStringLiteral("Ресурс с именем \"") + newName + QStringLiteral("\" уже есть в базе!"));
        return false;
    }
    return true;
}

// What the record's fields write, with their captions: checked against the
// columns' sizes, and compared with the row as loaded (the edit stamps are
// the save's own and are not compared). `recordFields` gets how many of them
// come from the grid.
QList<db::FieldValue> RecordEditor::savedFields(const KindFacts &k, const Loaded &record, const QString &newName,
                                                const QList<int> &ticked, qsizetype *recordFields) const
{
    const QString p = k.prefix;
    QList<db::FieldValue> fields;
    for (int i = 0; i < record.lines.size(); ++i) {
        const QString &column = record.lines[i].column;
        const bool present = std::any_of(record.columns.cbegin(), record.columns.cend(),
                                         [&](const QString &c) { return c.compare(column, Qt::CaseInsensitive) == 0; });
        if (column.isEmpty() || !present)
            continue;
        fields.append({column, record.lines[i].label, i == 0 ? newName : gridValue(i)});
    }
    *recordFields = fields.size();
    fields.append({p + QStringLiteral("title"), QStringLiteral("Описание каталога/форума:"), edtCatalogTitle->text()});
    if (record.kind == core::Kind::Catalogs) {
        fields.append({QStringLiteral("catalog_need_burl"), cbNeedBURL->text(),
                       cbNeedBURL->isChecked() ? QStringLiteral("1") : QStringLiteral("0")});
        fields.append({QStringLiteral("catalog_redirect"), cbRedirect->text(),
                       cbRedirect->isChecked() ? QStringLiteral("1") : QStringLiteral("0")});
    }
    fields.append({p + QStringLiteral("subjects"), QStringLiteral("Выберите раздел:"), RubricListText(ticked)});
    return fields;
}

// The SET list: the fields, with the edit stamps after the grid's ones.
QStringList RecordEditor::editAssignments(const KindFacts &k, const QList<db::FieldValue> &fields, qsizetype recordFields) const
{
    const QString p = k.prefix;
    QStringList set;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i == recordFields) {
            set << p + QStringLiteral("user_id_edit=") + db::SqlInt(m_ctx.CurrentUserId.value_or(0));
            set << p + QStringLiteral("datetime_edit=") + db::Sql(now());
        }
        set << db::Assignment(fields[i].column, fields[i].value);
    }
    return set;
}

RecordEditor::WriteResult RecordEditor::writeRecord(const Loaded &record, const QStringList &set,
                                                    const QList<db::FieldValue> &compared, const QList<int> &rubrics)
{
    const auto k = kindFacts(record.kind);
    if (!k)
        return WriteResult::Failed;
    const QString p = k->prefix;
    QString values;
    for (int id : rubrics)
        values += (values.isEmpty() ? QString() : QStringLiteral(",")) + QStringLiteral("(%1,%2)").arg(record.id).arg(id);
    // One transaction: the row, its links, its rubric list.
    const QStringList statements{QStringLiteral("UPDATE ") + k->table + QStringLiteral(" SET ") + set.join(QStringLiteral(", "))
                                     + QStringLiteral(" WHERE ") + p + QStringLiteral("id=") + db::SqlInt(record.id),
                                 QStringLiteral("DELETE FROM ") + k->subjectLinks + QStringLiteral(" WHERE ")
                                     + k->subjectLinkResource + QLatin1Char('=') + db::SqlInt(record.id),
                                 QStringLiteral("INSERT INTO ") + k->subjectLinks + QStringLiteral(" (") + k->subjectLinkResource
                                     + QLatin1Char(',') + k->subjectLinkSubject + QStringLiteral(") VALUES ") + values};
    // The row is locked and compared with what was loaded before anything is
    // written: a row deleted since gets neither the record nor links, and a
    // change by another copy is written over only when the user says so.
    db::LoadedRow row = record.row.isValid() ? record.row : db::LoadedRow(k->table, p + QStringLiteral("id"), record.id);
    const db::SaveOutcome saved = db::SaveRow(row, compared, [&statements] {
        return std::all_of(statements.cbegin(), statements.cend(), [](const QString &sql) { return db::ExecQuery(sql) == 0; });
    });
    switch (saved) {
    case db::SaveOutcome::Saved: m_loaded.row = row; return WriteResult::Written;
    case db::SaveOutcome::Gone: return WriteResult::Gone;
    case db::SaveOutcome::Declined:
    case db::SaveOutcome::Failed: break;
    }
    return WriteResult::Failed;
}

void RecordEditor::offerUpload(const Loaded &record)
{
    if (!m_upload)
        return;
    m_upload->Accepted = 0;
    prompt().exec(m_upload);
    if (m_upload->Accepted == 1)
        m_upload->upload(record.kind, record.id);
}

} // namespace qv::workbench
