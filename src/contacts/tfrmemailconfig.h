#pragma once
// "Настройка для подключения к email": the project's SMTP account that the
// mailer uses.
#include "db/rowguard.h"

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
    // closes the window. A value too long for its column, settings another
    // copy changed meanwhile that the user chose not to write over, or a
    // failure keep it open with the edits.
    void btnSaveEmailConfigClick();
    int loadedProjectId() const { return m_projectId; }

private:
    // The fields with their captions and the columns they feed.
    QList<db::FieldValue> fields() const;

    int m_projectId = 0;
    db::LoadedRow m_loaded;
};

} // namespace qv::contacts
