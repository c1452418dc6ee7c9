#include "workbench/navigator_logic.h"
#include "db/query.h"

#include <QHash>

namespace qv::workbench {

const char *const kSubscribeText = "Подписка на бесплатное обновление";
const char *const kRecommendText = "Рекомендуем владельцам сайтов";
const char *const kFiltersHeader = "Фильтры пользователя";
const char *const kSectionsHeader = "Разделы пользователя";
const char *const kAddFilter = "Добавить фильтр";
const char *const kAddSection = "Добавить раздел";

namespace {
QString u(const char *s) { return QString::fromUtf8(s); }
} // namespace

FixedNode topNode(int index)
{
    switch (index) {
    case TopSoft: return {u("Софт каталоги"), 10};
    case TopCatalogs: return {u("Каталоги, поисковики, доски объявлений"), 1};
    case TopForums: return {u("Форумы"), 2};
    case TopContacts: return {u("Рассылки по контактам (email + бумажные)"), 6};
    case TopRecommend: return {u(kRecommendText), 17};
    case TopSubscribe: return {u(kSubscribeText), 5};
    case TopHelp: return {u("СПРАВКА"), 8};
    default: return {};
    }
}

std::vector<FixedNode> recommendLinks()
{
    return {
        {u("Выбор хостинга - лучшие хостинг компании"), 12},
        {u("Сервисы и программы для раскрутки сайтов"), 14},
        {u("Заработак для владельцев сайтов (партнерки)"), 13},
        {u("Студии раскрутки и продвижения сайтов"), 15},
    };
}

QString placeholderAtStart(int topIndex)
{
    switch (topIndex) {
    case TopSoft: return u("Версия 1.2");
    case TopCatalogs:
    case TopForums: return u("Добавить описание сайта");
    case TopContacts: return u("Добавить письмо");
    default: return {};
    }
}

QString placeholderAfterCollapse(int topIndex)
{
    switch (topIndex) {
    case TopSoft:
    case TopCatalogs: return u("Добавить описание сайта");
    case TopForums: return u("Добавить пресс-релиз для форумов");
    case TopContacts: return u(kAddSection);
    default: return {};
    }
}

core::Kind kindOfTop(int topIndex)
{
    switch (topIndex) {
    case TopSoft: return core::Kind::Soft;
    case TopCatalogs: return core::Kind::Catalogs;
    case TopForums: return core::Kind::Forums;
    case TopContacts: return core::Kind::Contacts;
    default: return core::Kind::None;
    }
}

QString helpPage(int topIndex)
{
    const core::Kind kind = kindOfTop(topIndex);
    return kind == core::Kind::None ? QString() : core::kindName(kind) + QStringLiteral(".htm");
}

std::optional<QString> linkPath(const QString &text)
{
    static const struct {
        const char *text, *path;
    } links[] = {
        {kSubscribeText, "/index.php?action=register"},
        {"Выбор хостинга - лучшие хостинг компании", "/pad/Hosting.php"},
        {"Сервисы и программы для раскрутки сайтов", "/pad/SeoSoft.php"},
        {"Студии раскрутки и продвижения сайтов", "/pad/SeoStudios.php"},
        {"Заработак для владельцев сайтов (партнерки)", "/pad/Partners.php"},
        {"СПРАВКА", "/index.php?action=forum"},
    };
    for (const auto &l : links) {
        if (text == u(l.text))
            return QString::fromLatin1(l.path);
    }
    return std::nullopt;
}

std::optional<KindSetup> kindSetup(int topIndex)
{
    KindSetup s;
    s.kind = kindOfTop(topIndex);
    if (s.kind == core::Kind::Contacts) {
        s.contacts = true;
        s.pageCaptions = {u("Контакты для рассылки"), u("Редактировать контакт"), u("Добавить контакт")};
        s.tabCaptions = {u("Главная")};
        return s;
    }
    const KindFacts *k = kindFacts(s.kind);
    if (!k)
        return std::nullopt;
    s.pageCaptions = k->pageCaptions;
    s.tabCaptions = k->tabCaptions;
    s.materialNew = k->materialNewCaption;
    s.materialName = k->materialNameCaption;
    // The forums show their press releases; the catalogs fill from the menu
    // of site descriptions.
    s.showMaterials = s.kind == core::Kind::Forums;
    s.feelDropDown = s.clearMaterialName = s.kind == core::Kind::Catalogs;
    return s;
}

QString FiltersSql(const KindFacts &k) { return QStringLiteral("SELECT * FROM ") + k.filters; }

QString SectionsSql(const KindFacts &k, int projectId)
{
    return QStringLiteral("SELECT * FROM ") + k.groups + QStringLiteral(" WHERE ") + k.groupPrefix + QStringLiteral("project_id=")
           + db::SqlInt(projectId);
}

QString SubjectsSql(const KindFacts &k) { return QStringLiteral("SELECT * FROM ") + k.subjects; }

QString SectionInsertSql(const KindFacts &k, const QString &name, int projectId)
{
    return QStringLiteral("INSERT INTO ") + k.groups + QStringLiteral(" SET ") + k.groupPrefix + QStringLiteral("name=")
           + db::Sql(name) + QStringLiteral(" , ") + k.groupPrefix + QStringLiteral("project_id=") + db::SqlInt(projectId);
}

QString FilterInsertSql(const KindFacts &k, const QString &name)
{
    return QStringLiteral("INSERT INTO ") + k.filters + QStringLiteral(" SET ") + k.filterPrefix + QStringLiteral("name=")
           + db::Sql(name);
}

RubricPlan PlanRubrics(const std::vector<RubricRow> &rows) { return controls::PlanTreeRows(rows, u("Корзина")); }

} // namespace qv::workbench
