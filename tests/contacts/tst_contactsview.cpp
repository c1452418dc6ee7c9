// The contacts view on the real base: the sections branch, the contact list
// with the active letter's mailing status, the section commands, the contact
// editor, the SMTP settings and the mailer's launch.
#include "app/program.h"
#include "contacts/contactsview.h"
#include "contacts/tfrmemailconfig.h"
#include "contacts/tfrmosubjectadd.h"
#include "controls/tmirztreeview.h"
#include "db/query.h"
#include "projects/projectchoice.h"
#include "support/scriptedprompt.h"
#include "support/secondcopy.h"
#include "support/smtpsink.h"
#include "workbench/navigator.h"
#include "workbench/workbenchfixture.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTreeWidget>
#include <QtTest>

using namespace qv;
using namespace qv::contacts;
using qv::test::ScriptedPrompt;
using workbench::Navigator;

namespace {
QStringList texts(const QTreeWidgetItem *n)
{
    QStringList out;
    for (int i = 0; i < n->childCount(); ++i)
        out << n->child(i)->text(0);
    return out;
}
} // namespace

class TestContactsView : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<test::Workbench> m_wb;
    ContactsView *m_view = nullptr;
    TfrmOSubjectAdd *m_add = nullptr;
    TfrmEmailConfig *m_mail = nullptr;

    int section(const QString &name, int parent = 0, int project = -1)
    {
        m_wb->db.exec(QStringLiteral("INSERT INTO osubjects SET osubject_name=%1, osubject_pid=%2, osubject_project_id=%3")
                          .arg(db::Sql(name))
                          .arg(parent)
                          .arg(project < 0 ? m_wb->projectId : project));
        return m_wb->db.scalar(QStringLiteral("SELECT MAX(osubject_id) FROM osubjects")).toInt();
    }
    int contact(const QString &fio, const QList<int> &sections)
    {
        m_wb->db.exec(
            QStringLiteral("INSERT INTO contacts SET contact_FIO=%1, contact_company='Орг', contact_email='a@b.example'")
                .arg(db::Sql(fio)));
        const int id = m_wb->db.scalar(QStringLiteral("SELECT MAX(contact_id) FROM contacts")).toInt();
        for (int s : sections)
            m_wb->db.exec(
                QStringLiteral("INSERT INTO osubjects2contacts SET s2o_subject_id=%1, s2o_contact_id=%2").arg(s).arg(id));
        return id;
    }
    QTreeWidgetItem *top() { return m_wb->main->navigator->top(workbench::TopContacts); }
    // Expands the branch afresh and clicks the node named `name` (the top node when empty).
    QTreeWidgetItem *open(const QString &name = QString())
    {
        top()->setExpanded(false);
        top()->setExpanded(true);
        QTreeWidgetItem *node = top();
        if (!name.isEmpty()) {
            QList<QTreeWidgetItem *> found = m_wb->main->trvFilters->findItems(name, Qt::MatchExactly | Qt::MatchRecursive);
            node = found.value(0);
        }
        if (node)
            test::click(*m_wb, node);
        return node;
    }
    QStringList listed()
    {
        QStringList out;
        for (int r = 0; r < m_view->contactsModel->rowCount(); ++r) {
            out << m_view->contactsModel->cell(r, 0) + QLatin1Char('|') + m_view->contactsModel->cell(r, 2);
        }
        return out;
    }
    QStringList statusBar()
    {
        QStringList out;
        for (QLabel *l : m_view->sbContacts->findChildren<QLabel *>())
            out << l->text();
        return out.mid(0, 2);
    }

