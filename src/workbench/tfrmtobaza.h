#pragma once
// The offer that follows a saved resource record: contribute it to the
// maker's shared base, and the upload itself.
#include "core/kind.h"

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace qv::core {
struct AppContext;
class HttpClient;
} // namespace qv::core

namespace qv::workbench {

class TfrmToBaza : public QDialog {
    Q_OBJECT
public:
    TfrmToBaza(core::AppContext &ctx, QWidget *parent = nullptr);

    // 1 after "Внести ", 0 after "Не вносить" or any other close.
    int Accepted = 0;
    // Hidden: they stay empty and leave the stored ad columns as they are.
    QLineEdit *edtURL;
    QLineEdit *edtNURL;
    QLineEdit *edtEmail;
    QPushButton *btnSend;
    QPushButton *btnSkip;

    void Button1Click();
    void Button2Click();

    // Reads the saved row back and posts it to the kind's service page;
    // shows which of the two outcomes it had. False when nothing was sent or
    // the service refused.
    bool upload(core::Kind kind, int resourceId);
    core::HttpClient *client() const { return m_http; }

protected:
    void done(int result) override;

private:
    core::AppContext &m_ctx;
    core::HttpClient *m_http;
};

} // namespace qv::workbench
