// Length limits and counters of the limited material fields: the rules on
// their own, the fields under the keyboard and the clipboard, and the
// editor's counters and keyword copy.
#include "bench.h"
#include "support/scriptedprompt.h"
#include "projects/lengthlimit.h"
#include "projects/materialsql.h"
#include "projects/tfrmprojectmaterials.h"
#include "projects/tfrmprojectmaterials_fields.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryFile>
#include <QtTest>

using namespace qv;
using namespace qv::projects;
using qv::test::Bench;

class TestLengthLimit : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void countedLength()
    {
        QCOMPARE(CountedLength(QStringLiteral("ab\ncd"), LineBreaks::CountTwo), 6);
        QCOMPARE(CountedLength(QStringLiteral("ab\ncd"), LineBreaks::CountOne), 5);
        QCOMPARE(CountedLength(QStringLiteral("Привет"), LineBreaks::CountTwo), 6);
        QCOMPARE(RemainingCounterText(50, 53), QStringLiteral("Осталось символов:-3"));
        QCOMPARE(EnteredCounterText(0), QStringLiteral("Введено символов:0"));
    }

    void limitRules()
    {
        // Typing within the limit is kept; at the limit nothing is added.
        LimitedText t = LimitUserEdit(QStringLiteral("abc"), QStringLiteral("abcd"), 4, LineBreaks::CountOne);
        QCOMPARE(t.text, QStringLiteral("abcd"));
        QVERIFY(!t.cut);
        t = LimitUserEdit(QStringLiteral("abcd"), QStringLiteral("abXcd"), 4, LineBreaks::CountOne);
        QCOMPARE(t.text, QStringLiteral("abcd"));
        QCOMPARE(t.cursor, 2);
        QVERIFY(t.cut);
        // A paste is cut to what fits, where it was made.
        t = LimitUserEdit(QStringLiteral("ab"), QStringLiteral("a12345b"), 5, LineBreaks::CountOne);
        QCOMPARE(t.text, QStringLiteral("a123b"));
        QCOMPARE(t.cursor, 4);
        // Replacing a selection frees its room first.
        t = LimitUserEdit(QStringLiteral("abcde"), QStringLiteral("aXYZe"), 5, LineBreaks::CountOne);
        QCOMPARE(t.text, QStringLiteral("aXYZe"));
        // A text over its limit (as loaded) keeps its length, never grows,
        // and always shrinks.
        const QString loaded(53, QLatin1Char('x'));
        QCOMPARE(LimitUserEdit(loaded, loaded + QLatin1Char('y'), 50, LineBreaks::CountOne).text, loaded);
        QCOMPARE(LimitUserEdit(loaded, loaded.left(52), 50, LineBreaks::CountOne).text, loaded.left(52));
        QCOMPARE(LimitUserEdit(loaded, QStringLiteral("y") + loaded.mid(1), 50, LineBreaks::CountOne).text,
                 QStringLiteral("y") + loaded.mid(1));
        // A line break costs two: at one character from the limit it does not fit.
        t = LimitUserEdit(QString(9, QLatin1Char('a')), QString(9, QLatin1Char('a')) + QLatin1Char('\n'), 10,
                          LineBreaks::CountTwo);
        QCOMPARE(t.text, QString(9, QLatin1Char('a')));
        t = LimitUserEdit(QString(8, QLatin1Char('a')), QString(8, QLatin1Char('a')) + QLatin1Char('\n'), 10,
                          LineBreaks::CountTwo);
        QCOMPARE(t.text, QString(8, QLatin1Char('a')) + QLatin1Char('\n'));
        // A surrogate pair is never split.
        const QString emoji = QString::fromUtf8("\xF0\x9F\x98\x80");
        t = LimitUserEdit(QStringLiteral("abc"), QStringLiteral("abc") + emoji, 4, LineBreaks::CountOne);
        QCOMPARE(t.text, QStringLiteral("abc"));
    }

    void surrogatePairsAtTheEdgesOfAnEdit()
    {
        // Two characters that share the low half of their pairs (U+1F400 and
        // U+1F000), and two that share the high half (U+1F600 and U+1F601).
        const QString rat = QString::fromUcs4(U"\U0001F400");
        const QString tile = QString::fromUcs4(U"\U0001F000");
        const QString grin = QString::fromUcs4(U"\U0001F600");
        const QString beam = QString::fromUcs4(U"\U0001F601");
        QCOMPARE(rat.at(1), tile.at(1));
        QCOMPARE(grin.at(0), beam.at(0));
        // A paste over a pair, ending in a pair with the same low half: the
        // cut falls before the whole pair, never leaves half of one.
        LimitedText t = LimitUserEdit(QStringLiteral("a") + rat, QStringLiteral("aXY") + tile, 3, LineBreaks::CountOne);
        QVERIFY(t.text.isValidUtf16());
        QCOMPARE(t.text, QStringLiteral("aXY"));
        QCOMPARE(t.cursor, 3);
        QVERIFY(t.cut);
        t = LimitUserEdit(QStringLiteral("a") + rat + QStringLiteral("b"), QStringLiteral("aXYZ") + tile + QStringLiteral("b"), 5,
                          LineBreaks::CountOne);
        QVERIFY(t.text.isValidUtf16());
        QCOMPARE(t.text, QStringLiteral("aXYZb"));
        // A replacement starting inside a pair that shares its high half.
        t = LimitUserEdit(QStringLiteral("a") + grin + QStringLiteral("b"),
                          QStringLiteral("a") + beam + grin + QStringLiteral("b"), 4, LineBreaks::CountOne);
        QVERIFY(t.text.isValidUtf16());
        QCOMPARE(t.text, QStringLiteral("a") + beam + QStringLiteral("b"));
        QCOMPARE(t.cursor, 3);
    }

    void memoStoredForm()
    {
        QCOMPARE(MemoDisplayText(QStringLiteral("a\r\nb\rc")), QStringLiteral("a\nb\nc"));
        QCOMPARE(MemoStoredText(QStringLiteral("a\nb")), QStringLiteral("a\r\nb"));
        QCOMPARE(StoredLineBreak(QStringLiteral("a\nb")), QStringLiteral("\n"));
        QCOMPARE(StoredLineBreak(QStringLiteral("a\r\nb\nc")), QStringLiteral("\r\n"));
        MaterialMemo memo;
        const QString crlf = QStringLiteral("Строка 1\r\n\"кавычки\" \\ обратная\r\n\r\nконец\u00a0");
        memo.setStoredText(crlf);
        QCOMPARE(memo.storedText(), crlf);
        QCOMPARE(memo.countedLength(), static_cast<int>(crlf.size()));
        const QString lf = QStringLiteral("one\ntwo");
        memo.setStoredText(lf);
        QCOMPARE(memo.storedText(), lf);
    }

    void fullNameSplit()
    {
        auto split = [](const QString &s) {
            const FullName n = SplitFullName(s);
            return QStringList{n.f, n.i, n.o};
        };
        QCOMPARE(split(QStringLiteral("Иванов Иван Иванович")),
                 (QStringList{QStringLiteral("Иванов"), QStringLiteral("Иван"), QStringLiteral("Иванович")}));
        QCOMPARE(split(QStringLiteral("Иванов Иван")),
                 (QStringList{QStringLiteral("Иванов"), QString(), QStringLiteral("Иван")}));
        QCOMPARE(split(QStringLiteral("Иванов  Иван")),
                 (QStringList{QStringLiteral("Иванов"), QString(), QStringLiteral("Иван")}));
        QCOMPARE(split(QStringLiteral("Иванов")), (QStringList{QString(), QString(), QStringLiteral("Иванов")}));
        QCOMPARE(split(QStringLiteral("a b c d")), (QStringList{"a", "b", "c d"}));
        QCOMPARE(split(QString()), (QStringList{QString(), QString(), QString()}));
        QCOMPARE(CommaFree(QStringLiteral("a, b,c")), QStringLiteral("a  b c"));
    }

    void lineEditUnderTheKeyboard()
    {
        MaterialLineEdit e(nullptr, 5);
        e.setText(QStringLiteral("1234567"));
        // Loaded text stays whole.
        QCOMPARE(e.text(), QStringLiteral("1234567"));
        e.setCursorPosition(7);
        QTest::keyClicks(&e, QStringLiteral("x"));
        QCOMPARE(e.text(), QStringLiteral("1234567"));
        QTest::keyClick(&e, Qt::Key_Backspace);
        QCOMPARE(e.text(), QStringLiteral("123456"));
        for (int i = 0; i < 3; ++i)
            QTest::keyClick(&e, Qt::Key_Backspace);
        QTest::keyClicks(&e, QStringLiteral("abcdef"));
        QCOMPARE(e.text(), QStringLiteral("123ab"));
        // A paste fits what is left.
        e.setText(QStringLiteral("12"));
        e.setCursorPosition(1);
        QGuiApplication::clipboard()->setText(QStringLiteral("ЖЖЖЖЖЖ"));
        e.paste();
        QCOMPARE(e.text(), QStringLiteral("1ЖЖЖ2"));
        QCOMPARE(e.cursorPosition(), 4);
        // No limit: a long text is neither cut on load nor when typed.
        MaterialLineEdit free;
        const QString longText(40000, QLatin1Char('z'));
        free.setText(longText);
        QCOMPARE(free.text().size(), longText.size());
    }

    void memoUnderTheKeyboard()
    {
        MaterialMemo m(nullptr, 10);
        QTest::keyClicks(&m, QStringLiteral("abcdefghi"));
        QCOMPARE(m.countedLength(), 9);
        // A line break at one from the limit does not fit.
        QTest::keyClick(&m, Qt::Key_Return);
        QCOMPARE(m.storedText(), QStringLiteral("abcdefghi"));
        QTest::keyClick(&m, Qt::Key_Backspace);
        QTest::keyClick(&m, Qt::Key_Return);
        QCOMPARE(m.storedText(), QStringLiteral("abcdefgh\r\n"));
        QCOMPARE(m.countedLength(), 10);
        QTest::keyClicks(&m, QStringLiteral("z"));
        QCOMPARE(m.storedText(), QStringLiteral("abcdefgh\r\n"));
        // A paste is cut; loaded text over the limit stays.
        m.setStoredText(QStringLiteral("abc"));
        QTextCursor c = m.textCursor();
        c.setPosition(1);
        m.setTextCursor(c);
        QGuiApplication::clipboard()->setText(QStringLiteral("123456789"));
        m.paste();
        QCOMPARE(m.storedText(), QStringLiteral("a1234567bc"));
        m.setStoredText(QString(12, QLatin1Char('q')));
        QCOMPARE(m.countedLength(), 12);
        m.moveCursor(QTextCursor::End);
        QTest::keyClicks(&m, QStringLiteral("r"));
        QCOMPARE(m.storedText(), QString(12, QLatin1Char('q')));
        QTest::keyClick(&m, Qt::Key_Backspace);
        QCOMPARE(m.storedText(), QString(11, QLatin1Char('q')));
    }

    void editorCounters()
    {
        Bench b(false);
        TfrmProjectMaterials &e = *b.editor;
        QVERIFY(!e.MaterialChanged);
        QVERIFY(e.lbTitle50_2->text().isEmpty());
        // A loaded title over its limit shows a negative remainder.
        SiteDescription d;
        d.title50 = QString(53, QLatin1Char('T'));
        d.description100 = QStringLiteral("line1\r\nline2");
        e.setSiteFields(d);
        QCOMPARE(e.lbTitle50_2->text(), QStringLiteral("Осталось символов:-3"));
        QCOMPARE(e.edtTitle50_2->text().size(), 53);
        QCOMPARE(e.lbDescription100_2->text(), QStringLiteral("Осталось символов:88"));
        QVERIFY(e.MaterialChanged);
        // Deleting works on the over-long title; typing does not add to it.
        e.edtTitle50_2->setCursorPosition(53);
        QTest::keyClicks(e.edtTitle50_2, QStringLiteral("x"));
        QCOMPARE(e.lbTitle50_2->text(), QStringLiteral("Осталось символов:-3"));
        QTest::keyClick(e.edtTitle50_2, Qt::Key_Backspace);
        QCOMPARE(e.lbTitle50_2->text(), QStringLiteral("Осталось символов:-2"));

        // The keyword copy: 120 characters into each limited keyword field.
        const QString keywords(120, QLatin1Char('k'));
        QTest::keyClicks(e.memKeywords_2, keywords);
        QCOMPARE(e.memKeywords100_2->storedText(), keywords);
        QCOMPARE(e.memKeywords250_2->storedText(), keywords);
        QCOMPARE(e.memKeywords500_2->storedText(), keywords);
        QCOMPARE(e.lbKeywords100_2->text(), QStringLiteral("Введено символов:120"));
        QCOMPARE(e.lbKeywords500_2->text(), QStringLiteral("Введено символов:120"));
        // A line break counts two in the copies as well.
        QTest::keyClick(e.memKeywords_2, Qt::Key_Return);
        QCOMPARE(e.lbKeywords250_2->text(), QStringLiteral("Введено символов:122"));
        // Clearing a limited keyword field.
        e.memKeywords250_2->clear();
        QCOMPARE(e.lbKeywords250_2->text(), QStringLiteral("Введено символов:0"));
        // An equal copy changes nothing and runs no counter.
        e.lbKeywords500_2->setText(QStringLiteral("marker"));
        e.memKeywords_2Change();
        QCOMPARE(e.lbKeywords500_2->text(), QStringLiteral("marker"));
    }

    void wheelStepsAndSizeButton()
    {
        Bench b(false);
        TfrmProjectMaterials &e = *b.editor;
        e.show();
        QScrollBar *bar = e.ScrollBox1->verticalScrollBar();
        QVERIFY(bar->maximum() > 40);
        e.ScrollBox1MouseWheel(120);
        QCOMPARE(bar->value(), 0);
        e.ScrollBox1MouseWheel(-120);
        e.ScrollBox1MouseWheel(-120);
        QCOMPARE(bar->value(), 40);
        e.ScrollBox1MouseWheel(120);
        QCOMPARE(bar->value(), 20);
        // A real wheel event over the page moves by the same step.
        QWheelEvent wheel(QPointF(10, 10), QPointF(10, 10), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(e.ScrollBox1->viewport(), &wheel);
        QCOMPARE(bar->value(), 40);
        e.scrollToTop();
        QCOMPARE(bar->value(), 0);

        // "Size(bytes)": the chosen file's size; a cancelled dialog keeps the value.
        qv::test::ScriptedPrompt p;
        QLineEdit size;
        e.edtBSize1 = &size;
        QTemporaryFile file;
        QVERIFY(file.open());
        file.write(QByteArray(1234, 'x'));
        file.flush();
        p.fileNames = {file.fileName(), QString()};
        e.Button3Click();
        QCOMPARE(size.text(), QStringLiteral("1234"));
        e.Button3Click();
        QCOMPARE(size.text(), QStringLiteral("1234"));
        QVERIFY(!e.MaterialChanged);
        // A file that cannot be read is reported and changes nothing.
        p.fileNames = {QStringLiteral("/nonexistent/file.bin")};
        e.Button3Click();
        QCOMPARE(size.text(), QStringLiteral("1234"));
        QCOMPARE(p.messages.size(), 1);
        QVERIFY(p.messages[0].startsWith(QStringLiteral("Cannot open file \"/nonexistent/file.bin\"")));
        e.edtBSize1 = nullptr;
    }
};

QTEST_MAIN(TestLengthLimit)
#include "tst_lengthlimit.moc"
