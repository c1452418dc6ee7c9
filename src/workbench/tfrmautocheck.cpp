#include "workbench/tfrmautocheck.h"
#include "controls/boldlabel.h"
#include "controls/browserview.h"
#include "core/appcontext.h"
#include "core/http.h"
#include "core/prompt.h"
#include "db/query.h"
#include "db/upsert.h"
#include "workbench/kindfacts.h"
#include "workbench/resourcelist.h"
#include "workbench/resourcelist_logic.h"
#include "workbench/search_logic.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDateTime>
#include <QEventLoop>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace qv::workbench {

using core::prompt;

namespace {

// One engine's answer for one resource.
enum class Answer { Failed, Confirmed, NotConfirmed };

// `why` gets the reason of a failed request.
Answer ask(core::HttpClient &http, const QUrl &url, bool (*foundNothing)(const QString &), QString *why)
{
    const core::HttpReply reply = http.get(url);
    if (!reply.ok) {
        *why = reply.error;
        return Answer::Failed;
    }
    if (reply.body.isEmpty())
        return Answer::NotConfirmed;
    return foundNothing(core::DecodeHtmlPage(reply.body, reply.contentType)) ? Answer::NotConfirmed : Answer::Confirmed;
}

} // namespace

QString AutoCheckEndMessage(int total, int checked, int notChecked, bool stopped)
{
    if (stopped) {
        QString text = QStringLiteral("Авто проверка регистрации остановлена: проверено %1 из %2").arg(checked).arg(total);
        if (notChecked > 0)
            text += QStringLiteral(", не удалось проверить %1").arg(notChecked);
        return text + QLatin1Char('.');
    }
    if (notChecked == 0)
        return QStringLiteral("Авто проверка регистрации успешно завершена!");
    return QStringLiteral("Авто проверка регистрации завершена с ошибками: не удалось проверить %1 из %2. "
                          "Причины указаны в логе проверки.")
        .arg(notChecked)
        .arg(total);
}

