#include "users/tfrmusers.h"
#include "users/tfrmuseredit.h"
#include "core/appcontext.h"
#include "controls/elidedheader.h"
#include "core/prompt.h"
#include "db/database.h"
#include "db/query.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace qv::users {

using core::prompt;

TfrmUsers::TfrmUsers(core::AppContext &ctx, TfrmUserEdit *editor, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint), m_ctx(ctx), m_editor(editor)
{
    setObjectName(QStringLiteral("frmUsers"));
    setWindowTitle(QStringLiteral("Пользователи"));
    auto *layout = new QVBoxLayout(this);
    auto *bar = new QToolBar(this);
    tbUserAdd = new QToolButton(bar);
    tbUserAdd->setText(QStringLiteral("Добавить пользователя"));
    tbnUserEdit = new QToolButton(bar);
    tbnUserEdit->setText(QStringLiteral("Редактировать "));
    tbnHelp = new QToolButton(bar);
    tbnHelp->setText(QStringLiteral("Справка"));
    for (QToolButton *b : {tbUserAdd, tbnUserEdit, tbnHelp}) {
        b->setToolButtonStyle(Qt::ToolButtonTextOnly);
        bar->addWidget(b);
    }
    layout->addWidget(bar);
    lvUsers = new QTreeWidget(this);
    lvUsers->setRootIsDecorated(false);
    lvUsers->setSelectionBehavior(QAbstractItemView::SelectRows);
    lvUsers->setHeaderLabels({QStringLiteral("Активность пользователя"), QStringLiteral("User ID"), QStringLiteral("UserName"),
                              QStringLiteral("User Login"), QStringLiteral("ФИО пользователя"),
                              QStringLiteral("email пользователя")});
    layout->addWidget(lvUsers);
    controls::ElideHeaderCaptions(lvUsers->header());
    resize(720, 360);

    connect(tbUserAdd, &QToolButton::clicked, this, &TfrmUsers::tbUserAddClick);
    connect(tbnUserEdit, &QToolButton::clicked, this, &TfrmUsers::tbnUserEditClick);
    // A double click or Enter on a row opens it.
    connect(lvUsers, &QTreeWidget::itemActivated, this, [this] { lvUsersDblClick(); });
    if (m_editor) {
        // The editor belongs to this window, which stays on top: it opens as
        // its dialog, above it, never behind it.
        m_editor->setParent(this, m_editor->windowFlags());
        connect(m_editor, &TfrmUserEdit::saved, this, [this] { fillList(); });
    }
}

void TfrmUsers::open()
{
    if (!m_ctx.isAdministrator()) {
        prompt().message(QString::fromUtf8(kAdminOnly));
        return;
    }
    lvUsers->clear();
    // The window opens over the middle of the window it belongs to.
    if (!isVisible() && parentWidget()) {
        const QRect owner = parentWidget()->window()->frameGeometry();
        move(owner.center() - QPoint(frameGeometry().width() / 2, frameGeometry().height() / 2));
    }
    show();
    raise();
    fillList();
}

bool TfrmUsers::fillList()
{
    lvUsers->clear();
    const QString sql = QStringLiteral("SELECT * FROM users");
    if (db::RunDirect(sql) != 0) {
        prompt().message(db::RunFailedMessage(sql));
        return false;
    }
    QList<QTreeWidgetItem *> items;
    db::QueryResult result(db::DbConnection());
    while (const auto row = result.FetchRow()) {
        // Columns by position: id, login, password, active, e-mail, full name.
        // The password is not shown in the list; the editor shows it.
        items.append(
            new QTreeWidgetItem(QStringList{(*row)[3], (*row)[0], (*row)[1], QStringLiteral("***"), (*row)[5], (*row)[4]}));
    }
    if (result.failed()) {
        qDeleteAll(items);
        prompt().message(db::RunFailedMessage(sql));
        return false;
    }
    lvUsers->addTopLevelItems(items);
    return true;
}

void TfrmUsers::tbUserAddClick()
{
    if (!m_ctx.isAdministrator()) {
        prompt().message(QString::fromUtf8(kAdminOnly));
        return;
    }
    m_editor->EditMode = QStringLiteral("INSERT");
    m_editor->EditUserId = -1;
    m_editor->cbActive->setChecked(true);
    m_editor->edtLogin->clear();
    m_editor->edtPassword->clear();
    m_editor->edtFIO->clear();
    m_editor->edtEmail->clear();
    prompt().exec(m_editor);
}

void TfrmUsers::tbnUserEditClick()
{
    if (!m_ctx.isAdministrator()) {
        prompt().message(QString::fromUtf8(kAdminOnly));
        return;
    }
    QTreeWidgetItem *item = lvUsers->currentItem();
    if (!item)
        return;
    const auto id = db::ParseInt(item->text(1));
    if (!id)
        return;
    m_editor->EditMode = QStringLiteral("UPDATE");
    if (!m_editor->loadUser(static_cast<int>(*id)))
        return;
    prompt().exec(m_editor);
}

} // namespace qv::users
