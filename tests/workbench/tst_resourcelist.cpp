// The resource list fill against a real database: rubric, section and filter
// lists with statuses and check results, forum statuses per press release,
// moderator mode, and the sort by column.
#include "projects/projectchoice.h"
#include "workbench/resourcelist.h"
#include "workbench/resourcelist_model.h"
#include "support/scriptedprompt.h"
#include "users/tfrmusers.h"
#include "workbenchfixture.h"

#include <QHeaderView>
#include <QTreeWidget>
#include <QTableView>
#include <QToolButton>
#include <QtTest>

using namespace qv;
using namespace qv::workbench;
using qv::test::ScriptedPrompt;
using qv::test::Workbench;

namespace {

struct Catalog {
    QString name;
    QString pr = QStringLiteral("1");
    QString tic = QStringLiteral("10");
    QString needBurl = QStringLiteral("0");
    QString redirect = QStringLiteral("0");
    QString moderate = QStringLiteral("1");
};

int addCatalog(Workbench &w, const Catalog &c, QList<int> rubrics = {11})
{
    w.db.exec(QStringLiteral("INSERT INTO catalogs SET catalog_name='%1', catalog_title='Title %1', "
                             "catalog_description='Note %1', catalog_url='http://%1', catalog_aurl='http://%1/add', "
                             "catalog_purl='http://%1/p', catalog_pr='%2', catalog_tic='%3', catalog_need_burl='%4', "
                             "catalog_redirect='%5', catalog_moderate='%6', catalog_datetime_add='2024-01-02 03:04:05', "
                             "catalog_datetime_edit='2024-02-03 04:05:06'")
                  .arg(c.name, c.pr, c.tic, c.needBurl, c.redirect, c.moderate));
    const int id = w.db.scalar(QStringLiteral("SELECT LAST_INSERT_ID()")).toInt();
    for (int r : rubrics)
        w.db.exec(QStringLiteral("INSERT INTO csubjects2catalogs SET s2c_catalog_id=%1, s2c_subject_id=%2").arg(id).arg(r));
    return id;
}

void setStatus(Workbench &w, int catalogId, int projectId, const QString &status, const QString &when)
{
    w.db.exec(QStringLiteral("INSERT INTO creglog SET crl_catalog_id=%1, crl_project_id=%2, crl_user_id=0, "
                             "crl_datetime='%3', crl_status='%4'")
                  .arg(catalogId)
                  .arg(projectId)
                  .arg(when, status));
}

void setCheck(Workbench &w, int catalogId, int projectId, const QString &ya, const QString &ge, const QString &status)
{
    w.db.exec(QStringLiteral("INSERT INTO gcreglog SET gcrl_catalog_id=%1, gcrl_project_id=%2, gcrl_yandex='%3', "
                             "gcrl_google='%4', gcrl_status='%5', gcrl_DateTime='2024-03-04 05:06:07'")
                  .arg(catalogId)
                  .arg(w.projectId)
                  .arg(ya, ge, status));
    Q_UNUSED(projectId);
}

int rowOf(const ResourceList &list, const QString &name)
{
    for (int i = 0; i < list.count(); ++i) {
        if (list.subItem(i, SubName) == name)
            return i;
    }
    return -1;
}

QStringList names(const ResourceList &list)
{
    QStringList out;
    for (int i = 0; i < list.count(); ++i)
        out << list.subItem(i, SubName);
    return out;
}

QStringList sortedNames(const ResourceList &list)
{
    QStringList n = names(list);
    n.sort();
    return n;
}

ListSource rubric(int id) { return {ListSource::Rubric, id, {}}; }
ListSource filter(const QString &name) { return {ListSource::Filter, 0, name}; }

} // namespace

