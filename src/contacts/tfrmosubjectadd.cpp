#include "contacts/tfrmosubjectadd.h"
#include "controls/anylength.h"
#include "core/prompt.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace qv::contacts {

TfrmOSubjectAdd::TfrmOSubjectAdd(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmOSubjectAdd"));
    setWindowTitle(QStringLiteral("Создание подраздела"));
    auto *v = new QVBoxLayout(this);
    v->addWidget(new QLabel(QStringLiteral("Выберите родительский раздел нового подраздела:"), this));
    trvOSubjects = new QTreeWidget(this);
    trvOSubjects->setObjectName(QStringLiteral("trvOSubjects"));
    trvOSubjects->setHeaderHidden(true);
    v->addWidget(trvOSubjects, 1);
    v->addWidget(new QLabel(QStringLiteral("Введите название нового подраздела:"), this));
    edtOsubjectName = new QLineEdit(this);
    edtOsubjectName->setObjectName(QStringLiteral("edtOsubjectName"));
    // A pasted name stays whole: the caller checks it against its column.
    controls::AnyLength(edtOsubjectName);
    v->addWidget(edtOsubjectName);
    Button1 = new QPushButton(QStringLiteral("Создать подраздел"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    v->addWidget(Button1);
    resize(380, 420);
    connect(Button1, &QPushButton::clicked, this, &TfrmOSubjectAdd::Button1Click);
}

void TfrmOSubjectAdd::Button1Click()
{
    const QString name = edtOsubjectName->text();
    if (name.trimmed().isEmpty()) {
        core::prompt().message(QStringLiteral("Вы не название подраздела!"));
        return;
    }
    const QTreeWidgetItem *parent = trvOSubjects->currentItem();
    if (!parent) {
        core::prompt().message(QStringLiteral("Вы не выбрали родительский раздел для создания подраздела!"));
        return;
    }
    NewSubjectName = name;
    ParentSubjectId = parent->data(0, Qt::UserRole).toInt();
    accept();
}

} // namespace qv::contacts
