// The PAD file as a user makes it: the software page filled and saved, then
// "Создать PAD файл" clicked. The file carries the format's spellings of the
// page's lists and prices while the base keeps the page's own texts, and one
// message says what the catalogs would refuse.
#include "bench.h"
#include "padrules.h"
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
#include <QtTest>

using namespace qv;
using namespace qv::projects;
using qv::test::Bench;
using qv::test::readFile;
using qv::test::ScriptedPrompt;
using qv::test::TestDb;

namespace {
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
        // A description a catalog takes, as the page stores it.
        QStringList set;
        for (const auto &[column, value] : padrules::fullDescription().columns) {
            QString v = value;
            v.replace(QLatin1Char('\\'), QStringLiteral("\\\\")).replace(QLatin1Char('\''), QStringLiteral("''"));
            set << QString::fromLatin1(column) + QStringLiteral("='") + v + QLatin1Char('\'');
        }
        m_version = b().addMaterial(QStringLiteral("smaterials"), QStringLiteral("Основная версия"), m_project,
                                    set.join(QStringLiteral(", ")));
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
        sp().memDAgree1->setPlainText(padrules::fullDescription().distributionAgreement);
        // A few fields as a user might type them: some the rules reject, one
        // they accept though it is no ordinary address.
        for (const char *os : {"Win95", "WinME", "Windows2000", "OS/2", "BEOS"})
            check(sp().clbOS1, QString::fromLatin1(os));
        choose(sp().cmbCategory1, QStringLiteral("Home/Hobby"));
        sp().edtCost1->setText(QStringLiteral("19,9"));
        sp().edtState1->setText(QStringLiteral("Region #5"));
        sp().edtChanges1->setText(QString(301, QLatin1Char('c')));
        sp().edtURLIcon1->setText(QStringLiteral("http://www.example.ru/tool/icon.svg"));
        sp().edtGEmail1->setText(QStringLiteral("почта@пример.рф"));
        QTest::mouseClick(sp().btnSmaterialSave, Qt::LeftButton);
        QVERIFY2(p.messages.isEmpty(), qPrintable(p.messages.join(QLatin1Char('\n'))));

        const QString out = QDir(b().dir.path()).filePath(QStringLiteral("tool.xml"));
        p.fileNames = {out};
        QTest::mouseClick(sp().btnPadGenerate, Qt::LeftButton);
        const QByteArray written = readFile(out);
        const QHash<QString, QString> x = padrules::read(QString::fromUtf8(written)).text;
        QCOMPARE(x.value(QStringLiteral("Program_Info/Program_OS_Support")),
                 QStringLiteral("WinOther,Win98,Win2000,WinXP,WinServer,Linux,Other,Mac OS X"));
        QCOMPARE(x.value(QStringLiteral("Program_Info/Program_Specific_Category")), QStringLiteral("Home/Hobby"));
        QCOMPARE(x.value(QStringLiteral("Program_Info/Program_Cost_Dollars")), QStringLiteral("19.9"));
        QCOMPARE(x.value(QStringLiteral("Company_Info/State_Province")), QStringLiteral("Region #5"));
        // The base keeps what the page shows.
        QCOMPARE(col(QStringLiteral("smaterial_OS")),
                 QStringLiteral("Win95,Win98,WinME,Windows2000,WinXP,Windows2003,Linux,OS/2,Mac OS X,BEOS,"));
        QCOMPARE(col(QStringLiteral("smaterial_cost")), QStringLiteral("19,9"));
        // The file is written, and one message names exactly the fields the rules reject.
        QCOMPARE(p.messages.size(), 1);
        QCOMPARE(padrules::sorted(padrules::namedCaptions(p.messages[0])),
                 padrules::sorted(padrules::rejectedCaptions(QString::fromUtf8(written))));
        QCOMPARE(p.messages[0],
                 QStringLiteral("PAD файл записан, но каталоги программ его не примут из-за этих полей:\n"
                                "- Company Info, State/Province: недопустимый знак «#»: допустимы латинские буквы, "
                                "цифры, пробел и знаки . - , /\n"
                                "- Cost ($US): «19.9» не цена: нужно число с точкой и двумя знаками после неё, "
                                "например 19.95\n"
                                "- Recent Changes: длиннее 300 символов (сейчас 301)\n"
                                "- Icon: «http://www.example.ru/tool/icon.svg» не подходит: адрес должен начинаться "
                                "с http://, кончаться на .gif, .jpg, .png и иметь от 2 до 120 знаков после «//»\n"
                                "Исправьте их на странице «Софт описание», сохраните версию и создайте PAD файл снова."));

        // Mended and saved, the next export says nothing.
        sp().edtCost1->setText(QStringLiteral("19,90"));
        sp().edtState1->setText(QStringLiteral("Region 5"));
        sp().edtChanges1->setText(QStringLiteral("Новый поиск."));
        sp().edtURLIcon1->setText(QStringLiteral("http://www.example.ru/tool/icon.png"));
        QTest::mouseClick(sp().btnSmaterialSave, Qt::LeftButton);
        p.fileNames = {out};
        QTest::mouseClick(sp().btnPadGenerate, Qt::LeftButton);
        QCOMPARE(p.messages.size(), 1);
        QVERIFY(padrules::rejectedCaptions(QString::fromUtf8(readFile(out))).isEmpty());
        QCOMPARE(padrules::read(QString::fromUtf8(readFile(out))).text.value(QStringLiteral("Company_Info/State_Province")),
                 QStringLiteral("Region 5"));
    }
};

QTEST_MAIN(TestPadFile)
#include "tst_padfile.moc"
