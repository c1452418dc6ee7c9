// The form filler's decisions without a browser.
#include "workbench/formfill_logic.h"
#include "workbench/pagebridge.h"

#include <QJsonDocument>
#include <QtTest>

using namespace qv::workbench;
using qv::core::Kind;

namespace {
QList<MappingLine> mapping(std::initializer_list<std::pair<const char *, const char *>> lines)
{
    QStringList columns, values;
    for (const auto &l : lines) {
        columns << QString::fromUtf8(l.first);
        values << QString::fromUtf8(l.second);
    }
    return BuildMappingList(columns, values);
}
} // namespace

class TestFormFillLogic : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void mappingLinesLoseBlanksAndCase()
    {
        const auto m = mapping({{"catalog_title_site", "title, Name"}, {"catalog_id", "7"}});
        QCOMPARE(m.size(), 2);
        QCOMPARE(m[0].column, QStringLiteral("CATALOG_TITLE_SITE"));
        QCOMPARE(m[0].value, QStringLiteral("TITLE,NAME"));
        QCOMPARE(m[1].value, QStringLiteral("7"));
    }

    void matchingByName()
    {
        const auto m = mapping({{"catalog_title_site", "title, name"},
                                {"catalog_email_site", "siteurl,email"},
                                {"catalog_url_site", "url"},
                                {"catalog_fio_site", "fio"},
                                {"catalog_f_site", "fio"}});
        QCOMPARE(MatchKey(m, QStringLiteral("TITLE")), QStringLiteral("CATALOG_TITLE_SITE"));
        QCOMPARE(MatchKey(m, QStringLiteral("NAME")), QStringLiteral("CATALOG_TITLE_SITE"));
        // "SITEURL,EMAIL" holds "URL," so an element named url matches it; the last matching line decides.
        QCOMPARE(MatchKey(m, QStringLiteral("URL")), QStringLiteral("CATALOG_URL_SITE"));
        QCOMPARE(MatchKey(m, QStringLiteral("EMAIL")), QStringLiteral("CATALOG_EMAIL_SITE"));
        QCOMPARE(MatchKey(m, QStringLiteral("FIO")), QStringLiteral("CATALOG_F_SITE"));
        QCOMPARE(MatchKey(m, QStringLiteral("TITL")), QString());
        // A nameless element matches lines with an empty value or a comma in it.
        QCOMPARE(MatchKey(mapping({{"a_site", "x,y"}, {"b_site", "z"}}), QString()), QStringLiteral("A_SITE"));
        QCOMPARE(MatchKey(mapping({{"a_site", "x,y"}, {"b_site", ""}}), QString()), QStringLiteral("B_SITE"));
    }

    void valuesAreRenamedToTheirMappingColumns()
    {
        const auto kind = kindFacts(Kind::Forums);
        QVERIFY(kind);
        const ValueList v = BuildValueList(
            *kind, {QStringLiteral("fmaterial_id"), QStringLiteral("fmaterial_title"), QStringLiteral("fmaterial_description")},
            {QStringLiteral("3"), QStringLiteral("Тема  с пробелами"), QStringLiteral("a<br>b")});
        QCOMPARE(v.keys, (QStringList{QStringLiteral("FORUM_ID_SITE"), QStringLiteral("FORUM_TITLE_SITE"),
                                      QStringLiteral("FORUM_DESCRIPTION_SITE")}));
        QCOMPARE(v.value(QStringLiteral("FORUM_TITLE_SITE")), QStringLiteral("Тема  с пробелами"));
        QCOMPARE(v.value(QStringLiteral("NOPE")), QString());
        QVERIFY(!kindFacts(Kind::Contacts));
    }

    void breaksBecomeLineEnds()
    {
        QCOMPARE(ExpandBreaks(QStringLiteral("a<BR>b<br>c<Br>")), QStringLiteral("a\r\nb\r\nc\r\n"));
        QCOMPARE(ExpandBreaks(QStringLiteral("<b>bold</b>")), QStringLiteral("<b>bold</b>"));
    }

    void inputsCredentialsAndTypes()
    {
        const auto kind = kindFacts(Kind::Catalogs);
        const auto m = mapping(
            {{"CATALOG_LOGIN_PROGRAM", "login,user"}, {"CATALOG_PASSWORD_PROGRAM", "pass"}, {"catalog_title_site", "title"}});
        const ValueList v = BuildValueList(*kind, {QStringLiteral("cmaterial_title")}, {QStringLiteral("Заголовок")});
        auto decide = [&](const char *name, const char *type) {
            return DecideInput(*kind, m, v, PageElement{QString::fromUtf8(name), QString::fromUtf8(type), {}});
        };
        QCOMPARE(decide("title", "").value, QStringLiteral("Заголовок"));
        QVERIFY(decide("title", "text").credential == Credential::None);
        QVERIFY(decide("login", "text").credential == Credential::Login);
        QVERIFY(decide("pass", "text").credential == Credential::Password);
        // A password field takes the stored password even when nothing maps it.
        QVERIFY(decide("pwd2", "password").credential == Credential::Password);
        // The login mapping wins over the password type.
        QVERIFY(decide("user", "password").credential == Credential::Login);
        // Soft has no login columns.
        const auto soft = kindFacts(Kind::Soft);
        QVERIFY(DecideInput(*soft, mapping({{"CATALOG_LOGIN_PROGRAM", "login"}}), v,
                            PageElement{QStringLiteral("login"), QString(), {}})
                    .credential
                == Credential::None);

        for (const char *t : {"", "text", "email", "url", "tel", "search", "number", "TEXT"})
            QVERIFY2(WritesInput(PageElement{QStringLiteral("x"), QString::fromUtf8(t), {}}, QStringLiteral("v")), t);
        QVERIFY(WritesInput(PageElement{QStringLiteral("x"), QStringLiteral("password"), {}}, QStringLiteral("v")));
        for (const char *t : {"hidden", "checkbox", "radio", "file", "submit", "button", "image", "reset"})
            QVERIFY2(!WritesInput(PageElement{QStringLiteral("x"), QString::fromUtf8(t), {}}, QStringLiteral("v")), t);
        QVERIFY(!WritesInput(PageElement{QStringLiteral("x"), QStringLiteral("text"), {}}, QString()));
    }

    void textAreasNeedANameAndAValue()
    {
        const auto kind = kindFacts(Kind::Catalogs);
        const auto m = mapping({{"catalog_description_site", "descr,about"}, {"catalog_x_site", ""}});
        const ValueList v =
            BuildValueList(*kind, {QStringLiteral("cmaterial_description")}, {QStringLiteral("Строка 1<BR>Строка 2")});
        QCOMPARE(DecideTextArea(m, v, {QStringLiteral("about"), {}, {}}), QStringLiteral("Строка 1\r\nСтрока 2"));
        QCOMPARE(DecideTextArea(m, v, {QString(), {}, {}}), QString());
        QCOMPARE(DecideTextArea(m, v, {QStringLiteral("other"), {}, {}}), QString());
    }

    void dropDownChoice()
    {
        const QStringList options = {QStringLiteral("-- выберите --"), QStringLiteral("Бизнес и финансы"),
                                     QStringLiteral("Москва"), QStringLiteral("Россия"), QStringLiteral("Интернет, бизнес")};
        // The city wins even though an earlier option holds a category.
        QCOMPARE(ChooseOption(options, QStringLiteral("москва"), QStringLiteral("Россия"), QStringLiteral("бизнес")).value_or(-1),
                 2);
        QCOMPARE(ChooseOption(options, QStringLiteral("Тверь"), QStringLiteral("РОССИЯ"), QStringLiteral("бизнес")).value_or(-1),
                 3);
        // Without city and country, the last option holding a category piece.
        QCOMPARE(ChooseOption(options, QString(), QString(), QStringLiteral("Бизнес,интернет")).value_or(-1), 4);
        // Empty pieces never match; nothing matching leaves the list alone.
        QVERIFY(!ChooseOption(options, QString(), QString(), QStringLiteral(",,")));
        QVERIFY(!ChooseOption(options, QString(), QString(), QString()));
        QVERIFY(!ChooseOption({}, QStringLiteral("Москва"), QString(), QString()));
    }

    void turnOfDescriptions()
    {
        // Items: "Новое описание...", "-", A, B, C.
        int index = 2;
        QStringList used;
        const QStringList names = {QString(), QString(), QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")};
        for (int i = 0; i < 5; ++i) {
            index = NextFillMenuIndex(index, 5).value();
            used << names[index];
        }
        QCOMPARE(used, (QStringList{"B", "C", "A", "B", "C"}));
        QCOMPARE(NextFillMenuIndex(2, 3).value_or(-1), 2);
        QVERIFY(!NextFillMenuIndex(2, 2));
        QVERIFY(!NextFillMenuIndex(2, 0));
    }

    void writeScriptCarriesValuesAsJson()
    {
        PageWrites w;
        const QString hostile = QStringLiteral("\"); alert('x'); //</script>\u2028\\");
        w.inputs.append({3, hostile});
        w.selects.append({1, 2});
        const QString script = PageBridge::writeScript(QStringLiteral("tok\"en"), w);
        const qsizetype start = script.lastIndexOf(QStringLiteral("})(")) + 3;
        QVERIFY(script.endsWith(QLatin1Char(')')));
        const QString json = script.mid(start, script.size() - start - 1);
        const QJsonDocument doc = QJsonDocument::fromJson(json.toUtf8());
        QVERIFY(doc.isObject());
        QCOMPARE(doc[QStringLiteral("token")].toString(), QStringLiteral("tok\"en"));
        QCOMPARE(doc[QStringLiteral("inputs")][0][QStringLiteral("v")].toString(), hostile);
        QCOMPARE(doc[QStringLiteral("selects")][0][QStringLiteral("o")].toInt(), 2);
        QVERIFY(!script.contains(QChar(0x2028)));
    }
};

QTEST_MAIN(TestFormFillLogic)
#include "tst_formfill_logic.moc"
