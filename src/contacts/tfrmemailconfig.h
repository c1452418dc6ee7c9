#pragma once
// "Настройка для подключения к email": the project's SMTP account that the
// mailer uses.
#include <QDialog>

class QLineEdit;
class QPushButton;

namespace qv::contacts {

class TfrmEmailConfig : public QDialog {
    Q_OBJECT
public:
    explicit TfrmEmailConfig(QWidget *parent = nullptr);

    QLineEdit *edtUserName;
    QLineEdit *edtPassword;
    QLineEdit *edtHost;
    QLineEdit *edtPort;
    QPushButton *btnSaveEmailConfig;

    // Empties the fields and reads the project's settings into them; false
    // when the statement failed (reported).
    bool load(int projectId);
    // "Сохранить": writes the fields to the project they were loaded for and
    // closes the window; a failure keeps it open.
    void btnSaveEmailConfigClick();
    int loadedProjectId() const { return m_projectId; }

private:
    int m_projectId = 0;
};

} // namespace qv::contacts
