// The prompt seam's own input box, as the user meets it: a pasted text is
// given back whole, however long, and a cancel gives back nothing.
#include "core/prompt.h"

#include <QApplication>
#include <QClipboard>
#include <QInputDialog>
#include <QLineEdit>
#include <QTimer>
#include <QtTest>
#include <functional>

using namespace qv;

namespace {

// Runs `act` on the input box once it is on screen.
void whenShown(const std::function<void(QInputDialog *, QLineEdit *)> &act)
{
    auto *timer = new QTimer;
    timer->setInterval(20);
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        auto *box = qobject_cast<QInputDialog *>(QApplication::activeModalWidget());
        QLineEdit *edit = box ? box->findChild<QLineEdit *>() : nullptr;
        if (!edit || !edit->isVisible())
            return;
        timer->stop();
        timer->deleteLater();
        act(box, edit);
    });
    timer->start();
}

} // namespace

class TestPrompt : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void inputBoxKeepsAPastedTextWhole()
    {
        core::InteractivePrompt prompt;
        const QString text(40000, QChar(0x44F));
        whenShown([&](QInputDialog *box, QLineEdit *edit) {
            QApplication::clipboard()->setText(text);
            edit->selectAll();
            QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
            box->accept();
        });
        const auto answer = prompt.input(QStringLiteral("Переименование фильтра"), QStringLiteral("Введите новое имя фильтра:"),
                                         QStringLiteral("Старое"));
        QVERIFY(answer);
        QCOMPARE(answer->size(), text.size());
        QCOMPARE(*answer, text);

        // The preset shows; a cancel gives back nothing.
        QString shown;
        whenShown([&](QInputDialog *box, QLineEdit *edit) {
            shown = edit->text();
            box->reject();
        });
        QVERIFY(!prompt.input(QStringLiteral("Переименование фильтра"), QStringLiteral("Введите новое имя фильтра:"),
                              QStringLiteral("Старое")));
        QCOMPARE(shown, QStringLiteral("Старое"));
    }
};

QTEST_MAIN(TestPrompt)
#include "tst_prompt.moc"
