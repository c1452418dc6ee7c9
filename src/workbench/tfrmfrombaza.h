#pragma once
// "Обновление базы": how many resources changed at the maker's service, and
// the download that stores them in the local base.
#include <QDialog>
#include <QElapsedTimer>

class QLabel;
class QPushButton;

namespace qv::core {
class AppContext;
class HttpClient;
} // namespace qv::core

namespace qv::workbench {

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
