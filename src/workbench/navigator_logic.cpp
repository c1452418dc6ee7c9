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

// Table letter of a resource kind.
QString letter(const QString &kind)
{
    if (kind == QLatin1String("soft"))
        return QStringLiteral("s");
    if (kind == QLatin1String("forums"))
        return QStringLiteral("f");
    return QStringLiteral("c");
}
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

QString kindOfTop(int topIndex)
{
    switch (topIndex) {
    case TopSoft: return QStringLiteral("soft");
    case TopCatalogs: return QStringLiteral("catalogs");
    case TopForums: return QStringLiteral("forums");
    case TopContacts: return QStringLiteral("contacts");
    default: return {};
    }
}

QString helpPage(int topIndex)
{
    const QString kind = kindOfTop(topIndex);
    return kind.isEmpty() ? QString() : kind + QStringLiteral(".htm");
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
    switch (topIndex) {
    case TopSoft:
        s.pageCaptions = {u("Софт каталоги"), u("Редактировать..."), u("Добавить софт каталог, магазин")};
        s.tabCaptions = {u("Главная"), u("Разместить софт / Регистрация"), u("Анализ сайта")};
        s.materialNew = u("Новая версия");
        s.materialName = u(" Активное описание версии:");
        return s;
    case TopCatalogs:
        s.pageCaptions = {u("Каталоги, поисковики, доски"), u("Редактировать..."), u("Добавить каталог, поисковик, доску")};
        s.tabCaptions = {u("Главная"), u("Добавить сайт/объявление"), u("Анализ сайта")};
        s.materialNew = u("Новое описание");
        s.materialName = u(" Активное описание сайта:");
        s.feelDropDown = true;
        s.clearMaterialName = true;
        return s;
    case TopForums:
        s.pageCaptions = {u("Форумы"), u("Редактировать..."), u("Добавить форум")};
        s.tabCaptions = {u("Разместить объявление"), u("Регистрация на форуме"), u("Обсуждение объявления")};
        s.materialNew = u(" Новое объявление");
        s.materialName = u(" Активное объявление:");
        s.showMaterials = true;
        return s;
    case TopContacts:
        s.contacts = true;
        s.pageCaptions = {u("Контакты для рассылки"), u("Редактировать контакт"), u("Добавить контакт")};
        s.tabCaptions = {u("Главная")};
        return s;
    default:
        return std::nullopt;
    }
}

QString FiltersSql(const QString &kind) { return QStringLiteral("SELECT * FROM ") + letter(kind) + QStringLiteral("filters"); }

QString SectionsSql(const QString &kind, int projectId)
{
    const QString l = letter(kind);
    return QStringLiteral("SELECT * FROM ") + l + QStringLiteral("groups WHERE ") + l + QStringLiteral("group_project_id=")
           + db::SqlInt(projectId);
}

QString SubjectsSql(const QString &kind) { return QStringLiteral("SELECT * FROM ") + letter(kind) + QStringLiteral("subjects"); }

QString SectionInsertSql(const QString &kind, const QString &name, int projectId)
{
    const QString l = letter(kind);
    return QStringLiteral("INSERT INTO ") + l + QStringLiteral("groups SET ") + l + QStringLiteral("group_name=")
           + db::Sql(name) + QStringLiteral(" , ") + l + QStringLiteral("group_project_id=") + db::SqlInt(projectId);
}

QString FilterInsertSql(const QString &kind, const QString &name)
{
    const QString l = letter(kind);
    return QStringLiteral("INSERT INTO ") + l + QStringLiteral("filters SET ") + l + QStringLiteral("filter_name=")
           + db::Sql(name);
}

RubricPlan PlanRubrics(const std::vector<RubricRow> &rows)
{
    return controls::PlanTreeRows(rows, u("Корзина"));
}

} // namespace qv::workbench
