#pragma once
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
    // Writes the user; false (editor stays open) when a field is missing or the statement failed.
    bool btnSaveClick();

Q_SIGNALS:
    void saved();
};

} // namespace qv::users
