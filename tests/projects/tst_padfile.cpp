// The PAD file as a user makes it: the software page filled and saved, then
// "Создать PAD файл" clicked. The file carries the format's spellings of the
// page's lists and prices while the base keeps the page's own texts, and one
// message says what the catalogs would refuse.
#include "bench.h"
#include "projects/softpage.h"
#include "projects/tfrmprojectmaterials.h"
#include "projects/tfrmprojectmaterials_fields.h"
#include "db/query.h"
#include "support/files.h"
#include "support/scriptedprompt.h"
#include "support/testdb.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QListWidget>
#include <QPushButton>
#include <QXmlStreamReader>
#include <QtTest>

using namespace qv;
using namespace qv::projects;
using qv::test::Bench;
using qv::test::ScriptedPrompt;
using qv::test::TestDb;
using qv::test::readFile;

namespace {
// Element texts by path below the root.
QHash<QString, QString> parse(const QByteArray &xml)
{
    QHash<QString, QString> out;
    QXmlStreamReader r(xml);
    QStringList path;
    while (!r.atEnd()) {
        r.readNext();
        if (r.isStartElement())
            path << r.name().toString();
        else if (r.isCharacters() && !r.isWhitespace() && !path.isEmpty())
            out[path.mid(1).join(QLatin1Char('/'))] += r.text().toString();
        else if (r.isEndElement())
            path.removeLast();
    }
    return out;
}

void check(QListWidget *list, const QString &text)
{
    list->findItems(text, Qt::MatchExactly).constFirst()->setCheckState(Qt::Checked);
}

void choose(QComboBox *combo, const QString &text)
{
    const int index = combo->findText(text);
    QVERIFY2(index >= 0, qPrintable(text));
    combo->setCurrentIndex(index);
    Q_EMIT combo->activated(index);
}
} // namespace

class TestPadFile : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<TestDb> m_db;
    std::unique_ptr<Bench> m_bench;
    int m_project = 0, m_version = 0;

    Bench &b() { return *m_bench; }
    SoftPage &sp() { return *m_bench->editor->soft; }
    QString col(const QString &column)
    {
        return m_db->scalar(QStringLiteral("SELECT ") + column + QStringLiteral(" FROM smaterials WHERE smaterial_id=")
                            + QString::number(m_version));
    }

private Q_SLOTS:
    void init()
    {
        m_db = std::make_unique<TestDb>(TestDb::WithSeed);
        QVERIFY2(m_db->ok(), qPrintable(m_db->error()));
        m_bench = std::make_unique<Bench>();
        QVERIFY(QFile::copy(qv::test::sourcePath(QStringLiteral("data/Pad_File.xml")),
                            QDir(b().dir.path()).filePath(QStringLiteral("Pad_File.xml"))));
        m_project = b().addProject(QStringLiteral("Проект"), QStringLiteral("http://example.ru"));
        // Everything a catalog needs but the fields the test fills on the page.
        m_version = b().addMaterial(
            QStringLiteral("smaterials"), QStringLiteral("Основная версия"), m_project,
            QStringLiteral("smaterial_softname='Text Tool', smaterial_version='2.0.1', smaterial_company='ООО Текст', "
                           "smaterial_Address1='Lenina 5', smaterial_ZIP='101000', smaterial_Country='Russia', "
                           "smaterial_URLSite='http://www.example.ru/', smaterial_AFirstName='Иван', "
                           "smaterial_ALastName='Петров', smaterial_AEmail='author@example.ru', "
                           "smaterial_CFirstName='Иван', smaterial_CLastName='Петров', "
                           "smaterial_CEmail='contact@example.ru', smaterial_SaEmail='sales@example.ru', "
                           "smaterial_SEmail='support@example.ru', smaterial_type='ShareWare', "
                           "smaterial_releasestatus='New Release', smaterial_install='Install Only', "
                           "smaterial_Languages='English,', smaterial_bsize='1050', "
                           "smaterial_CategoryClass='System Utilites::Backup & Restore', "
                           "smaterial_URLInfo='http://www.example.ru/tool/', "
                           "smaterial_URLPAD='http://www.example.ru/tool/pad.xml', "
                           "smaterial_URLDownload='http://www.example.ru/tool/setup.exe', "
                           "smaterial_Keywords_English='text, tool', smaterial_Description45_English='A text tool', "
                           "smaterial_Description80_English='A text tool for Windows', "
                           "smaterial_Description250_English='A text tool for Windows.', "
                           "smaterial_Description450_English='A text tool for Windows, with spelling.'"));
        b().choose(m_project);
    }
    void cleanup()
    {
        m_bench.reset();
        m_db.reset();
    }

    void exportFromTheSoftwarePage()
    {
        ScriptedPrompt p;
        b().main->findChild<QAction *>(QStringLiteral("N4"))->trigger();
        QCOMPARE(sp().edtName1->text(), QStringLiteral("Text Tool"));
        for (const char *os : {"Win95", "WinME", "Windows2000", "OS/2", "Windows2003", "BEOS"})
            check(sp().clbOS1, QString::fromLatin1(os));
        choose(sp().cmbCategory1, QStringLiteral("Home/Hobby"));
        sp().edtCost1->setText(QStringLiteral("19,95"));
        sp().edtCity1->setText(QStringLiteral("Москва"));
        sp().btnSmaterialSave->click();
        QVERIFY2(p.messages.isEmpty(), qPrintable(p.messages.join(QLatin1Char('\n'))));

        const QString out = QDir(b().dir.path()).filePath(QStringLiteral("tool.xml"));
        p.fileNames = {out};
        sp().btnPadGenerate->click();
        const QHash<QString, QString> x = parse(readFile(out));
        QCOMPARE(x.value(QStringLiteral("Program_Info/Program_OS_Support")), QStringLiteral("WinOther,Win2000,WinServer,Other"));
        QCOMPARE(x.value(QStringLiteral("Program_Info/Program_Specific_Category")), QStringLiteral("Home/Hobby"));
        QCOMPARE(x.value(QStringLiteral("Program_Info/Program_Cost_Dollars")), QStringLiteral("19.95"));
        QCOMPARE(x.value(QStringLiteral("Company_Info/City_Town")), QStringLiteral("Москва"));
        // The base keeps what the page shows.
        QCOMPARE(col(QStringLiteral("smaterial_OS")), QStringLiteral("Win95,WinME,Windows2000,Windows2003,OS/2,BEOS,"));
        QCOMPARE(col(QStringLiteral("smaterial_Category")), QStringLiteral("Home/Hobby"));
        QCOMPARE(col(QStringLiteral("smaterial_cost")), QStringLiteral("19,95"));
        // The file is written, and one message names the one field to mend.
        QCOMPARE(p.messages.size(), 1);
        QCOMPARE(p.messages[0],
                 QStringLiteral("PAD файл записан, но каталоги программ его не примут из-за этих полей:\n"
                                "- Company / City/Town: есть буквы не латиницей (например «М»): адрес пишется "
                                "латинскими буквами\n"
                                "Исправьте их на странице «Софт описание», сохраните версию и создайте PAD файл снова."));

        // Mended and saved, the next export says nothing.
        sp().edtCity1->setText(QStringLiteral("Moskva"));
        sp().btnSmaterialSave->click();
        p.fileNames = {out};
        sp().btnPadGenerate->click();
        QCOMPARE(p.messages.size(), 1);
        QCOMPARE(parse(readFile(out)).value(QStringLiteral("Company_Info/City_Town")), QStringLiteral("Moskva"));
    }
};

QTEST_MAIN(TestPadFile)
#include "tst_padfile.moc"
