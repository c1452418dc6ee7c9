#pragma once
// "Создание подраздела": the parent section and the name of a new contact
// section. The caller fills the tree and reads the two fields afterwards.
#include <QDialog>

class QLineEdit;
class QPushButton;
class QTreeWidget;

namespace qv::contacts {

class TfrmOSubjectAdd : public QDialog {
    Q_OBJECT
public:
    explicit TfrmOSubjectAdd(QWidget *parent = nullptr);

    QTreeWidget *trvOSubjects;
    QLineEdit *edtOsubjectName;
    QPushButton *Button1;

    // Set only when the user accepts; the parent's section id, 0 for the root.
    QString NewSubjectName;
    int ParentSubjectId = 0;

    // "Создать подраздел".
    void Button1Click();
};

} // namespace qv::contacts
