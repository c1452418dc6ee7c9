// The contact editor's tabs and the mailing commands of the contacts view.
#include "mainview/mainview.h"
#include "contacts/contactsview.h"
#include "contacts/mailingoutcome.h"
#include "contacts/tfrmemailconfig.h"
#include "controls/tmirztreeview.h"
#include "controls/treewalk.h"
#include "core/appcontext.h"
#include "core/launcher.h"
#include "core/prompt.h"
#include "db/assignments.h"
#include "db/database.h"
#include "db/columnlimits.h"
#include "db/query.h"
#include "db/rowguard.h"

#include <QComboBox>
#include <QPointer>
#include <QSet>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTableView>

namespace qv::contacts {

using core::prompt;

namespace {
constexpr int SectionIdRole = Qt::UserRole;

void fillSectionTree(controls::TmirzTreeView *tree, const std::vector<controls::TreeRow> &rows)
{
    tree->clear();
    tree->beginLoad();
    controls::BuildRowTree(tree, nullptr, controls::PlanTreeRows(rows), [](const controls::TreeRowNode &r) {
        auto *n = new QTreeWidgetItem(QStringList{r.name});
        n->setData(0, SectionIdRole, r.id);
        return n;
    });
    tree->expandAll();
    tree->endLoad();
}

// The columns of a contacts row the editor writes, in the row's order from
// its second column on.
const QStringList &contactColumns()
{
    static const QStringList columns{
        QStringLiteral("contact_FIO"),        QStringLiteral("contact_company"), QStringLiteral("contact_status"),
        QStringLiteral("contact_department"), QStringLiteral("contact_tel"),     QStringLiteral("contact_email"),
        QStringLiteral("contact_address"),    QStringLiteral("contact_site"),    QStringLiteral("contact_fax")};
    return columns;
}
// What a save writes: every value with the caption of its field; site and
// fax are always empty.
QList<db::FieldValue> contactFields(const ContactsView::Fields &f, bool editing)
{
    return {{QStringLiteral("contact_FIO"), QStringLiteral("ФИО:"), f.fio->text()},
            {QStringLiteral("contact_company"), QStringLiteral("Организация:"), f.organization->currentText()},
            {QStringLiteral("contact_status"), QStringLiteral("Должность:"), f.status->text()},
            {QStringLiteral("contact_department"), QStringLiteral("Отдел:"), f.department->text()},
            {QStringLiteral("contact_tel"),
             editing ? QStringLiteral("Телефоны (через запятую):") : QStringLiteral("Телефоны (можно несколько через запятую):"),
             f.tel->text()},
            {QStringLiteral("contact_email"), QStringLiteral("Email (можно несколько через запятую):"), f.email->text()},
            {QStringLiteral("contact_address"), QStringLiteral("Адрес:"), f.address->text()},
            {QStringLiteral("contact_site"), QString(), QString()},
            {QStringLiteral("contact_fax"), QString(), QString()}};
}
} // namespace

void ContactsView::lvContactsDblClick()
{
    // Moving to the tab prepares it.
    if (pcContacts->currentIndex() == 1)
        pcContactsChange();
    else
        pcContacts->setCurrentIndex(1);
}

void ContactsView::clearFields(const Fields &f)
{
    for (QLineEdit *e : {f.fio, f.address, f.status, f.department, f.tel, f.email})
        e->clear();
    f.organization->setEditText(QString());
}

bool ContactsView::loadEditTab()
{
    // Nothing of the contact shown before stays on the tab: it shows the
    // contact once every read has come through, or nothing.
    m_loadedContactId = 0;
    m_loadedRow = db::LoadedRow();
    clearFields(edit);
    edit.tree->clear();
    const int id = SelectedContactId;
    const auto rows = ReadSections(m_ctx.CurrentProjectId);
    if (!rows)
        return false;
    bool failed = false;
    const auto row = db::FirstRow(QStringLiteral("SELECT * FROM contacts WHERE contact_id=") + db::SqlInt(id), &failed);
    if (failed)
        return false;
    if (!row) {
        // The contact went away meanwhile: back to the list.
        pcContacts->setCurrentIndex(0);
        return false;
    }
    // The ticks from one statement.
    QSet<int> member;
    if (!db::ForEachRow(QStringLiteral("SELECT s2o_subject_id FROM osubjects2contacts WHERE s2o_contact_id=") + db::SqlInt(id),
                        [&](const db::Row &r) { member.insert(static_cast<int>(db::ParseInt(r[0]).value_or(0))); }))
        return false;
    edit.fio->setText(row->value(1));
    edit.organization->setEditText(row->value(2));
    edit.status->setText(row->value(3));
    edit.department->setText(row->value(4));
    edit.tel->setText(row->value(5));
    edit.email->setText(row->value(6));
    edit.address->setText(row->value(7));
    db::LoadedRow loaded(QStringLiteral("contacts"), QStringLiteral("contact_id"), id);
    for (qsizetype i = 0; i < contactColumns().size(); ++i)
        loaded.set(contactColumns()[i], row->value(i + 1));
    fillSectionTree(edit.tree, *rows);
    const QList<QTreeWidgetItem *> nodes = controls::TreeItems(edit.tree);
    edit.tree->beginLoad();
    for (QTreeWidgetItem *n : nodes)
        edit.tree->setState(n, member.contains(n->data(0, SectionIdRole).toInt()) ? 2 : 1);
    // Exactly the contact's sections: only a user's click pushes a tick down.
    edit.tree->endLoadAsAssigned();
    m_loadedContactId = id;
    m_loadedRow = loaded;
    return true;
}

void ContactsView::pcContactsChange()
{
    const int tab = pcContacts->currentIndex();
    if (tab == 2) {
        const auto rows = ReadSections(m_ctx.CurrentProjectId);
        if (!rows)
            return;
        fillSectionTree(add.tree, *rows);
        add.tree->beginLoad();
        for (QTreeWidgetItem *n : controls::TreeItems(add.tree))
            add.tree->setState(n, 1);
        add.tree->endLoad();
        clearFields(add);
    } else if (tab == 1) {
        if (!lvContacts->selectionModel()->currentIndex().isValid() || SelectedContactId <= 0) {
            pcContacts->setCurrentIndex(0);
            return;
        }
        loadEditTab();
    }
}

std::optional<QList<int>> ContactsView::contactToSave(const Fields &f, bool editing) const
{
    if (editing && m_loadedContactId <= 0) {
        prompt().message(QStringLiteral("Контакт не загружен для редактирования: выберите контакт в списке на вкладке "
                                        "\"Контакты\" и откройте эту вкладку снова."));
        return std::nullopt;
    }
    if (f.fio->text().isEmpty() && f.organization->currentText().isEmpty() && f.email->text().isEmpty()) {
        prompt().message(QStringLiteral("Вы не ввели данных! Внесите хотя бы одно из: ФИО, Название организации, EMail"));
        return std::nullopt;
    }
    QList<int> ticked;
    for (QTreeWidgetItem *n : controls::TreeItems(f.tree)) {
        if (controls::TmirzTreeView::state(n) == 2)
            ticked << n->data(0, SectionIdRole).toInt();
    }
    if (ticked.isEmpty()) {
        prompt().message(QStringLiteral("Вы не выбрали раздел куда будете сохранять контакт!"));
        return std::nullopt;
    }
    return ticked;
}

bool ContactsView::writeContact(bool editing, const QString &values, const QList<int> &sections, qint64 &id)
{
    if (editing) {
        if (db::ExecQuery(QStringLiteral("UPDATE contacts SET ") + values + QStringLiteral(" WHERE contact_id=") + db::SqlInt(id))
            != 0)
            return false;
    } else {
        if (db::ExecQuery(QStringLiteral("INSERT INTO contacts SET ") + values) != 0)
            return false;
        id = static_cast<qint64>(db::DbConnection().lastInsertId());
    }
    if (db::ExecQuery(QStringLiteral("DELETE osubjects2contacts FROM osubjects2contacts JOIN osubjects ON "
                                     "osubjects.osubject_id=osubjects2contacts.s2o_subject_id WHERE s2o_contact_id=")
                      + db::SqlInt(id) + QStringLiteral(" AND osubjects.osubject_project_id=")
                      + db::SqlInt(m_ctx.CurrentProjectId))
        != 0)
        return false;
    QString links;
    for (int section : sections)
        links += (links.isEmpty() ? QString() : QStringLiteral(",")) + QStringLiteral("(%1,%2)").arg(section).arg(id);
    return db::ExecQuery(QStringLiteral("INSERT INTO osubjects2contacts (s2o_subject_id,s2o_contact_id) VALUES ") + links) == 0;
}

void ContactsView::btnContactSaveClick()
{
    const bool editing = pcContacts->currentIndex() == 1;
    const Fields &f = editing ? edit : add;
    const auto ticked = contactToSave(f, editing);
    if (!ticked)
        return;
    const QList<db::FieldValue> fields = contactFields(f, editing);
    if (!db::FieldsFit(QStringLiteral("contacts"), fields))
        return;
    QStringList assigned;
    for (const db::FieldValue &v : fields)
        assigned << db::Assignment(v.column, v.value);
    const QString values = assigned.join(QStringLiteral(", "));
    qint64 id = m_loadedContactId;
    // One transaction: the row, then its links to this project's sections.
    const auto write = [&] { return writeContact(editing, values, *ticked, id); };
    // A new contact has no loaded row to compare with.
    db::LoadedRow unchecked;
    db::LoadedRow &loaded = editing && m_loadedRow.id() == id ? m_loadedRow : unchecked;
    switch (db::SaveRow(loaded, fields, write)) {
    case db::SaveOutcome::Saved: break;
    case db::SaveOutcome::Gone:
        // The contact went away since it was loaded: back to the list.
        prompt().message(QStringLiteral("Контакт не найден в базе: возможно, он удалён."));
        pcContacts->setCurrentIndex(0);
        relist();
        return;
    case db::SaveOutcome::Declined:
    case db::SaveOutcome::Failed:
        // The edits stay on the tab, unsaved.
        return;
    }
    pcContacts->setCurrentIndex(0);
    relist();
}

// ---- SMTP settings and the mailer ----

void ContactsView::tbEmailConfigClick()
{
    if (!m_emailConfig || m_ctx.CurrentProjectId <= 0)
        return;
    if (!m_emailConfig->load(m_ctx.CurrentProjectId))
        return;
    prompt().exec(m_emailConfig);
}

void ContactsView::N32Click()
{
    prompt().message(QStringLiteral("Возможность вывода наклеек для конвертов будет реализовано в след. версии"));
}

void ContactsView::launchMailer(int mode)
{
    if (m_ctx.CurrentProjectId <= 0)
        return;
    bool failed = false;
    const auto row = db::FirstRow(QStringLiteral("SELECT project_smtp_username, project_smtp_password, project_smtp_host, "
                                                 "project_smtp_port FROM projects WHERE project_id=")
                                      + db::SqlInt(m_ctx.CurrentProjectId),
                                  &failed);
    if (failed)
        return;
    if (!row || row->value(0).isEmpty() || row->value(1).isEmpty() || row->value(2).isEmpty() || row->value(3).isEmpty()) {
        prompt().message(QStringLiteral("Для начала рассылки необходимо настроить email сервер"));
        tbEmailConfigClick();
        return;
    }
    bool letterFailed = false;
    Q_ASSERT(m_main.activeLetter);
    const auto letter = m_main.activeLetter ? m_main.activeLetter(&letterFailed) : std::nullopt;
    if (letterFailed)
        return;
    if (!letter) {
        prompt().message(QStringLiteral("Выберите активное письмо для рассылки"));
        return;
    }
    if (m_ctx.CurrentContactSectionId <= 0) {
        prompt().message(QStringLiteral("Выберите раздел контактов для рассылки"));
        return;
    }
    const int projectId = m_ctx.CurrentProjectId, sectionId = m_ctx.CurrentContactSectionId;
    const QStringList arguments{QString::number(projectId), QString::number(letter->id), QString::number(sectionId),
                                QString::number(m_ctx.CurrentUserId.value_or(0)), QString::number(mode)};
    // The mailer runs on its own; its end is heard from the event loop.
    const QPointer<ContactsView> view(this);
    const auto ended = [view, projectId, sectionId](int exitCode, const QString &output) {
        if (view)
            view->mailerEnded(projectId, sectionId, exitCode, output);
    };
    if (core::LaunchWatchedProgram(QStringLiteral("DAVireza/DAVireza"), arguments, m_ctx.AppDir, ended) < 0)
        prompt().message(QStringLiteral("Не удалось запустить программу рассылки: ") + m_ctx.AppDir
                         + QStringLiteral("DAVireza/DAVireza"));
}

void ContactsView::mailerEnded(int projectId, int sectionId, int exitCode, const QString &output)
{
    // The section mailed, while it is the one listed, shows the new statuses.
    if (projectId == m_ctx.CurrentProjectId && sectionId == m_ctx.CurrentContactSectionId)
        listSection(sectionId);
    const QString outcome = MailerOutcomeMessage(exitCode, output);
    if (!outcome.isEmpty())
        prompt().message(outcome, core::MessageIcon::Warning);
}

} // namespace qv::contacts