private Q_SLOTS:
    void init()
    {
        m_wb = std::make_unique<test::Workbench>();
        QVERIFY2(m_wb->db.ok(), qPrintable(m_wb->db.error()));
        m_view = m_wb->main->contacts;
        QVERIFY(m_view);
        m_add = new TfrmOSubjectAdd(m_wb->main.get());
        m_mail = new TfrmEmailConfig(m_wb->main.get());
        m_view->attachWindows(m_add, m_mail);
        m_wb->ctx.CurrentUserId = 0;
    }
    void cleanup() { m_wb.reset(); }

    void branchAndList()
    {
        ScriptedPrompt p;
        const int a = section(QStringLiteral("A"));
        const int b = section(QStringLiteral("B"));
        section(QStringLiteral("Корзина1111"));
        const int orphanParent = 100000;
        section(QStringLiteral("сирота"), orphanParent);
        const int a1 = section(QStringLiteral("A1"), a);
        section(QString());
        section(QStringLiteral("чужой"), 0, m_wb->projectId + 1);
        QTreeWidgetItem *t = open();
        QCOMPARE(texts(t), (QStringList{"Добавить подраздел", "B", "A", "Корзина1111"}));
        QCOMPARE(Navigator::nodeKind(t->child(0)), Navigator::AddContactSectionNode);
        QCOMPARE(texts(t->child(2)), QStringList{"A1"});
        QCOMPARE(Navigator::nodeId(t->child(2)->child(0)).value_or(-1), a1);
        QCOMPARE(m_view->pcContacts->currentIndex(), 0);
        QCOMPARE(m_wb->main->pnlBrowser->maximumHeight(), 0);

        // A letter with a mailing log: statuses, counts, a contact linked twice listed twice.
        m_wb->db.exec(
            QStringLiteral("INSERT INTO omaterials SET omaterial_name='Письмо', omaterial_project_id=%1").arg(m_wb->projectId));
        const int letter = m_wb->db.scalar(QStringLiteral("SELECT MAX(omaterial_id) FROM omaterials")).toInt();
        m_wb->main->projects->cbProjectsChange();
        const int sent = contact(QStringLiteral("Отправлен"), {b});
        const int failed = contact(QStringLiteral("Ошибка"), {b});
        contact(QStringLiteral("Новый"), {b, b});
        m_wb->db.exec(QStringLiteral("INSERT INTO oreglog SET orl_contact_id=%1, orl_material_id=%2, orl_status='1', "
                                     "orl_datetime='2026-01-02 03:04:05'")
                          .arg(sent)
                          .arg(letter));
        m_wb->db.exec(QStringLiteral("INSERT INTO oreglog SET orl_contact_id=%1, orl_material_id=%2, orl_status='2', "
                                     "orl_datetime='2026-01-02 03:04:06'")
                          .arg(failed)
                          .arg(letter));
        open(QStringLiteral("B"));
        QCOMPARE(m_wb->ctx.CurrentContactSectionId, b);
        QStringList rows = listed();
        rows.sort();
        QCOMPARE(rows, (QStringList{"|Новый", "|Новый", "Была ошибка (2026-01-02 03:04:06)|Ошибка",
                                    "Разослано (2026-01-02 03:04:05)|Отправлен"}));
        QCOMPARE(statusBar(), (QStringList{"Контактов Всего: 4", "Контактов Новых: 2"}));
        for (int r = 0; r < m_view->contactsModel->rowCount(); ++r) {
            if (m_view->contactsModel->contactId(r) != sent)
                continue;
            QStringList cells;
            for (int c = 0; c < 11; ++c)
                cells << m_view->contactsModel->cell(r, c);
            QCOMPARE(cells, (QStringList{"Разослано (2026-01-02 03:04:05)", "Орг", "Отправлен", "", "", "", "a@b.example", "", "",
                                         "", QString::number(sent)}));
        }
        // Without a letter: every contact is new, no message.
        m_wb->db.exec(QStringLiteral("DELETE FROM omaterials"));
        m_wb->main->projects->cbProjectsChange();
        QCOMPARE(m_wb->ctx.CurrentContactSectionId, 0);
        open(QStringLiteral("B"));
        QCOMPARE(statusBar(), (QStringList{"Контактов Всего: 4", "Контактов Новых: 4"}));
        QVERIFY(p.messages.isEmpty());
    }

    void sectionCommands()
    {
        ScriptedPrompt p;
        const int a = section(QStringLiteral("A"));
        // Subsection: an empty name and a missing parent are refused in the dialog.
        open(QStringLiteral("A"));
        p.dialogs = {[&](QDialog *) -> int {
                         m_add->Button1Click();
                         m_add->edtOsubjectName->setText(QStringLiteral("Новый \"раздел\""));
                         m_add->trvOSubjects->setCurrentItem(nullptr);
                         m_add->Button1Click();
                         QTreeWidgetItem *parent =
                             m_add->trvOSubjects->findItems(QStringLiteral("A"), Qt::MatchExactly | Qt::MatchRecursive).value(0);
                         m_add->trvOSubjects->setCurrentItem(parent);
                         m_add->Button1Click();
                         return int(QDialog::Accepted);
                     },
                     [&](QDialog *) -> int { return int(QDialog::Rejected); },
                     [&](QDialog *) -> int {
                         m_add->edtOsubjectName->setText(QStringLiteral("Новый \"раздел\""));
                         m_add->trvOSubjects->setCurrentItem(m_add->trvOSubjects->topLevelItem(0));
                         m_add->Button1Click();
                         return int(QDialog::Accepted);
                     }};
        test::click(*m_wb, top()->child(0));
        QCOMPARE(p.messages,
                 (QStringList{"Вы не название подраздела!", "Вы не выбрали родительский раздел для создания подраздела!"}));
        QCOMPARE(m_wb->db.rows(QStringLiteral("SELECT osubject_name, osubject_pid FROM osubjects WHERE osubject_pid<>0")),
                 QStringList{QStringLiteral("Новый \"раздел\"|%1").arg(a)});
        QCOMPARE(m_wb->main->trvFilters->currentItem(), top());
        // Closed without accepting: nothing; the same name again: refused.
        p.messages.clear();
        test::click(*m_wb, top()->child(0));
        open();
        test::click(*m_wb, top()->child(0));
        QCOMPARE(p.messages, QStringList{"Раздел с таким названием уже существует!"});
        QCOMPARE(m_wb->db.scalar(QStringLiteral("SELECT COUNT(*) FROM osubjects")), QStringLiteral("2"));

        // Rename and delete pass the add node and the top node by.
        p.messages.clear();
        m_wb->main->trvFilters->setCurrentItem(top()->child(0));
        m_view->N18Click();
        m_view->N21Click();
        m_wb->main->trvFilters->setCurrentItem(top());
        m_view->N18Click();
        QVERIFY(p.inputCaptions.isEmpty() && p.questions.isEmpty());
        // Cancel gives back the name, which is taken; blanks are refused; a
        // name is written exactly.
        QTreeWidgetItem *nodeA = open(QStringLiteral("A"));
        p.inputs = {std::nullopt, QStringLiteral("  "), QStringLiteral("A 'б' \\")};
        m_view->N18Click();
        m_view->N18Click();
        m_view->N18Click();
        QCOMPARE(p.messages,
                 (QStringList{"Раздел с таким названием уже существует!", "Название раздела не должно быть пустым!"}));
        QCOMPARE(nodeA->text(0), QStringLiteral("A 'б' \\"));
        QCOMPARE(m_wb->db.scalar(QStringLiteral("SELECT osubject_name FROM osubjects WHERE osubject_id=%1").arg(a)),
                 QStringLiteral("A 'б' \\"));
        // A subsection added since the build still blocks the delete.
        p.messages.clear();
        m_wb->db.exec(QStringLiteral("DELETE FROM osubjects WHERE osubject_pid=%1").arg(a));
        nodeA = open(QStringLiteral("A 'б' \\"));
        section(QStringLiteral("свежий"), a);
        p.answers = {true};
        m_view->N21Click();
        QCOMPARE(p.messages,
                 QStringList{"Удаление раздела невозможно, т.к. раздел содержит подразделы! Удалите сперва подразделы."});
        m_wb->db.exec(QStringLiteral("DELETE FROM osubjects WHERE osubject_pid=%1").arg(a));
        contact(QStringLiteral("Остаётся"), {a});
        p.answers = {true};
        m_view->N21Click();
        QCOMPARE(m_wb->db.scalar(QStringLiteral("SELECT COUNT(*) FROM osubjects")), QStringLiteral("0"));
        QCOMPARE(m_wb->db.scalar(QStringLiteral("SELECT COUNT(*) FROM osubjects2contacts")), QStringLiteral("1"));
        QCOMPARE(m_wb->ctx.CurrentContactSectionId, 0);
        QCOMPARE(m_view->contactsModel->rowCount(), 0);
        QVERIFY(!texts(top()).contains(QStringLiteral("A 'б' \\")));
    }

    void editorAddsAndEdits()
    {
        ScriptedPrompt p;
        const int a = section(QStringLiteral("A"));
        const int b = section(QStringLiteral("B"));
        const int other = section(QStringLiteral("Чужой"), 0, m_wb->projectId + 1);
        open(QStringLiteral("A"));
        // Add: validation first.
        m_view->pcContacts->setCurrentIndex(2);
        auto &add = m_view->add;
        m_view->btnContactSaveClick();
        add.email->setText(QStringLiteral("x@y.example"));
        m_view->btnContactSaveClick();
        QCOMPARE(p.messages, (QStringList{"Вы не ввели данных! Внесите хотя бы одно из: ФИО, Название организации, EMail",
                                          "Вы не выбрали раздел куда будете сохранять контакт!"}));
        QCOMPARE(m_wb->db.scalar(QStringLiteral("SELECT COUNT(*) FROM contacts")), QStringLiteral("0"));
        const QString tricky = QStringLiteral("О'Нил \"Ёж\" \\ Иван");
        add.fio->setText(tricky);
        add.organization->setEditText(QStringLiteral("ООО \"Рога\""));
        QTreeWidgetItem *nodeA = add.tree->findItems(QStringLiteral("A"), Qt::MatchExactly).value(0);
        add.tree->setState(nodeA, 2);
        m_view->btnContactSaveClick();
        const int id = m_wb->db.scalar(QStringLiteral("SELECT MAX(contact_id) FROM contacts")).toInt();
        QCOMPARE(m_wb->db.rows(QStringLiteral(
                     "SELECT contact_FIO, contact_company, contact_email, contact_site, contact_fax FROM contacts")),
                 QStringList{tricky + QStringLiteral("|ООО \"Рога\"|x@y.example||")});
        QCOMPARE(m_wb->db.rows(QStringLiteral("SELECT s2o_subject_id FROM osubjects2contacts WHERE s2o_contact_id=%1").arg(id)),
                 QStringList{QString::number(a)});
        QCOMPARE(m_view->pcContacts->currentIndex(), 0);
        QCOMPARE(m_view->contactsModel->rowCount(), 1);

        // Edit with nothing selected goes back to the list.
        m_view->pcContacts->setCurrentIndex(1);
        QCOMPARE(m_view->pcContacts->currentIndex(), 0);
        // A second contact, linked to another project's section too.
        const int second = contact(QStringLiteral("Второй"), {a, other});
        m_view->relist();
        QCOMPARE(m_view->contactsModel->rowCount(), 2);
        int row = 0;
        while (m_view->contactsModel->contactId(row) != second)
            ++row;
        m_view->lvContacts->setCurrentIndex(m_view->contactsModel->index(row, 2));
        QCOMPARE(m_view->SelectedContactId, second);
        m_view->lvContactsDblClick();
        QCOMPARE(m_view->pcContacts->currentIndex(), 1);
        auto &edit = m_view->edit;
        QCOMPARE(edit.fio->text(), QStringLiteral("Второй"));
        QTreeWidgetItem *editA = edit.tree->findItems(QStringLiteral("A"), Qt::MatchExactly).value(0);
        QTreeWidgetItem *editB = edit.tree->findItems(QStringLiteral("B"), Qt::MatchExactly).value(0);
        QCOMPARE(controls::TmirzTreeView::state(editA), 2);
        QCOMPARE(controls::TmirzTreeView::state(editB), 1);
        // The list refilled and moved meanwhile: the save still goes to the contact loaded.
        m_view->relist();
        m_view->lvContacts->setCurrentIndex(m_view->contactsModel->index(row == 0 ? 1 : 0, 0));
        edit.fio->setText(QStringLiteral("Второй изменён"));
        edit.tree->setState(editA, 1);
        edit.tree->setState(editB, 2);
        m_view->btnContactSaveClick();
        QCOMPARE(m_wb->db.scalar(QStringLiteral("SELECT contact_FIO FROM contacts WHERE contact_id=%1").arg(second)),
                 QStringLiteral("Второй изменён"));
        QCOMPARE(m_wb->db.scalar(QStringLiteral("SELECT contact_FIO FROM contacts WHERE contact_id=%1").arg(id)), tricky);
        QStringList links =
            m_wb->db.rows(QStringLiteral("SELECT s2o_subject_id FROM osubjects2contacts WHERE s2o_contact_id=%1").arg(second));
        links.sort();
        QStringList expected{QString::number(b), QString::number(other)};
        expected.sort();
        QCOMPARE(links, expected);

        // A link insert that fails leaves the contact as it was.
        QVERIFY(m_wb->db.exec(QStringLiteral("CREATE TRIGGER qv_no_links BEFORE INSERT ON osubjects2contacts FOR EACH ROW "
                                             "SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT='no links'")));
        m_view->relist();
        m_view->lvContacts->setCurrentIndex(m_view->contactsModel->index(0, 0));
        const int target = m_view->SelectedContactId;
        const QString before =
            m_wb->db.rows(QStringLiteral("SELECT contact_FIO FROM contacts WHERE contact_id=%1").arg(target)).join(QString());
        m_view->lvContactsDblClick();
        edit.fio->setText(QStringLiteral("не сохранится"));
        p.messages.clear();
        m_view->btnContactSaveClick();
        QCOMPARE(p.messages.size(), 1);
        QCOMPARE(
            m_wb->db.rows(QStringLiteral("SELECT contact_FIO FROM contacts WHERE contact_id=%1").arg(target)).join(QString()),
            before);
        QVERIFY(m_wb->db.scalar(QStringLiteral("SELECT COUNT(*) FROM osubjects2contacts WHERE s2o_contact_id=%1").arg(target))
                != "0");
        QCOMPARE(edit.fio->text(), QStringLiteral("не сохранится"));

        // The contact deleted meanwhile: the save says so and goes back to the list.
        QVERIFY(m_wb->db.exec(QStringLiteral("DROP TRIGGER qv_no_links")));
        QVERIFY(m_wb->db.exec(QStringLiteral("DELETE FROM contacts WHERE contact_id=%1").arg(target)));
        p.messages.clear();
        m_view->btnContactSaveClick();
        QCOMPARE(p.messages, QStringList{"Контакт не найден в базе: возможно, он удалён."});
        QCOMPARE(m_view->pcContacts->currentIndex(), 0);
        QCOMPARE(m_wb->db.scalar(QStringLiteral("SELECT COUNT(*) FROM contacts WHERE contact_id=%1").arg(target)),
                 QStringLiteral("0"));
    }

    // Ctrl+Tab from the focused list, a click on a tab, Enter and a double
    // click on a contact alike prepare the tab they show: the edit tab holds
    // the contact selected last, the add tab the project's sections, unticked.
    // A load that fails says so once and leaves the tab empty; its save then
    // says why and writes nothing.
    void everyTabChangePreparesItsTab()
    {
        ScriptedPrompt p;
        const int a = section(QStringLiteral("A"));
        const int b = section(QStringLiteral("B"));
        const int first = contact(QStringLiteral("Первый"), {a});
        const int second = contact(QStringLiteral("Второй"), {a, b});
        m_wb->main->show();
        m_wb->main->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_wb->main.get()));
        open(QStringLiteral("A"));
        QCoreApplication::processEvents();
        QTableView *list = m_view->lvContacts;
        QTabBar *bar = m_view->pcContacts->tabBar();
        auto &edit = m_view->edit;
        auto &add = m_view->add;
        const auto ticks = [](controls::TmirzTreeView *tree) {
            QStringList out;
            for (int i = 0; i < tree->topLevelItemCount(); ++i)
                out << tree->topLevelItem(i)->text(0) + QString::number(controls::TmirzTreeView::state(tree->topLevelItem(i)));
            out.sort();
            return out;
        };
        const auto rowOf = [&](int id) {
            for (int r = 0; r < m_view->contactsModel->rowCount(); ++r) {
                if (m_view->contactsModel->contactId(r) == id)
                    return m_view->contactsModel->index(r, 2);
            }
            return QModelIndex();
        };
        const auto ctrlTab = [] { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ControlModifier); };

        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(rowOf(first)).center());
        QVERIFY(list->hasFocus());
        ctrlTab();
        QCOMPARE(m_view->pcContacts->currentIndex(), 1);
        QCOMPARE(edit.fio->text(), QStringLiteral("Первый"));
        QCOMPARE(ticks(edit.tree), (QStringList{"A2", "B1"}));
        add.fio->setText(QStringLiteral("набрано раньше"));
        ctrlTab();
        QCOMPARE(m_view->pcContacts->currentIndex(), 2);
        QCOMPARE(add.fio->text(), QString());
        QCOMPARE(ticks(add.tree), (QStringList{"A1", "B1"}));

        // Back to the list by its tab, the next contact by the arrow key.
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(0).center());
        list->setFocus();
        QTest::keyClick(list, Qt::Key_Down);
        QCOMPARE(m_view->SelectedContactId, second);
        ctrlTab();
        QCOMPARE(edit.fio->text(), QStringLiteral("Второй"));
        QCOMPARE(ticks(edit.tree), (QStringList{"A2", "B2"}));
        QTest::keyClick(edit.fio, Qt::Key_End);
        QTest::keyClicks(edit.fio, QStringLiteral(" 2"));
        QTest::mouseClick(edit.save, Qt::LeftButton);
        QCOMPARE(m_wb->db.scalar(QStringLiteral("SELECT contact_FIO FROM contacts WHERE contact_id=%1").arg(second)),
                 QStringLiteral("Второй 2"));
        QCOMPARE(m_view->pcContacts->currentIndex(), 0);

        // Enter on a contact opens it.
        list->setFocus();
        list->setCurrentIndex(rowOf(first));
        QTest::keyClick(list, Qt::Key_Return);
        QCOMPARE(m_view->pcContacts->currentIndex(), 1);
        QCOMPARE(edit.fio->text(), QStringLiteral("Первый"));
        QVERIFY(p.messages.isEmpty());

        // The links cannot be read: one message, an empty tab, a save that says why.
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(0).center());
        QVERIFY(m_wb->db.exec(QStringLiteral("RENAME TABLE osubjects2contacts TO links_away")));
        // A double click as the window system gives it: press, release, press.
        QTest::mouseDClick(m_wb->main->windowHandle(), Qt::LeftButton, {},
                           list->viewport()->mapTo(m_wb->main.get(), list->visualRect(rowOf(second)).center()));
        QCOMPARE(m_view->pcContacts->currentIndex(), 1);
        QCOMPARE(p.messages.size(), 1);
        QVERIFY2(p.messages[0].contains(QStringLiteral("osubjects2contacts")), qPrintable(p.messages[0]));
        QCOMPARE(edit.fio->text(), QString());
        QCOMPARE(edit.tree->topLevelItemCount(), 0);
        QTest::keyClicks(edit.fio, QStringLiteral("lost"));
        QTest::mouseClick(edit.save, Qt::LeftButton);
        QVERIFY(m_wb->db.exec(QStringLiteral("RENAME TABLE links_away TO osubjects2contacts")));
        QCOMPARE(p.messages.size(), 2);
        QCOMPARE(p.messages[1], QStringLiteral("Контакт не загружен для редактирования: выберите контакт в списке на вкладке "
                                               "\"Контакты\" и откройте эту вкладку снова."));
        QCOMPARE(m_wb->db.rows(QStringLiteral("SELECT contact_FIO FROM contacts ORDER BY contact_id")),
                 (QStringList{"Первый", "Второй 2"}));
    }

    // The add and edit pages keep their seven fields together at the top of
    // the pane, each with its label on its left, at the window's size.
    void editorLoadsExactlyTheContactsSections()
    {
        // A contact in a parent section only, and one in a child section only:
        // opening and saving either of them keeps its sections as they were.
        ScriptedPrompt p;
        const int parent = section(QStringLiteral("Родитель"));
        const int child = section(QStringLiteral("Дочерний"), parent);
        const int inParent = contact(QStringLiteral("В родителе"), {parent});
        const int inChild = contact(QStringLiteral("В дочернем"), {child});
        for (const int id : {inParent, inChild}) {
            open(id == inChild ? QStringLiteral("Дочерний") : QStringLiteral("Родитель"));
            int row = 0;
            while (row < m_view->contactsModel->rowCount() && m_view->contactsModel->contactId(row) != id)
                ++row;
            QVERIFY(row < m_view->contactsModel->rowCount());
            m_view->lvContacts->setCurrentIndex(m_view->contactsModel->index(row, 2));
            m_view->lvContactsDblClick();
            QCOMPARE(m_view->pcContacts->currentIndex(), 1);
            auto &edit = m_view->edit;
            QTreeWidgetItem *nodeChild =
                edit.tree->findItems(QStringLiteral("Дочерний"), Qt::MatchExactly | Qt::MatchRecursive).value(0);
            QVERIFY(nodeChild);
            QCOMPARE(controls::TmirzTreeView::state(nodeChild), id == inChild ? 2 : 1);
            edit.fio->setText(edit.fio->text() + QStringLiteral(" 2"));
            m_view->btnContactSaveClick();
            QCOMPARE(
                m_wb->db.rows(QStringLiteral("SELECT s2o_subject_id FROM osubjects2contacts WHERE s2o_contact_id=%1").arg(id)),
                QStringList{QString::number(id == inChild ? child : parent)});
        }
        QVERIFY(p.messages.isEmpty());
    }

    void editorFieldsStayTogetherAtTheTop()
    {
        ScriptedPrompt p;
        const int a = section(QStringLiteral("A"));
        contact(QStringLiteral("Первый"), {a});
        m_wb->main->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_wb->main.get()));
        open(QStringLiteral("A"));
        QTabBar *bar = m_view->pcContacts->tabBar();
        auto check = [&](const ContactsView::Fields &f, const QString &telLabel) {
            QWidget *page = m_view->pcContacts->currentWidget();
            QCoreApplication::processEvents();
            const QList<QWidget *> fields{f.fio, f.organization, f.tel, f.email, f.address, f.status, f.department};
            const QStringList labels{
                "ФИО:", "Организация:", telLabel, "Email (можно несколько через запятую):", "Адрес:", "Должность:", "Отдел:"};
            int rowHeight = 0;
            for (QWidget *w : fields)
                rowHeight = qMax(rowHeight, w->height());
            const int span = f.department->geometry().bottom() - f.fio->geometry().top();
            QVERIFY2(page->height() > 3 * 7 * rowHeight, "the pane is too low to tell");
            QVERIFY2(span < 7 * (rowHeight + 12), qPrintable(QStringLiteral("the fields spread over %1 px").arg(span)));
            QVERIFY(f.fio->geometry().top() < page->height() / 8);
            for (int i = 0; i < fields.size(); ++i) {
                QLabel *label = nullptr;
                for (QLabel *l : page->findChildren<QLabel *>()) {
                    if (l->text() == labels[i])
                        label = l;
                }
                QVERIFY2(label, qPrintable(labels[i]));
                const QRect field = fields[i]->geometry();
                QVERIFY2(label->geometry().right() < field.left(), qPrintable(labels[i]));
                QVERIFY2(label->geometry().center().y() >= field.top() && label->geometry().center().y() <= field.bottom(),
                         qPrintable(labels[i]));
            }
        };
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(2).center());
        QCOMPARE(m_view->pcContacts->currentIndex(), 2);
        check(m_view->add, QStringLiteral("Телефоны (можно несколько через запятую):"));
        if (QTest::currentTestFailed())
            return;
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(0).center());
        const QModelIndex first = m_view->lvContacts->model()->index(0, 2);
        QTest::mouseClick(m_view->lvContacts->viewport(), Qt::LeftButton, {}, m_view->lvContacts->visualRect(first).center());
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(1).center());
        QCOMPARE(m_view->pcContacts->currentIndex(), 1);
        QCOMPARE(m_view->edit.fio->text(), QStringLiteral("Первый"));
        check(m_view->edit, QStringLiteral("Телефоны (через запятую):"));
    }

    void settingsAndLaunch()
    {
        ScriptedPrompt p;
        const int a = section(QStringLiteral("A"));
        // No settings: the message, then the settings window, empty.
        int shown = 0;
        QDialog *seen = nullptr;
        bool emptyOnShow = false;
        p.dialogs = {[&](QDialog *d) -> int {
            ++shown;
            seen = d;
            emptyOnShow = m_mail->edtHost->text().isEmpty();
            m_mail->edtUserName->setText(QStringLiteral("user\"1"));
            m_mail->edtPassword->setText(QStringLiteral("pa'ss\\"));
            m_mail->edtHost->setText(QStringLiteral("127.0.0.1"));
            m_mail->edtPort->setText(QStringLiteral("25x"));
            m_mail->btnSaveEmailConfigClick();
            return m_mail->result();
        }};
        m_view->N14Click();
        QCOMPARE(p.messages, QStringList{"Для начала рассылки необходимо настроить email сервер"});
        QCOMPARE(shown, 1);
        QCOMPARE(seen, static_cast<QDialog *>(m_mail));
        QVERIFY(emptyOnShow);
        QCOMPARE(m_wb->db.rows(
                     QStringLiteral("SELECT project_smtp_username, project_smtp_password, project_smtp_host, project_smtp_port "
                                    "FROM projects WHERE project_id=%1")
                         .arg(m_wb->projectId)),
                 QStringList{QStringLiteral("user\"1|pa'ss\\|127.0.0.1|25x")});
        // No letter, then no section: refused with their messages.
        p.messages.clear();
        m_view->N15Click();
        m_wb->db.exec(
            QStringLiteral("INSERT INTO omaterials SET omaterial_name='Письмо', omaterial_project_id=%1").arg(m_wb->projectId));
        const int letter = m_wb->db.scalar(QStringLiteral("SELECT MAX(omaterial_id) FROM omaterials")).toInt();
        m_wb->main->projects->cbProjectsChange();
        m_view->N15Click();
        QCOMPARE(p.messages, (QStringList{"Выберите активное письмо для рассылки", "Выберите раздел контактов для рассылки"}));
        QVERIFY(p.started.isEmpty());
        // With both: the mailer in the program folder, five arguments.
        open(QStringLiteral("A"));
        m_view->N15Click();
        QCOMPARE(p.started.size(), 1);
        QCOMPARE(p.started[0].program, m_wb->ctx.AppDir + QStringLiteral("DAVireza/DAVireza"));
        QCOMPARE(p.started[0].arguments, (QStringList{QString::number(m_wb->projectId), QString::number(letter),
                                                      QString::number(a), QStringLiteral("0"), QStringLiteral("1")}));
        QCOMPARE(p.started[0].workingDir, m_wb->ctx.AppDir);
        // A mailer that cannot start says so.
        p.nextPid = -1;
        p.messages.clear();
        m_view->N14Click();
        QCOMPARE(p.messages.size(), 1);
        QVERIFY(p.messages[0].startsWith(QStringLiteral("Не удалось запустить программу рассылки")));
        m_view->N32Click();
        QCOMPARE(p.messages.last(), QStringLiteral("Возможность вывода наклеек для конвертов будет реализовано в след. версии"));
    }

    // A failed read of the active letter is said once, by the failing
    // statement: no "choose a letter" after it, and no mailer started.
    void launchWithAnUnreadableLetterSaysItOnce()
    {
        ScriptedPrompt p;
        section(QStringLiteral("A"));
        QVERIFY(m_wb->db.exec(QStringLiteral("UPDATE projects SET project_smtp_username='u', project_smtp_password='p', "
                                             "project_smtp_host='127.0.0.1', project_smtp_port='25' WHERE project_id=%1")
                                  .arg(m_wb->projectId)));
        QVERIFY(m_wb->db.exec(
            QStringLiteral("INSERT INTO omaterials SET omaterial_name='Письмо', omaterial_project_id=%1").arg(m_wb->projectId)));
        m_wb->main->projects->cbProjectsChange();
        open(QStringLiteral("A"));
        p.messages.clear();
        QVERIFY(m_wb->db.exec(QStringLiteral("RENAME TABLE omaterials TO omaterials_away")));
        m_view->N15Click();
        QVERIFY(m_wb->db.exec(QStringLiteral("RENAME TABLE omaterials_away TO omaterials")));
        QCOMPARE(p.messages.size(), 1);
        QVERIFY2(p.messages[0].contains(QStringLiteral("FROM omaterials")), qPrintable(p.messages[0]));
        QVERIFY(p.started.isEmpty());
    }

    // The whole road: the launch starts the mailer of the program folder, it
    // mails the section through a local SMTP server while the window goes on
    // (the server answers from this event loop), and when it ends the list
    // shows the new statuses by itself and the failure is told with its meaning.
    void mailingShowsInTheList()
    {
        ScriptedPrompt p;
        p.realPrograms = true;
        test::SmtpSink sink;
        QVERIFY(sink.listen());
        sink.refuseRecipient(QStringLiteral("two@example.ru"));
        const QString programDir = qEnvironmentVariable("QV_PROGRAM_DIR");
        QVERIFY(QFile::exists(programDir + QStringLiteral("/DAVireza/DAVireza")));
        QVERIFY(QFile::link(programDir + QStringLiteral("/DAVireza"), m_wb->ctx.AppDir + QStringLiteral("DAVireza")));
        QFile ini(m_wb->ctx.configPath());
        QVERIFY(ini.open(QIODevice::Append));
        ini.write(QStringLiteral("[SQL]\nhost=%1\nport=%2\ndbname=%3\nusername=%4\npassword=%5\n")
                      .arg(test::TestDb::host())
                      .arg(test::TestDb::fixturePort())
                      .arg(m_wb->db.name(), test::TestDb::user(), test::TestDb::password())
                      .toUtf8());
        ini.close();
        QVERIFY(m_wb->db.exec(QStringLiteral("UPDATE projects SET project_smtp_username='mailer@example.org', "
                                             "project_smtp_password='pw', project_smtp_host='127.0.0.1', project_smtp_port='%1'")
                                  .arg(sink.port())));
        QVERIFY(m_wb->db.exec(QStringLiteral("INSERT INTO omaterials SET omaterial_name='Письмо', omaterial_subject='Тема', "
                                             "omaterial_body_text='Текст', omaterial_project_id=%1")
                                  .arg(m_wb->projectId)));
        m_wb->main->projects->cbProjectsChange();
        const int a = section(QStringLiteral("A"));
        const int one = contact(QStringLiteral("Первый"), {a});
        const int two = contact(QStringLiteral("Второй"), {a});
        m_wb->db.exec(QStringLiteral("UPDATE contacts SET contact_email='one@example.ru' WHERE contact_id=%1").arg(one));
        m_wb->db.exec(QStringLiteral("UPDATE contacts SET contact_email='two@example.ru' WHERE contact_id=%1").arg(two));
        open(QStringLiteral("A"));
        QCOMPARE(listed(), (QStringList{"|Первый", "|Второй"}));
        m_view->N14->trigger();
        QCOMPARE(p.started.size(), 1);
        QTRY_COMPARE_WITH_TIMEOUT(p.messages.size(), 1, 60000);
        QCOMPARE(sink.mails().size(), 1);
        QCOMPARE(sink.mails()[0].recipients, QStringList{QStringLiteral("one@example.ru")});
        const QStringList rows = listed();
        QCOMPARE(rows.size(), 2);
        QVERIFY2(rows[0].startsWith(QStringLiteral("Разослано (")) && rows[0].endsWith(QStringLiteral(")|Первый")),
                 qPrintable(rows[0]));
        QVERIFY2(rows[1].startsWith(QStringLiteral("Была ошибка (")) && rows[1].endsWith(QStringLiteral(")|Второй")),
                 qPrintable(rows[1]));
        QCOMPARE(statusBar(), (QStringList{"Контактов Всего: 2", "Контактов Новых: 0"}));
        // Exit 1 with its meaning, and the mailer's own account of the run.
        QVERIFY2(
            p.messages[0].startsWith(QStringLiteral("Рассылка завершена с ошибками: письмо получили не все контакты раздела")),
            qPrintable(p.messages[0]));
        QVERIFY2(p.messages[0].contains(QStringLiteral("DAVireza: разослано 1 из 2")), qPrintable(p.messages[0]));
    }

    // However the mailer ends, the list of the section it mailed is filled
    // again while it is shown, and an end other than 0 says what it means; a
    // mailer that ends after the user moved on leaves the other list alone.
    void mailerEndIsToldWithItsMeaning()
    {
        ScriptedPrompt p;
        QVERIFY(m_wb->db.exec(QStringLiteral("UPDATE projects SET project_smtp_username='u', project_smtp_password='p', "
                                             "project_smtp_host='127.0.0.1', project_smtp_port='25' WHERE project_id=%1")
                                  .arg(m_wb->projectId)));
        QVERIFY(m_wb->db.exec(
            QStringLiteral("INSERT INTO omaterials SET omaterial_name='Письмо', omaterial_project_id=%1").arg(m_wb->projectId)));
        const int letter = m_wb->db.scalar(QStringLiteral("SELECT MAX(omaterial_id) FROM omaterials")).toInt();
        m_wb->main->projects->cbProjectsChange();
        const int a = section(QStringLiteral("A"));
        const int b = section(QStringLiteral("B"));
        const int one = contact(QStringLiteral("Первый"), {a});
        contact(QStringLiteral("Другой"), {b});
        const auto mailed = [&](int contactId, const char *status) {
            QVERIFY(
                m_wb->db.exec(QStringLiteral("INSERT INTO oreglog SET orl_contact_id=%1, orl_material_id=%2, orl_status='%3', "
                                             "orl_datetime='2026-02-03 04:05:06' ON DUPLICATE KEY UPDATE orl_status='%3'")
                                  .arg(contactId)
                                  .arg(letter)
                                  .arg(QLatin1String(status))));
        };
        struct End {
            int code;
            QString output, meaning;
        };
        const QList<End> ends{
            {0, QStringLiteral("DAVireza: разослано 1 из 1\n"), QString()},
            {2, QStringLiteral("DAVireza: ожидаются пять чисел\n"),
             QStringLiteral("Рассылка не выполнена: программе рассылки переданы неверные параметры.")},
            {3, QString(), QStringLiteral("Рассылка не выполнена: письмо или раздел контактов не относятся к проекту.")},
            {4,
             QStringLiteral(
                 "DAVireza: письмо отправлено, но не записано в журнал рассылки: контакт %1 \"Первый\" <a@b.example>\n")
                 .arg(one),
             QStringLiteral("Рассылка остановлена: письмо отправлено, но не записано в журнал рассылки.")},
            {-1, QString(), QStringLiteral("Программа рассылки завершилась аварийно.")}};
        open(QStringLiteral("A"));
        for (const End &e : ends) {
            m_wb->db.exec(QStringLiteral("DELETE FROM oreglog"));
            m_view->relist();
            QCOMPARE(listed(), QStringList{"|Первый"});
            p.messages.clear();
            m_view->N15->trigger();
            mailed(one, e.code == 0 ? "1" : "2");
            QCOMPARE(listed(), QStringList{"|Первый"});
            p.end(p.started.size() - 1, e.code, e.output);
            QCOMPARE(listed(), QStringList{e.code == 0 ? "Разослано (2026-02-03 04:05:06)|Первый"
                                                       : "Была ошибка (2026-02-03 04:05:06)|Первый"});
            if (e.meaning.isEmpty()) {
                QCOMPARE(p.messages, QStringList());
                continue;
            }
            QCOMPARE(p.messages.size(), 1);
            QVERIFY2(p.messages[0].startsWith(e.meaning), qPrintable(p.messages[0]));
            QVERIFY2(p.messages[0].contains(e.output.trimmed()), qPrintable(p.messages[0]));
        }
        // Another section listed meanwhile: its list stays as it is.
        m_view->N14->trigger();
        open(QStringLiteral("B"));
        QCOMPARE(listed(), QStringList{"|Другой"});
        mailed(one, "1");
        p.messages.clear();
        p.end(p.started.size() - 1, 1);
        QCOMPARE(listed(), QStringList{"|Другой"});
        QCOMPARE(p.messages.size(), 1);
        QCOMPARE(m_wb->ctx.CurrentContactSectionId, b);
    }

    // The editor's fields hold a 40,000-character value whole and save it;
    // a contact another copy changed meanwhile is written over only after
    // asking; a value longer than its column is refused with the field named.
    void editorKeepsLongTextsAndGuardsTheRow()
    {
        ScriptedPrompt p;
        qv::test::SecondCopy other(m_wb->db);
        QVERIFY2(other.ok(), qPrintable(other.error()));
        const int a = section(QStringLiteral("A"));
        const int id = contact(QStringLiteral("Контакт"), {a});
        const QString where = QStringLiteral(" FROM contacts WHERE contact_id=") + QString::number(id);
        open(QStringLiteral("A"));
        m_view->lvContacts->setCurrentIndex(m_view->contactsModel->index(0, 2));
        m_view->lvContactsDblClick();
        QCOMPARE(m_view->pcContacts->currentIndex(), 1);
        auto &edit = m_view->edit;
        const QString address = QString(39999, QLatin1Char('a')) + QLatin1Char('z');
        const QString company = QString(39999, QLatin1Char('c')) + QLatin1Char('!');
        edit.address->setText(address);
        edit.organization->setEditText(company);
        QCOMPARE(edit.address->text().size(), 40000);
        QCOMPARE(edit.organization->currentText(), company);
        QVERIFY(
            other.exec(QStringLiteral("UPDATE contacts SET contact_tel='их телефон' WHERE contact_id=") + QString::number(id)));

        p.answers = {false};
        edit.save->click();
        QCOMPARE(
            p.questions,
            QStringList{QStringLiteral(
                "Запись изменена в базе после того, как вы её открыли. Записать ваши изменения поверх?\n"
                "В другой копии программы изменено поле \"Телефоны (через запятую)\"; его значение в базе будет заменено значением из этого окна.")});
        QCOMPARE(m_wb->db.rows(QStringLiteral("SELECT contact_address, contact_tel") + where),
                 QStringList{QStringLiteral("|их телефон")});
        QCOMPARE(m_view->pcContacts->currentIndex(), 1);
        QCOMPARE(edit.address->text(), address);

        p.answers = {true};
        edit.save->click();
        QCOMPARE(p.questions.size(), 2);
        QCOMPARE(m_wb->db.rows(QStringLiteral("SELECT CHAR_LENGTH(contact_address), contact_company=") + db::Sql(company)
                               + QStringLiteral(", contact_tel") + where),
                 QStringList{QStringLiteral("40000|1|")});
        QCOMPARE(m_view->pcContacts->currentIndex(), 0);
        QVERIFY(p.messages.isEmpty());

        // A new contact whose name does not fit: refused, nothing written.
        m_view->pcContacts->setCurrentIndex(2);
        auto &add = m_view->add;
        add.fio->setText(QString(70000, QLatin1Char('f')));
        add.tree->setState(add.tree->findItems(QStringLiteral("A"), Qt::MatchExactly).value(0), 2);
        add.save->click();
        QCOMPARE(p.messages.size(), 1);
        QVERIFY2(p.messages[0].contains(QStringLiteral("\"ФИО\"")) && p.messages[0].contains(QStringLiteral("65535 байт")),
                 qPrintable(p.messages[0]));
        QCOMPARE(m_wb->db.scalar(QStringLiteral("SELECT COUNT(*) FROM contacts")), QStringLiteral("1"));
        QCOMPARE(add.fio->text().size(), 70000);
        QCOMPARE(m_view->pcContacts->currentIndex(), 2);
    }
};

QTEST_MAIN(TestContactsView)
#include "tst_contactsview.moc"
