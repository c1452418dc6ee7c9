// The materials editor against a real database: each tab's round trip, new
// and copy, the duplicate names, the unsaved-edit prompt and the rule that a
// tab writes only into the row it loaded.
#include "bench.h"
#include "projects/materialsnavigation.h"
#include "projects/projectchoice.h"
#include "projects/tfrmprojectmaterials.h"
#include "projects/tfrmprojectmaterials_fields.h"
#include "support/scriptedprompt.h"
#include "support/secondcopy.h"
#include "support/testdb.h"

#include <QAction>
#include <QComboBox>
#include <QPushButton>
#include <QLabel>
#include <QMenu>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <QtTest>

using namespace qv;
using namespace qv::projects;
using qv::test::Bench;
using qv::test::comboItems;
using qv::test::menuKeys;
using qv::test::ScriptedPrompt;
using qv::test::SecondCopy;
using qv::test::TestDb;

namespace {
const QString kSavePrompt = QStringLiteral("Вы не сохранили редактирования материала. Сохранить редактирование?");
// The question before a save writes over another copy's change, naming the
// field that copy changed.
QString changedMeanwhile(const QString &field)
{
    return QStringLiteral("Запись изменена в базе после того, как вы её открыли. Записать ваши изменения поверх?\n"
                          "В другой копии программы изменено поле \"")
           + field + QStringLiteral("\"; его значение в базе будет заменено значением из этого окна.");
}

// Cyrillic, both quotes, backslashes (one before a blank), an ampersand.
QString tricky(const QString &what) { return what + QStringLiteral(" «Ёж» \"двойные\" 'одинарные' \\ обратная\\\\ & конец"); }
// Several lines, with CR LF as stored.
QString lines(const QString &what) { return what + QStringLiteral("\r\nвторая \"строка\" \\n\r\n\r\n\tчетвёртая 'x'\\"); }

QString row(const QStringList &values) { return values.join(QLatin1Char('|')); }
} // namespace

class TestMaterials : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<TestDb> m_db;
    std::unique_ptr<Bench> m_bench;
    int m_a = 0;
    int m_b = 0;

    TestDb &db() { return *m_db; }
    Bench &b() { return *m_bench; }
    TfrmProjectMaterials &ed() { return *m_bench->editor; }
    QString one(const QString &sql) { return db().scalar(sql); }

