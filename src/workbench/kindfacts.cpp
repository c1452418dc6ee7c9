#include "workbench/kindfacts.h"

namespace qv::workbench {

namespace {

// What each kind has of its own; the rest of its facts follow from its
// letter ("c"), its table ("catalogs") and its word ("catalog").
struct OwnFacts {
    core::Kind kind;
    const char *letter, *table, *word;
    bool hasLinkFlags = true, hasDescription = true, showsLinkFlags = true, statusPerMaterial = false;
    const char *loginKey = "", *passwordKey = "";
    const char *pageCaptions[3];
    const char *tabCaptions[3];
    const char *materialNewCaption, *materialNameCaption, *updateName;
};

const OwnFacts kOwnFacts[] = {
    {.kind = core::Kind::Catalogs,
     .letter = "c",
     .table = "catalogs",
     .word = "catalog",
     .loginKey = "CATALOG_LOGIN_PROGRAM",
     .passwordKey = "CATALOG_PASSWORD_PROGRAM",
     .pageCaptions = {"Каталоги, поисковики, доски", "Редактировать...", "Добавить каталог, поисковик, доску"},
     .tabCaptions = {"Главная", "Добавить сайт/объявление", "Анализ сайта"},
     .materialNewCaption = "Новое описание",
     .materialNameCaption = " Активное описание сайта:",
     .updateName = "каталоги"},
    // The forums list does not show the two link flags; a forum's status
    // belongs to a press release.
    {.kind = core::Kind::Forums,
     .letter = "f",
     .table = "forums",
     .word = "forum",
     .showsLinkFlags = false,
     .statusPerMaterial = true,
     .loginKey = "FORUM_LOGIN_PROGRAM",
     .passwordKey = "FORUM_PASSWORD_PROGRAM",
     .pageCaptions = {"Форумы", "Редактировать...", "Добавить форум"},
     .tabCaptions = {"Разместить объявление", "Регистрация на форуме", "Обсуждение объявления"},
     .materialNewCaption = " Новое объявление",
     .materialNameCaption = " Активное объявление:",
     .updateName = "форумы"},
    // Software archives have neither link flags nor a note, nor login keys.
    {.kind = core::Kind::Soft,
     .letter = "s",
     .table = "soft",
     .word = "soft",
     .hasLinkFlags = false,
     .hasDescription = false,
     .showsLinkFlags = false,
     .pageCaptions = {"Софт каталоги", "Редактировать...", "Добавить софт каталог, магазин"},
     .tabCaptions = {"Главная", "Разместить софт / Регистрация", "Анализ сайта"},
     .materialNewCaption = "Новая версия",
     .materialNameCaption = " Активное описание версии:",
     .updateName = "софт-каталоги"},
};

QStringList texts(const char *const (&list)[3])
{
    return {QString::fromUtf8(list[0]), QString::fromUtf8(list[1]), QString::fromUtf8(list[2])};
}

KindFacts make(const OwnFacts &own)
{
    const QString l = QString::fromLatin1(own.letter);
    const QString w = QString::fromLatin1(own.word);
    KindFacts k;
    k.kind = own.kind;
    k.table = QString::fromLatin1(own.table);
    k.prefix = w + QLatin1Char('_');
    k.idColumn = k.prefix + QStringLiteral("id");
    k.nameColumn = k.prefix + QStringLiteral("name");
    k.subjectsColumn = k.prefix + QStringLiteral("subjects");
    k.hasLinkFlags = own.hasLinkFlags;
    k.hasDescription = own.hasDescription;
    k.showsLinkFlags = own.showsLinkFlags;
    k.subjects = l + QStringLiteral("subjects");
    k.subjectLinks = k.subjects + QLatin1Char('2') + k.table;
    k.subjectLinkResource = QStringLiteral("s2") + l + QLatin1Char('_') + k.idColumn;
    k.subjectLinkSubject = QStringLiteral("s2") + l + QStringLiteral("_subject_id");
    k.groups = l + QStringLiteral("groups");
    k.groupPrefix = l + QStringLiteral("group_");
    k.filters = l + QStringLiteral("filters");
    k.filterPrefix = l + QStringLiteral("filter_");
    k.statusLog = l + QStringLiteral("reglog");
    k.statusPrefix = l + QStringLiteral("rl_");
    k.statusResource = k.statusPrefix + k.idColumn;
    k.statusPerMaterial = own.statusPerMaterial;
    k.checkLog = QLatin1Char('g') + k.statusLog;
    k.checkPrefix = QLatin1Char('g') + k.statusPrefix;
    k.checkResource = k.checkPrefix + k.idColumn;
    k.materialTable = l + QStringLiteral("materials");
    k.materialPrefix = l + QStringLiteral("material_");
    k.authTable = l + QStringLiteral("auth");
    k.authResource = k.authTable + QLatin1Char('_') + k.idColumn;
    k.authProject = k.authTable + QStringLiteral("_project_id");
    k.loginKey = QString::fromLatin1(own.loginKey);
    k.passwordKey = QString::fromLatin1(own.passwordKey);
    k.fieldTemplate = core::kindName(own.kind) + QStringLiteral(".shbl");
    k.updateScript = QStringLiteral("out_") + w + QStringLiteral(".php");
    k.uploadPage = QStringLiteral("/get_") + w + QStringLiteral(".php");
    k.pageCaptions = texts(own.pageCaptions);
    k.tabCaptions = texts(own.tabCaptions);
    k.materialNewCaption = QString::fromUtf8(own.materialNewCaption);
    k.materialNameCaption = QString::fromUtf8(own.materialNameCaption);
    k.updateName = QString::fromUtf8(own.updateName);
    return k;
}

} // namespace

const std::array<KindFacts, 3> &resourceKindFacts()
{
    static const std::array<KindFacts, 3> facts = {make(kOwnFacts[0]), make(kOwnFacts[1]), make(kOwnFacts[2])};
    return facts;
}

const KindFacts *kindFacts(core::Kind kind)
{
    for (const KindFacts &k : resourceKindFacts()) {
        if (k.kind == kind)
            return &k;
    }
    return nullptr;
}

} // namespace qv::workbench
