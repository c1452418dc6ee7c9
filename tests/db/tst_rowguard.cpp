// The two pieces every row editor's save is built on, against a real server
// and a second connection playing another copy of the program: the check of a
// loaded row inside the save's transaction, and the column sizes that a value
// must fit before anything is sent.
#include "db/columnlimits.h"
#include "db/database.h"
#include "db/query.h"
#include "db/rowguard.h"
#include "support/scriptedprompt.h"
#include "support/secondcopy.h"
#include "support/testdb.h"

#include <QtTest>

using namespace qv;
using qv::test::ScriptedPrompt;
using qv::test::SecondCopy;
using qv::test::TestDb;

class TestRowGuard : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<TestDb> m_db;
    int m_id = 0;
    const QStringList m_columns{QStringLiteral("omaterial_subject"), QStringLiteral("omaterial_body_text")};
    // The same columns with the captions of their fields.
    const QList<db::FieldValue> m_fields{{QStringLiteral("omaterial_subject"), QStringLiteral("Тема письма:"), QString()},
                                         {QStringLiteral("omaterial_body_text"), QStringLiteral("Текст письма:"), QString()}};

    TestDb &db() { return *m_db; }
    QString stored()
    {
        return db().rows(QStringLiteral("SELECT omaterial_subject, omaterial_body_text FROM omaterials")).join(';');
    }
    db::LoadedRow load() { return db::LoadedRow::read(QStringLiteral("omaterials"), QStringLiteral("omaterial_id"), m_id); }
    db::RowState checkNow(const db::LoadedRow &row)
    {
        db::RunDirect(QStringLiteral("START TRANSACTION"));
        const db::RowState state = db::CheckRow(row, m_columns);
        db::RunDirect(QStringLiteral("ROLLBACK"));
        return state;
    }

