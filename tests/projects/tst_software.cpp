// The software page of the materials editor against a real database: the
// round trip of every column, the sizes, the per-language texts and their
// switch, "<BR>" storage, the limits, new versions, the expiry switch, the
// unsaved-edit prompt and the PAD file written through the page's button.
#include "bench.h"
#include "projects/materialsnavigation.h"
#include "projects/padexport.h"
#include "projects/projectchoice.h"
#include "projects/softpage.h"
#include "projects/tfrmprojectmaterials.h"
#include "projects/tfrmprojectmaterials_fields.h"
#include "db/query.h"
#include "support/scriptedprompt.h"
#include "support/secondcopy.h"
#include "support/testdb.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QGroupBox>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QXmlStreamReader>
#include <QtTest>

using namespace qv;
using namespace qv::projects;
using qv::test::Bench;
using qv::test::comboItems;
using qv::test::ScriptedPrompt;
using qv::test::TestDb;

namespace {
const QString kSavePrompt = QStringLiteral("Вы не сохранили редактирования материала. Сохранить редактирование?");
const QString kSaveDescriptions = QStringLiteral("Были сделаны изменения в описаниях, сохранить их?");
const QString kNameTaken = QStringLiteral("Такое описание для данного проекта есть, нужно придумать другое описание!");

// Cyrillic, both quotes, backslashes, an ampersand and a tag.
QString tricky(const QString &what)
{
    return what + QStringLiteral(" «Ёж» \"двойные\" 'одинарные' \\ обратная\\\\ & <тег> конец");
}

QString row(const QStringList &values) { return values.join(QLatin1Char('|')); }

QStringList checkedTexts(const QListWidget *list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i) {
        if (list->item(i)->checkState() == Qt::Checked)
            out << list->item(i)->text();
    }
    return out;
}

void check(QListWidget *list, const QString &text)
{
    list->findItems(text, Qt::MatchExactly).constFirst()->setCheckState(Qt::Checked);
}

// Element texts by path below the root ("Program_Info/Program_Name"), and
// every element path met.
struct Parsed {
    QHash<QString, QString> text;
    QSet<QString> elements;
    QString error;
};

Parsed parse(const QByteArray &xml)
{
    Parsed out;
    QXmlStreamReader r(xml);
    QStringList path;
    while (!r.atEnd()) {
        r.readNext();
        if (r.isStartElement()) {
            path << r.name().toString();
            out.elements.insert(path.mid(1).join(QLatin1Char('/')));
        } else if (r.isCharacters() && !r.isWhitespace() && !path.isEmpty()) {
            out.text[path.mid(1).join(QLatin1Char('/'))] += r.text().toString();
        } else if (r.isEndElement()) {
            path.removeLast();
        }
    }
    if (r.hasError())
        out.error = r.errorString() + QStringLiteral(" at line ") + QString::number(r.lineNumber());
    return out;
}

QString lf(QString text) { return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")); }
} // namespace

class TestSoftware : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<TestDb> m_db;
    std::unique_ptr<Bench> m_bench;
    int m_a = 0, m_b = 0;
    int m_a1 = 0, m_b1 = 0;

    TestDb &db() { return *m_db; }
    Bench &b() { return *m_bench; }
    TfrmProjectMaterials &ed() { return *m_bench->editor; }
    SoftPage &sp() { return *m_bench->editor->soft; }
    QString one(const QString &sql) { return db().scalar(sql); }
    QString col(int id, const QString &column)
    {
        return one(QStringLiteral("SELECT ") + column + QStringLiteral(" FROM smaterials WHERE smaterial_id=")
                   + QString::number(id));
    }
    void set(int id, const QString &assignments)
    {
        QVERIFY2(db().exec(QStringLiteral("UPDATE smaterials SET ") + assignments + QStringLiteral(" WHERE smaterial_id=")
                           + QString::number(id)),
                 qPrintable(db().error()));
    }
    // Opens the editor on the software page, as the main window's command does.
    void open() { b().main->materials->N4Click(); }
    void chooseLanguage(const QString &language)
    {
        const int index = sp().cmbDescLanguage1->findText(language);
        sp().cmbDescLanguage1->setCurrentIndex(index);
        Q_EMIT sp().cmbDescLanguage1->activated(index);
    }
    void reload()
    {
        ed().forgetProject();
        ed().cbSMaterialsChange();
    }
    QList<std::pair<QLineEdit *, QString>> typedColumns()
    {
        return {{sp().edtOrganization1, "smaterial_company"},
                {sp().edtAddress11, "smaterial_Address1"},
                {sp().edtAddress21, "smaterial_Address2"},
                {sp().edtCity1, "smaterial_City"},
                {sp().edtState1, "smaterial_State"},
                {sp().edtZip1, "smaterial_ZIP"},
                {sp().edtCountry1, "smaterial_Country"},
                {sp().edtAFirstName1, "smaterial_AFirstName"},
                {sp().edtALastName1, "smaterial_ALastName"},
                {sp().edtAEmail1, "smaterial_AEmail"},
                {sp().edtCFirstName1, "smaterial_CFirstName"},
                {sp().edtCLastName1, "smaterial_CLastName"},
                {sp().edtCEmail1, "smaterial_CEmail"},
                {sp().edtGEmail1, "smaterial_GEmail"},
                {sp().edtGPhone1, "smaterial_GPhone"},
                {sp().edtGFAX, "smaterial_GFAX"},
                {sp().edtSEmail1, "smaterial_SEmail"},
                {sp().edtSPhone1, "smaterial_SPhone"},
                {sp().edtSaEmail1, "smaterial_SaEmail"},
                {sp().edtSaPhone1, "smaterial_SaPhone"},
                {sp().edtName1, "smaterial_softname"},
                {sp().edtVersion1, "smaterial_version"},
                {sp().edtCost1, "smaterial_cost"},
                {sp().edtRCost1, "smaterial_rcost"},
                {sp().edtChanges1, "smaterial_Changes"},
                {sp().edtReq1, "smaterial_Req"},
                {sp().edtURLSite1, "smaterial_URLSite"},
                {sp().edtURLDownload1, "smaterial_URLDownload"},
                {sp().edtURLScreenShot1, "smaterial_URLScreenShot"},
                {sp().edtURLPAD1, "smaterial_URLPAD"},
                {sp().edtURLOrder1, "smaterial_URLOrder"},
                {sp().edtURLIcon1, "smaterial_URLIcon"},
                {sp().edtURLInfo1, "smaterial_URLInfo"},
                {sp().edtURLSecDownload1, "smaterial_URLSecDownload"},
                {sp().edtURLDownload11, "smaterial_URLDownload1"},
                {sp().edtURLDownload21, "smaterial_URLDownload2"},
                {sp().edtCategoryPossible1, "smaterial_CategoryPossible"}};
    }

