#pragma once
#include "db/rowguard.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace qv::users {

// "Редактирование пользователя".
class TfrmUserEdit : public QDialog {
    Q_OBJECT
public:
    explicit TfrmUserEdit(QWidget *parent = nullptr);

    // "INSERT" or "UPDATE", set by the users list before the editor is shown.
    QString EditMode;
    // The user being edited in "UPDATE" mode.
    int EditUserId = -1;

    QLineEdit *edtLogin;
    QLineEdit *edtPassword;
    QLineEdit *edtFIO;
    QLineEdit *edtEmail;
    QCheckBox *cbActive;
    QPushButton *btnSave;

    // Loads the user's row into the fields (empty fields when there is none);
    // false when the statement failed (already reported).
    bool loadUser(int userId);
    // Writes the user; false (editor stays open with the edits) when a field
    // is missing or too long for its column, when another copy changed the
    // user meanwhile and the user chose not to write over it, or when the
    // statement failed.
    bool btnSaveClick();

Q_SIGNALS:
    void saved();

private:
    // What a save writes, with the captions of the fields.
    QList<db::FieldValue> fields() const;
    // Sends a statement of the editor; a failure is reported with the statement.
    static bool run(const QString &sql);

    // The user's row as loaded, for "UPDATE".
    db::LoadedRow m_loaded;
};

} // namespace qv::users