class TestResourceList : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // A caption that does not fit its column ends in "…": the narrow header
    // looks exactly as it does with some shortened caption ending in "…"
    // (and not as the whole caption cut at the column's edge). Both the
    // resource list and the users list.
    void narrowColumnCaptionsEndInAnEllipsis()
    {
        Workbench w;
        users::TfrmUsers usersList(w.ctx, nullptr);
        struct Case {
            QHeaderView *header;
            int column;
            std::function<void(const QString &)> setCaption;
        };
        ResourceListModel *model = qobject_cast<ResourceListModel *>(w.main->lvLinks->model());
        QVERIFY(model);
        const QList<Case> cases{
            {w.main->lvLinks->horizontalHeader(), 0, [&](const QString &c) { model->setColumnCaption(0, c); }},
            {usersList.lvUsers->header(), 0, [&](const QString &c) { usersList.lvUsers->headerItem()->setText(0, c); }}};
        for (const Case &c : cases) {
            QHeaderView *h = c.header;
            h->resizeSection(c.column, 60);
            h->window()->resize(900, 300);
            h->window()->show();
            QVERIFY(QTest::qWaitForWindowExposed(h->window()));
            const QString caption = h->model()->headerData(c.column, Qt::Horizontal).toString();
            QVERIFY(h->fontMetrics().horizontalAdvance(caption) > 60);
            const QRect section(h->sectionViewportPosition(c.column), 0, h->sectionSize(c.column), h->height());
            QVERIFY(h->viewport()->rect().contains(section));
            const QImage drawn = h->grab(section).toImage();
            c.setCaption(QString());
            QVERIFY(h->grab(section).toImage() != drawn);
            bool matched = false;
            for (int room = 1; room < 60 && !matched; ++room) {
                const QString shortened = h->fontMetrics().elidedText(caption, Qt::ElideRight, room);
                if (!shortened.endsWith(QChar(0x2026)) || shortened.size() < 2)
                    continue;
                c.setCaption(shortened);
                matched = h->grab(section).toImage() == drawn;
            }
            c.setCaption(caption);
            QVERIFY2(matched, qPrintable(caption));
            h->window()->hide();
        }
    }

    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia)); }

    void rubricListWithStatusesChecksAndHiddenData()
    {
        Workbench w;
        QVERIFY2(w.db.ok(), qPrintable(w.db.error()));
        ScriptedPrompt p;
        const int a = addCatalog(w, {QStringLiteral("a.example"), QStringLiteral("5"), QStringLiteral("100"), QString(),
                                     QStringLiteral("0"), QStringLiteral("1")});
        const int b = addCatalog(w, {QStringLiteral("b.example"), QStringLiteral("-"), QStringLiteral("?"), QStringLiteral("0"),
                                     QStringLiteral("1"), QStringLiteral("0")});
        const int c = addCatalog(w, {QStringLiteral("c.example")}, {12});
        setStatus(w, a, w.projectId, QStringLiteral("2"), QStringLiteral("2024-04-05 06:07:08"));
        setStatus(w, a, w.projectId + 1, QStringLiteral("3"), QStringLiteral("2024-04-05 06:07:09"));
        setStatus(w, b, w.projectId, QStringLiteral("0"), QStringLiteral("2024-04-05 06:07:08"));
        setStatus(w, c, w.projectId, QStringLiteral("1"), QStringLiteral("2024-04-05 06:07:08"));
        setCheck(w, a, w.projectId, QStringLiteral("1"), QStringLiteral("0"), QStringLiteral("1"));
        setCheck(w, b, w.projectId, QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("0"));

        w.ctx.CurrentKind = core::Kind::Catalogs;
        ResourceList &list = *w.main->resources;
        QVERIFY(list.fill(rubric(11)));
        QCOMPARE(sortedNames(list), (QStringList{"a.example", "b.example"}));
        const int ra = rowOf(list, QStringLiteral("a.example"));
        QCOMPARE(list.caption(ra), QStringLiteral("Я (2024-03-04 05:06:07)"));
        const QStringList expected = {
            QStringLiteral("Добавлен (2024-04-05 06:07:08)"),
            QStringLiteral("a.example"),
            QStringLiteral("Title a.example"),
            QStringLiteral("Note a.example"),
            QStringLiteral("5"),
            QStringLiteral("100"),
            QStringLiteral("Требуют обратную ссылку"),
            QStringLiteral("Прямая"),
            QStringLiteral("2024-01-02 03:04:05"),
            QStringLiteral("2024-02-03 04:05:06"),
            QString::number(a),
            QStringLiteral("http://a.example"),
            QStringLiteral("http://a.example/add"),
            QStringLiteral("http://a.example/p"),
        };
        for (int i = 0; i < SubItemCount; ++i)
            QCOMPARE(list.subItem(ra, i), expected[i]);
        const int rb = rowOf(list, QStringLiteral("b.example"));
        QCOMPARE(list.caption(rb), QString());
        QCOMPARE(list.subItem(rb, SubStatus), QString());
        QCOMPARE(list.subItem(rb, SubBackLink), QStringLiteral("Не требуют обратной ссылки"));
        QCOMPARE(list.subItem(rb, SubLinkType), QStringLiteral("Редирект"));
        // The view shows the caption in column 0 and sub-item i in column i + 1.
        const QAbstractItemModel *m = w.main->lvLinks->model();
        QCOMPARE(m->columnCount(), 12);
        QCOMPARE(m->index(ra, 0).data().toString(), list.caption(ra));
        QCOMPARE(m->index(ra, 11).data().toString(), QString::number(a));
        QCOMPARE(m->headerData(6, Qt::Horizontal).toString().remove(QLatin1Char('*')), QStringLiteral("тИЦ"));
        QVERIFY(!m->index(ra, 0).data(Qt::DecorationRole).isNull());

        // Moderator mode: unmoderated rows say so in place of their status.
        w.ctx.AdminMode = true;
        setStatus(w, b, w.projectId, QStringLiteral("1"), QStringLiteral("2024-04-05 06:07:10"));
        QVERIFY(list.fill(rubric(11)));
        QCOMPARE(list.subItem(rowOf(list, QStringLiteral("b.example")), SubStatus), QStringLiteral("Без модерации"));
        QCOMPARE(list.subItem(rowOf(list, QStringLiteral("a.example")), SubStatus),
                 QStringLiteral("Добавлен (2024-04-05 06:07:08)"));
        // A filter still judges the unmoderated row by its real status.
        w.db.exec(QStringLiteral("INSERT INTO cfilters SET cfilter_name='checking', cfilter_regstatus='1'"));
        QVERIFY(list.fill(filter(QStringLiteral("checking"))));
        QCOMPARE(sortedNames(list), (QStringList{"b.example", "c.example"}));
        QCOMPARE(list.subItem(rowOf(list, QStringLiteral("b.example")), SubStatus), QStringLiteral("Без модерации"));
        QCOMPARE(list.subItem(rowOf(list, QStringLiteral("c.example")), SubStatus),
                 QStringLiteral("Проверка (2024-04-05 06:07:08)"));
        QVERIFY(p.messages.isEmpty());
    }

    void sectionListAndLinkedTwice()
    {
        Workbench w;
        QVERIFY2(w.db.ok(), qPrintable(w.db.error()));
        ScriptedPrompt p;
        const int a = addCatalog(w, {QStringLiteral("a.example")}, {11, 11});
        const int c = addCatalog(w, {QStringLiteral("c.example")}, {12});
        addCatalog(w, {QStringLiteral("d.example")});
        w.db.exec(QStringLiteral("INSERT INTO cgroups SET cgroup_name='Мой', cgroup_project_id=%1").arg(w.projectId));
        const int g = w.db.scalar(QStringLiteral("SELECT LAST_INSERT_ID()")).toInt();
        for (int id : {a, c})
            w.db.exec(QStringLiteral("INSERT INTO cgroups2catalogs SET cg2c_cgroup_id=%1, cg2c_catalog_id=%2").arg(g).arg(id));
        w.db.exec(QStringLiteral("INSERT INTO cgroups2catalogs SET cg2c_cgroup_id=%1, cg2c_catalog_id=%2")
                      .arg(g)
                      .arg(w.db.scalar(QStringLiteral("SELECT catalog_id FROM catalogs WHERE catalog_name='Корзина'")).toInt()));
        w.ctx.CurrentKind = core::Kind::Catalogs;
        ResourceList &list = *w.main->resources;
        QVERIFY(list.fill({ListSource::Section, g, {}}));
        // A section shows the reserved row when it is linked.
        QCOMPARE(sortedNames(list), (QStringList{"a.example", "c.example", "Корзина"}));
        // The same resource linked twice to one rubric is listed twice.
        QVERIFY(list.fill(rubric(11)));
        QCOMPARE(sortedNames(list), (QStringList{"a.example", "a.example", "d.example"}));
        // An empty rubric: an empty list, no message.
        QVERIFY(list.fill(rubric(16)));
        QCOMPARE(list.count(), 0);
        QVERIFY(p.messages.isEmpty());
    }

    void filtersWithEveryCondition()
    {
        Workbench w;
        QVERIFY2(w.db.ok(), qPrintable(w.db.error()));
        ScriptedPrompt p;
        // name, pr, tic, need_burl, redirect
        const int hi = addCatalog(w, {QStringLiteral("hi.example"), QStringLiteral("5"), QStringLiteral("500"),
                                      QStringLiteral("1"), QStringLiteral("0")});
        const int mid = addCatalog(w, {QStringLiteral("mid.example"), QStringLiteral("3"), QStringLiteral("100"),
                                       QStringLiteral("0"), QStringLiteral("1")});
        const int low = addCatalog(w, {QStringLiteral("low.example"), QStringLiteral("-"), QStringLiteral("?"),
                                       QStringLiteral("0"), QStringLiteral("0")});
        const int none = addCatalog(w, {QStringLiteral("none.example"), QStringLiteral("0"), QStringLiteral("0"),
                                        QStringLiteral("1"), QStringLiteral("1")});
        setStatus(w, hi, w.projectId, QStringLiteral("2"), QStringLiteral("2024-01-01 00:00:00"));
        setStatus(w, mid, w.projectId, QStringLiteral("1"), QStringLiteral("2024-01-01 00:00:00"));
        setStatus(w, low, w.projectId, QStringLiteral("3"), QStringLiteral("2024-01-01 00:00:00"));
        setStatus(w, none, w.projectId, QStringLiteral("0"), QStringLiteral("2024-01-01 00:00:00"));
        setCheck(w, hi, w.projectId, QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("1"));
        setCheck(w, mid, w.projectId, QStringLiteral("1"), QStringLiteral("0"), QStringLiteral("1"));
        setCheck(w, low, w.projectId, QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("1"));

        auto addFilter = [&](const QString &name, const QString &set) {
            w.db.exec(QStringLiteral("INSERT INTO cfilters SET cfilter_name='%1'%2").arg(name, set));
        };
        addFilter(QStringLiteral("all"), QString());
        addFilter(QStringLiteral("tic"), QStringLiteral(", cfilter_tic='100'"));
        addFilter(QStringLiteral("pr"), QStringLiteral(", cfilter_pr='4'"));
        addFilter(QStringLiteral("redirect"), QStringLiteral(", cfilter_redirect='1'"));
        addFilter(QStringLiteral("direct"), QStringLiteral(", cfilter_redirect='0'"));
        addFilter(QStringLiteral("burl"), QStringLiteral(", cfilter_need_burl='1'"));
        addFilter(QStringLiteral("checking"), QStringLiteral(", cfilter_regstatus='1'"));
        addFilter(QStringLiteral("added"), QStringLiteral(", cfilter_regstatus='2'"));
        addFilter(QStringLiteral("refused"), QStringLiteral(", cfilter_regstatus='3'"));
        addFilter(QStringLiteral("found none"), QStringLiteral(", cfilter_autocheck='0'"));
        addFilter(QStringLiteral("yandex only"), QStringLiteral(", cfilter_autocheck='1'"));
        addFilter(QStringLiteral("google only"), QStringLiteral(", cfilter_autocheck='2'"));
        addFilter(QStringLiteral("both"), QStringLiteral(", cfilter_autocheck='3'"));
        addFilter(QStringLiteral("added by both"), QStringLiteral(", cfilter_autocheck='3', cfilter_regstatus='2'"));
        addFilter(QStringLiteral("combined"), QStringLiteral(", cfilter_tic='50', cfilter_redirect='1', cfilter_need_burl='0'"));
        addFilter(QStringLiteral("quote\"d"), QStringLiteral(", cfilter_pr='5'"));

        w.ctx.CurrentKind = core::Kind::Catalogs;
        ResourceList &list = *w.main->resources;
        const QList<QPair<QString, QStringList>> cases = {
            {QStringLiteral("all"), {"hi.example", "low.example", "mid.example", "none.example"}},
            {QStringLiteral("tic"), {"hi.example", "mid.example"}},
            {QStringLiteral("pr"), {"hi.example"}},
            {QStringLiteral("redirect"), {"mid.example", "none.example"}},
            {QStringLiteral("direct"), {"hi.example", "low.example"}},
            {QStringLiteral("burl"), {"hi.example", "none.example"}},
            {QStringLiteral("checking"), {"mid.example"}},
            {QStringLiteral("added"), {"hi.example"}},
            {QStringLiteral("refused"), {"low.example"}},
            {QStringLiteral("found none"), {"none.example"}},
            {QStringLiteral("yandex only"), {"mid.example"}},
            {QStringLiteral("google only"), {"low.example"}},
            {QStringLiteral("both"), {"hi.example"}},
            {QStringLiteral("added by both"), {"hi.example"}},
            {QStringLiteral("combined"), {"mid.example"}},
            {QStringLiteral("quote\"d"), {"hi.example"}},
        };
        for (const auto &c : cases) {
            QVERIFY2(list.fill(filter(c.first)), qPrintable(c.first));
            QCOMPARE(sortedNames(list), c.second);
        }
        // A filter whose row is gone: an empty list and no message.
        QVERIFY(!list.fill(filter(QStringLiteral("gone"))));
        QCOMPARE(list.count(), 0);
        QVERIFY(p.messages.isEmpty());
    }

    // An empty flag reads as set in the list; the filters on the flags say
    // the same of it.
    void emptyFlagsListAndFilterAlike()
    {
        Workbench w;
        QVERIFY2(w.db.ok(), qPrintable(w.db.error()));
        ScriptedPrompt p;
        addCatalog(w, {QStringLiteral("blank.example"), QStringLiteral("1"), QStringLiteral("1"), QString(), QString()});
        addCatalog(w, {QStringLiteral("zero.example"), QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("0"),
                       QStringLiteral("0")});
        for (const char *f : {"cfilter_redirect='1'", "cfilter_redirect='0'", "cfilter_need_burl='1'", "cfilter_need_burl='0'"})
            QVERIFY(w.db.exec(QStringLiteral("INSERT INTO cfilters SET cfilter_name='%1', %2")
                                  .arg(QString::fromLatin1(f).remove(QLatin1Char('\'')), QLatin1String(f))));
        w.ctx.CurrentKind = core::Kind::Catalogs;
        ResourceList &list = *w.main->resources;
        QVERIFY(list.fill(rubric(11)));
        QStringList shown;
        for (int i = 0; i < list.count(); ++i)
            shown << list.subItem(i, SubName) + QLatin1Char('|') + list.subItem(i, SubBackLink) + QLatin1Char('|')
                         + list.subItem(i, SubLinkType);
        shown.sort();
        QCOMPARE(shown, (QStringList{"blank.example|Требуют обратную ссылку|Редирект",
                                     "zero.example|Не требуют обратной ссылки|Прямая"}));
        const QList<QPair<QString, QStringList>> cases = {
            {QStringLiteral("cfilter_redirect=1"), {"blank.example"}},
            {QStringLiteral("cfilter_redirect=0"), {"zero.example"}},
            {QStringLiteral("cfilter_need_burl=1"), {"blank.example"}},
            {QStringLiteral("cfilter_need_burl=0"), {"zero.example"}},
        };
        for (const auto &c : cases) {
            QVERIFY2(list.fill(filter(c.first)), qPrintable(c.first));
            QCOMPARE(sortedNames(list), c.second);
        }
        QVERIFY(p.messages.isEmpty());
    }

    void forumStatusesFollowThePressRelease()
    {
        Workbench w;
        QVERIFY2(w.db.ok(), qPrintable(w.db.error()));
        ScriptedPrompt p;
        w.db.exec(QStringLiteral("INSERT INTO forums SET forum_name='f.example', forum_pr='2', forum_tic='20', "
                                 "forum_need_burl='1', forum_redirect='1', forum_moderate='1'"));
        const int f = w.db.scalar(QStringLiteral("SELECT LAST_INSERT_ID()")).toInt();
        w.db.exec(QStringLiteral("INSERT INTO fsubjects2forums SET s2f_forum_id=%1, s2f_subject_id=5").arg(f));
        w.db.exec(QStringLiteral("INSERT INTO fmaterials SET fmaterial_name='M1', fmaterial_project_id=%1").arg(w.projectId));
        const int m1 = w.db.scalar(QStringLiteral("SELECT LAST_INSERT_ID()")).toInt();
        w.db.exec(QStringLiteral("INSERT INTO fmaterials SET fmaterial_name='M2', fmaterial_project_id=%1").arg(w.projectId));
        const int m2 = w.db.scalar(QStringLiteral("SELECT LAST_INSERT_ID()")).toInt();
        w.db.exec(QStringLiteral("INSERT INTO freglog SET frl_forum_id=%1, frl_material_id=%2, frl_datetime='2024-01-01 "
                                 "10:00:00', frl_status='2'")
                      .arg(f)
                      .arg(m1));
        w.db.exec(QStringLiteral("INSERT INTO freglog SET frl_forum_id=%1, frl_material_id=%2, frl_datetime='2024-01-01 "
                                 "11:00:00', frl_status='3'")
                      .arg(f)
                      .arg(m2));
        w.ctx.CurrentKind = core::Kind::Forums;
        ResourceList &list = *w.main->resources;
        // The main window's choice counts, not what an editor load left in the context.
        w.main->projects->cbProjectsChange();
        QComboBox *active = w.main->cbFMaterials;
        active->setCurrentIndex(active->findData(m1));
        w.ctx.CurrentMaterialId = m2;
        QVERIFY(list.fill(rubric(5)));
        QCOMPARE(list.count(), 1);
        QCOMPARE(list.subItem(0, SubStatus), QStringLiteral("Добавлен (2024-01-01 10:00:00)"));
        // The forums list shows neither link flag.
        QCOMPARE(list.subItem(0, SubBackLink), QString());
        QCOMPARE(list.subItem(0, SubLinkType), QString());
        active->setCurrentIndex(active->findData(m2));
        w.ctx.CurrentMaterialId = m1;
        QVERIFY(list.fill(rubric(5)));
        QCOMPARE(list.subItem(0, SubStatus), QStringLiteral("Отказано (2024-01-01 11:00:00)"));
        // No active press release: the forums are listed without statuses.
        active->setCurrentIndex(-1);
        QVERIFY(list.fill(rubric(5)));
        QCOMPARE(list.count(), 1);
        QCOMPARE(list.subItem(0, SubStatus), QString());
        QVERIFY(p.messages.isEmpty());
    }

    void softListHasNoNoteOrFlags()
    {
        Workbench w;
        QVERIFY2(w.db.ok(), qPrintable(w.db.error()));
        ScriptedPrompt p;
        w.db.exec(QStringLiteral("INSERT INTO soft SET soft_name='s.example', soft_title='S', soft_pr='1', soft_tic='2', "
                                 "soft_url='http://s', soft_aurl='http://s/a'"));
        const int s = w.db.scalar(QStringLiteral("SELECT LAST_INSERT_ID()")).toInt();
        w.db.exec(QStringLiteral("INSERT INTO ssubjects2soft SET s2s_soft_id=%1, s2s_subject_id=7").arg(s));
        w.db.exec(QStringLiteral("INSERT INTO sreglog SET srl_soft_id=%1, srl_project_id=%2, srl_datetime='2024-01-01 "
                                 "00:00:01', srl_status='1'")
                      .arg(s)
                      .arg(w.projectId));
        w.ctx.CurrentKind = core::Kind::Soft;
        ResourceList &list = *w.main->resources;
        QVERIFY(list.fill(rubric(7)));
        QCOMPARE(list.count(), 1);
        QCOMPARE(list.subItem(0, SubStatus), QStringLiteral("Проверка (2024-01-01 00:00:01)"));
        QCOMPARE(list.subItem(0, SubNote), QString());
        QCOMPARE(list.subItem(0, SubBackLink), QString());
        QCOMPARE(list.subItem(0, SubRegUrl), QStringLiteral("http://s/a"));
        // Another kind: nothing is listed.
        w.ctx.CurrentKind = core::Kind::Contacts;
        QVERIFY(!list.fill(rubric(7)));
        QCOMPARE(list.count(), 0);
        QVERIFY(p.messages.isEmpty());
    }

    void failingStatementIsReportedAndLeavesTheListEmpty()
    {
        Workbench w;
        QVERIFY2(w.db.ok(), qPrintable(w.db.error()));
        ScriptedPrompt p;
        addCatalog(w, {QStringLiteral("a.example")});
        w.db.exec(QStringLiteral("DROP TABLE gcreglog"));
        w.ctx.CurrentKind = core::Kind::Catalogs;
        QVERIFY(!w.main->resources->fill(rubric(11)));
        QCOMPARE(w.main->resources->count(), 0);
        QCOMPARE(p.messages.size(), 1);
        QVERIFY(p.messages[0].startsWith(QStringLiteral("Ошибка в запросе:SELECT * FROM gcreglog")));
    }

    void columnClickSortsAndMovesTheMarker()
    {
        Workbench w;
        QVERIFY2(w.db.ok(), qPrintable(w.db.error()));
        ScriptedPrompt p;
        const int a = addCatalog(w, {QStringLiteral("b-site.example"), QStringLiteral("-"), QStringLiteral("7")});
        const int b = addCatalog(w, {QStringLiteral("A-site.example"), QStringLiteral("4"), QStringLiteral("?")});
        const int c = addCatalog(w, {QStringLiteral("c-site.example"), QStringLiteral("?"), QString()});
        const int d = addCatalog(w, {QStringLiteral("d-site.example"), QString(), QStringLiteral("7")});
        setStatus(w, a, w.projectId, QStringLiteral("1"), QStringLiteral("2024-01-01 00:00:00"));
        setStatus(w, b, w.projectId, QStringLiteral("2"), QStringLiteral("2024-01-01 00:00:00"));
        setStatus(w, c, w.projectId, QStringLiteral("3"), QStringLiteral("2024-01-01 00:00:00"));
        setCheck(w, b, w.projectId, QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("1"));
        setCheck(w, c, w.projectId, QStringLiteral("1"), QStringLiteral("0"), QStringLiteral("1"));
        Q_UNUSED(d);
        w.ctx.CurrentKind = core::Kind::Catalogs;
        ResourceList &list = *w.main->resources;
        ResourceListModel &m = *list.model();
        QVERIFY(list.fill(rubric(11)));
        QCOMPARE(w.ctx.LastSortColumn, 5);
        list.resort(); // what the navigator does after a fill: PR, highest first
        QCOMPARE(m.columnCaption(5), QStringLiteral("*PR"));
        QCOMPARE(list.subItem(0, SubName), QStringLiteral("A-site.example"));
        for (int i = 1; i < 4; ++i)
            QCOMPARE(list.subItem(i, SubPr), QStringLiteral("0"));

        list.lvLinksColumnClick(6); // TIC
        QCOMPARE(m.columnCaption(5), QStringLiteral("PR"));
        QCOMPARE(m.columnCaption(6), QStringLiteral("*тИЦ"));
        QCOMPARE(w.ctx.LastSortColumn, 6);
        QCOMPARE(list.subItem(0, SubTic), QStringLiteral("7"));
        QCOMPARE(list.subItem(1, SubTic), QStringLiteral("7"));
        QCOMPARE(list.subItem(3, SubTic), QStringLiteral("0"));

        list.lvLinksColumnClick(2); // URL, case-insensitive
        QCOMPARE(names(list), (QStringList{"A-site.example", "b-site.example", "c-site.example", "d-site.example"}));
        list.lvLinksColumnClick(1); // status: empty first, then alphabetical
        QCOMPARE(names(list), (QStringList{"d-site.example", "A-site.example", "c-site.example", "b-site.example"}));
        list.lvLinksColumnClick(0); // check text descending: Я before Г, empty last
        QCOMPARE(list.subItem(0, SubName), QStringLiteral("c-site.example"));
        QCOMPARE(list.subItem(1, SubName), QStringLiteral("A-site.example"));
        QCOMPARE(list.caption(3), QString());

        // A column that does not sort: the marker moves, the order stays, and
        // the next fill is not re-sorted.
        const QStringList before = names(list);
        list.lvLinksColumnClick(9);
        QCOMPARE(m.columnCaption(9), QStringLiteral("*Добавлен"));
        QCOMPARE(m.columnCaption(0), QStringLiteral("Авто-проверка регистрации (Яндекс, Гугл)"));
        QCOMPARE(w.ctx.LastSortColumn, 9);
        QCOMPARE(names(list), before);
        QVERIFY(list.fill(rubric(11)));
        list.resort();
        QCOMPARE(m.columnCaption(9), QStringLiteral("*Добавлен"));
        QCOMPARE(list.subItem(0, SubName), QStringLiteral("b-site.example")); // server order
        QCOMPARE(list.subItem(0, SubPr), QStringLiteral("-"));

        // A click on the view's header runs the handler.
        w.main->lvLinks->horizontalHeader()->sectionClicked(5);
        QCOMPARE(w.ctx.LastSortColumn, 5);
        QVERIFY(p.messages.isEmpty());
    }

    void selectionStatusButtonsAndCellUpdates()
    {
        Workbench w;
        QVERIFY2(w.db.ok(), qPrintable(w.db.error()));
        ScriptedPrompt p;
        addCatalog(w, {QStringLiteral("a.example"), QStringLiteral("1")});
        addCatalog(w, {QStringLiteral("b.example"), QStringLiteral("9")});
        auto *button = new QToolButton(w.main.get());
        button->setObjectName(QStringLiteral("tbnStatus2"));
        w.main->tbnStatus2 = button;
        button->setCheckable(true);
        button->setChecked(true);
        bool handlerRan = false;
        connect(button, &QToolButton::toggled, this, [&] { handlerRan = true; });
        w.ctx.CurrentKind = core::Kind::Catalogs;
        ResourceList &list = *w.main->resources;
        QVERIFY(list.fill(rubric(11)));
        QVERIFY(!button->isChecked());
        QVERIFY(!handlerRan);
        list.resort();
        QCOMPARE(list.selectedRow(), -1);
        QCOMPARE(list.selectedSubItem(SubName), QString());
        list.selectRow(1);
        QCOMPARE(list.selectedRow(), 1);
        QCOMPARE(list.selectedSubItem(SubName), QStringLiteral("a.example"));
        // A sort keeps the selection on its resource.
        list.lvLinksColumnClick(2);
        QCOMPARE(list.selectedSubItem(SubName), QStringLiteral("a.example"));
        QCOMPARE(list.selectedRow(), 0);
        // The status buttons change one cell of the selected item.
        list.setSubItem(list.selectedRow(), SubStatus, QStringLiteral("Проверка (2024-01-01 00:00:00)"));
        QCOMPARE(w.main->lvLinks->model()->index(0, 1).data().toString(), QStringLiteral("Проверка (2024-01-01 00:00:00)"));
    }
};

QTEST_MAIN(TestResourceList)
#include "tst_resourcelist.moc"