private Q_SLOTS:
    void init()
    {
        m_db = std::make_unique<TestDb>(TestDb::WithSeed);
        QVERIFY2(m_db->ok(), qPrintable(m_db->error()));
        m_bench = std::make_unique<Bench>();
        m_a = b().addProject(QStringLiteral("Проект А"), QStringLiteral("http://a.ru"));
        m_b = b().addProject(QStringLiteral("Проект Б"), QStringLiteral("http://b.ru"));
        m_a1 = b().addMaterial(QStringLiteral("smaterials"), QStringLiteral("Основная версия"), m_a,
                               QStringLiteral("smaterial_softname='Программа', smaterial_Keywords_English='en kw', "
                                              "smaterial_Description250_English='en<br>250', "
                                              "smaterial_Keywords_Russian='ру кл'"));
        m_b1 = b().addMaterial(QStringLiteral("smaterials"), QStringLiteral("Основная версия"), m_b,
                               QStringLiteral("smaterial_softname='Программа Б', smaterial_Keywords_English='en Б'"));
        b().choose(m_a);
    }
    void cleanup()
    {
        m_bench.reset();
        m_db.reset();
    }

    void pageControls()
    {
        QCOMPARE(ed().pcMaterials->tabText(0), QStringLiteral("Софт описание"));
        QStringList tabs;
        for (int i = 0; i < sp().PageControl2->count(); ++i)
            tabs << sp().PageControl2->tabText(i);
        QCOMPARE(tabs, (QStringList{"Company", "Program Info", "Description", "Web Info", "Permissions", "Additional"}));
        QCOMPARE(comboItems(sp().cmbDescLanguage1), DescriptionLanguages());
        QCOMPARE(sp().cmbDescLanguage1->currentText(), QStringLiteral("English"));
        QCOMPARE(sp().cmbCategoryClass1->count(), 153);
        QCOMPARE(sp().clbOS1->count(), 39);
        QCOMPARE(sp().clbLanguages1->count(), 26);
        QCOMPARE(sp().edtURLPAD1->text(), QStringLiteral("http://"));
        QVERIFY(!sp().gbExp->isEnabled());
        QVERIFY(sp().cbSMaterials->isHidden());
        QCOMPARE(ed().edtBSize1, static_cast<QLineEdit *>(sp().edtBSize1));
        QCOMPARE(sp().btnPadGenerate->text(), QStringLiteral("Создать PAD файл"));
        QVERIFY(sp().btnPadGenerate->font().bold());
    }

    void fullRoundTrip()
    {
        ScriptedPrompt p;
        const int a2 = b().addMaterial(QStringLiteral("smaterials"), QStringLiteral("Вторая версия"), m_a);
        open();
        QCOMPARE(ed().pcMaterials->currentIndex(), 0);
        QCOMPARE(b().ctx.CurrentMaterialId, m_a1);
        QCOMPARE(ed().loaded(TfrmProjectMaterials::SoftTab).id, m_a1);
        QCOMPARE(ed().loaded(TfrmProjectMaterials::SoftTab).projectId, m_a);
        QCOMPARE(sp().edtName1->text(), QStringLiteral("Программа"));
        QVERIFY(!ed().MaterialChanged);

        for (const auto &[e, column] : typedColumns())
            e->setText(tricky(column));
        QVERIFY(ed().MaterialChanged);
        sp().dtpReleaseDate1->setDate(QDate(2024, 2, 29));
        sp().cmbType1->setCurrentIndex(sp().cmbType1->findText(QStringLiteral("FreeWare")));
        sp().cmbReleaseStatus1->setCurrentIndex(sp().cmbReleaseStatus1->findText(QStringLiteral("Beta")));
        sp().cmbInstall1->setCurrentIndex(sp().cmbInstall1->findText(QStringLiteral("Install Only")));
        const QString klass = QStringLiteral("Audio & Multimedia::Audio File Player");
        sp().cmbCategoryClass1->setCurrentIndex(sp().cmbCategoryClass1->findText(klass));
        sp().cmbCategory1->setCurrentIndex(sp().cmbCategory1->findText(QStringLiteral("Home/Hobby")));
        check(sp().clbLanguages1, QStringLiteral("Russian"));
        check(sp().clbLanguages1, QStringLiteral("English"));
        check(sp().clbOS1, QStringLiteral("OS/2 Warp 4"));
        check(sp().clbOS1, QStringLiteral("Linux"));
        sp().edtBSize1->setText(QStringLiteral("1234567"));
        sp().cbExpExists->click();
        QVERIFY(sp().gbExp->isEnabled());
        sp().edtExpDays->setText(QStringLiteral("30"));
        sp().edtExpUses->setText(QStringLiteral("5"));
        sp().edtExpOther->setText(tricky(QStringLiteral("exp")));
        sp().cbExpDate->setChecked(true);
        sp().dtpExpDate->setDate(QDate(2025, 12, 31));
        LanguageTexts en;
        en.keywords = QStringLiteral("ключ, \"слово\" & <b>");
        en.description45 = QStringLiteral("Краткое & <описание>");
        en.description80 = tricky(QStringLiteral("80"));
        en.description250 = QStringLiteral("строка 1\nстрока \"2\"");
        en.description450 = QStringLiteral("450 \\ текст");
        en.description2000 = QStringLiteral("a\n\nb");
        sp().setTexts(en);
        QVERIFY(b().ctx.DescriptionsChanged);

        ed().btnSmaterialSaveClick();
        QVERIFY2(p.messages.isEmpty(), qPrintable(p.messages.join(QLatin1Char('\n'))));
        QVERIFY(!ed().MaterialChanged);
        QVERIFY(!b().ctx.DescriptionsChanged);

        // Every version row of the project gets the page; each keeps its name.
        for (int id : {m_a1, a2}) {
            for (const auto &[e, column] : typedColumns())
                QCOMPARE(col(id, column), tricky(column));
            QCOMPARE(db().rows(QStringLiteral("SELECT smaterial_releasedate, smaterial_type, smaterial_releasestatus, "
                                              "smaterial_install, smaterial_CategoryClass, smaterial_Category, "
                                              "smaterial_Languages, smaterial_OS FROM smaterials WHERE smaterial_id=")
                               + QString::number(id)),
                     QStringList{row({"2024-02-29", "FreeWare", "Beta", "Install Only", klass, "Home/Hobby", "English,Russian,",
                                      "Linux,OS/2 Warp 4,"})});
            QCOMPARE(db().rows(QStringLiteral("SELECT smaterial_bsize, smaterial_ksize, smaterial_msize, "
                                              "smaterial_ExpExists, smaterial_ExpDays, smaterial_ExpUses, "
                                              "smaterial_ExpOther, smaterial_ExpDate FROM smaterials WHERE smaterial_id=")
                               + QString::number(id)),
                     QStringList{row({"1234567", "1234,567", "1,234567", "1", "30", "5", tricky("exp"), "2025-12-31"})});
            QCOMPARE(db().rows(QStringLiteral("SELECT smaterial_Keywords_English, smaterial_Description45_English, "
                                              "smaterial_Description80_English, smaterial_Description250_English, "
                                              "smaterial_Description450_English, smaterial_Description2000_English "
                                              "FROM smaterials WHERE smaterial_id=")
                               + QString::number(id)),
                     QStringList{row({en.keywords, en.description45, en.description80, QStringLiteral("строка 1<BR>строка \"2\""),
                                      en.description450, QStringLiteral("a<BR><BR>b")})});
        }
        QCOMPARE(col(m_a1, QStringLiteral("smaterial_name")), QStringLiteral("Основная версия"));
        QCOMPARE(col(a2, QStringLiteral("smaterial_name")), QStringLiteral("Вторая версия"));
        // Other languages and the other project stay as they were.
        QCOMPARE(col(m_a1, QStringLiteral("smaterial_Keywords_Russian")), QStringLiteral("ру кл"));
        QCOMPARE(col(m_b1, QStringLiteral("smaterial_softname")), QStringLiteral("Программа Б"));
        QCOMPARE(col(m_b1, QStringLiteral("smaterial_Keywords_English")), QStringLiteral("en Б"));

        // Loaded again, every control shows what was stored.
        ed().forgetProject();
        QCOMPARE(sp().edtName1->text(), QString());
        QCOMPARE(sp().edtKeywords1->text(), QString());
        QVERIFY(checkedTexts(sp().clbOS1).isEmpty());
        ed().cbSMaterialsChange();
        for (const auto &[e, column] : typedColumns())
            QCOMPARE(e->text(), tricky(column));
        QCOMPARE(sp().dtpReleaseDate1->date(), QDate(2024, 2, 29));
        QCOMPARE(sp().cmbType1->currentText(), QStringLiteral("FreeWare"));
        QCOMPARE(sp().cmbReleaseStatus1->currentText(), QStringLiteral("Beta"));
        QCOMPARE(sp().cmbInstall1->currentText(), QStringLiteral("Install Only"));
        QCOMPARE(sp().cmbCategoryClass1->currentText(), klass);
        QCOMPARE(sp().cmbCategory1->currentText(), QStringLiteral("Home/Hobby"));
        QCOMPARE(checkedTexts(sp().clbLanguages1), (QStringList{"English", "Russian"}));
        QCOMPARE(checkedTexts(sp().clbOS1), (QStringList{"Linux", "OS/2 Warp 4"}));
        QCOMPARE(sp().edtBSize1->text(), QStringLiteral("1234567"));
        QVERIFY(sp().cbExpExists->isChecked());
        QVERIFY(sp().gbExp->isEnabled());
        QCOMPARE(sp().edtExpDays->text(), QStringLiteral("30"));
        QCOMPARE(sp().edtExpUses->text(), QStringLiteral("5"));
        QCOMPARE(sp().edtExpOther->text(), tricky(QStringLiteral("exp")));
        QVERIFY(sp().cbExpDate->isChecked());
        QCOMPARE(sp().dtpExpDate->date(), QDate(2025, 12, 31));
        QCOMPARE(sp().texts(), en);
        QVERIFY(!ed().MaterialChanged);
        QVERIFY(!b().ctx.DescriptionsChanged);
    }

    void sizes()
    {
        ScriptedPrompt p;
        open();
        const QString sizesSql =
            QStringLiteral("SELECT smaterial_bsize, smaterial_ksize, smaterial_msize FROM smaterials WHERE smaterial_id=")
            + QString::number(m_a1);
        // The kilobytes and megabytes keep the remainder's leading zeros.
        const QList<QStringList> cases = {{"1234567", "1234567", "1234,567", "1,234567"},
                                          {"1005", "1005", "1,005", "0,001005"},
                                          {"1050", "1050", "1,050", "0,001050"},
                                          {"0012", "12", "0,012", "0,000012"},
                                          {"3000000000", "3000000000", "3000000,000", "3000,000000"}};
        for (const QStringList &c : cases) {
            sp().edtBSize1->setText(c[0]);
            QTest::mouseClick(sp().btnSmaterialSave, Qt::LeftButton);
            QCOMPARE(db().rows(sizesSql), QStringList{row(c.mid(1))});
        }
        // An empty size leaves the stored sizes alone.
        sp().edtBSize1->clear();
        sp().edtName1->setText(QStringLiteral("Новое имя"));
        QTest::mouseClick(sp().btnSmaterialSave, Qt::LeftButton);
        QCOMPARE(db().rows(sizesSql), QStringList{row({"3000000000", "3000000,000", "3000,000000"})});
        QVERIFY(p.messages.isEmpty());

        // A version stored with the zeros lost is written right by its next save.
        set(m_a1, QStringLiteral("smaterial_bsize='1050', smaterial_ksize='1,50', smaterial_msize='0,1050'"));
        open();
        QCOMPARE(sp().edtBSize1->text(), QStringLiteral("1050"));
        QTest::mouseClick(sp().btnSmaterialSave, Qt::LeftButton);
        QCOMPARE(db().rows(sizesSql), QStringList{row({"1050", "1,050", "0,001050"})});
        QCOMPARE(col(m_a1, QStringLiteral("smaterial_softname")), QStringLiteral("Новое имя"));
        QVERIFY(p.messages.isEmpty());

        // Not a number: the message, nothing written, the edits still pending.
        sp().edtName1->setText(QStringLiteral("не сохранится"));
        sp().edtBSize1->setText(QStringLiteral("12a"));
        ed().btnSmaterialSaveClick();
        QCOMPARE(p.messages, QStringList{QStringLiteral("'12a' is not a valid integer value")});
        QCOMPARE(col(m_a1, QStringLiteral("smaterial_softname")), QStringLiteral("Новое имя"));
        QCOMPARE(db().rows(sizesSql), QStringList{row({"1050", "1,050", "0,001050"})});
        QVERIFY(ed().MaterialChanged);
        QVERIFY(ed().loaded(TfrmProjectMaterials::SoftTab).edited);
        // So leaving the page still asks.
        p.answers = {false};
        ed().pcMaterials->setCurrentIndex(TfrmProjectMaterials::SiteTab);
        QCOMPARE(p.questions, QStringList{kSavePrompt});
    }

    void perLanguageTexts()
    {
        ScriptedPrompt p;
        const int a2 = b().addMaterial(QStringLiteral("smaterials"), QStringLiteral("Вторая версия"), m_a,
                                       QStringLiteral("smaterial_Keywords_English='второй en', "
                                                      "smaterial_Keywords_Russian='второй ру'"));
        open();
        sp().PageControl2->setCurrentIndex(2);
        // The texts come with the row.
        QCOMPARE(ed().CurrentDescLanguage, QStringLiteral("English"));
        QCOMPARE(sp().edtKeywords1->text(), QStringLiteral("en kw"));
        QCOMPARE(sp().mem250Description1->displayText(), QStringLiteral("en\n250"));
        QVERIFY(!b().ctx.DescriptionsChanged);

        // Edits of the texts alone are no edit of the version.
        QTest::keyClicks(sp().edtKeywords1, QStringLiteral(", \"new\""));
        QVERIFY(b().ctx.DescriptionsChanged);
        QVERIFY(!ed().MaterialChanged);
        // Another material is active elsewhere now: the switch keeps to the loaded row.
        b().ctx.CurrentMaterialId = a2;
        p.answers = {true};
        chooseLanguage(QStringLiteral("Russian"));
        QCOMPARE(p.questions, QStringList{kSaveDescriptions});
        QCOMPARE(col(m_a1, QStringLiteral("smaterial_Keywords_English")), QStringLiteral("en kw, \"new\""));
        QCOMPARE(col(m_a1, QStringLiteral("smaterial_Description250_English")), QStringLiteral("en<BR>250"));
        QCOMPARE(col(a2, QStringLiteral("smaterial_Keywords_English")), QStringLiteral("второй en"));
        QCOMPARE(col(m_b1, QStringLiteral("smaterial_Keywords_English")), QStringLiteral("en Б"));
        QCOMPARE(sp().edtKeywords1->text(), QStringLiteral("ру кл"));
        QCOMPARE(sp().mem250Description1->displayText(), QString());
        QCOMPARE(ed().CurrentDescLanguage, QStringLiteral("Russian"));
        QVERIFY(!b().ctx.DescriptionsChanged);

        // No: nothing written, the chosen language shown.
        sp().edt45Description1->setText(QStringLiteral("не сохранять"));
        p.answers = {false};
        chooseLanguage(QStringLiteral("German"));
        QCOMPARE(p.questions.size(), 2);
        QCOMPARE(col(m_a1, QStringLiteral("smaterial_Description45_Russian")), QString());
        QCOMPARE(sp().edt45Description1->text(), QString());
        QCOMPARE(ed().CurrentDescLanguage, QStringLiteral("German"));
        // The same language again: no question, the stored texts again.
        sp().edtKeywords1->setText(QStringLiteral("x"));
        chooseLanguage(QStringLiteral("German"));
        QCOMPARE(p.questions.size(), 2);
        QCOMPARE(sp().edtKeywords1->text(), QString());
        // Nothing pending: no question.
        chooseLanguage(QStringLiteral("English"));
        QCOMPARE(p.questions.size(), 2);
        QCOMPARE(sp().edtKeywords1->text(), QStringLiteral("en kw, \"new\""));

        // The page's save writes the language shown into every row of the project.
        sp().mem2000Description1->clear();
        QTest::keyClicks(sp().mem2000Description1, QStringLiteral("first"));
        QTest::keyClick(sp().mem2000Description1, Qt::Key_Return);
        QTest::keyClicks(sp().mem2000Description1, QStringLiteral("second"));
        ed().btnSmaterialSaveClick();
        QVERIFY(p.messages.isEmpty());
        for (int id : {m_a1, a2}) {
            QCOMPARE(col(id, QStringLiteral("smaterial_Description2000_English")), QStringLiteral("first<BR>second"));
            QCOMPARE(col(id, QStringLiteral("smaterial_Keywords_English")), QStringLiteral("en kw, \"new\""));
        }
        QCOMPARE(col(a2, QStringLiteral("smaterial_Keywords_Russian")), QStringLiteral("второй ру"));

        // The loaded row is gone: the switch leaves the fields empty, and a
        // later save does not blank the texts of the remaining version.
        QVERIFY(db().exec(QStringLiteral("DELETE FROM smaterials WHERE smaterial_id=") + QString::number(m_a1)));
        chooseLanguage(QStringLiteral("Russian"));
        QVERIFY(p.messages.isEmpty());
        QCOMPARE(sp().texts(), LanguageTexts());
        QVERIFY(!sp().textsLoaded);
        ed().btnSmaterialSaveClick();
        QVERIFY(p.messages.isEmpty());
        QCOMPARE(col(a2, QStringLiteral("smaterial_Keywords_Russian")), QStringLiteral("второй ру"));
        QCOMPARE(col(a2, QStringLiteral("smaterial_Keywords_English")), QStringLiteral("en kw, \"new\""));
    }

    void pendingTextsSurviveReload()
    {
        ScriptedPrompt p;
        open();
        sp().edtKeywords1->setText(QStringLiteral("только описание"));
        // No prompt of the editor for the texts alone; coming back keeps them.
        ed().pcMaterials->setCurrentIndex(TfrmProjectMaterials::SiteTab);
        ed().pcMaterials->setCurrentIndex(TfrmProjectMaterials::SoftTab);
        QVERIFY(p.questions.isEmpty());
        QCOMPARE(sp().edtKeywords1->text(), QStringLiteral("только описание"));
        QVERIFY(b().ctx.DescriptionsChanged);
        ed().btnSmaterialSaveClick();
        QCOMPARE(col(m_a1, QStringLiteral("smaterial_Keywords_English")), QStringLiteral("только описание"));
    }

    void brStorage()
    {
        ScriptedPrompt p;
        set(m_a1, QStringLiteral("smaterial_Keywords_English='a<Br>b', smaterial_Description450_English='x<br>y<BR>z'"));
        open();
        sp().PageControl2->setCurrentIndex(2);
        // In the keywords "<BR>" is text; in the descriptions a line break.
        QCOMPARE(sp().edtKeywords1->text(), QStringLiteral("a<Br>b"));
        QCOMPARE(sp().mem450Description1->displayText(), QStringLiteral("x\ny\nz"));
        sp().mem250Description1->clear();
        QTest::keyClicks(sp().mem250Description1, QStringLiteral("one"));
        QTest::keyClick(sp().mem250Description1, Qt::Key_Return);
        QTest::keyClicks(sp().mem250Description1, QStringLiteral("two"));
        ed().btnSmaterialSaveClick();
        QCOMPARE(col(m_a1, QStringLiteral("smaterial_Description250_English")), QStringLiteral("one<BR>two"));
        QCOMPARE(col(m_a1, QStringLiteral("smaterial_Description450_English")), QStringLiteral("x<BR>y<BR>z"));
        QCOMPARE(col(m_a1, QStringLiteral("smaterial_Keywords_English")), QStringLiteral("a<Br>b"));
        reload();
        QCOMPARE(sp().mem250Description1->displayText(), QStringLiteral("one\ntwo"));
    }

    void limits()
    {
        ScriptedPrompt p;
        const QString long50(50, QChar(0x0434));
        set(m_a1, QStringLiteral("smaterial_Description45_English='") + long50 + QStringLiteral("', ")
                      + QStringLiteral("smaterial_Description250_English='") + QString(300, QLatin1Char('z'))
                      + QLatin1Char('\''));
        open();
        sp().PageControl2->setCurrentIndex(2);
        // Loaded text is kept whole; typing cannot make it longer, deleting works.
        QCOMPARE(sp().edt45Description1->text(), long50);
        sp().edt45Description1->setFocus();
        sp().edt45Description1->end(false);
        QTest::keyClicks(sp().edt45Description1, QStringLiteral("x"));
        QCOMPARE(sp().edt45Description1->text(), long50);
        QTest::keyClick(sp().edt45Description1, Qt::Key_Backspace);
        QCOMPARE(sp().edt45Description1->text().size(), 49);
        QCOMPARE(sp().mem250Description1->displayText().size(), 300);

        const QList<std::pair<MaterialLineEdit *, int>> edits = {
            {sp().edtKeywords1, 128}, {sp().edt45Description1, 45}, {sp().edt80Description1, 80}};
        for (const auto &[e, limit] : edits) {
            e->clear();
            QTest::keyClicks(e, QString(limit + 3, QLatin1Char('j')));
            QCOMPARE(e->text().size(), limit);
        }
        // A line break counts two; a paste stops at the limit.
        const QList<std::pair<MaterialMemo *, int>> memos = {
            {sp().mem250Description1, 250}, {sp().mem450Description1, 450}, {sp().mem2000Description1, 2000}};
        for (const auto &[m, limit] : memos) {
            m->clear();
            m->insertPlainText(QString(limit - 1, QLatin1Char('m')));
            QTest::keyClick(m, Qt::Key_Return);
            QCOMPARE(m->displayText(), QString(limit - 1, QLatin1Char('m')));
            m->clear();
            m->insertPlainText(QString(limit + 10, QLatin1Char('p')));
            QCOMPARE(m->countedLength(), limit);
        }
    }

    void newVersion()
    {
        ScriptedPrompt p;
        open();
        const QString name = QStringLiteral("Версия \"2\" & 'б' \\");
        const QString countA =
            QStringLiteral("SELECT COUNT(*) FROM smaterials WHERE smaterial_project_id=") + QString::number(m_a);
        p.inputs = {name};
        ed().btnSMaterialNewClick();
        QCOMPARE(p.inputCaptions, QStringList{QStringLiteral("Добавления новой версии")});
        QCOMPARE(one(countA), QStringLiteral("2"));
        QCOMPARE(one(QStringLiteral("SELECT smaterial_project_id FROM smaterials WHERE smaterial_name=") + db::Sql(name)),
                 QString::number(m_a));
        QCOMPARE(comboItems(sp().cbSMaterials), QStringList{name});
        QCOMPARE(sp().cbSMaterials->currentIndex(), 0);
        // The page goes on showing the first version.
        QCOMPARE(ed().loaded(TfrmProjectMaterials::SoftTab).id, m_a1);
        QCOMPARE(b().ctx.CurrentMaterialId, m_a1);

        // The same name in the project is refused; cancel and empty do nothing.
        p.inputs = {name, std::nullopt, QString()};
        ed().btnSMaterialNewClick();
        QCOMPARE(p.messages, QStringList{kNameTaken});
        ed().btnSMaterialNewClick();
        ed().btnSMaterialNewClick();
        QCOMPARE(one(countA), QStringLiteral("2"));
        QCOMPARE(p.messages.size(), 1);

        // In another project the name is free.
        b().choose(m_b);
        p.inputs = {name};
        ed().btnSMaterialNewClick();
        QCOMPARE(p.messages.size(), 1);
        QCOMPARE(one(QStringLiteral("SELECT COUNT(*) FROM smaterials WHERE smaterial_project_id=") + QString::number(m_b)),
                 QStringLiteral("2"));
        QCOMPARE(ed().loaded(TfrmProjectMaterials::SoftTab).id, m_b1);
    }

    void listsAndCheckLists()
    {
        ScriptedPrompt p;
        set(m_a1, QStringLiteral("smaterial_OS='OS/2 Warp 4,', smaterial_Languages='Russian,English,', "
                                 "smaterial_type='freeware', smaterial_install='Нет такого', "
                                 "smaterial_CategoryClass='audio & multimedia::audio file player'"));
        sp().cmbInstall1->setCurrentIndex(2);
        open();
        // Whole items only.
        QCOMPARE(checkedTexts(sp().clbOS1), QStringList{QStringLiteral("OS/2 Warp 4")});
        QCOMPARE(checkedTexts(sp().clbLanguages1), (QStringList{"English", "Russian"}));
        // Letter case does not count; no match keeps the selection.
        QCOMPARE(sp().cmbType1->currentText(), QStringLiteral("FreeWare"));
        QCOMPARE(sp().cmbInstall1->currentIndex(), 2);
        QCOMPARE(sp().cmbCategoryClass1->currentText(), QStringLiteral("Audio & Multimedia::Audio File Player"));
        ed().btnSmaterialSaveClick();
        QCOMPARE(db().rows(QStringLiteral("SELECT smaterial_OS, smaterial_Languages, smaterial_type, smaterial_install, "
                                          "smaterial_CategoryClass FROM smaterials WHERE smaterial_id=")
                           + QString::number(m_a1)),
                 QStringList{row({"OS/2 Warp 4,", "English,Russian,", "FreeWare", "No Install Support",
                                  "Audio & Multimedia::Audio File Player"})});
        // Ticking a language is an edit.
        QVERIFY(!ed().MaterialChanged);
        check(sp().clbLanguages1, QStringLiteral("Urdu"));
        QVERIFY(ed().MaterialChanged);
    }

    void expiry()
    {
        ScriptedPrompt p;
        set(m_a1, QStringLiteral("smaterial_ExpExists='1', smaterial_ExpDays='30', smaterial_ExpUses='7', "
                                 "smaterial_ExpOther='прочее', smaterial_ExpDate='0000-00-00'"));
        open();
        QVERIFY(sp().cbExpExists->isChecked());
        QVERIFY(sp().gbExp->isEnabled());
        QCOMPARE(sp().edtExpUses->text(), QStringLiteral("7"));
        // The zero date is no date.
        QVERIFY(!sp().cbExpDate->isChecked());
        sp().cbExpExists->click();
        QVERIFY(!sp().gbExp->isEnabled());
        QCOMPARE(sp().edtExpDays->text(), QString());
        QCOMPARE(sp().edtExpUses->text(), QString());
        QCOMPARE(sp().edtExpOther->text(), QString());
        QVERIFY(ed().MaterialChanged);
        ed().btnSmaterialSaveClick();
        QCOMPARE(db().rows(QStringLiteral("SELECT smaterial_ExpExists, smaterial_ExpDays, smaterial_ExpUses, "
                                          "smaterial_ExpOther, smaterial_ExpDate FROM smaterials WHERE smaterial_id=")
                           + QString::number(m_a1)),
                 QStringList{row({"0", "", "", "", ""})});

        set(m_a1, QStringLiteral("smaterial_ExpExists='1', smaterial_ExpDate='2030-01-15'"));
        reload();
        QVERIFY(sp().cbExpDate->isChecked());
        QCOMPARE(sp().dtpExpDate->date(), QDate(2030, 1, 15));
        // A date without the expiry switch is not saved.
        sp().cbExpExists->click();
        sp().cbExpDate->setChecked(true);
        ed().btnSmaterialSaveClick();
        QCOMPARE(col(m_a1, QStringLiteral("smaterial_ExpDate")), QString());
        set(m_a1, QStringLiteral("smaterial_ExpExists='0'"));
        reload();
        QVERIFY(!sp().cbExpExists->isChecked());
        QVERIFY(!sp().gbExp->isEnabled());
    }

    void projectChangeSavesIntoLoadedProject()
    {
        ScriptedPrompt p;
        open();
        sp().edtName1->setText(QStringLiteral("Правка для А"));
        QVERIFY(ed().MaterialChanged);
        p.answers = {true};
        b().choose(m_b);
        QCOMPARE(p.questions, QStringList{kSavePrompt});
        QCOMPARE(col(m_a1, QStringLiteral("smaterial_softname")), QStringLiteral("Правка для А"));
        QCOMPARE(col(m_b1, QStringLiteral("smaterial_softname")), QStringLiteral("Программа Б"));
        // The editor, open, shows project B's version, loaded: its save keeps B's row.
        QCOMPARE(ed().loaded(TfrmProjectMaterials::SoftTab).projectId, m_b);
        QCOMPARE(sp().edtName1->text(), QStringLiteral("Программа Б"));
        ed().btnSmaterialSaveClick();
        QCOMPARE(col(m_b1, QStringLiteral("smaterial_softname")), QStringLiteral("Программа Б"));
        QCOMPARE(col(m_b1, QStringLiteral("smaterial_Keywords_English")), QStringLiteral("en Б"));
        // A project without a version: the load says so and keeps the page.
        QVERIFY(db().exec(QStringLiteral("DELETE FROM smaterials WHERE smaterial_id=") + QString::number(m_b1)));
        ed().cbSMaterialsChange();
        QCOMPARE(p.messages.size(), 1);
        QVERIFY(p.messages[0].startsWith(QStringLiteral("Ошибка! Row=nil после выполнения запроса:\rSELECT * FROM "
                                                        "smaterials WHERE smaterial_project_id=")));
        QCOMPARE(sp().edtName1->text(), QStringLiteral("Программа Б"));
    }

    void padExport()
    {
        ScriptedPrompt p;
        QDir dir(b().dir.path());
        QVERIFY(QFile::copy(qv::test::sourcePath(QStringLiteral("data/Pad_File.xml")), dir.filePath("Pad_File.xml")));
        const QString name = QStringLiteral("Редактор «Текст» & Co <beta> \"кавычки\" 'апостроф'");
        const QString company = QStringLiteral("ООО \"Рога & Копыта\" <Ко> \\");
        const QString city = QStringLiteral("%Name% и %City%");
        const QString changes = QStringLiteral("строка 1\r\nстрока 2 & <b>\r\nстрока 3");
        const QString klass = QStringLiteral("Audio & Multimedia::Audio File Player");
        const QString kwRu = QStringLiteral("текст, редактор & <кл>");
        const QString d45Ru = QStringLiteral("Короткое \"описание\"");
        const QString d2000Ru = QStringLiteral("Первая<BR>вторая & <третья>");
        set(m_a1, QStringLiteral("smaterial_softname=") + db::Sql(name) + QStringLiteral(", smaterial_company=")
                      + db::Sql(company) + QStringLiteral(", smaterial_City=") + db::Sql(city)
                      + QStringLiteral(", smaterial_Changes=") + db::Sql(changes) + QStringLiteral(", smaterial_CategoryClass=")
                      + db::Sql(klass) + QStringLiteral(", smaterial_Keywords_Russian=") + db::Sql(kwRu)
                      + QStringLiteral(", smaterial_Description45_Russian=") + db::Sql(d45Ru)
                      + QStringLiteral(", smaterial_Description2000_Russian=") + db::Sql(d2000Ru)
                      + QStringLiteral(", smaterial_version='3.1', smaterial_releasedate='2026-03-07', "
                                       "smaterial_bsize='1234567', smaterial_ExpExists='1', smaterial_ExpDays='15', "
                                       "smaterial_ExpOther='Условия & <прочее>', smaterial_ExpDate='2027-01-31'"));
        open();
        // The expiry counts and the agreements are read from the screen.
        sp().edtExpDays->setText(QStringLiteral("30"));
        sp().edtExpUses->setText(QStringLiteral("10"));
        sp().memDAgree1->setStoredText(QStringLiteral("Можно & нужно\r\nвторая строка"));
        sp().memLAgree1->setStoredText(QStringLiteral("EULA 'text' <b>"));
        // Unsaved edits of the version itself are not exported.
        sp().edtName1->setText(QStringLiteral("не сохранено"));

        const QString out = dir.filePath(QStringLiteral("Мой PAD.xml"));
        p.fileNames = {out};
        ed().btnPadGenerateClick();
        // The file is written; one message lists what the catalogs would refuse in it.
        QCOMPARE(p.messages.size(), 1);
        QVERIFY(p.messages[0].startsWith(QStringLiteral("PAD файл записан")));
        QVERIFY(p.messages[0].contains(QStringLiteral("\n- Program Name: содержит знак «<», уберите его\n")));
        p.messages.clear();
        QFile file(out);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        file.close();
        // Lines end in CR LF only.
        QVERIFY(bytes.endsWith("\r\n"));
        QCOMPARE(bytes.count('\n'), bytes.count("\r\n"));
        QCOMPARE(bytes.count('\r'), bytes.count("\r\n"));
        const Parsed x = parse(bytes);
        QVERIFY2(x.error.isEmpty(), qPrintable(x.error));
        const QHash<QString, QString> expected = {
            {"Program_Info/Program_Name", name},
            {"Program_Info/Program_Version", "3.1"},
            {"Program_Info/Program_Release_Month", "03"},
            {"Program_Info/Program_Release_Day", "07"},
            {"Program_Info/Program_Release_Year", "2026"},
            {"Company_Info/Company_Name", company},
            {"Company_Info/City_Town", city},
            {"Program_Info/Program_Change_Info", lf(changes)},
            {"Program_Info/Program_Category_Class", "Audio & Multimedia::Audio File Players"},
            {"Program_Info/File_Info/File_Size_Bytes", "1234567"},
            {"Program_Info/File_Info/File_Size_K", "1205.63"},
            {"Program_Info/File_Info/File_Size_MB", "1.18"},
            {"Program_Info/Expire_Info/Has_Expire_Info", "Y"},
            {"Program_Info/Expire_Info/Expire_Count", "30"},
            {"Program_Info/Expire_Info/Expire_Based_On", "Either/Or"},
            {"Program_Info/Expire_Info/Expire_Other_Info", "Условия & <прочее>"},
            {"Program_Info/Expire_Info/Expire_Month", "01"},
            {"Program_Info/Expire_Info/Expire_Day", "31"},
            {"Program_Info/Expire_Info/Expire_Year", "2027"},
            {"Program_Descriptions/Russian/Keywords", kwRu},
            {"Program_Descriptions/Russian/Char_Desc_45", d45Ru},
            {"Program_Descriptions/Russian/Char_Desc_2000", "Первая\nвторая & <третья>"},
            {"Program_Descriptions/English/Keywords", "en kw"},
            {"Program_Descriptions/English/Char_Desc_250", "en 250"},
            {"Permissions/Distribution_Permissions", "Можно & нужно\nвторая строка"},
            {"Permissions/EULA", "EULA 'text' <b>"},
        };
        for (auto it = expected.cbegin(); it != expected.cend(); ++it)
            QCOMPARE(x.text.value(it.key()), it.value());
        // Every language has its block, also without texts.
        for (const QString &language : DescriptionLanguages()) {
            QVERIFY2(x.elements.contains(QStringLiteral("Program_Descriptions/") + language), qPrintable(language));
            QVERIFY(x.elements.contains(QStringLiteral("Program_Descriptions/") + language + QStringLiteral("/Char_Desc_450")));
        }
        QVERIFY(!x.text.contains(QStringLiteral("Program_Descriptions/German/Keywords")));
        // No placeholder is left; the only percent signs are the city's own.
        QCOMPARE(bytes.count('%'), 4);

        // Cancel writes nothing.
        const QStringList before = dir.entryList(QDir::Files);
        const QByteArray written = bytes;
        p.fileNames = {QString()};
        ed().btnPadGenerateClick();
        QCOMPARE(dir.entryList(QDir::Files), before);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), written);
        file.close();
        QVERIFY(p.messages.isEmpty());

        // A size that is not a number: one message, no file.
        set(m_a1, QStringLiteral("smaterial_bsize='12a'"));
        const QString second = dir.filePath(QStringLiteral("second.xml"));
        p.fileNames = {second};
        ed().btnPadGenerateClick();
        QCOMPARE(p.messages.size(), 1);
        QVERIFY(p.messages[0].contains(QStringLiteral("12a")));
        QVERIFY(!QFile::exists(second));
        set(m_a1, QStringLiteral("smaterial_bsize=''"));

        // A missing template: one message, no file.
        QVERIFY(QFile::remove(dir.filePath("Pad_File.xml")));
        p.fileNames = {second};
        ed().btnPadGenerateClick();
        QCOMPARE(p.messages.size(), 2);
        QVERIFY(p.messages[1].contains(QStringLiteral("Pad_File.xml")));
        QVERIFY(!QFile::exists(second));

        // A project without a software version: a message, no file.
        QVERIFY(QFile::copy(qv::test::sourcePath(QStringLiteral("data/Pad_File.xml")), dir.filePath("Pad_File.xml")));
        QVERIFY(db().exec(QStringLiteral("DELETE FROM smaterials WHERE smaterial_project_id=") + QString::number(m_a)));
        p.fileNames = {second};
        ed().btnPadGenerateClick();
        QCOMPARE(p.messages.size(), 3);
        QVERIFY(p.messages[2].contains(QStringLiteral("нет описания программы")));
        QVERIFY(!QFile::exists(second));
    }

    // Another copy changed the loaded version after this one loaded it: the
    // save asks before writing over it. "Нет" writes no version of the
    // project and keeps the edits; "Да" writes them.
    void versionChangedByAnotherCopy()
    {
        ScriptedPrompt p;
        qv::test::SecondCopy other(db());
        QVERIFY2(other.ok(), qPrintable(other.error()));
        const int a2 = b().addMaterial(QStringLiteral("smaterials"), QStringLiteral("Вторая версия"), m_a);
        open();
        sp().edtName1->setText(QStringLiteral("Наша программа"));
        QVERIFY(other.exec(QStringLiteral("UPDATE smaterials SET smaterial_Keywords_English='их слова' WHERE smaterial_id=")
                           + QString::number(m_a1)));
        p.answers = {false};
        QTest::mouseClick(sp().btnSmaterialSave, Qt::LeftButton);
        QCOMPARE(
            p.questions,
            QStringList{QStringLiteral(
                "Запись изменена в базе после того, как вы её открыли. Записать ваши изменения поверх?\n"
                "В другой копии программы изменено поле \"Keywords(128) (English)\"; его значение в базе будет заменено значением из этого окна.")});
        QCOMPARE(col(m_a1, QStringLiteral("smaterial_softname")), QStringLiteral("Программа"));
        QCOMPARE(col(a2, QStringLiteral("smaterial_softname")), QString());
        QCOMPARE(sp().edtName1->text(), QStringLiteral("Наша программа"));
        QVERIFY(ed().MaterialChanged);

        p.answers = {true};
        QTest::mouseClick(sp().btnSmaterialSave, Qt::LeftButton);
        QCOMPARE(p.questions.size(), 2);
        QCOMPARE(col(m_a1, QStringLiteral("smaterial_softname")), QStringLiteral("Наша программа"));
        QCOMPARE(col(a2, QStringLiteral("smaterial_softname")), QStringLiteral("Наша программа"));
        QCOMPARE(col(m_a1, QStringLiteral("smaterial_Keywords_English")), QStringLiteral("en kw"));
        QVERIFY(!ed().MaterialChanged);
        QVERIFY(p.messages.isEmpty());
    }
};

QTEST_MAIN(TestSoftware)
#include "tst_software.moc"
