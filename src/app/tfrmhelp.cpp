#include "app/tfrmhelp.h"
#include "core/appcontext.h"
#include "app/makerlinks.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace qv::app {

namespace {
QPushButton *linkButton(core::AppContext &ctx, QWidget *parent, const char *window, const char *control)
{
    const MakerLink *link = FindMakerLink(QString::fromLatin1(window), QString::fromLatin1(control));
    auto *b = new QPushButton(QString::fromUtf8(link->caption), parent);
    b->setObjectName(QString::fromLatin1(control));
    QObject::connect(b, &QPushButton::clicked, parent, [&ctx, link] { OpenMakerLink(ctx, *link); });
    return b;
}

QLabel *banner(const QString &text, QWidget *parent)
{
    auto *l = new QLabel(text, parent);
    QFont f = l->font();
    f.setBold(true);
    f.setPointSizeF(f.pointSizeF() * 1.3);
    l->setFont(f);
    return l;
}
} // namespace

TfrmHelp::TfrmHelp(core::AppContext &ctx, QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmHelp"));
    setWindowTitle(QStringLiteral("Поддержите проект"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(banner(QStringLiteral("Понравилась программа - Поддержите проект! "), this));
    auto *group = new QGroupBox(QStringLiteral("Как вы можете поддержать программу Quorvantile:"), this);
    auto *grid = new QGridLayout(group);
    struct Line {
        const char *text;
        const char *control; // nullptr: a button without an action of its own
    };
    const Line lines[] = {
        {"Разместить кнопку или банер на своем сайте => ", "Button2"},
        {"Разместить статью о программе на своем сайте", "Button3"},
        {"Сообщить по email другу о программе =>", nullptr},
        {"Разместить ссылку на сайт программы =>", "Button4"},
        {"Поделитесь своим опытом на нашем форуме =>", "Button6"},
        {"Ваши предложения / замечания по программе =>", "Button7"},
        {"Сообщить об ошибках программы =>", "Button8"},
    };
    int row = 0;
    for (const Line &line : lines) {
        grid->addWidget(new QLabel(QString::fromUtf8(line.text), group), row, 0);
        QPushButton *b;
        if (line.control) {
            b = linkButton(ctx, this, "frmHelp", line.control);
            buttons.insert(QString::fromLatin1(line.control), b);
        } else {
            b = new QPushButton(QStringLiteral("Ввести email"), group);
            b->setObjectName(QStringLiteral("Button5"));
        }
        grid->addWidget(b, row++, 1);
    }
    layout->addWidget(group);
    auto *close = new QPushButton(QStringLiteral("Закрыть"), this);
    close->setObjectName(QStringLiteral("Button1"));
    buttons.insert(QStringLiteral("Button1"), close);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    layout->addWidget(close, 0, Qt::AlignRight);
}

TfrmGoAd::TfrmGoAd(core::AppContext &ctx, QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmGoAd"));
    setWindowTitle(QStringLiteral("Перед выходом из программы..."));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(banner(QStringLiteral("Рекомендуем веб-мастерам"), this));
    auto *group = new QGroupBox(QStringLiteral("Для веб-мастеров и владельцев сайтов рекомендуем: "), this);
    auto *groupLayout = new QVBoxLayout(group);
    for (const char *control : {"BitBtn1", "BitBtn2", "BitBtn3", "BitBtn4"}) {
        QPushButton *b = linkButton(ctx, this, "frmGoAd", control);
        buttons.insert(QString::fromLatin1(control), b);
        groupLayout->addWidget(b);
    }
    layout->addWidget(group);
    auto *close = new QPushButton(QStringLiteral("Закрыть"), this);
    close->setObjectName(QStringLiteral("Button1"));
    buttons.insert(QStringLiteral("Button1"), close);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    layout->addWidget(close, 0, Qt::AlignRight);
}

} // namespace qv::app
