#pragma once
// "Обновление базы": how many resources changed at the maker's service, and
// the download that stores them in the local base.
#include <QDialog>
#include <QElapsedTimer>

#include <array>

class QLabel;
class QPushButton;

namespace qv::core {
class AppContext;
class HttpClient;
struct HttpReply;
} // namespace qv::core

namespace qv::workbench {

struct KindFacts;
struct StoreOutcome;

class TfrmFromBaza : public QDialog {
    Q_OBJECT
public:
    TfrmFromBaza(core::AppContext &ctx, QWidget *parent = nullptr);

    quint8 ForModeration = 0;

    QLabel *lbCatalogs;
    QLabel *lbSoft;
    QLabel *lbForums;
    QPushButton *btnUpdateDownload;
    QPushButton *btnNoModer;
    core::HttpClient *http;

    // The three counts, then the window shown. During a download it only raises the window.
    void runInfo();
    void btnUpdateDownloadClick();
    void btnNoModerClick();
    bool downloading() const { return m_downloading; }

private:
    struct KindTexts;
    struct DownloadTally;

    // The steps of a download: per kind its request, its lines stored and its
    // label; at the end the message.
    std::array<KindTexts, 3> downloadTexts() const;
    // False when the download stops at this kind (the window gone, the request
    // cancelled or failed).
    bool downloadKind(const KindFacts &kind, const KindTexts &t, const QString &path, DownloadTally &tally);
    StoreOutcome storeReply(const KindFacts &kind, const KindTexts &t, const core::HttpReply &reply);
    void showOutcome(const KindTexts &t, const StoreOutcome &out);
    void reportDownload(const DownloadTally &tally, bool moderation, const QString &startedAt);

    void setLabel(QLabel *label, const QString &text, bool force = true);
    void letMessagesRun();
    // The end of a download, whatever its outcome: both buttons work again.
    void finishDownload();
    core::AppContext &m_ctx;
    bool m_downloading = false;
    bool m_infoRunning = false;
    QElapsedTimer m_repaint;
};

} // namespace qv::workbench