private Q_SLOTS:
    void init()
    {
        m_db = std::make_unique<TestDb>();
        QVERIFY2(m_db->ok(), qPrintable(m_db->error()));
        QVERIFY(db().exec(QStringLiteral("INSERT INTO omaterials SET omaterial_name='письмо', omaterial_project_id=1, "
                                         "omaterial_subject='тема', omaterial_body_text='текст'")));
        m_id = db().scalar(QStringLiteral("SELECT LAST_INSERT_ID()")).toInt();
    }
    void cleanup() { m_db.reset(); }

    // Same while the compared columns hold what was loaded; Changed when
    // another copy wrote one of them; Gone when it deleted the row; Failed
    // when the statement fails. Other columns do not count.
    void checkTellsWhatHappenedToTheRow()
    {
        ScriptedPrompt p;
        SecondCopy other(db());
        QVERIFY2(other.ok(), qPrintable(other.error()));
        const db::LoadedRow loaded = load();
        QVERIFY(loaded.isValid());
        QCOMPARE(checkNow(loaded), db::RowState::Same);
        QVERIFY(other.exec(QStringLiteral("UPDATE omaterials SET omaterial_name='другое имя'")));
        QCOMPARE(checkNow(loaded), db::RowState::Same);
        QVERIFY(other.exec(QStringLiteral("UPDATE omaterials SET omaterial_body_text='текст другой копии'")));
        QCOMPARE(checkNow(loaded), db::RowState::Changed);
        // A trailing blank is a change too.
        QVERIFY(other.exec(QStringLiteral("UPDATE omaterials SET omaterial_body_text='текст '")));
        QCOMPARE(checkNow(loaded), db::RowState::Changed);
        QVERIFY(other.exec(QStringLiteral("DELETE FROM omaterials")));
        QCOMPARE(checkNow(loaded), db::RowState::Gone);
        QVERIFY(p.messages.isEmpty());
        // The columns compare case-insensitively on the server; the check
        // does not: a change of letter case alone is a change.
        QVERIFY(other.exec(QStringLiteral("INSERT INTO omaterials SET omaterial_name='второе', omaterial_subject='тема', "
                                          "omaterial_body_text='Текст'")));
        const db::LoadedRow second =
            db::LoadedRow::read(QStringLiteral("omaterials"), QStringLiteral("omaterial_id"),
                                db().scalar(QStringLiteral("SELECT MAX(omaterial_id) FROM omaterials")).toInt());
        QCOMPARE(checkNow(second), db::RowState::Same);
        QVERIFY(other.exec(QStringLiteral("UPDATE omaterials SET omaterial_subject='ТЕМА'")));
        QCOMPARE(checkNow(second), db::RowState::Changed);
        QCOMPARE(db().scalar(QStringLiteral("SELECT COUNT(*) FROM omaterials WHERE omaterial_subject='тема'")),
                 QStringLiteral("1"));
        QCOMPARE(checkNow(db::LoadedRow(QStringLiteral("omaterials"), QStringLiteral("no_such_column"), m_id)),
                 db::RowState::Failed);
        QCOMPARE(p.messages.size(), 1);
    }

    // The check keeps the row locked until the save's transaction ends: the
    // other copy cannot write it in between.
    void checkLocksTheRowUntilTheSaveEnds()
    {
        SecondCopy other(db());
        QVERIFY2(other.ok(), qPrintable(other.error()));
        QVERIFY(other.exec(QStringLiteral("SET SESSION innodb_lock_wait_timeout=1")));
        const db::LoadedRow loaded = load();
        QCOMPARE(db::RunDirect(QStringLiteral("START TRANSACTION")), 0);
        QCOMPARE(db::CheckRow(loaded, m_columns), db::RowState::Same);
        QVERIFY(!other.exec(QStringLiteral("UPDATE omaterials SET omaterial_subject='другая'")));
        QVERIFY(other.error().contains(QStringLiteral("Lock wait timeout")));
        QCOMPARE(db::RunDirect(QStringLiteral("COMMIT")), 0);
        QVERIFY2(other.exec(QStringLiteral("UPDATE omaterials SET omaterial_subject='другая'")), qPrintable(other.error()));
    }

    // A save over a row another copy changed asks first, naming the fields
    // that copy changed: "Нет" writes nothing, "Да" writes, and what is
    // remembered becomes what was written; an unchanged row is saved without
    // a question.
    void saveAsksBeforeWritingOverAnotherCopy()
    {
        ScriptedPrompt p;
        SecondCopy other(db());
        QVERIFY2(other.ok(), qPrintable(other.error()));
        db::LoadedRow loaded = load();
        const QString sql =
            QStringLiteral("UPDATE omaterials SET omaterial_subject='наша тема' WHERE omaterial_id=") + QString::number(m_id);
        auto write = [&] { return db::ExecQuery(sql) == 0; };

        QVERIFY(other.exec(QStringLiteral("UPDATE omaterials SET omaterial_body_text='их текст'")));
        p.answers = {false};
        QCOMPARE(db::SaveRow(loaded, m_fields, write), db::SaveOutcome::Declined);
        QCOMPARE(p.questions, QStringList{db::RowChangedQuestion({QStringLiteral("Текст письма")})});
        QCOMPARE(p.questions[0],
                 QStringLiteral("Запись изменена в базе после того, как вы её открыли. Записать ваши изменения поверх?\n"
                                "В другой копии программы изменено поле \"Текст письма\"; его значение в базе "
                                "будет заменено значением из этого окна."));
        QCOMPARE(stored(), QStringLiteral("тема|их текст"));
        QCOMPARE(loaded.value(QStringLiteral("omaterial_body_text")), QStringLiteral("текст"));

        p.answers = {true};
        QCOMPARE(db::SaveRow(loaded, m_fields, write), db::SaveOutcome::Saved);
        QCOMPARE(p.questions.size(), 2);
        QCOMPARE(p.questions[1], p.questions[0]);
        QCOMPARE(stored(), QStringLiteral("наша тема|их текст"));
        QCOMPARE(loaded.value(QStringLiteral("omaterial_subject")), QStringLiteral("наша тема"));
        QCOMPARE(loaded.value(QStringLiteral("omaterial_body_text")), QStringLiteral("их текст"));

        // Saved again with nothing changed meanwhile: no question.
        QCOMPARE(db::SaveRow(loaded, m_fields, write), db::SaveOutcome::Saved);
        QCOMPARE(p.questions.size(), 2);

        // Both fields changed by the other copy: both named, in screen order.
        QVERIFY(other.exec(QStringLiteral("UPDATE omaterials SET omaterial_body_text='ещё', omaterial_subject='их тема'")));
        p.answers = {false};
        QCOMPARE(db::SaveRow(loaded, m_fields, write), db::SaveOutcome::Declined);
        QCOMPARE(p.questions[2],
                 QStringLiteral("Запись изменена в базе после того, как вы её открыли. Записать ваши изменения поверх?\n"
                                "В другой копии программы изменены поля \"Тема письма\", \"Текст письма\"; их "
                                "значения в базе будут заменены значениями из этого окна."));
        QCOMPARE(stored(), QStringLiteral("их тема|ещё"));
        loaded = load();

        // A failing statement rolls the whole save back.
        QCOMPARE(db::SaveRow(loaded, m_fields,
                             [&] {
                                 return db::ExecQuery(QStringLiteral("UPDATE omaterials SET omaterial_subject='x'")) == 0
                                        && db::ExecQuery(QStringLiteral("UPDATE no_such_table SET a=1")) == 0;
                             }),
                 db::SaveOutcome::Failed);
        QCOMPARE(stored(), QStringLiteral("их тема|ещё"));

        QVERIFY(other.exec(QStringLiteral("DELETE FROM omaterials")));
        QCOMPARE(db::SaveRow(loaded, m_fields, write), db::SaveOutcome::Gone);
        QCOMPARE(p.questions.size(), 3);
    }

    // While the question is on screen the save holds no lock and no open
    // transaction: the other copy writes the row meanwhile without waiting.
    // "Да" then asks again about that change; after "Нет" nothing is open
    // and nothing of this copy is written.
    void questionHoldsNothingOpen()
    {
        ScriptedPrompt p;
        SecondCopy other(db());
        QVERIFY2(other.ok(), qPrintable(other.error()));
        QVERIFY(other.exec(QStringLiteral("SET SESSION innodb_lock_wait_timeout=1")));
        db::LoadedRow loaded = load();
        const QString sql =
            QStringLiteral("UPDATE omaterials SET omaterial_subject='наша тема' WHERE omaterial_id=") + QString::number(m_id);
        auto write = [&] { return db::ExecQuery(sql) == 0; };
        auto openOnServer = [&] { return db().scalar(QStringLiteral("SELECT @@in_transaction")); };
        QVERIFY(other.exec(QStringLiteral("UPDATE omaterials SET omaterial_body_text='их текст'")));
        QStringList writtenMeanwhile;
        int asked = 0;
        p.onQuestion = [&](const QString &) {
            ++asked;
            if (db::DbConnection().inTransaction() || openOnServer() != QLatin1String("0"))
                writtenMeanwhile << QStringLiteral("open");
            const QString statement = asked == 1 ? QStringLiteral("UPDATE omaterials SET omaterial_subject='пока спрашивали'")
                                                 : QStringLiteral("UPDATE omaterials SET omaterial_body_text='ещё раз'");
            writtenMeanwhile << (other.exec(statement) ? QStringLiteral("written") : other.error());
            return asked == 1;
        };
        QCOMPARE(db::SaveRow(loaded, m_fields, write), db::SaveOutcome::Declined);
        QCOMPARE(writtenMeanwhile, (QStringList{QStringLiteral("written"), QStringLiteral("written")}));
        QCOMPARE(p.questions.size(), 2);
        QVERIFY2(p.questions[0].contains(QStringLiteral("поле \"Текст письма\";")), qPrintable(p.questions[0]));
        // The second question is about what was written while the first was shown.
        QVERIFY2(p.questions[1].contains(QStringLiteral("поле \"Тема письма\";")), qPrintable(p.questions[1]));
        QVERIFY(!db::DbConnection().inTransaction());
        QCOMPARE(openOnServer(), QStringLiteral("0"));
        QCOMPARE(stored(), QStringLiteral("пока спрашивали|ещё раз"));
        QVERIFY2(other.exec(QStringLiteral("UPDATE omaterials SET omaterial_subject='после'")), qPrintable(other.error()));
        QVERIFY(p.messages.isEmpty());
    }

    // The sizes the server gives: characters for VARCHAR, UTF-8 bytes for
    // the TEXT kinds; a value is measured the way its column counts.
    void columnSizesAndTheCheck()
    {
        ScriptedPrompt p;
        const auto limits = db::ColumnLimits(QStringLiteral("projects"));
        QVERIFY(limits);
        QCOMPARE(limits->value(QStringLiteral("project_name")).unit, db::ColumnLimit::Characters);
        QCOMPARE(limits->value(QStringLiteral("project_name")).max, 255);
        QCOMPARE(limits->value(QStringLiteral("project_url")).unit, db::ColumnLimit::Bytes);
        QCOMPARE(limits->value(QStringLiteral("project_url")).max, 65535);
        QVERIFY(!limits->contains(QStringLiteral("project_id")));
        const auto medium = db::ColumnLimits(QStringLiteral("omaterials"));
        QVERIFY(medium);
        QCOMPARE(medium->value(QStringLiteral("omaterial_body_text")).max, 16777215);

        const db::ColumnLimit chars{db::ColumnLimit::Characters, 255};
        const db::ColumnLimit bytes{db::ColumnLimit::Bytes, 65535};
        QVERIFY(db::FitsColumn(QString(255, QChar(0x0416)), chars));
        QVERIFY(!db::FitsColumn(QString(256, QChar(0x0416)), chars));
        // A character outside the basic plane is one character and four bytes.
        const QString emoji = QString::fromUcs4(U"\U0001F600");
        QVERIFY(db::FitsColumn(emoji.repeated(255), chars));
        QVERIFY(!db::FitsColumn(emoji.repeated(256), chars));
        QVERIFY(db::FitsColumn(QString(65535, QLatin1Char('a')), bytes));
        QVERIFY(!db::FitsColumn(QString(65535, QLatin1Char('a')) + QLatin1Char(' '), bytes));
        QVERIFY(!db::FitsColumn(QString(32768, QChar(0x0416)), bytes));
        QVERIFY(db::FitsColumn(emoji.repeated(16383), bytes));
        QVERIFY(!db::FitsColumn(emoji.repeated(16384), bytes));
        // Characters of three bytes: 21845 of them fill 65535 bytes, one more
        // does not fit; in a VARCHAR each is one character. What the check
        // takes, the server stores; what it refuses, the server refuses too.
        const QString three = QStringLiteral("—…№€").repeated(5461);
        const QString fits = three + QStringLiteral("—"), over = three + QStringLiteral("—…");
        QVERIFY(db::FitsColumn(fits, bytes));
        QVERIFY(!db::FitsColumn(over, bytes));
        QVERIFY(db::FitsColumn(QString(255, QChar(0x2116)), chars));
        QVERIFY(!db::FitsColumn(QString(256, QChar(0x20AC)), chars));
        QVERIFY(db().exec(QStringLiteral("INSERT INTO projects SET project_name='%1', project_url='%2'")
                              .arg(QString(255, QChar(0x2026)), fits)));
        QCOMPARE(db().scalar(QStringLiteral("SELECT LENGTH(project_url) FROM projects")), QStringLiteral("65535"));
        QVERIFY(!db().exec(QStringLiteral("UPDATE projects SET project_url='%1'").arg(over)));
        QVERIFY(!db::FieldsFit(QStringLiteral("projects"), {{QStringLiteral("project_url"), QStringLiteral("Адрес:"), over}}));
        QCOMPARE(p.messages.size(), 1);
        p.messages.clear();

        // The first field too long is named with its limit; nothing else is shown.
        const QList<db::FieldValue> fields{
            {QStringLiteral("project_name"), QStringLiteral("Название:"), QStringLiteral("коротко")},
            {QStringLiteral("project_url"), QStringLiteral("Адрес:"), QString(70000, QLatin1Char('u'))},
            {QStringLiteral("project_fio"), QStringLiteral("ФИО:"), QString(70000, QLatin1Char('f'))}};
        QVERIFY(!db::FieldsFit(QStringLiteral("projects"), fields));
        QCOMPARE(p.messages.size(), 1);
        QVERIFY2(p.messages[0].contains(QStringLiteral("\"Адрес\"")) && p.messages[0].contains(QStringLiteral("65535 байт")),
                 qPrintable(p.messages[0]));
        QVERIFY(db::FieldsFit(QStringLiteral("projects"), fields.mid(0, 1)));
        QVERIFY(!db::FieldsFit(QStringLiteral("projects"),
                               {{QStringLiteral("project_name"), QStringLiteral("Название:"), QString(256, QLatin1Char('n'))}}));
        QVERIFY2(p.messages[1].contains(QStringLiteral("\"Название\"")) && p.messages[1].contains(QStringLiteral("255 символов")),
                 qPrintable(p.messages[1]));
    }
};

QTEST_MAIN(TestRowGuard)
#include "tst_rowguard.moc"