private Q_SLOTS:
    void init()
    {
        m_db = std::make_unique<TestDb>(TestDb::WithSeed);
        QVERIFY2(m_db->ok(), qPrintable(m_db->error()));
        m_bench = std::make_unique<Bench>();
        m_a = b().addProject(QStringLiteral("Проект А"), QStringLiteral("http://a.ru"));
        m_b = b().addProject(QStringLiteral("Проект Б"), QStringLiteral("http://b.ru"));
        // Both projects have materials of the same names.
        for (int p : {m_a, m_b}) {
            b().addMaterial(QStringLiteral("cmaterials"), QStringLiteral("Основное описание"), p,
                            QStringLiteral("cmaterial_title='исходный'"));
            b().addMaterial(QStringLiteral("fmaterials"), QStringLiteral("Основной пресс-релиз"), p,
                            QStringLiteral("fmaterial_title='исходный', fmaterial_burl='http://back'"));
            b().addMaterial(QStringLiteral("omaterials"), QStringLiteral("Основное письмо"), p,
                            QStringLiteral("omaterial_subject='исходный'"));
        }
        b().choose(m_a);
    }
    void cleanup()
    {
        m_bench.reset();
        m_db.reset();
    }

    void siteDescriptionRoundTrip()
    {
        ScriptedPrompt p;
        b().main->materials->N2Click();
        QCOMPARE(ed().pcMaterials->currentIndex(), 1);
        QCOMPARE(ed().edtTitle_2->text(), QStringLiteral("исходный"));
        const int id = ed().cbCMaterials->currentData().toInt();
        QCOMPARE(b().ctx.CurrentMaterialId, id);
        QVERIFY(!ed().MaterialChanged);

        SiteDescription d;
        d.url = tricky(QStringLiteral("url"));
        d.burl = tricky(QStringLiteral("burl"));
        d.categories = QStringLiteral("книги, музыка,кино");
        d.fio = QStringLiteral("Иванов Иван \"Иваныч\" \\");
        d.email = tricky(QStringLiteral("mail"));
        d.company = tricky(QStringLiteral("company"));
        d.tel = tricky(QStringLiteral("tel"));
        d.fax = tricky(QStringLiteral("fax"));
        d.city = tricky(QStringLiteral("city"));
        d.country = tricky(QStringLiteral("country"));
        d.address = tricky(QStringLiteral("address"));
        d.title50 = tricky(QStringLiteral("t50"));
        d.title100 = tricky(QStringLiteral("t100"));
        d.title200 = tricky(QStringLiteral("t200"));
        d.title = tricky(QStringLiteral("title"));
        d.description100 = lines(QStringLiteral("d100"));
        d.description250 = lines(QStringLiteral("d250"));
        d.description500 = lines(QStringLiteral("d500"));
        d.description = lines(QStringLiteral("description"));
        d.keywords = QStringLiteral("раз, два,три \\");
        d.keywords500 = QStringLiteral("k500, x");
        d.keywords250 = QStringLiteral("k250,y");
        d.keywords100 = QStringLiteral("k100");
        // The unlimited keywords first (they are copied into the limited
        // ones), then the limited ones of their own.
        ed().memKeywords_2->setStoredText(d.keywords);
        ed().memKeywords500_2->setStoredText(d.keywords500);
        ed().memKeywords250_2->setStoredText(d.keywords250);
        ed().memKeywords100_2->setStoredText(d.keywords100);
        SiteDescription rest = d;
        ed().edtURL_2->setText(d.url);
        ed().edtBURL_2->setText(d.burl);
        ed().edtCategories_2->setText(d.categories);
        ed().edtFIO_2->setText(d.fio);
        ed().edtEMail_2->setText(d.email);
        ed().edtOrganization_2->setText(d.company);
        ed().edtTel_2->setText(d.tel);
        ed().edtFAX_2->setText(d.fax);
        ed().edtCity_2->setText(d.city);
        ed().edtCountry_2->setText(d.country);
        ed().edtAddress_2->setText(d.address);
        ed().edtTitle50_2->setText(d.title50);
        ed().edtTitle100_2->setText(d.title100);
        ed().edtTitle200_2->setText(d.title200);
        ed().edtTitle_2->setText(d.title);
        ed().memDescription100_2->setStoredText(d.description100);
        ed().memDescription250_2->setStoredText(d.description250);
        ed().memDescription500_2->setStoredText(d.description500);
        ed().memDescription_2->setStoredText(d.description);
        QVERIFY(ed().MaterialChanged);

        ed().btnCMaterialSaveClick();
        QVERIFY(p.messages.isEmpty());
        QVERIFY(!ed().MaterialChanged);
        const QString where = QStringLiteral(" FROM cmaterials WHERE cmaterial_id=") + QString::number(id);
        QCOMPARE(db().rows(QStringLiteral("SELECT cmaterial_url, cmaterial_burl, cmaterial_categories, cmaterial_fio, "
                                          "cmaterial_email, cmaterial_company, cmaterial_tel, cmaterial_fax, "
                                          "cmaterial_city, cmaterial_country, cmaterial_address")
                           + where),
                 QStringList{
                     row({d.url, d.burl, d.categories, d.fio, d.email, d.company, d.tel, d.fax, d.city, d.country, d.address})});
        QCOMPARE(db().rows(QStringLiteral("SELECT cmaterial_title50, cmaterial_title100, cmaterial_title200, "
                                          "cmaterial_title, cmaterial_description100, cmaterial_description250, "
                                          "cmaterial_description500, cmaterial_description")
                           + where),
                 QStringList{row({d.title50, d.title100, d.title200, d.title, d.description100, d.description250,
                                  d.description500, d.description})});
        QCOMPARE(db().rows(QStringLiteral("SELECT cmaterial_keywords, cmaterial_keywords500, cmaterial_keywords250, "
                                          "cmaterial_keywords100, cmaterial_keywords_, cmaterial_keywords500_, "
                                          "cmaterial_keywords250_, cmaterial_keywords100_")
                           + where),
                 QStringList{row({d.keywords, d.keywords500, d.keywords250, d.keywords100, QStringLiteral("раз  два три \\"),
                                  QStringLiteral("k500  x"), QStringLiteral("k250 y"), QStringLiteral("k100")})});
        QCOMPARE(db().rows(QStringLiteral("SELECT cmaterial_f, cmaterial_i, cmaterial_o") + where),
                 QStringList{row({QStringLiteral("Иванов"), QStringLiteral("Иван"), QStringLiteral("\"Иваныч\" \\")})});
        // The other project's description of the same name is untouched.
        QCOMPARE(one(QStringLiteral("SELECT cmaterial_title FROM cmaterials WHERE cmaterial_project_id=") + QString::number(m_b)),
                 QStringLiteral("исходный"));

        // Loading again shows every field as stored; the limited keyword
        // fields show the unlimited keywords (their copy runs last).
        ed().setSiteFields(SiteDescription());
        ed().cbCMaterialsChange();
        const SiteDescription shown = ed().siteFields();
        QCOMPARE(shown.url, d.url);
        QCOMPARE(shown.fio, d.fio);
        QCOMPARE(shown.title50, d.title50);
        QCOMPARE(shown.description, d.description);
        QCOMPARE(shown.description100, d.description100);
        QCOMPARE(shown.keywords, d.keywords);
        QCOMPARE(shown.keywords500, d.keywords);
        QCOMPARE(shown.keywords100, d.keywords);
        QCOMPARE(shown.address, d.address);
        QVERIFY(!ed().MaterialChanged);
    }

    void pressReleaseRoundTrip()
    {
        ScriptedPrompt p;
        b().main->materials->N17Click();
        QCOMPARE(ed().pcMaterials->currentIndex(), 2);
        QCOMPARE(ed().edtTitle_8->text(), QStringLiteral("исходный"));
        const int id = ed().cbFMaterials->currentData().toInt();
        QCOMPARE(b().ctx.CurrentMaterialId, id);
        PressRelease d;
        d.url = tricky(QStringLiteral("url"));
        d.fio = QStringLiteral("Петров  Пётр");
        d.email = tricky(QStringLiteral("email"));
        d.company = tricky(QStringLiteral("company"));
        d.tel = tricky(QStringLiteral("tel"));
        d.fax = tricky(QStringLiteral("fax"));
        d.city = tricky(QStringLiteral("city"));
        d.country = tricky(QStringLiteral("country"));
        d.title = tricky(QStringLiteral("title"));
        d.stitle = tricky(QStringLiteral("stitle"));
        d.description = lines(QStringLiteral("text"));
        ed().setPressReleaseFields(d);
        ed().FMaterialSaveClick();
        QVERIFY(p.messages.isEmpty());
        const QString where = QStringLiteral(" FROM fmaterials WHERE fmaterial_id=") + QString::number(id);
        QCOMPARE(db().rows(QStringLiteral("SELECT fmaterial_url, fmaterial_fio, fmaterial_email, fmaterial_company, "
                                          "fmaterial_tel, fmaterial_fax, fmaterial_city, fmaterial_country, "
                                          "fmaterial_title, fmaterial_stitle, fmaterial_description")
                           + where),
                 QStringList{
                     row({d.url, d.fio, d.email, d.company, d.tel, d.fax, d.city, d.country, d.title, d.stitle, d.description})});
        // Two words with two blanks; the back link is kept.
        QCOMPARE(db().rows(QStringLiteral("SELECT fmaterial_f, fmaterial_i, fmaterial_o, fmaterial_burl") + where),
                 QStringList{row({QStringLiteral("Петров"), QString(), QStringLiteral("Пётр"), QStringLiteral("http://back")})});
        ed().setPressReleaseFields(PressRelease());
        ed().cbFMaterialsChange();
        const PressRelease shown = ed().pressReleaseFields();
        QCOMPARE(shown.description, d.description);
        QCOMPARE(shown.stitle, d.stitle);
        QCOMPARE(shown.url, d.url);
    }

    void letterRoundTrip()
    {
        ScriptedPrompt p;
        const QString activeName = b().ctx.CurrentMaterialName;
        const int activeId = b().ctx.CurrentMaterialId;
        b().main->materials->N20Click();
        QCOMPARE(ed().pcMaterials->currentIndex(), 3);
        QVERIFY(ed().isVisible());
        // The command shows the listed letter, loaded; the active material
        // stays what the main window chose.
        QVERIFY(ed().loaded(TfrmProjectMaterials::LetterTab).isLoaded());
        QCOMPARE(ed().edtSubject->text(), QStringLiteral("исходный"));
        QCOMPARE(b().ctx.CurrentMaterialName, activeName);
        QCOMPARE(b().ctx.CurrentMaterialId, activeId);
        // The list's own change makes it the active one.
        ed().cbOMaterialsChange();
        QCOMPARE(ed().edtSubject->text(), QStringLiteral("исходный"));
        QCOMPARE(b().ctx.CurrentMaterialName, QStringLiteral("Основное письмо"));
        const int id = ed().cbOMaterials->currentData().toInt();
        QCOMPARE(b().ctx.CurrentMaterialId, id);
        const QString subject = tricky(QStringLiteral("тема"));
        const QString body = lines(QStringLiteral("Здравствуйте!"));
        ed().edtSubject->setText(subject);
        ed().memBody->setStoredText(body);
        ed().btnMessageSaveClick();
        QCOMPARE(db().rows(QStringLiteral("SELECT omaterial_subject, omaterial_body_text FROM omaterials WHERE "
                                          "omaterial_id=")
                           + QString::number(id)),
                 QStringList{row({subject, body})});
        QCOMPARE(
            one(QStringLiteral("SELECT omaterial_subject FROM omaterials WHERE omaterial_project_id=") + QString::number(m_b)),
            QStringLiteral("исходный"));
        // A body typed in the editor is stored with CR LF; a body stored with
        // bare line feeds keeps them through load and save.
        ed().memBody->clear();
        QTest::keyClicks(ed().memBody, QStringLiteral("one"));
        QTest::keyClick(ed().memBody, Qt::Key_Return);
        ed().memBody->insertPlainText(QStringLiteral("два"));
        ed().btnMessageSaveClick();
        QCOMPARE(one(QStringLiteral("SELECT HEX(omaterial_body_text) FROM omaterials WHERE omaterial_id=") + QString::number(id)),
                 QString::fromLatin1(QStringLiteral("one\r\nдва").toUtf8().toHex().toUpper()));
        QVERIFY(db().exec(QStringLiteral("UPDATE omaterials SET omaterial_body_text='a\\nb' WHERE omaterial_id=")
                          + QString::number(id)));
        ed().cbOMaterialsChange();
        ed().btnMessageSaveClick();
        QCOMPARE(one(QStringLiteral("SELECT HEX(omaterial_body_text) FROM omaterials WHERE omaterial_id=") + QString::number(id)),
                 QStringLiteral("610A62"));
    }

    void newMaterials()
    {
        ScriptedPrompt p;
        QVERIFY(db().exec(QStringLiteral("UPDATE projects SET project_company='ООО \"Кавычки\" \\\\', "
                                         "project_burl='http://обратно', project_address='Адрес 1' WHERE project_id=")
                          + QString::number(m_a)));
        // A site description: seeded from the project, in the fill menu raw.
        const QString name = QStringLiteral("Описание \"Б\" & 'в' \\");
        p.inputs = {name};
        ed().btnCMaterialNewClick();
        QCOMPARE(p.inputCaptions, QStringList{QStringLiteral("Создание нового описания")});
        const QString id = one(QStringLiteral("SELECT cmaterial_id FROM cmaterials WHERE cmaterial_name=")
                               + QStringLiteral("'Описание \"Б\" & \\'в\\' \\\\'"));
        QVERIFY(!id.isEmpty());
        QCOMPARE(db().rows(QStringLiteral("SELECT cmaterial_project_id, cmaterial_company, cmaterial_burl, "
                                          "cmaterial_address, cmaterial_url FROM cmaterials WHERE cmaterial_id=")
                           + id),
                 QStringList{row({QString::number(m_a), QStringLiteral("ООО \"Кавычки\" \\"), QStringLiteral("http://обратно"),
                                  QStringLiteral("Адрес 1"), QStringLiteral("http://a.ru")})});
        QCOMPARE(menuKeys(b().main->pmFill).constLast(), name);
        QCOMPARE(b().main->pmFill->actions().constLast()->text(), QStringLiteral("Описание \"Б\" && 'в' \\"));
        QCOMPARE(ed().cbCMaterials->currentText(), name);
        QCOMPARE(QString::number(b().ctx.CurrentMaterialId), id);
        QCOMPARE(ed().edtOrganization_2->text(), QStringLiteral("ООО \"Кавычки\" \\"));
        QVERIFY(!ed().MaterialChanged);

        // The same name again, a cancel and an empty name write nothing.
        p.inputs = {name, std::nullopt, QString()};
        ed().btnCMaterialNewClick();
        ed().btnCMaterialNewClick();
        ed().btnCMaterialNewClick();
        QCOMPARE(p.messages,
                 QStringList{QStringLiteral("Такое описание для данного проекта есть, нужно придумать другое описание!")});
        QCOMPARE(one(QStringLiteral("SELECT COUNT(*) FROM cmaterials")), QStringLiteral("3"));

        // A press release: the main window's list grows, its choice stays.
        const QString activeBefore = b().main->cbFMaterials->currentText();
        p.messages.clear();
        p.inputs = {QStringLiteral("Новый пресс"), QStringLiteral("основной ПРЕСС-релиз")};
        ed().btnFMaterialNewClick();
        QCOMPARE(comboItems(b().main->cbFMaterials),
                 (QStringList{QStringLiteral("Основной пресс-релиз"), QStringLiteral("Новый пресс")}));
        QCOMPARE(b().main->cbFMaterials->currentText(), activeBefore);
        QCOMPARE(ed().cbFMaterials->currentText(), QStringLiteral("Новый пресс"));
        QCOMPARE(ed().edtOrganization_8->text(), QStringLiteral("ООО \"Кавычки\" \\"));
        QCOMPARE(one(QStringLiteral("SELECT fmaterial_burl FROM fmaterials WHERE fmaterial_name='Новый пресс'")),
                 QStringLiteral("http://обратно"));
        ed().btnFMaterialNewClick();
        QCOMPARE(p.messages,
                 QStringList{QStringLiteral("Объявление с таким названием уже существует! Придумайте другое название")});

        // A letter becomes the active one of the main window too.
        p.messages.clear();
        p.inputs = {QStringLiteral("Письмо \\ 2"), QStringLiteral("Письмо \\ 2")};
        ed().btnOMaterialNewClick();
        const QString letterId = one(QStringLiteral("SELECT omaterial_id FROM omaterials WHERE omaterial_name='Письмо \\\\ 2'"));
        QCOMPARE(b().main->cbOMaterials->currentText(), QStringLiteral("Письмо \\ 2"));
        QCOMPARE(ed().cbOMaterials->currentText(), QStringLiteral("Письмо \\ 2"));
        QCOMPARE(QString::number(b().ctx.CurrentMaterialId), letterId);
        QCOMPARE(b().ctx.CurrentMaterialName, QStringLiteral("Письмо \\ 2"));
        QVERIFY(ed().edtSubject->text().isEmpty());
        ed().btnOMaterialNewClick();
        QCOMPARE(p.messages,
                 QStringList{QStringLiteral("Такое письмо для данного проекта есть, нужно придумать другое описание!")});
        QCOMPARE(one(QStringLiteral("SELECT COUNT(*) FROM omaterials")), QStringLiteral("3"));
    }

    void copies()
    {
        ScriptedPrompt p;
        b().main->materials->N2Click();
        const int original = ed().cbCMaterials->currentData().toInt();
        ed().edtTitle_2->setText(QStringLiteral("заголовок копии"));
        ed().memDescription_2->setStoredText(lines(QStringLiteral("описание")));
        ed().edtFIO_2->setText(QStringLiteral("Сидоров Сидор Сидорович"));
        const int materialId = b().ctx.CurrentMaterialId;
        p.inputs = {QStringLiteral("Копия \"1\"")};
        ed().btnCmaterialCopyClick();
        const QString copyId = one(QStringLiteral("SELECT cmaterial_id FROM cmaterials WHERE cmaterial_name='Копия \"1\"'"));
        QCOMPARE(db().rows(QStringLiteral("SELECT cmaterial_project_id, cmaterial_title, cmaterial_description, "
                                          "cmaterial_o FROM cmaterials WHERE cmaterial_id=")
                           + copyId),
                 QStringList{row({QString::number(m_a), QStringLiteral("заголовок копии"), lines(QStringLiteral("описание")),
                                  QStringLiteral("Сидорович")})});
        // Shown, not loaded: the fields, the flag and the active id stay.
        QCOMPARE(ed().cbCMaterials->currentText(), QStringLiteral("Копия \"1\""));
        QVERIFY(ed().MaterialChanged);
        QCOMPARE(b().ctx.CurrentMaterialId, materialId);
        QCOMPARE(menuKeys(b().main->pmFill).constLast(), QStringLiteral("Копия \"1\""));
        // A later save writes to the copy.
        ed().edtTitle_2->setText(QStringLiteral("изменено"));
        ed().btnCMaterialSaveClick();
        QCOMPARE(one(QStringLiteral("SELECT cmaterial_title FROM cmaterials WHERE cmaterial_id=") + copyId),
                 QStringLiteral("изменено"));
        QCOMPARE(one(QStringLiteral("SELECT cmaterial_title FROM cmaterials WHERE cmaterial_id=") + QString::number(original)),
                 QStringLiteral("исходный"));
        p.inputs = {QStringLiteral("копия \"1\"")};
        ed().btnCmaterialCopyClick();
        QCOMPARE(p.messages,
                 QStringList{QStringLiteral("Такое описание для данного проекта есть, нужно придумать другое описание!")});

        // A press release copy, into both lists.
        p.messages.clear();
        b().main->materials->N17Click();
        ed().edtTitle_8->setText(QStringLiteral("тема копии"));
        ed().edtFIO_8->setText(QStringLiteral("Один Два"));
        p.inputs = {QStringLiteral("Копия пресс-релиза"), QStringLiteral("Копия пресс-релиза")};
        ed().btnFMaterialCopyClick();
        QCOMPARE(p.inputCaptions.constLast(), QStringLiteral("Создание копии пресс-релиза"));
        QCOMPARE(db().rows(QStringLiteral("SELECT fmaterial_title, fmaterial_f, fmaterial_o, fmaterial_burl FROM "
                                          "fmaterials WHERE fmaterial_name='Копия пресс-релиза'")),
                 QStringList{row({QStringLiteral("тема копии"), QStringLiteral("Один"), QStringLiteral("Два"), QString()})});
        QVERIFY(comboItems(b().main->cbFMaterials).contains(QStringLiteral("Копия пресс-релиза")));
        QCOMPARE(ed().cbFMaterials->currentText(), QStringLiteral("Копия пресс-релиза"));
        ed().btnFMaterialCopyClick();
        QCOMPARE(p.messages, QStringList{QStringLiteral("Пресс-релиз с таким названием в данном проекте уже "
                                                        "существует, нужно придумать другое описание!")});
        // A copy that fails leaves no row behind.
        QVERIFY(db().exec(QStringLiteral("ALTER TABLE fmaterials MODIFY fmaterial_title VARCHAR(10) NOT NULL DEFAULT ''")));
        ed().edtTitle_8->setText(QStringLiteral("слишком длинная тема"));
        p.messages.clear();
        p.inputs = {QStringLiteral("Не выйдет")};
        ed().btnFMaterialCopyClick();
        QCOMPARE(p.messages.size(), 1);
        QCOMPARE(one(QStringLiteral("SELECT COUNT(*) FROM fmaterials WHERE fmaterial_name='Не выйдет'")), QStringLiteral("0"));
    }

    void promptPaths()
    {
        ScriptedPrompt p;
        // The letter is loaded but never edited; its row changes meanwhile.
        ed().cbOMaterialsChange();
        QVERIFY(db().exec(QStringLiteral("UPDATE omaterials SET omaterial_subject='извне' WHERE omaterial_project_id=")
                          + QString::number(m_a)));
        b().main->materials->N2Click();
        const QString cWhere = QStringLiteral(" FROM cmaterials WHERE cmaterial_project_id=") + QString::number(m_a);
        // A tab change with pending edits asks; No drops them and loads.
        ed().edtTitle_2->setText(QStringLiteral("не сохранять"));
        p.answers = {false};
        ed().pcMaterials->setCurrentIndex(2);
        QCOMPARE(p.questions, QStringList{kSavePrompt});
        QCOMPARE(one(QStringLiteral("SELECT cmaterial_title") + cWhere), QStringLiteral("исходный"));
        QCOMPARE(ed().edtTitle_8->text(), QStringLiteral("исходный"));
        QVERIFY(!ed().MaterialChanged);
        // Back on tab 1 the stored text shows again, without a question.
        ed().pcMaterials->setCurrentIndex(1);
        QCOMPARE(p.questions.size(), 1);
        QCOMPARE(ed().edtTitle_2->text(), QStringLiteral("исходный"));

        // Yes saves the edited tabs into their rows.
        ed().edtTitle_2->setText(QStringLiteral("сохранить"));
        p.answers = {true};
        ed().pcMaterials->setCurrentIndex(3);
        QCOMPARE(p.questions.size(), 2);
        QCOMPARE(one(QStringLiteral("SELECT cmaterial_title") + cWhere), QStringLiteral("сохранить"));
        // The letters' tab held no edits: its row is not written.
        QCOMPARE(
            one(QStringLiteral("SELECT omaterial_subject FROM omaterials WHERE omaterial_project_id=") + QString::number(m_a)),
            QStringLiteral("извне"));
        QCOMPARE(ed().edtSubject->text(), QStringLiteral("извне"));

        // Opening a list with pending edits: No keeps them on screen, flag cleared.
        ed().edtSubject->setText(QStringLiteral("тема правка"));
        p.answers = {false};
        ed().cbOMaterialsDropDown();
        QCOMPARE(ed().edtSubject->text(), QStringLiteral("тема правка"));
        QVERIFY(!ed().MaterialChanged);
        ed().cbOMaterialsDropDown();
        QCOMPARE(p.questions.size(), 3);
        // Yes saves that tab only.
        ed().edtSubject->setText(QStringLiteral("тема сохранена"));
        p.answers = {true};
        ed().cbOMaterialsDropDown();
        QCOMPARE(
            one(QStringLiteral("SELECT omaterial_subject FROM omaterials WHERE omaterial_project_id=") + QString::number(m_a)),
            QStringLiteral("тема сохранена"));

        // Closing asks once, and the window hides.
        ed().show();
        ed().edtSubject->setText(QStringLiteral("при закрытии"));
        p.answers = {true};
        ed().close();
        QVERIFY(!ed().isVisible());
        QCOMPARE(p.questions.size(), 5);
        QCOMPARE(
            one(QStringLiteral("SELECT omaterial_subject FROM omaterials WHERE omaterial_project_id=") + QString::number(m_a)),
            QStringLiteral("при закрытии"));
        ed().show();
        ed().close();
        QCOMPARE(p.questions.size(), 5);
    }

    void editsStayWithTheirProject()
    {
        ScriptedPrompt p;
        b().main->materials->N17Click();
        ed().edtTitle_8->setText(QStringLiteral("правка проекта А"));
        // Another project is chosen with the edit pending: asked first, saved
        // into project A's row.
        p.answers = {true};
        b().choose(m_b);
        QCOMPARE(p.questions, QStringList{kSavePrompt});
        auto titles = [this] {
            return one(QStringLiteral("SELECT fmaterial_title FROM fmaterials WHERE fmaterial_project_id=")
                       + QString::number(m_a))
                   + QLatin1Char('|')
                   + one(QStringLiteral("SELECT fmaterial_title FROM fmaterials WHERE fmaterial_project_id=")
                         + QString::number(m_b));
        };
        QCOMPARE(titles(), QStringLiteral("правка проекта А|исходный"));
        // The editor, open, now shows project Б's press release: a save
        // writes into Б's row.
        QCOMPARE(ed().loaded(TfrmProjectMaterials::ForumTab).projectId, m_b);
        QCOMPARE(ed().edtTitle_8->text(), QStringLiteral("исходный"));
        ed().edtTitle_8->setText(QStringLiteral("правка проекта Б"));
        ed().FMaterialSaveClick();
        QCOMPARE(titles(), QStringLiteral("правка проекта А|правка проекта Б"));
        // A tab change with Yes saves no tab that was not loaded for project Б.
        ed().edtTitle_2->setText(QStringLiteral("и это ничьё"));
        p.answers = {true};
        ed().pcMaterials->setCurrentIndex(1);
        QCOMPARE(one(QStringLiteral("SELECT COUNT(*) FROM cmaterials WHERE cmaterial_title='и это ничьё'")), QStringLiteral("0"));
        // Now tab 1 shows project Б's description, loaded by the change.
        QCOMPARE(ed().loaded(TfrmProjectMaterials::SiteTab).projectId, m_b);
        // A project change with No writes nothing.
        ed().edtTitle_2->setText(QStringLiteral("отказ"));
        p.answers = {false};
        b().choose(m_a);
        QCOMPARE(one(QStringLiteral("SELECT COUNT(*) FROM cmaterials WHERE cmaterial_title='отказ'")), QStringLiteral("0"));
    }

    void failedSaveKeepsTheEdits()
    {
        ScriptedPrompt p;
        b().main->materials->N2Click();
        ed().edtTitle_2->setText(QStringLiteral("не сохранится"));
        QVERIFY(db().exec(QStringLiteral("RENAME TABLE cmaterials TO cmaterials_away")));
        ed().btnCMaterialSaveClick();
        QCOMPARE(p.messages.size(), 1);
        // The first statement that reaches the missing table is the check of the loaded row.
        QVERIFY(p.messages[0].startsWith(QStringLiteral("Ошибка в запросе:SELECT ")));
        QVERIFY(p.messages[0].contains(QStringLiteral(" FROM cmaterials WHERE cmaterial_id=")));
        QVERIFY(ed().MaterialChanged);
        QCOMPARE(ed().edtTitle_2->text(), QStringLiteral("не сохранится"));
        // The prompt offers it again; once the table is back the save goes through.
        QVERIFY(db().exec(QStringLiteral("RENAME TABLE cmaterials_away TO cmaterials")));
        p.answers = {true};
        ed().pcMaterials->setCurrentIndex(3);
        QCOMPARE(p.questions, QStringList{kSavePrompt});
        QCOMPARE(one(QStringLiteral("SELECT cmaterial_title FROM cmaterials WHERE cmaterial_project_id=") + QString::number(m_a)),
                 QStringLiteral("не сохранится"));
    }

    // A tab holding no row of the current project has nowhere to save to:
    // the user is told, and the edits stay on screen and pending.
    void unloadedTabSaysSo()
    {
        ScriptedPrompt p;
        b().choose(m_b);
        ed().forgetProject();
        QVERIFY(!ed().loaded(TfrmProjectMaterials::ForumTab).isLoaded());
        const QString before = db().rows(QStringLiteral("SELECT fmaterial_title FROM fmaterials")).join(QLatin1Char(';'));
        ed().edtTitle_8->setText(QStringLiteral("напечатано"));
        QVERIFY(ed().MaterialChanged);
        ed().FMaterialSaveClick();
        QCOMPARE(p.messages.size(), 1);
        QVERIFY(p.messages[0].startsWith(QStringLiteral("Материал не сохранён")));
        QVERIFY(ed().MaterialChanged);
        QCOMPARE(ed().edtTitle_8->text(), QStringLiteral("напечатано"));
        QCOMPARE(db().rows(QStringLiteral("SELECT fmaterial_title FROM fmaterials")).join(QLatin1Char(';')), before);
    }

    // The project's row went away under the program: choosing it says so and
    // leaves no list of the project shown before.
    void vanishedProjectSaysSo()
    {
        ScriptedPrompt p;
        QVERIFY(b().main->cbFMaterials->count() > 0);
        QVERIFY(db().exec(QStringLiteral("DELETE FROM projects WHERE project_id=%1").arg(m_b)));
        b().choose(m_b);
        QCOMPARE(p.messages.size(), 1);
        QVERIFY(p.messages[0].startsWith(QStringLiteral("Проект не найден")));
        QCOMPARE(b().ctx.CurrentProjectId, 0);
        QCOMPARE(b().main->cbFMaterials->count(), 0);
        QCOMPARE(b().main->cbOMaterials->count(), 0);
        QCOMPARE(ed().cbCMaterials->count(), 0);
        QCOMPARE(ed().cbFMaterials->count(), 0);
    }

    // At the window's fixed width every caption, list and button of the tab
    // headers is whole, inside its strip and clear of its neighbours.
    void headersAreWholeAtTheFixedWidth()
    {
        ScriptedPrompt p;
        ed().show();
        QVERIFY(ed().width() >= 700);
        for (int tab = 0; tab < ed().pcMaterials->count(); ++tab) {
            ed().pcMaterials->setCurrentIndex(tab);
            QWidget *page = ed().pcMaterials->widget(tab);
            QVERIFY(QTest::qWaitForWindowExposed(&ed()));
            QCoreApplication::processEvents();
            QList<QWidget *> parts;
            for (QWidget *w : page->findChildren<QWidget *>()) {
                if (!w->isVisible() || w->parentWidget() == nullptr)
                    continue;
                const bool header = qobject_cast<QPushButton *>(w) || w->objectName().startsWith(QLatin1String("Label"))
                                    || w->objectName() == QLatin1String("lblSoftHelp")
                                    || (qobject_cast<QComboBox *>(w) && w->objectName().endsWith(QLatin1String("Materials")));
                if (header)
                    parts << w;
            }
            QVERIFY2(parts.size() >= 3, qPrintable(QString::number(tab)));
            for (QWidget *w : parts) {
                const QString what = QStringLiteral("tab %1: %2").arg(tab).arg(w->objectName());
                QVERIFY2(w->width() >= w->minimumSizeHint().width(), qPrintable(what + QStringLiteral(" is cut")));
                if (auto *b = qobject_cast<QPushButton *>(w))
                    QVERIFY2(b->width() >= b->sizeHint().width(), qPrintable(what + QStringLiteral(" is cut")));
                const QRect inPage(w->mapTo(page, QPoint(0, 0)), w->size());
                QVERIFY2(page->rect().contains(inPage), qPrintable(what + QStringLiteral(" leaves the page")));
                for (QWidget *o : parts) {
                    if (o == w || o->parentWidget() != w->parentWidget())
                        continue;
                    QVERIFY2(!w->geometry().intersects(o->geometry()),
                             qPrintable(what + QStringLiteral(" overlaps ") + o->objectName()));
                }
            }
            // The strip's captions are whole too.
            for (QLabel *l : page->findChildren<QLabel *>()) {
                if (!l->isVisible() || l->text().isEmpty() || l->parentWidget() != parts.first()->parentWidget())
                    continue;
                QVERIFY2(l->width() >= l->sizeHint().width(),
                         qPrintable(QStringLiteral("tab %1: \"%2\" is cut").arg(tab).arg(l->text())));
            }
        }
    }

    // At the window's size all four tabs stand on the tab bar whole, without
    // scroll arrows, and a click on the last one opens it.
    void allTabsShowAtTheDefaultSize()
    {
        ScriptedPrompt p;
        ed().show();
        QVERIFY(QTest::qWaitForWindowExposed(&ed()));
        QTabBar *bar = ed().pcMaterials->tabBar();
        QCOMPARE(bar->count(), 4);
        for (int i = 0; i < bar->count(); ++i) {
            const QRect tab = bar->tabRect(i);
            const QString what = bar->tabText(i);
            QVERIFY2(tab.left() >= 0 && tab.right() < bar->width(), qPrintable(what + QStringLiteral(" is off the bar")));
            QVERIFY2(tab.width() > bar->fontMetrics().horizontalAdvance(what), qPrintable(what + QStringLiteral(" is cut")));
        }
        for (QToolButton *arrow : bar->findChildren<QToolButton *>())
            QVERIFY(!arrow->isVisible());
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(3).center());
        QCOMPARE(ed().pcMaterials->currentIndex(), 3);
        QCOMPARE(bar->tabText(3), QStringLiteral("Письма для рассылок"));
    }

    void helpLinks()
    {
        ScriptedPrompt p;
        ed().Label7Click();
        ed().Label5Click();
        ed().Label4Click();
        QCOMPARE(p.openedUrls.size(), 3);
        const QString maker = b().ctx.makerUrl().toString();
        QCOMPARE(p.openedUrls[0].toString(), maker + QStringLiteral("/index.php?board=8.0"));
        QCOMPARE(p.openedUrls[1].toString(), maker + QStringLiteral("/index.php?board=9.0"));
        QCOMPARE(p.openedUrls[2].toString(), maker + QStringLiteral("/index.php?board=11.0"));
    }

    // Another copy of the program changed the site description after this
    // one loaded it: the save asks; "Нет" writes nothing and keeps the edits,
    // "Да" writes them; the next save compares with what was written. A row
    // the other copy deleted is not written, and the user is told.
    void siteDescriptionChangedByAnotherCopy()
    {
        ScriptedPrompt p;
        SecondCopy other(db());
        QVERIFY2(other.ok(), qPrintable(other.error()));
        b().main->materials->N2Click();
        const QString id = QString::number(ed().loaded(TfrmProjectMaterials::SiteTab).id);
        const QString where = QStringLiteral(" FROM cmaterials WHERE cmaterial_id=") + id;
        ed().edtTitle_2->setText(QStringLiteral("наш заголовок"));
        QVERIFY(other.exec(QStringLiteral("UPDATE cmaterials SET cmaterial_title='их заголовок', cmaterial_city='их город' "
                                          "WHERE cmaterial_id=")
                           + id));

        p.answers = {false};
        QTest::mouseClick(ed().btnCMaterialSave, Qt::LeftButton);
        QCOMPARE(p.questions, QStringList{QStringLiteral("Запись изменена в базе после того, как вы её открыли. Записать ваши "
                                                         "изменения поверх?\nВ другой копии программы изменены поля \"Город\", "
                                                         "\"Название сайта/объявления (без ограничений)\"; их значения в базе "
                                                         "будут заменены значениями из этого окна.")});
        QCOMPARE(db().rows(QStringLiteral("SELECT cmaterial_title, cmaterial_city") + where),
                 QStringList{QStringLiteral("их заголовок|их город")});
        QCOMPARE(ed().edtTitle_2->text(), QStringLiteral("наш заголовок"));
        QVERIFY(ed().MaterialChanged);

        p.answers = {true};
        QTest::mouseClick(ed().btnCMaterialSave, Qt::LeftButton);
        QCOMPARE(p.questions.size(), 2);
        QCOMPARE(db().rows(QStringLiteral("SELECT cmaterial_title, cmaterial_city") + where),
                 QStringList{QStringLiteral("наш заголовок|")});
        QVERIFY(!ed().MaterialChanged);

        // Nothing changed by anyone else since: saved without a question.
        ed().edtTitle_2->setText(QStringLiteral("ещё раз"));
        QTest::mouseClick(ed().btnCMaterialSave, Qt::LeftButton);
        QCOMPARE(p.questions.size(), 2);
        QCOMPARE(one(QStringLiteral("SELECT cmaterial_title") + where), QStringLiteral("ещё раз"));
        QVERIFY(p.messages.isEmpty());

        QVERIFY(other.exec(QStringLiteral("DELETE FROM cmaterials WHERE cmaterial_id=") + id));
        ed().edtTitle_2->setText(QStringLiteral("некуда"));
        QTest::mouseClick(ed().btnCMaterialSave, Qt::LeftButton);
        QCOMPARE(p.questions.size(), 2);
        QCOMPARE(p.messages, QStringList{QStringLiteral(
                                 "Запись удалена из базы после того, как вы её открыли. Ваши изменения не записаны.")});
        QCOMPARE(ed().edtTitle_2->text(), QStringLiteral("некуда"));
        QVERIFY(ed().MaterialChanged);
        QCOMPARE(one(QStringLiteral("SELECT COUNT(*)") + where), QStringLiteral("0"));
    }

    // A value longer than its column is refused before anything is sent,
    // with the field named by its caption and the column's limit; the edits
    // stay. The unlimited description holds far more than a title.
    void tooLongValueIsRefusedWithTheFieldNamed()
    {
        ScriptedPrompt p;
        b().main->materials->N2Click();
        const QString where = QStringLiteral(" FROM cmaterials WHERE cmaterial_id=")
                              + QString::number(ed().loaded(TfrmProjectMaterials::SiteTab).id);
        const QString longText(40000, QChar(0x0436)); // 80,000 bytes
        ed().edtTitle_2->setText(longText);
        QTest::mouseClick(ed().btnCMaterialSave, Qt::LeftButton);
        QCOMPARE(p.messages.size(), 1);
        QVERIFY2(p.messages[0].contains(QStringLiteral("\"Название сайта/объявления (без ограничений)\""))
                     && p.messages[0].contains(QStringLiteral("65535 байт")),
                 qPrintable(p.messages[0]));
        QCOMPARE(one(QStringLiteral("SELECT cmaterial_title") + where), QStringLiteral("исходный"));
        QCOMPARE(ed().edtTitle_2->text(), longText);
        QVERIFY(ed().MaterialChanged);

        ed().edtTitle_2->setText(QStringLiteral("короткий"));
        ed().memDescription_2->setStoredText(longText);
        QTest::mouseClick(ed().btnCMaterialSave, Qt::LeftButton);
        QCOMPARE(p.messages.size(), 1);
        QCOMPARE(one(QStringLiteral("SELECT CHAR_LENGTH(cmaterial_description)") + where), QStringLiteral("40000"));
    }

    // The press release and the letter check their rows the same way.
    void pressReleaseAndLetterChangedByAnotherCopy()
    {
        ScriptedPrompt p;
        SecondCopy other(db());
        QVERIFY2(other.ok(), qPrintable(other.error()));
        b().main->materials->N17Click();
        const QString release = QString::number(ed().loaded(TfrmProjectMaterials::ForumTab).id);
        ed().edtSTitle_8->setText(QStringLiteral("наш подзаголовок"));
        QVERIFY(
            other.exec(QStringLiteral("UPDATE fmaterials SET fmaterial_description='их текст' WHERE fmaterial_id=") + release));
        p.answers = {false};
        QTest::mouseClick(ed().FMaterialSave, Qt::LeftButton);
        QCOMPARE(p.questions, QStringList{changedMeanwhile(QStringLiteral("Текст объявления (сообщения для форума)"))});
        QCOMPARE(db().rows(QStringLiteral("SELECT fmaterial_stitle, fmaterial_description FROM fmaterials WHERE fmaterial_id=")
                           + release),
                 QStringList{QStringLiteral("|их текст")});
        QCOMPARE(ed().edtSTitle_8->text(), QStringLiteral("наш подзаголовок"));
        QVERIFY(ed().MaterialChanged);

        p.answers = {false}; // the unsaved-edit question on leaving the tab
        b().main->materials->N20Click();
        const int index = ed().cbOMaterials->findText(QStringLiteral("Основное письмо"));
        ed().cbOMaterials->setCurrentIndex(index);
        Q_EMIT ed().cbOMaterials->activated(index);
        const QString letter = QString::number(ed().loaded(TfrmProjectMaterials::LetterTab).id);
        ed().edtSubject->setText(QStringLiteral("наша тема"));
        QVERIFY(other.exec(QStringLiteral("UPDATE omaterials SET omaterial_body_text='их письмо' WHERE omaterial_id=") + letter));
        p.answers = {true};
        QTest::mouseClick(ed().btnMessageSave, Qt::LeftButton);
        QCOMPARE(p.questions.last(), changedMeanwhile(QStringLiteral("Текст письма (в виде текста)")));
        QCOMPARE(db().rows(QStringLiteral("SELECT omaterial_subject, omaterial_body_text FROM omaterials WHERE omaterial_id=")
                           + letter),
                 QStringList{QStringLiteral("наша тема|")});
        QVERIFY(!ed().MaterialChanged);
        QVERIFY(p.messages.isEmpty());
    }
};

QTEST_MAIN(TestMaterials)
#include "tst_materials.moc"