TfrmAutocheck::TfrmAutocheck(core::AppContext &ctx, QWidget *owner)
    : QWidget(owner, Qt::Window | Qt::WindowStaysOnTopHint | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
                         | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      m_ctx(ctx), m_http(new core::HttpClient(this))
{
    setObjectName(QStringLiteral("frmAutocheck"));
    setWindowTitle(QStringLiteral("Автопроверка регистрации"));
    auto *v = new QVBoxLayout(this);
    auto *box = new QGroupBox(QStringLiteral("Лог проверки"), this);
    auto *g = new QGridLayout(box);
    lbURL = new QLabel(box);
    lbURL->setObjectName(QStringLiteral("lbURL"));
    lbWhere = new QLabel(box);
    lbWhere->setObjectName(QStringLiteral("lbWhere"));
    lbProgress = new QLabel(box);
    lbProgress->setObjectName(QStringLiteral("lbProgress"));
    lbNow = new QLabel(box);
    lbNow->setObjectName(QStringLiteral("lbNow"));
    const QList<QPair<QString, QLabel *>> rows = {{QStringLiteral("Проверка по ссылке:"), lbURL},
                                                  {QStringLiteral("Область проверки: "), lbWhere},
                                                  {QStringLiteral("Выполнено: "), lbProgress},
                                                  {QStringLiteral("Проверяется сейчас:"), lbNow}};
    int r = 0;
    for (const auto &[caption, value] : rows) {
        value->setTextFormat(Qt::PlainText);
        g->addWidget(controls::BoldLabel(caption, box), r, 0);
        g->addWidget(value, r++, 1);
    }
    lbAutoCheckLog = new QListWidget(box);
    lbAutoCheckLog->setObjectName(QStringLiteral("lbAutoCheckLog"));
    g->addWidget(lbAutoCheckLog, r, 0, 1, 2);
    v->addWidget(box, 1);
    auto *buttons = new QHBoxLayout;
    btnAutoCheckStart = new QPushButton(QStringLiteral("Начать автопроверку"), this);
    btnAutoCheckStart->setObjectName(QStringLiteral("btnAutoCheckStart"));
    Button1 = new QPushButton(QStringLiteral("Закрыть"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    buttons->addWidget(btnAutoCheckStart);
    buttons->addStretch(1);
    buttons->addWidget(Button1);
    v->addLayout(buttons);
    auto *ad = new controls::BrowserView(this);
    ad->setMakerSite([this] { return m_ctx.makerUrl(); });
    wbAd = ad;
    wbAd->setObjectName(QStringLiteral("wbAd"));
    wbAd->setFixedHeight(90);
    v->addWidget(wbAd);
    setFixedSize(560, 520);

    connect(btnAutoCheckStart, &QPushButton::clicked, this, &TfrmAutocheck::btnAutoCheckStartClick);
    connect(Button1, &QPushButton::clicked, this, &TfrmAutocheck::Button1Click);
}

TfrmAutocheck::~TfrmAutocheck() { requestStop(); }

void TfrmAutocheck::loadAd()
{
    wbAd->setUrl(m_ctx.makerUrl(QStringLiteral("/pad/frmAutoCheck.php?counter=") + QString::number(m_ctx.LinkClickCounter)));
}

void TfrmAutocheck::launch(const ResourceList &list, const QString &where, bool withAd, bool checkEmpty)
{
    // A run goes on with what it took at its start: the window only comes forward.
    if (m_running) {
        show();
        raise();
        activateWindow();
        return;
    }
    if (checkEmpty && list.count() == 0) {
        prompt().message(QStringLiteral("Выберите раздел хотя бы с одним каталогом/форумом!"));
        return;
    }
    if (m_ctx.ProjectUrl.isEmpty()) {
        prompt().message(QStringLiteral("В информации о проекте не заполнен URL сайта проекта!\rВведите URL сайта в форме "
                                        "редактирования проекта и попробуйте запустить Автопроверку"));
        return;
    }
    if (withAd)
        loadAd();
    lbProgress->clear();
    lbNow->clear();
    Links.clear();
    lbURL->setText(SearchedSite(m_ctx.ProjectUrl));
    lbWhere->setText(where);
    ProjectId = m_ctx.CurrentProjectId;
    Kind = m_ctx.CurrentKind;
    for (int i = 0; i < list.count(); ++i)
        Links << list.subItem(i, SubName) + QLatin1Char('=') + list.subItem(i, SubId);
    if (!isVisible() && parentWidget()) {
        const QRect owner = parentWidget()->window()->frameGeometry();
        move(owner.center() - QPoint(width() / 2, height() / 2));
    }
    show();
    raise();
}

void TfrmAutocheck::N36Click(const ResourceList &list, const QString &where) { launch(list, where, true, true); }
void TfrmAutocheck::BitBtn1Click(const ResourceList &list, const QString &where) { launch(list, where, false, true); }
void TfrmAutocheck::SpeedButton2Click(const ResourceList &list, const QString &where) { launch(list, where, false, true); }
void TfrmAutocheck::btnAutoCheckClick(const ResourceList &list, const QString &where) { launch(list, where, false, false); }
void TfrmAutocheck::ToolButton12Click(const ResourceList &list, const QString &where) { launch(list, where, false, false); }
void TfrmAutocheck::tbnHelpClick(const ResourceList &list, const QString &where) { btnAutoCheckClick(list, where); }

void TfrmAutocheck::pause(int ms)
{
    if (ms <= 0 || StopRequested)
        return;
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    m_pauseLoop = &loop;
    loop.exec();
    m_pauseLoop = nullptr;
}

void TfrmAutocheck::requestStop()
{
    StopRequested = true;
    if (m_pauseLoop)
        m_pauseLoop->quit();
}

// The run's own copy of what it checks (a launch meanwhile changes nothing of
// it), and how far it got.
struct TfrmAutocheck::RunItem {
    QString name;
    qint64 id;
};

struct TfrmAutocheck::Run {
    const KindFacts &facts;
    QList<RunItem> items;
    int project = 0;
    QString site;
    QString stamp;
    int total = 0;
    int done = 0, notChecked = 0;
};

void TfrmAutocheck::btnAutoCheckStartClick()
{
    if (m_running)
        return;
    const KindFacts *facts = kindFacts(Kind);
    if (!facts) {
        prompt().message(Kind == core::Kind::Contacts
                             ? QStringLiteral("Контакты автопроверкой не проверяются: она проверяет регистрацию на каталогах, "
                                              "форумах и софт-каталогах. Выберите их раздел и запустите автопроверку снова.")
                             : QStringLiteral("Выберите раздел хотя бы с одним каталогом/форумом!"));
        return;
    }
    Run run{*facts, runItems(), ProjectId, lbURL->text()};
    StopRequested = false;
    m_running = true;
    btnAutoCheckStart->setEnabled(false);
    loadAd();
    run.total = static_cast<int>(run.items.size());
    bool stopped = false;
    run.stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
    lbAutoCheckLog->clear();
    QPointer<TfrmAutocheck> self(this);
    bool failed = false;
    showProgress(run);

    for (int i = 0; i < run.total; ++i) {
        if (i > 0 && i % 100 == 0)
            pause(m_pauseMs);
        if (!self)
            return;
        QCoreApplication::processEvents();
        if (!self)
            return;
        if (StopRequested) {
            stopped = true;
            break;
        }
        const Step step = checkResource(run, run.items[i]);
        if (step == Step::Gone)
            return;
        if (step == Step::Stopped) {
            stopped = true;
            break;
        }
        if (step == Step::WriteFailed) {
            failed = true;
            break;
        }
    }
    if (!self)
        return;
    finishRun(run, failed, stopped);
}

QList<TfrmAutocheck::RunItem> TfrmAutocheck::runItems() const
{
    QList<RunItem> items;
    for (const QString &line : Links) {
        const qsizetype eq = line.lastIndexOf(QLatin1Char('='));
        const auto id = db::ParseInt(eq < 0 ? QString() : line.mid(eq + 1));
        if (id)
            items.append({line.left(eq), *id});
    }
    return items;
}

TfrmAutocheck::Step TfrmAutocheck::checkResource(Run &run, const RunItem &item)
{
    QPointer<TfrmAutocheck> self(this);
    lbNow->setText(item.name);
    QString why;
    const Answer yandex =
        ask(*m_http, m_ctx.searchUrl(QStringLiteral("yandex"), YandexSearchPath(run.site, item.name)), &YandexFoundNothing, &why);
    if (!self)
        return Step::Gone;
    // A request cut short by the stop is no failure of the engine.
    if (StopRequested)
        return Step::Stopped;
    if (yandex == Answer::Failed) {
        logFailure(run, QStringLiteral("Yandex"), item.name, why);
        return Step::Next;
    }
    const Answer google =
        ask(*m_http, m_ctx.searchUrl(QStringLiteral("google"), GoogleSearchPath(run.site, item.name)), &GoogleFoundNothing, &why);
    if (!self)
        return Step::Gone;
    if (google == Answer::Failed) {
        logFailure(run, QStringLiteral("Google"), item.name, why);
        return Step::Next;
    }
    const bool y = yandex == Answer::Confirmed, g = google == Answer::Confirmed;
    if (!writeCheck(run, item.id, y, g))
        return Step::WriteFailed;
    ++run.done;
    showProgress(run);
    logLine(CheckVerdict(y, g) + QStringLiteral(" :: ") + item.name);
    Q_EMIT resourceChecked(run.done);
    return Step::Next;
}

bool TfrmAutocheck::writeCheck(const Run &run, qint64 resource, bool y, bool g)
{
    const QString &table = run.facts.checkLog, &px = run.facts.checkPrefix, &resourceColumn = run.facts.checkResource;
    const QString where = QStringLiteral(" WHERE ") + resourceColumn + QLatin1Char('=') + db::SqlInt(resource)
                          + QStringLiteral(" AND ") + px + QStringLiteral("project_id=") + db::SqlInt(run.project);
    const QString values = px + QStringLiteral("yandex=") + (y ? QLatin1Char('1') : QLatin1Char('0')) + QStringLiteral(", ") + px
                           + QStringLiteral("google=") + (g ? QLatin1Char('1') : QLatin1Char('0')) + QStringLiteral(", ") + px
                           + QStringLiteral("status=") + db::Sql(y || g ? QStringLiteral("1") : QStringLiteral("0"))
                           + QStringLiteral(", ") + px + QStringLiteral("DateTime=") + db::Sql(run.stamp);
    const QString insert = QStringLiteral("INSERT INTO ") + table + QStringLiteral(" SET ") + resourceColumn + QLatin1Char('=')
                           + db::SqlInt(resource) + QStringLiteral(", ") + px + QStringLiteral("project_id=")
                           + db::SqlInt(run.project) + QStringLiteral(", ") + values;
    return db::Upsert(table, where, values, insert);
}

void TfrmAutocheck::logLine(const QString &line) { lbAutoCheckLog->insertItem(0, line); }

// "Выполнено:" counts every resource the run is through with, checked or not.
void TfrmAutocheck::showProgress(const Run &run)
{
    lbProgress->setText(QString::number(run.done + run.notChecked) + QStringLiteral(" из ") + QString::number(run.total));
}

void TfrmAutocheck::logFailure(Run &run, const QString &engine, const QString &name, const QString &why)
{
    ++run.notChecked;
    showProgress(run);
    logLine(QStringLiteral("Ошибка при проверке ") + engine + QStringLiteral(" :: ") + name
            + (why.isEmpty() ? QString() : QStringLiteral(" :: ") + why));
}

void TfrmAutocheck::finishRun(const Run &run, bool failed, bool stopped)
{
    m_running = false;
    lbNow->clear();
    btnAutoCheckStart->setEnabled(true);
    if (!failed)
        prompt().message(AutoCheckEndMessage(run.total, run.done, run.notChecked, stopped),
                         run.notChecked > 0 ? core::MessageIcon::Warning : core::MessageIcon::Information);
    Q_EMIT runEnded();
}

void TfrmAutocheck::Button1Click()
{
    requestStop();
    close();
}

bool TfrmAutocheck::FormCloseQuery()
{
    requestStop();
    return true;
}

void TfrmAutocheck::closeEvent(QCloseEvent *event)
{
    FormCloseQuery();
    event->accept();
}

} // namespace qv::workbench
