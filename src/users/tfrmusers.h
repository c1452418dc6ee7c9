#pragma once
#include <QWidget>

class QTreeWidget;
class QToolButton;

namespace qv::core {
struct AppContext;
}
namespace qv::users {

class TfrmUserEdit;

inline const char *kAdminOnly = "С пользователями может работать только администратор программы";

// "Пользователи": the list of program users, for the administrator only.
class TfrmUsers : public QWidget {
    Q_OBJECT
public:
    TfrmUsers(core::AppContext &ctx, TfrmUserEdit *editor, QWidget *parent = nullptr);

    QToolButton *tbUserAdd;
    QToolButton *tbnUserEdit;
    QToolButton *tbnHelp;
    QTreeWidget *lvUsers;

    // Opens the list (the main window's "Пользователи").
    void open();
    // Refills lvUsers from the users table; false when the statement failed.
    bool fillList();
    void tbUserAddClick();
    void tbnUserEditClick();
    void lvUsersDblClick() { tbnUserEditClick(); }

private:
    core::AppContext &m_ctx;
    TfrmUserEdit *m_editor;
};

} // namespace qv::users
