// The resource list and navigator logic without widgets or database: texts,
// the filter test, the statements, the comparators and the rubric order.
#include "workbench/navigator_logic.h"
#include "workbench/resourcelist_logic.h"
#include "workbench/resourcelist_model.h"
#include "workbench/sections_logic.h"

#include <QtTest>
#include <algorithm>

using namespace qv::workbench;
using qv::core::Kind;

namespace {
const KindFacts &catalogs() { return *kindFacts(Kind::Catalogs); }
const KindFacts &forums() { return *kindFacts(Kind::Forums); }
const KindFacts &soft() { return *kindFacts(Kind::Soft); }
const QString T = QStringLiteral("2024-05-06 07:08:09");
} // namespace

class TestResourceLogic : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia)); }

    void kinds()
    {
        QVERIFY(!kindFacts(Kind::Contacts));
        QVERIFY(!kindFacts(Kind::None));
        QCOMPARE(catalogs().statusLog, QStringLiteral("creglog"));
        QCOMPARE(forums().checkPrefix, QStringLiteral("gfrl_"));
        QCOMPARE(soft().filterPrefix, QStringLiteral("sfilter_"));
        QVERIFY(!soft().hasLinkFlags);
        QVERIFY(forums().hasLinkFlags && !forums().showsLinkFlags);
        QCOMPARE(forums().uploadPage, QStringLiteral("/get_forum.php"));
        QCOMPARE(soft().uploadPage, QStringLiteral("/get_soft.php"));
        QCOMPARE(soft().fieldTemplate, QStringLiteral("soft.shbl"));
    }

    // Every table and column the facts name is one of the schema's, and every
    // field template is beside the program.
    void factsNameTheSchema()
    {
        QFile file(QStringLiteral(QV_SOURCE_DIR "/sql/schema.sql"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString schema = QString::fromUtf8(file.readAll());
        auto definition = [&](const QString &table) {
            const qsizetype at = schema.indexOf(QStringLiteral("CREATE TABLE `") + table + QLatin1Char('`'));
            return at < 0 ? QString() : schema.mid(at, schema.indexOf(QStringLiteral(") ENGINE"), at) - at);
        };
        QCOMPARE(resourceKindFacts().size(), size_t(3));
        for (const KindFacts &k : resourceKindFacts()) {
            const QList<QPair<QString, QStringList>> named = {
                {k.table, {k.idColumn, k.nameColumn, k.subjectsColumn}},
                {k.subjects, {}},
                {k.subjectLinks, {k.subjectLinkResource, k.subjectLinkSubject}},
                {k.groups, {k.groupPrefix + QStringLiteral("id")}},
                {k.filters, {k.filterPrefix + QStringLiteral("id")}},
                {k.statusLog, {k.statusPrefix + QStringLiteral("id"), k.statusResource}},
                {k.checkLog, {k.checkPrefix + QStringLiteral("id"), k.checkResource}},
                {k.materialTable, {k.materialPrefix + QStringLiteral("id"), k.materialPrefix + QStringLiteral("project_id")}},
                {k.authTable, {k.authResource, k.authProject}},
            };
            for (const auto &[table, columns] : named) {
                const QString columnsOf = definition(table);
                QVERIFY2(!columnsOf.isEmpty(), qPrintable(table));
                for (const QString &c : columns)
                    QVERIFY2(columnsOf.contains(QLatin1Char('`') + c + QLatin1Char('`')),
                             qPrintable(table + QLatin1Char('.') + c));
            }
            QVERIFY2(QFile::exists(QStringLiteral(QV_SOURCE_DIR "/data/") + k.fieldTemplate), qPrintable(k.fieldTemplate));
        }
    }

    void statusTexts()
    {
        QCOMPARE(StatusText(QStringLiteral("1"), T), QStringLiteral("Проверка (2024-05-06 07:08:09)"));
        QCOMPARE(StatusText(QStringLiteral("2"), T), QStringLiteral("Добавлен (2024-05-06 07:08:09)"));
        QCOMPARE(StatusText(QStringLiteral("3"), T), QStringLiteral("Отказано (2024-05-06 07:08:09)"));
        QCOMPARE(StatusText(QStringLiteral("0"), T), QString());
        QCOMPARE(StatusText(QString(), T), QString());
        QCOMPARE(StatusText(QStringLiteral("4"), T), QString());
    }

    void checkTexts()
    {
        const QString one = QStringLiteral("1"), zero = QStringLiteral("0");
        QCOMPARE(CheckText(one, one, one, T), QStringLiteral("Я Г (2024-05-06 07:08:09)"));
        QCOMPARE(CheckText(one, zero, one, T), QStringLiteral("Я (2024-05-06 07:08:09)"));
        QCOMPARE(CheckText(zero, one, one, T), QStringLiteral("Г (2024-05-06 07:08:09)"));
        QCOMPARE(CheckText(one, one, zero, T), QString());
        // Empty flags count as set.
        QCOMPARE(CheckText(QString(), QString(), one, T), QStringLiteral("Я Г (2024-05-06 07:08:09)"));
        QCOMPARE(BackLinkText(QString()), QStringLiteral("Требуют обратную ссылку"));
        QCOMPARE(BackLinkText(zero), QStringLiteral("Не требуют обратной ссылки"));
        QCOMPARE(LinkTypeText(QStringLiteral("1")), QStringLiteral("Редирект"));
        QCOMPARE(LinkTypeText(zero), QStringLiteral("Прямая"));
    }

    void filterConditions()
    {
        const QString checking = StatusText(QStringLiteral("1"), T), added = StatusText(QStringLiteral("2"), T),
                      refused = StatusText(QStringLiteral("3"), T);
        const QString both = QStringLiteral("Я Г (x)"), ya = QStringLiteral("Я (x)"), ge = QStringLiteral("Г (x)");
        FilterConditions any;
        QVERIFY(FilterAccepts(any, QString(), QString()));
        QVERIFY(FilterAccepts(any, added, both));

        FilterConditions f;
        f.regstatus = QStringLiteral("1");
        QVERIFY(FilterAccepts(f, checking, QString()));
        QVERIFY(!FilterAccepts(f, added, QString()));
        QVERIFY(!FilterAccepts(f, QString(), QString()));
        f.regstatus = QStringLiteral("2");
        QVERIFY(FilterAccepts(f, added, QString()));
        QVERIFY(!FilterAccepts(f, refused, QString()));
        f.regstatus = QStringLiteral("3");
        QVERIFY(FilterAccepts(f, refused, QString()));
        QVERIFY(!FilterAccepts(f, checking, QString()));
        // A status replaced by "Без модерации" is not what the filter judges: the
        // caller passes the real status.
        f.regstatus = QStringLiteral("7");
        QVERIFY(!FilterAccepts(f, checking, QString()));

        FilterConditions c;
        c.autocheck = QStringLiteral("0");
        QVERIFY(FilterAccepts(c, QString(), QString()));
        QVERIFY(!FilterAccepts(c, QString(), ya));
        c.autocheck = QStringLiteral("1");
        QVERIFY(FilterAccepts(c, QString(), ya));
        QVERIFY(!FilterAccepts(c, QString(), both));
        QVERIFY(!FilterAccepts(c, QString(), ge));
        QVERIFY(!FilterAccepts(c, QString(), QString()));
        c.autocheck = QStringLiteral("2");
        QVERIFY(FilterAccepts(c, QString(), ge));
        QVERIFY(!FilterAccepts(c, QString(), ya));
        QVERIFY(!FilterAccepts(c, QString(), both));
        c.autocheck = QStringLiteral("3");
        QVERIFY(FilterAccepts(c, QString(), both));
        QVERIFY(!FilterAccepts(c, QString(), ya));
        c.autocheck = QStringLiteral("9");
        QVERIFY(!FilterAccepts(c, QString(), both));
        QVERIFY(!FilterAccepts(c, QString(), QString()));

        // Both conditions must hold.
        FilterConditions b;
        b.regstatus = QStringLiteral("2");
        b.autocheck = QStringLiteral("3");
        QVERIFY(FilterAccepts(b, added, both));
        QVERIFY(!FilterAccepts(b, added, ya));
        QVERIFY(!FilterAccepts(b, checking, both));
    }

    void statements()
    {
        QCOMPARE(StatusLogSql(soft(), 7, 3), QStringLiteral("SELECT * FROM sreglog WHERE srl_project_id =7"));
        QCOMPARE(StatusLogSql(catalogs(), 7, 3), QStringLiteral("SELECT * FROM creglog WHERE  crl_project_id =7"));
        QCOMPARE(StatusLogSql(forums(), 7, 3), QStringLiteral("SELECT * FROM freglog WHERE  frl_material_id =3"));
        QCOMPARE(CheckLogSql(forums(), 7), QStringLiteral("SELECT * FROM gfreglog WHERE  gfrl_project_id =7"));
        QCOMPARE(SectionListSql(catalogs(), 12),
                 QStringLiteral("SELECT * FROM catalogs, cgroups2catalogs  WHERE  catalogs.catalog_id = "
                                "cgroups2catalogs.cg2c_catalog_id AND cgroups2catalogs.cg2c_cgroup_id=12 "));
        QCOMPARE(RubricListSql(soft(), 4),
                 QStringLiteral("SELECT * FROM soft, ssubjects2soft WHERE  soft.soft_id = ssubjects2soft.s2s_soft_id "
                                "AND ssubjects2soft.s2s_subject_id=4 "));
        QCOMPARE(FilterRowSql(forums(), QStringLiteral("a\"b")),
                 QStringLiteral("SELECT * FROM ffilters WHERE ffilter_name=\"a\\\"b\""));

        FilterConditions any;
        QCOMPARE(FilterListSql(catalogs(), any), QStringLiteral("SELECT * FROM catalogs WHERE catalog_name<>\"Корзина\""));
        FilterConditions all;
        all.pr = QStringLiteral(" 2 ");
        // Soft has no link flags; a TIC that is no integer sets no condition.
        all.tic = QStringLiteral("1; DROP TABLE soft");
        all.redirect = QStringLiteral("x\"y");
        QCOMPARE(FilterListSql(soft(), all), QStringLiteral("SELECT * FROM soft WHERE soft_name<>\"Корзина\" AND soft_pr>=2"));
    }

    void navigatorStatements()
    {
        QCOMPARE(SectionByNameSql(forums(), QStringLiteral("Мой \"раздел\""), 5),
                 QStringLiteral("SELECT * FROM fgroups WHERE fgroup_name=\"Мой \\\"раздел\\\"\" AND fgroup_project_id=5"));
        QCOMPARE(SectionInsertSql(soft(), QStringLiteral("A"), 5),
                 QStringLiteral("INSERT INTO sgroups SET sgroup_name=\"A\" , sgroup_project_id=5"));
        QCOMPARE(FilterInsertSql(catalogs(), QStringLiteral("F")), QStringLiteral("INSERT INTO cfilters SET cfilter_name=\"F\""));
        QCOMPARE(SectionsSql(catalogs(), 3), QStringLiteral("SELECT * FROM cgroups WHERE cgroup_project_id=3"));
        QCOMPARE(SubjectsSql(soft()), QStringLiteral("SELECT * FROM ssubjects"));
        QCOMPARE(linkPath(QStringLiteral("СПРАВКА")).value_or(QString()), QStringLiteral("/index.php?action=forum"));
        QVERIFY(!linkPath(QStringLiteral("Рекомендуем владельцам сайтов")));
        QCOMPARE(kindSetup(2)->materialNew, QStringLiteral(" Новое объявление"));
        QVERIFY(kindSetup(1)->feelDropDown && kindSetup(1)->clearMaterialName);
        QVERIFY(kindSetup(2)->showMaterials && !kindSetup(0)->showMaterials);
        QVERIFY(!kindSetup(4));
        QCOMPARE(helpPage(3), QStringLiteral("contacts.htm"));
    }

    void numberComparator()
    {
        QCOMPARE(SortNumber(QStringLiteral("-")), 0);
        QCOMPARE(SortNumber(QStringLiteral("?")), 0);
        QCOMPARE(SortNumber(QString()), 0);
        QCOMPARE(SortNumber(QStringLiteral("abc")), 0);
        QCOMPARE(SortNumber(QStringLiteral("5.5")), 0);
        QCOMPARE(SortNumber(QStringLiteral("120")), 120);
        // Larger first; equal values are equivalent both ways (strict weak order).
        QVERIFY(SubItemNumberLess(QStringLiteral("10"), QStringLiteral("9")));
        QVERIFY(!SubItemNumberLess(QStringLiteral("9"), QStringLiteral("10")));
        QVERIFY(!SubItemNumberLess(QStringLiteral("3"), QStringLiteral("3")));
        QVERIFY(!SubItemNumberLess(QStringLiteral("-"), QStringLiteral("0")));
        QVERIFY(!SubItemNumberLess(QStringLiteral("0"), QStringLiteral("?")));
        QVERIFY(!SubItemNumberLess(QString(), QStringLiteral("x")));
        QVERIFY(ShownAsZero(QStringLiteral("?")) && ShownAsZero(QString()) && !ShownAsZero(QStringLiteral("x")));
    }

    void textComparators()
    {
        QVERIFY(SubItemTextLess(QStringLiteral("alpha"), QStringLiteral("Beta")));
        QVERIFY(!SubItemTextLess(QStringLiteral("Beta"), QStringLiteral("alpha")));
        QVERIFY(!SubItemTextLess(QStringLiteral("Abc"), QStringLiteral("abc"))); // case-insensitive
        QVERIFY(!SubItemTextLess(QStringLiteral("abc"), QStringLiteral("Abc")));
        QVERIFY(SubItemTextLess(QString(), QStringLiteral("-")));
        QVERIFY(SubItemTextLess(QStringLiteral("Добавлен (1)"), QStringLiteral("Отказано (1)")));
        QVERIFY(SubItemTextLess(QStringLiteral("Отказано (1)"), QStringLiteral("Проверка (1)")));
        // Descending captions: Я before Г, empty last.
        QVERIFY(CaptionDescLess(QStringLiteral("Я (1)"), QStringLiteral("Г (1)")));
        QVERIFY(CaptionDescLess(QStringLiteral("Г (1)"), QString()));
        QVERIFY(!CaptionDescLess(QString(), QString()));
        // The sort keys agree with the comparison.
        TextKeys keys;
        const QStringList texts = {"ёж", "ЖУК", "ABC", "abc", "", "-", "Ёлка", "елка", "zebra", "Яблоко"};
        for (const QString &t : texts)
            keys.append(t);
        QCOMPARE(keys.size(), size_t(texts.size()));
        for (int a = 0; a < texts.size(); ++a) {
            for (int b = 0; b < texts.size(); ++b) {
                const int k = keys.compare(size_t(a), size_t(b));
                const int c = CompareText(texts[a], texts[b]);
                QVERIFY2((k < 0) == (c < 0) && (k > 0) == (c > 0), qPrintable(texts[a] + " / " + texts[b]));
            }
        }
        QVERIFY(keys.compare(0, 1) < 0); // ё before Ж
        QCOMPARE(keys.compare(2, 3), 0); // case ignored
        QVERIFY(keys.compare(9, 8) < 0); // the Russian collation puts Cyrillic first
        QCOMPARE(columnSort(0).kind, SortKind::CaptionDesc);
        QCOMPARE(columnSort(6).subItem, 5);
        QCOMPARE(columnSort(6).kind, SortKind::Number);
        QCOMPARE(columnSort(8).subItem, 7);
        QCOMPARE(columnSort(9).kind, SortKind::None);
        QCOMPARE(columnSort(11).kind, SortKind::None);
    }

    void modelSortIsStableAndRewritesNonNumbers()
    {
        ResourceListModel m;
        std::vector<ResourceRow> rows;
        const QStringList pr = {QStringLiteral("-"), QStringLiteral("3"), QStringLiteral("?"), QString(),
                                QStringLiteral("3"), QStringLiteral("x"), QStringLiteral("7")};
        for (int i = 0; i < pr.size(); ++i) {
            ResourceRow r;
            r.setSub(SubName, QStringLiteral("n%1").arg(i));
            r.setSub(SubPr, pr[i]);
            rows.push_back(r);
        }
        m.setRows(rows);
        m.sortColumn(5);
        QStringList names, shown;
        for (int i = 0; i < m.rowCount(); ++i) {
            names << m.subItem(i, SubName);
            shown << m.subItem(i, SubPr);
        }
        QCOMPARE(names, (QStringList{"n6", "n1", "n4", "n0", "n2", "n3", "n5"}));
        QCOMPARE(shown, (QStringList{"7", "3", "3", "0", "0", "0", "x"}));
        // Sorting again keeps the order of equal rows.
        m.sortColumn(5);
        QCOMPARE(m.subItem(3, SubName), QStringLiteral("n0"));
        // A column that does not sort leaves the order.
        m.sortColumn(10);
        QCOMPARE(m.subItem(0, SubName), QStringLiteral("n6"));
        // Text ascending after a change of a cell (its cached key is dropped).
        m.setSubItem(0, SubName, QStringLiteral("a-first"));
        m.sortColumn(2);
        QCOMPARE(m.subItem(0, SubName), QStringLiteral("a-first"));
        QCOMPARE(m.subItem(6, SubName), QStringLiteral("n5"));
    }

    void rowPacking()
    {
        QStringDecoder dec(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
        ResourceRow r;
        const QByteArray name = QByteArrayLiteral("имя.example"), title = QByteArrayLiteral("Заголовок — \xF0\x9F\x98\x80");
        r.pack({QByteArrayView(name),
                QByteArrayView(title),
                {},
                QByteArrayView("5"),
                QByteArrayView("?"),
                {},
                {},
                QByteArrayView("42"),
                QByteArrayView("http://x"),
                QByteArrayView("http://x/add"),
                {}},
               dec);
        QCOMPARE(r.sub(SubName), QStringLiteral("имя.example"));
        QCOMPARE(r.sub(SubTitle), QString::fromUtf8(title));
        QCOMPARE(r.sub(SubNote), QString());
        QCOMPARE(r.sub(SubPr), QStringLiteral("5"));
        QCOMPARE(r.sub(SubTic), QStringLiteral("?"));
        QCOMPARE(r.sub(SubId), QStringLiteral("42"));
        QCOMPARE(r.sub(SubRegUrl), QStringLiteral("http://x/add"));
        QCOMPARE(r.sub(SubPUrl), QString());
        QCOMPARE(r.sub(SubStatus), QString());
        QCOMPARE(r.sub(99), QString());
        // Changing a column in the middle keeps the others.
        r.setSub(SubPr, QStringLiteral("1234"));
        r.setSub(SubTitle, QString());
        r.setSub(SubStatus, QStringLiteral("Добавлен (x)"));
        QCOMPARE(r.sub(SubPr), QStringLiteral("1234"));
        QCOMPARE(r.sub(SubTitle), QString());
        QCOMPARE(r.sub(SubName), QStringLiteral("имя.example"));
        QCOMPARE(r.sub(SubTic), QStringLiteral("?"));
        QCOMPARE(r.sub(SubRegUrl), QStringLiteral("http://x/add"));
        QCOMPARE(r.sub(SubStatus), QStringLiteral("Добавлен (x)"));
    }

    void rubricPlan()
    {
        std::vector<RubricRow> rows = {
            {1, 0, QStringLiteral("Первая")},          {2, 0, QStringLiteral("Корзина")},
            {3, 0, QStringLiteral("Вторая")},          {4, 1, QStringLiteral("Под первой")},
            {5, 9, QStringLiteral("Раньше родителя")}, {9, 3, QStringLiteral("Родитель позже")},
            {6, 4, QStringLiteral("Глубже")},          {7, 5, QStringLiteral("Под пропавшей")},
        };
        const RubricPlan p = PlanRubrics(rows);
        QCOMPARE(p.front.size(), size_t(2));
        QCOMPARE(p.nodes[size_t(p.front[0])].name, QStringLiteral("Вторая"));
        QCOMPARE(p.nodes[size_t(p.front[1])].name, QStringLiteral("Первая"));
        QCOMPARE(p.back.size(), size_t(1));
        QCOMPARE(p.nodes[size_t(p.back[0])].name, QStringLiteral("Корзина"));
        const RubricNode &first = p.nodes[size_t(p.front[1])];
        QCOMPARE(first.children.size(), size_t(1));
        QCOMPARE(p.nodes[size_t(first.children[0])].children.size(), size_t(1));
        const RubricNode &second = p.nodes[size_t(p.front[0])];
        QCOMPARE(second.children.size(), size_t(1));
        QCOMPARE(p.nodes[size_t(second.children[0])].name, QStringLiteral("Родитель позже"));
        QVERIFY(p.nodes[size_t(second.children[0])].children.empty());
        QCOMPARE(p.nodes.size(), size_t(6)); // two rows left out
    }
};

QTEST_MAIN(TestResourceLogic)
#include "tst_resourcelogic.moc"
