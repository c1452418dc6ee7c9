#include "workbench/tfrmfrombaza.h"

#include "core/appcontext.h"
#include "core/http.h"
#include "core/prompt.h"
#include "workbench/baseupdate_logic.h"
#include "workbench/baseupdate_store.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QGroupBox>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

namespace qv::workbench {

namespace {
const char *kDefaultDate = "2006-05-24";

// A stage's failure text with the request's own reason beneath it.
QString withReason(const QString &text, const core::HttpReply &reply)
{
    return reply.error.isEmpty() ? text : text + QStringLiteral("\nПричина: ") + reply.error;
}
} // namespace

// A kind's label and the texts it shows on the way.
struct TfrmFromBaza::KindTexts {
    QLabel *label;
    QString loading, error, loaded, storing, perLine, finished;
};

// What the kinds stored so far add up to.
struct TfrmFromBaza::DownloadTally {
    int failed = 0, stored = 0;
    // Per kind that was not stored in full: its first line left out and why.
    QStringList failedLines, skipped, notStored;

    void add(const KindFacts &kind, const StoreOutcome &out)
    {
        failed += out.failed;
        stored += out.stored;
        if (out.aborted)
            notStored << kind.updateName + QStringLiteral(" (") + out.abortError.left(300) + QLatin1Char(')');
        else if (out.failed > 0)
            failedLines << QStringLiteral("Первая из не внесённых строк (%1):\n%2\nОшибка: %3")
                               .arg(kind.updateName, out.firstFailedLine.left(500), out.firstError.left(500));
        for (const QString &c : out.skippedColumns)
            if (!skipped.contains(c))
                skipped.append(c);
    }
};

TfrmFromBaza::TfrmFromBaza(core::AppContext &ctx, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                          | Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint),
      m_ctx(ctx)
{
    setObjectName(QStringLiteral("frmFromBaza"));
    setWindowTitle(QStringLiteral("Обновление базы"));
    setModal(false);
    auto *layout = new QVBoxLayout(this);
    auto *box = new QGroupBox(QStringLiteral("Данные о новых каталогах в интернет базе Quorvantile"), this);
    auto *boxLayout = new QVBoxLayout(box);
    auto makeLabel = [&](const char *name, const QString &text) {
        auto *l = new QLabel(text, box);
        l->setObjectName(QLatin1String(name));
        l->setTextFormat(Qt::PlainText);
        l->setStyleSheet(QStringLiteral("font-weight: bold; color: maroon;"));
        l->setMinimumWidth(460);
        boxLayout->addWidget(l);
        return l;
    };
    lbCatalogs = makeLabel("lbCatalogs", QStringLiteral("Новых/измененных каталогов: "));
    lbSoft = makeLabel("lbSoft", QStringLiteral("Новых/измененных софт-каталогов: "));
    lbForums = makeLabel("lbForums", QStringLiteral("Новых/измененных форумов: "));
    layout->addWidget(box);
    btnUpdateDownload = new QPushButton(QStringLiteral("Скачать обновление !"), this);
    btnUpdateDownload->setObjectName(QStringLiteral("btnUpdateDownload"));
    QFont bold = btnUpdateDownload->font();
    bold.setBold(true);
    btnUpdateDownload->setFont(bold);
    btnUpdateDownload->setAutoDefault(false);
    layout->addWidget(btnUpdateDownload);
    btnNoModer = new QPushButton(QStringLiteral("На модерацию"), this);
    btnNoModer->setObjectName(QStringLiteral("btnNoModer"));
    btnNoModer->setAutoDefault(false);
    layout->addWidget(btnNoModer);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    http = new core::HttpClient(this);

    // FormCreate
    btnNoModer->setVisible(m_ctx.AdminMode);
    ForModeration = 0;

    connect(btnUpdateDownload, &QPushButton::clicked, this, &TfrmFromBaza::btnUpdateDownloadClick);
    connect(btnNoModer, &QPushButton::clicked, this, &TfrmFromBaza::btnNoModerClick);
    m_repaint.start();
}

void TfrmFromBaza::letMessagesRun() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

void TfrmFromBaza::setLabel(QLabel *label, const QString &text, bool force)
{
    // Per-line texts repaint at most every 100 ms; stage texts always.
    if (!force && m_repaint.elapsed() < 100)
        return;
    label->setText(text);
    if (!force) {
        m_repaint.restart();
        label->repaint();
    }
}

void TfrmFromBaza::runInfo()
{
    if (m_downloading || m_infoRunning) {
        show();
        raise();
        activateWindow();
        return;
    }
    m_infoRunning = true;
    QPointer<TfrmFromBaza> self(this);
    btnUpdateDownload->setEnabled(false);
    if (parentWidget())
        move(parentWidget()->geometry().center() - rect().center());
    show();
    raise();
    setLabel(lbCatalogs, QStringLiteral("Новых/измененных каталогов, досок: ... Загрузка данных..."));
    letMessagesRun();
    if (!self)
        return;
    const QString d =
        m_ctx.ConfigIni.readString(QStringLiteral("SQL"), QStringLiteral("date_update"), QString::fromLatin1(kDefaultDate));
    const auto &kinds = resourceKindFacts();
    struct Step {
        const KindFacts &kind;
        QLabel *label;
        QString loading, error, done;
    };
    const Step steps[] = {
        {kinds[0], lbCatalogs, QString(),
         QStringLiteral("Новых/измененных каталогов: ... Нет доступа в интернет, проверьте настройки..."),
         QStringLiteral("Новых/измененных каталогов:")},
        {kinds[1], lbForums, QStringLiteral("Новых/измененных форумов: ... Загрузка данных..."),
         QStringLiteral("Новых/измененных  форумов: ... Нет доступа в интернет, проверьте настройки..."),
         QStringLiteral("Новых/измененных форумов:")},
        {kinds[2], lbSoft, QStringLiteral("Новых/измененных софт-каталогов: ... Загрузка данных..."),
         QStringLiteral("Новых/измененных софт-каталогов: ... Нет доступа в интернет, проверьте настройки..."),
         QStringLiteral("Новых/измененных софт-каталогов:")},
    };
    for (const Step &s : steps) {
        if (!s.loading.isEmpty()) {
            setLabel(s.label, s.loading);
            letMessagesRun();
            if (!self)
                return;
        }
        const core::HttpReply reply = http->get(m_ctx.makerUrl(InfoPath(s.kind, d)));
        if (!self || reply.cancelled)
            return;
        if (!reply.ok) {
            setLabel(s.label, withReason(s.error, reply));
            m_infoRunning = false;
            return;
        }
        setLabel(s.label, s.done + reply.text.left(200));
    }
    btnUpdateDownload->setEnabled(true);
    m_infoRunning = false;
}

void TfrmFromBaza::btnNoModerClick()
{
    if (!m_ctx.AdminMode)
        return;
    ForModeration = 1;
    QPointer<TfrmFromBaza> self(this);
    btnUpdateDownloadClick();
    if (self)
        ForModeration = 0;
}

void TfrmFromBaza::btnUpdateDownloadClick()
{
    if (m_downloading)
        return;
    m_downloading = true;
    QPointer<TfrmFromBaza> self(this);
    btnUpdateDownload->setEnabled(false);
    btnNoModer->setEnabled(false);
    const bool moderation = ForModeration != 0;
    const QString d =
        m_ctx.ConfigIni.readString(QStringLiteral("SQL"), QStringLiteral("date_update"), QString::fromLatin1(kDefaultDate));
    const QString df = m_ctx.ConfigIni.readString(QStringLiteral("SQL"), QStringLiteral("date_update_forums"),
                                                  QString::fromLatin1(kDefaultDate));
    // The moment the changes were asked for: what arrives later is asked for next time.
    const QString startedAt = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
    letMessagesRun();
    if (!self)
        return;
    const auto &kinds = resourceKindFacts();
    const auto texts = downloadTexts();
    DownloadTally tally;
    for (int k = 0; k < 3; ++k) {
        if (!downloadKind(kinds[k], texts[k], UpdatePath(kinds[k], d, df, moderation), tally))
            return;
    }
    finishDownload();
    reportDownload(tally, moderation, startedAt);
}

std::array<TfrmFromBaza::KindTexts, 3> TfrmFromBaza::downloadTexts() const
{
    return {{
        {lbCatalogs, QStringLiteral("Новых/измененных каталогов: ... Идет загрузка каталогов..."),
         QStringLiteral("Новых/измененных каталогов, досок: ... Нет доступа в интернет, проверьте настройки..."),
         QStringLiteral("Новых/измененных каталогов, досок: ... Загрузка завершена ..."),
         QStringLiteral("Новых/измененных каталогов, досок: ... Вносим в локальную базу..."),
         QStringLiteral("Новые/измененные каталоги, доски: "),
         QStringLiteral("Новые/измененные каталоги успешно внесены в базу! ")},
        {lbForums, QStringLiteral("Новые/измененные форумы: ... Идет загрузка форумов..."),
         QStringLiteral("Новых/измененных форумов: ... Нет доступа в интернет, проверьте настройки..."),
         QStringLiteral("Новых/измененных форумов: ... Загрузка завершена ..."),
         QStringLiteral("Новых/измененных форумов: ... Вносим в локальную базу..."), QStringLiteral("Новые/измененные форумы: "),
         QStringLiteral("Новые/измененные форумы успешно внесены в базу! ")},
        {lbSoft, QStringLiteral("Новых/измененных софт-каталогов: ... Идет загрузка софт каталогов..."),
         QStringLiteral("Новых/измененных софт-каталогов: ... Нет доступа в интернет, проверьте настройки..."),
         QStringLiteral("Новых/измененных софт-каталогов: ... Загрузка завершена ..."),
         QStringLiteral("Новых/измененных софт-каталогов: ... Вносим в базу..."),
         QStringLiteral("Новые/измененные софт-каталоги: "),
         QStringLiteral("Новые/измененные софт-каталоги успешно внесены в базу! ")},
    }};
}

bool TfrmFromBaza::downloadKind(const KindFacts &kind, const KindTexts &t, const QString &path, DownloadTally &tally)
{
    QPointer<TfrmFromBaza> self(this);
    setLabel(t.label, t.loading);
    letMessagesRun();
    if (!self)
        return false;
    const core::HttpReply reply = http->get(m_ctx.makerUrl(path));
    if (!self)
        return false;
    if (reply.cancelled) {
        finishDownload();
        return false;
    }
    if (!reply.ok) {
        setLabel(t.label, withReason(t.error, reply));
        finishDownload();
        return false;
    }
    setLabel(t.label, t.loaded);
    letMessagesRun();
    if (!self)
        return false;
    setLabel(t.label, t.storing);
    t.label->repaint();
    const StoreOutcome out = storeReply(kind, t, reply);
    tally.add(kind, out);
    showOutcome(t, out);
    letMessagesRun();
    return !self.isNull();
}

StoreOutcome TfrmFromBaza::storeReply(const KindFacts &kind, const KindTexts &t, const core::HttpReply &reply)
{
    QString undecodable;
    const std::optional<QString> replyText = UpdateReplyText(reply.body, reply.contentType, http->defaultCharset(), &undecodable);
    StoreOutcome out;
    if (!replyText) {
        // Text read with replacement characters is not what the service sent.
        out.aborted = true;
        out.abortError = undecodable;
        out.failed = std::max(1, static_cast<int>(ReplyLines(QString::fromLatin1(reply.body)).size()));
    } else {
        // While a kind is stored no user input runs: only the labels repaint.
        out = StoreUpdateLines(kind, ReplyLines(*replyText),
                               [&](int, const QString &name) { setLabel(t.label, t.perLine + name, false); });
    }
    return out;
}

void TfrmFromBaza::showOutcome(const KindTexts &t, const StoreOutcome &out)
{
    if (out.aborted)
        setLabel(t.label, t.perLine + QStringLiteral("не внесены в базу!\nПричина: ") + out.abortError.left(300));
    else if (out.failed > 0)
        setLabel(t.label, t.perLine
                              + QStringLiteral("внесены не все: не внесено строк %1 из %2\nПричина: %3")
                                    .arg(out.failed)
                                    .arg(out.failed + out.stored)
                                    .arg(out.firstError.left(300)));
    else
        setLabel(t.label, t.finished);
}

void TfrmFromBaza::reportDownload(const DownloadTally &tally, bool moderation, const QString &startedAt)
{
    if (tally.failed == 0) {
        QPointer<TfrmFromBaza> self(this);
        if (!moderation && !m_ctx.ConfigIni.writeString(QStringLiteral("SQL"), QStringLiteral("date_update"), startedAt))
            core::prompt().message(
                core::IniWriteFailedMessage(m_ctx.ConfigIni, QStringLiteral("Дата обновления базы не сохранена: следующее "
                                                                            "обновление загрузит эти изменения снова.")),
                core::MessageIcon::Warning);
        QString done = QStringLiteral("Обновление локальной базы завершено!");
        if (!tally.skipped.isEmpty())
            done += QStringLiteral("\nПропущены поля, которых нет в локальной базе, и повторы поля в одной строке "
                                   "(внесено первое значение): ")
                    + tally.skipped.join(QStringLiteral(", "));
        core::prompt().message(done);
        if (self)
            close();
        return;
    }
    QString text = QStringLiteral("Обновление локальной базы завершено с ошибками. Внесено строк: %1, не внесено строк: %2")
                       .arg(tally.stored)
                       .arg(tally.failed);
    if (!tally.notStored.isEmpty())
        text += QStringLiteral("\nНичего не внесено: ") + tally.notStored.join(QStringLiteral("; "));
    for (const QString &line : tally.failedLines)
        text += QLatin1Char('\n') + line;
    core::prompt().message(text, core::MessageIcon::Warning);
}

void TfrmFromBaza::finishDownload()
{
    // Whatever the outcome, the download can be run again.
    m_downloading = false;
    btnUpdateDownload->setEnabled(true);
    btnNoModer->setEnabled(true);
}

} // namespace qv::workbench
