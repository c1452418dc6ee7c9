#include "workbench/formfiller.h"
#include "core/appcontext.h"
#include "core/prompt.h"
#include "db/database.h"
#include "db/query.h"
#include "workbench/formfill_logic.h"
#include "workbench/kindfacts.h"
#include "workbench/pagebridge.h"
#include "workbench/tfrmauth.h"

#include <QAction>
#include <QMenu>
#include <QTimer>
#include <QWebEngineView>

namespace qv::workbench {

using core::prompt;

namespace {
// The name of a fill menu item as the user sees it, whatever the menu shows.
QString itemName(const QAction *a)
{
    const QVariant data = a->data();
    return data.isValid() ? data.toString() : a->text();
}

// A material or resource row with its column names.
struct NamedRow {
    QStringList columns;
    QStringList values;
    QString value(const QString &column) const
    {
        for (qsizetype i = 0; i < columns.size(); ++i) {
            if (columns[i].compare(column, Qt::CaseInsensitive) == 0)
                return values.value(i);
        }
        return QString();
    }
};

// A read that breaks off, or yields no result at all, is a failure (reported),
// never "no row".
std::optional<NamedRow> readRow(const QString &sql, bool *failed)
{
    *failed = db::ExecQuery(sql) != 0;
    if (*failed)
        return std::nullopt;
    db::QueryResult result(db::DbConnection());
    if (!result.isValid()) {
        *failed = true;
        prompt().message(db::StatementFailedMessage(sql, db::DbConnection().errorText()));
        return std::nullopt;
    }
    const auto row = result.FetchRow();
    if (!row) {
        *failed = result.failed();
        return std::nullopt;
    }
    return NamedRow{result.fieldNames().names(), row->values()};
}

const char *const kNoSiteDescription = "Форма не заполнена: в текущем проекте нет описания сайта.";
const char *const kNoPressRelease = "Форма не заполнена: в проекте не выбран активный пресс-релиз для форумов.";
const char *const kNoResource = "Форма не заполнена: не выбран ресурс в списке.";
const char *const kNoSoftware = "Форма не заполнена: в текущем проекте нет софт описания.";

QString siteDescriptionNotFound(const QString &name)
{
    return QStringLiteral("Форма не заполнена: описание сайта \"") + name + QStringLiteral("\" не найдено в текущем проекте.");
}
} // namespace

// What a fill knows before it reads the page.
struct FormFiller::Pending {
    KindFacts kind;
    QList<MappingLine> mapping;
    ValueList values;
    QString city, country, categories;
};

FormFiller::FormFiller(core::AppContext &ctx, QWebEngineView *web, QMenu *pmFill, TfrmAuth *auth, QObject *parent)
    : QObject(parent), m_ctx(ctx), m_web(web), m_pmFill(pmFill), m_auth(auth), m_bridge(new PageBridge(web, this)),
      m_answerTimer(new QTimer(this))
{
    // A page that never answers does not keep the filler busy.
    m_answerTimer->setSingleShot(true);
    connect(m_answerTimer, &QTimer::timeout, this, [this] {
        if (!m_pending)
            return;
        if (m_writing) {
            prompt().message(QStringLiteral(" !!!??? Nothing dowloaded ... "));
            finish(FormFillResult::NoDocument);
        } else {
            pageRead(m_fill, PageSnapshot());
        }
    });
}

FormFiller::~FormFiller() = default;

std::optional<QString> FormFiller::credential(bool password)
{
    const QString sql = AuthReadSql(m_ctx.CurrentKind, m_ctx.SelectedResourceId, m_ctx.CurrentProjectId);
    bool failed = false;
    const auto row = readRow(sql, &failed);
    if (failed)
        return std::nullopt;
    QString value = row ? row->values.value(password ? 2 : 1) : QString();
    if (value.isEmpty() && m_auth && !m_auth->isShowing()) {
        m_auth->tbnAuthClick();
        // The entry just saved serves this fill.
        const auto saved = readRow(sql, &failed);
        if (failed)
            return std::nullopt;
        value = saved ? saved->values.value(password ? 2 : 1) : QString();
    }
    return value;
}

void FormFiller::finish(FormFillResult result)
{
    m_pending.reset();
    m_answerTimer->stop();
    m_writing = false;
    m_busy = false;
    Q_EMIT fillFinished(result);
    release();
}

void FormFiller::release()
{
    m_busy = false;
    if (!m_again)
        return;
    // The latest request runs once the current fill has ended.
    m_again = false;
    const bool byUser = m_againByUser;
    m_againByUser = false;
    QTimer::singleShot(0, this, [this, byUser] { request(byUser); });
}

void FormFiller::cannotFill(const QString &why)
{
    if (m_byUser)
        prompt().message(why);
}

void FormFiller::waitForPage(bool writing)
{
    m_writing = writing;
    m_answerTimer->start(m_answerTimeout);
}

FormFillResult FormFiller::tbFeelClick() { return request(true); }

FormFillResult FormFiller::fillLoadedPage() { return request(false); }

FormFillResult FormFiller::fillAgain()
{
    // The site description the page was filled with, not the turn's next one:
    // only the login and the password change.
    if (m_ctx.CurrentKind == core::Kind::Catalogs && !m_lastDescription.isEmpty() && m_pmFill) {
        const QList<QAction *> items = m_pmFill->actions();
        for (qsizetype i = 2; i < items.size(); ++i) {
            if (itemName(items[i]) == m_lastDescription)
                return FillMenuItemClick(items[i]);
        }
    }
    return tbFeelClick();
}

FormFillResult FormFiller::request(bool byUser)
{
    if (m_busy) {
        m_again = true;
        m_againByUser = m_againByUser || byUser;
        return FormFillResult::Queued;
    }
    m_busy = true;
    m_byUser = byUser;
    const FormFillResult result = start();
    if (result != FormFillResult::Started)
        release();
    return result;
}

FormFillResult FormFiller::start()
{
    if (onStartPage())
        return FormFillResult::Skipped;
    settleEditedRecord();
    if (const auto stop = takeNextDescription())
        return *stop;
    // 4. The description serves this fill only; the filler remembers it for
    // a fill of the same page after a password is saved.
    if (m_ctx.CurrentKind == core::Kind::Catalogs)
        m_lastDescription = m_ctx.CurrentMaterialName;
    m_ctx.CurrentMaterialName.clear();
    const KindFacts *kind = kindFacts(m_ctx.CurrentKind);
    if (!kind)
        return FormFillResult::Skipped;
    const auto materialId = fillMaterialId(*kind);
    if (!materialId)
        return FormFillResult::Skipped;
    if (m_ctx.SelectedResourceName.isEmpty()) {
        cannotFill(QString::fromUtf8(kNoResource));
        return FormFillResult::Skipped;
    }
    Pending pending;
    pending.kind = *kind;
    if (!readMapping(pending) || !readMaterial(pending, *materialId))
        return FormFillResult::Stopped;
    readPage(std::move(pending));
    return FormFillResult::Started;
}

// 1. Nothing to fill on the start page; it stands in the browser while no
// resource is chosen.
bool FormFiller::onStartPage()
{
    if (m_web->url() != m_ctx.makerUrl(QStringLiteral("/program3_start.php")))
        return false;
    if (m_ctx.SelectedResourceName.isEmpty() && kindFacts(m_ctx.CurrentKind))
        cannotFill(QString::fromUtf8(kNoResource));
    return true;
}

// 2. An edited resource record first.
void FormFiller::settleEditedRecord()
{
    if (!m_ctx.LinkEditUnsaved)
        return;
    m_ctx.LinkEditUnsaved = false;
    if (prompt().question(QStringLiteral("Вы не сохранили отредактированную ссылку. Сохранить ссылку?")) && saveEditedResource)
        saveEditedResource();
}

// 3. The turn of descriptions: with none chosen, the catalogs take the next
// one of the fill menu. The end of the fill when it cannot go on.
std::optional<FormFillResult> FormFiller::takeNextDescription()
{
    if (m_ctx.CurrentKind != core::Kind::Catalogs || !m_ctx.CurrentMaterialName.isEmpty())
        return std::nullopt;
    const auto items = m_pmFill ? m_pmFill->actions() : QList<QAction *>();
    const auto next = NextFillMenuIndex(m_ctx.FillMenuIndex, static_cast<int>(items.size()));
    if (!next) {
        cannotFill(QString::fromUtf8(kNoSiteDescription));
        return FormFillResult::Skipped;
    }
    m_ctx.FillMenuIndex = *next;
    m_ctx.CurrentMaterialName = itemName(items[*next]);
    if (m_ctx.CurrentMaterialName.isEmpty()) {
        cannotFill(QString::fromUtf8(kNoSiteDescription));
        return FormFillResult::Skipped;
    }
    bool failed = false;
    const auto row = readRow(QStringLiteral("SELECT * FROM cmaterials WHERE cmaterial_name=") + db::Sql(m_ctx.CurrentMaterialName)
                                 + QStringLiteral(" AND cmaterial_project_id=") + db::SqlInt(m_ctx.CurrentProjectId),
                             &failed);
    if (failed) {
        m_ctx.CurrentMaterialName.clear();
        return FormFillResult::Stopped;
    }
    // A description that is not the current project's is never used.
    if (!row) {
        cannotFill(siteDescriptionNotFound(m_ctx.CurrentMaterialName));
        m_ctx.CurrentMaterialName.clear();
        return FormFillResult::Stopped;
    }
    m_ctx.CurrentMaterialId = db::ParseInt(row->value(QStringLiteral("cmaterial_id"))).value_or(0);
    return std::nullopt;
}

// 5. The forums are filled with the active press release of the current
// project. The software archives need no chosen material: theirs is the
// project's software description, read by project below. Nothing when there
// is no material to fill with.
std::optional<int> FormFiller::fillMaterialId(const KindFacts &kind)
{
    int materialId = m_ctx.CurrentMaterialId;
    if (kind.kind == core::Kind::Forums)
        materialId = activePressRelease ? activePressRelease().value_or(0) : 0;
    if (kind.kind != core::Kind::Soft && materialId <= 0) {
        cannotFill(QString::fromUtf8(kind.kind == core::Kind::Forums ? kNoPressRelease : kNoSiteDescription));
        return std::nullopt;
    }
    return materialId;
}

// 6. The resource's row gives the mapping.
bool FormFiller::readMapping(Pending &pending)
{
    const KindFacts &kind = pending.kind;
    bool failed = false;
    const auto resource = readRow(QStringLiteral("SELECT * FROM ") + kind.table + QStringLiteral(" WHERE ") + kind.prefix
                                      + QStringLiteral("name=") + db::Sql(m_ctx.SelectedResourceName),
                                  &failed);
    if (!resource) {
        if (!failed)
            cannotFill(QString::fromUtf8(kNoResource));
        return false;
    }
    pending.mapping = BuildMappingList(resource->columns, resource->values);
    return true;
}

// 7. The material's row gives the values, always of the current project.
bool FormFiller::readMaterial(Pending &pending, int materialId)
{
    const KindFacts &kind = pending.kind;
    const bool soft = kind.kind == core::Kind::Soft;
    const QString &mp = kind.materialPrefix;
    QString materialSql = QStringLiteral("SELECT * FROM ") + kind.materialTable + QStringLiteral(" WHERE ");
    if (!soft)
        materialSql += mp + QStringLiteral("id=") + db::SqlInt(materialId) + QStringLiteral(" AND ");
    materialSql += mp + QStringLiteral("project_id=") + db::SqlInt(m_ctx.CurrentProjectId);
    bool failed = false;
    const auto material = readRow(materialSql, &failed);
    if (!material) {
        if (!failed)
            cannotFill(QString::fromUtf8(soft                              ? kNoSoftware
                                         : kind.kind == core::Kind::Forums ? kNoPressRelease
                                                                           : kNoSiteDescription));
        return false;
    }
    pending.values = BuildValueList(kind, material->columns, material->values);
    if (kind.kind == core::Kind::Catalogs) {
        pending.city = material->value(QStringLiteral("cmaterial_city"));
        pending.country = material->value(QStringLiteral("cmaterial_country"));
        pending.categories = material->value(QStringLiteral("cmaterial_categories"));
    }
    return true;
}

// 8. The page is read and written from the event loop.
void FormFiller::readPage(Pending pending)
{
    m_pending = std::make_unique<Pending>(std::move(pending));
    const int fill = ++m_fill;
    waitForPage(false);
    m_bridge->snapshot([this, fill](const PageSnapshot &snap) {
        if (m_pending && fill == m_fill)
            m_answerTimer->stop();
        // Read on from the program's own event loop, not from inside the
        // engine's answer: the password manager may be shown below, and the
        // engine loads pages meanwhile only outside its own callbacks.
        QTimer::singleShot(0, this, [this, fill, snap] { pageRead(fill, snap); });
    });
}

void FormFiller::pageRead(int fill, const PageSnapshot &snap)
{
    if (!m_pending || fill != m_fill)
        return;
    // The page has answered: the time the password manager stays on screen
    // below is the user's, not the page's.
    m_answerTimer->stop();
    if (!snap.ok) {
        prompt().message(QStringLiteral(" !!!??? Nothing dowloaded ... "));
        finish(FormFillResult::NoDocument);
        return;
    }
    if (m_bridge->loadCounter() != snap.loadCounter) {
        finish(FormFillResult::PageChanged);
        return;
    }
    const Pending p = *m_pending;
    PageWrites writes;
    // 9-10. Text fields, logins and passwords.
    for (int i = 0; i < snap.inputs.size(); ++i) {
        const PageElement &e = snap.inputs[i];
        const InputDecision d = DecideInput(p.kind, p.mapping, p.values, e);
        QString value = d.value;
        if (d.credential != Credential::None) {
            const auto stored = credential(d.credential == Credential::Password);
            if (!stored) {
                finish(FormFillResult::Stopped);
                return;
            }
            // The password manager may have let another page in meanwhile.
            if (m_bridge->loadCounter() != snap.loadCounter) {
                finish(FormFillResult::PageChanged);
                return;
            }
            value = *stored;
        }
        if (WritesInput(e, value))
            writes.inputs.append({i, value});
    }
    // 11. Text areas.
    for (int i = 0; i < snap.textareas.size(); ++i) {
        const QString value = DecideTextArea(p.mapping, p.values, snap.textareas[i]);
        if (!value.isEmpty())
            writes.textareas.append({i, value});
    }
    // 12. Drop-down lists, by their option texts (catalogs only: elsewhere all three are empty).
    for (int i = 0; i < snap.selects.size(); ++i) {
        if (const auto option = ChooseOption(snap.selects[i].options, p.city, p.country, p.categories))
            writes.selects.append({i, *option});
    }
    waitForPage(true);
    m_bridge->write(snap, writes, [this, fill](bool ok) {
        if (m_pending && fill == m_fill)
            finish(ok ? FormFillResult::Filled : FormFillResult::PageChanged);
    });
}

FormFillResult FormFiller::FillMenuItemClick(QAction *item)
{
    if (!item || !m_pmFill)
        return FormFillResult::Skipped;
    const QList<QAction *> items = m_pmFill->actions();
    if (!items.isEmpty() && item == items.first()) {
        if (newSiteDescription)
            newSiteDescription();
        return FormFillResult::Skipped;
    }
    m_ctx.CurrentMaterialName = itemName(item);
    if (m_ctx.CurrentMaterialName.isEmpty())
        return FormFillResult::Skipped;
    const QString sql = QStringLiteral("SELECT * FROM cmaterials WHERE cmaterial_name=") + db::Sql(m_ctx.CurrentMaterialName)
                        + QStringLiteral(" AND cmaterial_project_id=") + db::SqlInt(m_ctx.CurrentProjectId);
    if (db::RunDirect(sql) != 0) {
        prompt().message(db::RunFailedMessage(sql), core::MessageIcon::Error);
        m_ctx.CurrentMaterialName.clear();
        return FormFillResult::Stopped;
    }
    {
        db::QueryResult result(db::DbConnection());
        if (const auto row = result.FetchRow())
            m_ctx.CurrentMaterialId = db::ParseInt(result.field(*row, QStringLiteral("cmaterial_id"))).value_or(0);
        else {
            // Not a description of the current project: no fill with a stale one.
            if (!result.failed())
                prompt().message(siteDescriptionNotFound(m_ctx.CurrentMaterialName));
            m_ctx.CurrentMaterialName.clear();
            return FormFillResult::Stopped;
        }
    }
    return tbFeelClick();
}

} // namespace qv::workbench
