// Filters against a real database: the editor's controls and value maps, every
// condition saved and loaded back per kind, the list after a save, adding a
// filter through the navigator, renaming and deleting from the filter menu,
// and names that hold quotes, backslashes, "=" and "&".
#include "app/program.h"
#include "db/query.h"
#include "workbench/filtercommands.h"
#include "workbench/filters_logic.h"
#include "workbench/navigator.h"
#include "workbench/resourcelist.h"
#include "workbench/tfrmfilter.h"
#include "support/scriptedprompt.h"
#include "support/secondcopy.h"
#include "workbenchfixture.h"

#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QTreeWidget>
#include <QtTest>

Q_DECLARE_METATYPE(qv::workbench::FilterEditorValues)

using namespace qv;
using namespace qv::workbench;
using qv::test::childNamed;
using qv::test::childTexts;
using qv::test::click;
using qv::test::ScriptedPrompt;
using qv::test::tooLongName;
using qv::test::Workbench;

namespace {

QStringList comboItems(const QComboBox *cb)
{
    QStringList out;
    for (int i = 0; i < cb->count(); ++i)
        out << cb->itemText(i);
    return out;
}

// The names the resource list shows, sorted.
QStringList listedNames(Workbench &w)
{
    QStringList out;
    for (int i = 0; i < w.main->resources->count(); ++i)
        out << w.main->resources->subItem(i, SubName);
    out.sort();
    return out;
}

struct KindNames {
    core::Kind kind;
    int top;
    QString filters; // table
    QString fp;      // column prefix
};

KindNames kindNames(const QString &kind)
{
    if (kind == QLatin1String("soft"))
        return {core::Kind::Soft, TopSoft, QStringLiteral("sfilters"), QStringLiteral("sfilter_")};
    if (kind == QLatin1String("forums"))
        return {core::Kind::Forums, TopForums, QStringLiteral("ffilters"), QStringLiteral("ffilter_")};
    return {core::Kind::Catalogs, TopCatalogs, QStringLiteral("cfilters"), QStringLiteral("cfilter_")};
}

// A main window with a filter editor attached the way the program attaches it.
struct FilterBench : Workbench {
    TfrmFilter *editor = nullptr;
    FilterBench()
    {
        editor = new TfrmFilter(ctx, main.get(), main.get());
        main->filters->attachEditor(editor);
    }

    QTreeWidgetItem *filtersHeader(int topIndex)
    {
        QTreeWidgetItem *top = main->navigator->top(topIndex);
        if (!childNamed(top, QStringLiteral("Фильтры пользователя")))
            click(*this, top);
        return childNamed(top, QStringLiteral("Фильтры пользователя"));
    }
    QTreeWidgetItem *filterNode(int topIndex, const QString &name) { return childNamed(filtersHeader(topIndex), name); }
    QString stored(const KindNames &k, const QString &name)
    {
        const QString fp = k.fp;
        return db.scalar(QStringLiteral("SELECT CONCAT_WS('|', %1tic, %1pr, %1need_burl, %1redirect, %1autocheck, "
                                        "%1regstatus) FROM %2 WHERE %1name=%3")
                             .arg(fp, k.filters, qv::db::Sql(name)));
    }
};

struct Catalog {
    QString name;
    int pr;
    int tic;
    QString burl;
    QString redirect;
    QString status; // "" none
    QString yandex; // "" no check row
    QString google;
};

void addCatalog(Workbench &w, const Catalog &c)
{
    w.db.exec(QStringLiteral("INSERT INTO catalogs SET catalog_name='%1', catalog_pr='%2', catalog_tic='%3', "
                             "catalog_need_burl='%4', catalog_redirect='%5', catalog_moderate='1'")
                  .arg(c.name)
                  .arg(c.pr)
                  .arg(c.tic)
                  .arg(c.burl, c.redirect));
    const QString id = w.db.scalar(QStringLiteral("SELECT LAST_INSERT_ID()"));
    if (!c.status.isEmpty())
        w.db.exec(QStringLiteral("INSERT INTO creglog SET crl_catalog_id=%1, crl_project_id=%2, crl_user_id=0, "
                                 "crl_datetime='2024-05-06 07:08:09', crl_status='%3'")
                      .arg(id)
                      .arg(w.projectId)
                      .arg(c.status));
    if (!c.yandex.isEmpty()) {
        const bool found = c.yandex == QLatin1String("1") || c.google == QLatin1String("1");
        w.db.exec(QStringLiteral("INSERT INTO gcreglog SET gcrl_catalog_id=%1, gcrl_project_id=%2, gcrl_yandex='%3', "
                                 "gcrl_google='%4', gcrl_status='%5', gcrl_DateTime='2024-05-06 07:08:09'")
                      .arg(id)
                      .arg(w.projectId)
                      .arg(c.yandex, c.google, found ? QStringLiteral("1") : QStringLiteral("0")));
    }
}

} // namespace

class TestFilters : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia)); }

    void editorControls()
    {
        Workbench w;
        TfrmFilter f(w.ctx, w.main.get());
        QCOMPARE(f.objectName(), QStringLiteral("frmFilter"));
        QCOMPARE(f.windowTitle(), QStringLiteral("Фильтр пользователя"));
        QCOMPARE(f.seTIC->minimum(), -1);
        QCOMPARE(f.seTIC->maximum(), 999999);
        QCOMPARE(f.seTIC->value(), -1);
        QCOMPARE(f.sePR->minimum(), -1);
        QCOMPARE(f.sePR->maximum(), 11);
        QCOMPARE(f.sePR->value(), -1);
        QCOMPARE(comboItems(f.cbBURL), (QStringList{"Любое значение", "Не требуют обратную ссылку", "Требуют обратную ссылку"}));
        QCOMPARE(comboItems(f.cbRedirect), (QStringList{"Любое значение", "Прямая", "Редирект"}));
        QCOMPARE(comboItems(f.cbAutoCheck),
                 (QStringList{"Любое значение", "Не найдено ни кем", "Только Яндексом", "Только Гуглом", "Яндексом и Гуглом"}));
        QCOMPARE(comboItems(f.cbRegStatus), (QStringList{"Любое значение", "Проверка", "Добавлен", "Отказано"}));
        for (QComboBox *cb : {f.cbBURL, f.cbRedirect, f.cbAutoCheck, f.cbRegStatus}) {
            QCOMPARE(cb->currentIndex(), 0);
            QVERIFY(!cb->isEditable());
        }
        QCOMPARE(f.btnFilterSave->text(), QStringLiteral("Сохранить"));
        QVERIFY(f.btnFilterSave->font().bold());
        QStringList labels;
        for (QLabel *l : f.findChildren<QLabel *>()) {
            QVERIFY(l->font().bold());
            labels << l->text();
        }
        QCOMPARE(labels, (QStringList{"ТИЦ больше/равно:", "PR  больше/равно:", "Обратная ссылка....", "Прямая ссылка......",
                                      "Авто проверка.......", "Статус регистр......"}));
    }

    void valueMaps()
    {
        QCOMPARE(burlChoice().values, (QStringList{"", "0", "1"}));
        QCOMPARE(redirectChoice().values, (QStringList{"", "0", "1"}));
        QCOMPARE(autoCheckChoice().values, (QStringList{"", "0", "1", "2", "3"}));
        QCOMPARE(regStatusChoice().values, (QStringList{"", "1", "2", "3"}));
        for (const FilterChoice *c : {&burlChoice(), &redirectChoice(), &autoCheckChoice(), &regStatusChoice()}) {
            QCOMPARE(c->items.size(), c->values.size());
            for (int i = 0; i < c->values.size(); ++i) {
                QCOMPARE(IndexOfStored(*c, c->values[i]), i);
                QCOMPARE(StoredAt(*c, i), c->values[i]);
            }
            QCOMPARE(IndexOfStored(*c, QStringLiteral("5")), 0);
            QCOMPARE(IndexOfStored(*c, QStringLiteral(" 1")), 0);
            QCOMPARE(StoredAt(*c, -1), QString());
            QCOMPARE(StoredAt(*c, static_cast<int>(c->values.size())), QString());
        }
        FilterConditions row;
        row.tic = QStringLiteral("abc");
        row.pr = QStringLiteral("7");
        row.regstatus = QStringLiteral("0");
        row.autocheck = QStringLiteral("3");
        const FilterEditorValues v = EditorValuesFromRow(row);
        QCOMPARE(v.tic, -1);
        QCOMPARE(v.pr, 7);
        QCOMPARE(v.regStatus, 0);
        QCOMPARE(v.autoCheck, 4);
        const FilterConditions back = ConditionsFromEditor(v);
        QCOMPARE(back.tic, QStringLiteral("-1"));
        QCOMPARE(back.autocheck, QStringLiteral("3"));
        QCOMPARE(back.regstatus, QString());
    }

    void saveAndLoadEveryValue_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("soft") << QStringLiteral("soft");
        QTest::newRow("catalogs") << QStringLiteral("catalogs");
        QTest::newRow("forums") << QStringLiteral("forums");
    }

    void saveAndLoadEveryValue()
    {
        QFETCH(QString, kind);
        FilterBench w;
        QVERIFY2(w.db.ok(), qPrintable(w.db.error()));
        ScriptedPrompt p;
        const KindNames k = kindNames(kind);
        w.db.exec(QStringLiteral("INSERT INTO %1 SET %2name='Проба'").arg(k.filters, k.fp));
        QTreeWidgetItem *node = w.filterNode(k.top, QStringLiteral("Проба"));
        QVERIFY(node);
        click(w, node);
        QCOMPARE(w.ctx.CurrentKind, k.kind);
        QCOMPARE(w.main->navigator->popupMenu(), w.main->pmFilter);

        const struct {
            QComboBox *cb;
            const FilterChoice *choice;
            int column; // position in stored()
        } lists[] = {{w.editor->cbBURL, &burlChoice(), 2},
                     {w.editor->cbRedirect, &redirectChoice(), 3},
                     {w.editor->cbAutoCheck, &autoCheckChoice(), 4},
                     {w.editor->cbRegStatus, &regStatusChoice(), 5}};
        int round = 0;
        for (const auto &l : lists) {
            for (int i = 0; i < l.cb->count(); ++i, ++round) {
                const int tic = round * 37, pr = round % 12;
                // Save through the editor opened from the menu.
                p.dialogs = {[&](QDialog *d) {
                    auto *f = qobject_cast<TfrmFilter *>(d);
                    f->seTIC->setValue(tic);
                    f->sePR->setValue(pr);
                    for (const auto &other : lists)
                        other.cb->setCurrentIndex(0);
                    l.cb->setCurrentIndex(i);
                    f->btnFilterSaveClick();
                    return f->result();
                }};
                w.main->filters->miFilterEditClick();
                QCOMPARE(w.editor->result(), int(QDialog::Accepted));
                QStringList expected = {QString::number(tic), QString::number(pr), "", "", "", ""};
                expected[l.column] = l.choice->values[i];
                QCOMPARE(w.stored(k, QStringLiteral("Проба")), expected.join(QLatin1Char('|')));

                // Load it back into an editor that shows something else.
                w.editor->setValues({5, 5, 1, 1, 1, 1});
                FilterEditorValues seen;
                QString mode, name;
                core::Kind seenKind = core::Kind::None;
                p.dialogs = {[&](QDialog *d) {
                    auto *f = qobject_cast<TfrmFilter *>(d);
                    seen = f->values();
                    mode = f->EditMode;
                    name = f->FilterName;
                    seenKind = f->Kind;
                    return int(QDialog::Rejected);
                }};
                w.main->filters->miFilterEditClick();
                QCOMPARE(mode, QStringLiteral("edit"));
                QCOMPARE(name, QStringLiteral("Проба"));
                QCOMPARE(seenKind, k.kind);
                QCOMPARE(seen.tic, tic);
                QCOMPARE(seen.pr, pr);
                const int indexes[] = {seen.burl, seen.redirect, seen.autoCheck, seen.regStatus};
                for (int c = 0; c < 4; ++c)
                    QCOMPARE(indexes[c], &lists[c] == &l ? i : 0);
            }
        }
        QCOMPARE(p.dialogsShown.size(), round * 2);
        QVERIFY(p.messages.isEmpty());
    }

    void storedValueOutsideTheMap()
    {
        FilterBench w;
        QVERIFY2(w.db.ok(), qPrintable(w.db.error()));
        ScriptedPrompt p;
        const KindNames k = kindNames(QStringLiteral("catalogs"));
        w.db.exec(QStringLiteral("INSERT INTO cfilters SET cfilter_name='Странный', cfilter_tic='много', "
                                 "cfilter_pr='3', cfilter_need_burl='5', cfilter_redirect='x', cfilter_autocheck='9', "
                                 "cfilter_regstatus='0'"));
        click(w, w.filterNode(TopCatalogs, QStringLiteral("Странный")));
        FilterEditorValues seen{9, 9, 2, 2, 2, 2};
        p.dialogs = {[&](QDialog *d) {
            auto *f = qobject_cast<TfrmFilter *>(d);
            seen = f->values();
            f->btnFilterSaveClick();
            return f->result();
        }};
        w.editor->setValues({4, 4, 2, 2, 2, 2});
        w.main->filters->miFilterEditClick();
        QCOMPARE(seen.tic, -1);
        QCOMPARE(seen.pr, 3);
        QCOMPARE(seen.burl, 0);
        QCOMPARE(seen.redirect, 0);
        QCOMPARE(seen.autoCheck, 0);
        QCOMPARE(seen.regStatus, 0);
        // Saving writes "any" for every list.
        QCOMPARE(w.stored(k, QStringLiteral("Странный")), QStringLiteral("-1|3||||"));
        QVERIFY(p.messages.isEmpty());
    }

    void vanishedRowOpensResetValues()
    {
        FilterBench w;
        QVERIFY2(w.db.ok(), qPrintable(w.db.error()));
        ScriptedPrompt p;
        w.db.exec(QStringLiteral("INSERT INTO cfilters SET cfilter_name='Ушедший', cfilter_pr='4'"));
        click(w, w.filterNode(TopCatalogs, QStringLiteral("Ушедший")));
        w.db.exec(QStringLiteral("DELETE FROM cfilters"));
        w.editor->setValues({100, 5, 2, 2, 4, 3});
        FilterEditorValues seen{9, 9, 2, 2, 2, 2};
        p.dialogs = {[&](QDialog *d) {
            auto *f = qobject_cast<TfrmFilter *>(d);
            seen = f->values();
            f->btnFilterSaveClick();
            return f->result();
        }};
        w.main->filters->miFilterEditClick();
        QCOMPARE(p.dialogsShown, QStringList{"frmFilter"});
        QCOMPARE(seen.tic, -1);
        QCOMPARE(seen.pr, -1);
        QCOMPARE(seen.burl + seen.redirect + seen.autoCheck + seen.regStatus, 0);
        // The save updates nothing, writes no row and still closes the window.
        QCOMPARE(w.editor->result(), int(QDialog::Accepted));
        QCOMPARE(w.db.scalar(QStringLiteral("SELECT COUNT(*) FROM cfilters")), QStringLiteral("0"));
        QVERIFY(p.messages.isEmpty());
    }

    void failingSaveKeepsTheWindowOpen()
    {
        FilterBench w;
        QVERIFY2(w.db.ok(), qPrintable(w.db.error()));
        ScriptedPrompt p;
        w.db.exec(QStringLiteral("INSERT INTO cfilters SET cfilter_name='Ф'"));
        click(w, w.filterNode(TopCatalogs, QStringLiteral("Ф")));
        QVERIFY(w.db.exec(QStringLiteral("CREATE TRIGGER qv_no_update BEFORE UPDATE ON cfilters FOR EACH ROW "
                                         "SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT='refused'")));
        int resultAfterSave = -1;
        p.dialogs = {[&](QDialog *d) {
            auto *f = qobject_cast<TfrmFilter *>(d);
            f->setResult(-1);
            f->sePR->setValue(6);
            f->btnFilterSaveClick();
            resultAfterSave = f->result();
            return int(QDialog::Rejected);
        }};
        w.main->filters->miFilterEditClick();
        QCOMPARE(resultAfterSave, -1);
        QCOMPARE(p.messages.size(), 1);
        QVERIFY(p.messages[0].startsWith(QStringLiteral("Ошибка в запросе:UPDATE cfilters SET")));
        QCOMPARE(w.editor->sePR->value(), 6);
        QCOMPARE(w.db.scalar(QStringLiteral("SELECT cfilter_pr FROM cfilters")), QStringLiteral("-1"));
    }

    // The editor saves the row it loaded, by its id, while that row still
    // holds what was loaded: a change of a condition by another copy is
    // written over only when the user says so, and the question names it; a
    // rename by the other copy changes nothing the editor writes. A value too
    // long for its column is refused with the field named; the window stays.
    void editorGuardsTheRowItLoaded()
    {
        FilterBench w;
        QVERIFY2(w.db.ok(), qPrintable(w.db.error()));
        ScriptedPrompt p;
        qv::test::SecondCopy other(w.db);
        QVERIFY2(other.ok(), qPrintable(other.error()));
        const KindNames k = kindNames(QStringLiteral("catalogs"));
        w.db.exec(QStringLiteral("INSERT INTO cfilters SET cfilter_name='Мой', cfilter_tic='10', cfilter_pr='3'"));
        QStringList seen;
        auto edit = [&](int tic, const QString &meanwhile, const QList<bool> &answers) {
            click(w, w.filterNode(TopCatalogs, QStringLiteral("Мой")));
            p.dialogs = {[&, tic, meanwhile, answers](QDialog *d) {
                auto *f = qobject_cast<TfrmFilter *>(d);
                f->seTIC->setValue(tic);
                if (!meanwhile.isEmpty() && !other.exec(meanwhile))
                    seen << other.error();
                for (bool answer : answers) {
                    f->setResult(-1);
                    p.answers = {answer};
                    f->btnFilterSave->click();
                    seen << QString::number(f->result()) + QLatin1Char('|') + w.stored(k, QStringLiteral("Мой"));
                }
                return f->result();
            }};
            w.main->filters->miFilterEditClick();
        };
        edit(20, QStringLiteral("UPDATE cfilters SET cfilter_pr='5'"), {false, true});
        QCOMPARE(seen, (QStringList{QStringLiteral("-1|10|5||||"), QStringLiteral("1|20|3||||")}));
        QCOMPARE(p.questions,
                 QStringList(
                     2, QStringLiteral("Запись изменена в базе после того, как вы её открыли. Записать ваши изменения поверх?\n"
                                       "В другой копии программы изменено поле \"PR больше/равно\"; его значение в базе "
                                       "будет заменено значением из этого окна.")));

        seen.clear();
        p.answers.clear();
        click(w, w.filterNode(TopCatalogs, QStringLiteral("Мой")));
        p.dialogs = {[&](QDialog *d) {
            auto *f = qobject_cast<TfrmFilter *>(d);
            f->seTIC->setValue(30);
            if (!other.exec(QStringLiteral("UPDATE cfilters SET cfilter_name='Новое имя'")))
                seen << other.error();
            f->btnFilterSave->click();
            return f->result();
        }};
        w.main->filters->miFilterEditClick();
        QCOMPARE(w.stored(k, QStringLiteral("Новое имя")), QStringLiteral("30|3||||"));
        QCOMPARE(p.questions.size(), 2);
        QVERIFY(seen.isEmpty());

        QVERIFY(w.db.exec(QStringLiteral("UPDATE cfilters SET cfilter_name='Мой'")));
        QVERIFY(w.db.exec(QStringLiteral("ALTER TABLE cfilters MODIFY cfilter_tic VARCHAR(3) NOT NULL DEFAULT '-1'")));
        edit(999999, QString(), {true});
        QCOMPARE(seen, QStringList{QStringLiteral("-1|30|3||||")});
        QCOMPARE(p.messages.size(), 1);
        QVERIFY2(p.messages[0].contains(QStringLiteral("\"ТИЦ больше/равно\""))
                     && p.messages[0].contains(QStringLiteral("3 символов")),
                 qPrintable(p.messages[0]));
        QCOMPARE(p.questions.size(), 2);
    }

    void onlyEditModeRefillsTheList()
    {
        FilterBench w;
        QVERIFY2(w.db.ok(), qPrintable(w.db.error()));
        ScriptedPrompt p;
        addCatalog(w, {"low.example", 1, 10, "0", "0", "", "", ""});
        addCatalog(w, {"high.example", 6, 10, "0", "0", "", "", ""});
        w.db.exec(QStringLiteral("INSERT INTO cfilters SET cfilter_name='Мой'"));
        click(w, w.filterNode(TopCatalogs, QStringLiteral("Мой")));
        QCOMPARE(w.main->resources->count(), 2);
        w.editor->prepareAdd(QStringLiteral("Мой"));
        w.editor->sePR->setValue(5);
        w.editor->btnFilterSaveClick();
        QCOMPARE(w.stored(kindNames(QStringLiteral("catalogs")), QStringLiteral("Мой")), QStringLiteral("-1|5||||"));
        QCOMPARE(w.main->resources->count(), 2);
        w.editor->EditMode = QStringLiteral("edit");
        w.editor->btnFilterSaveClick();
        QCOMPARE(listedNames(w), QStringList{"high.example"});
        QVERIFY(p.messages.isEmpty());
    }

    void listFollowsTheSavedConditions_data()
    {
        QTest::addColumn<FilterEditorValues>("values");
        QTest::addColumn<QStringList>("listed");
        const QStringList all = {"a.example", "b.example", "c.example", "d.example"};
        QTest::newRow("any") << FilterEditorValues{} << all;
        QTest::newRow("tic") << FilterEditorValues{50, -1, 0, 0, 0, 0} << QStringList{"b.example", "c.example"};
        QTest::newRow("pr") << FilterEditorValues{-1, 3, 0, 0, 0, 0} << QStringList{"b.example", "c.example"};
        QTest::newRow("no back link") << FilterEditorValues{-1, -1, 1, 0, 0, 0} << QStringList{"a.example", "c.example"};
        QTest::newRow("back link") << FilterEditorValues{-1, -1, 2, 0, 0, 0} << QStringList{"b.example", "d.example"};
        QTest::newRow("direct") << FilterEditorValues{-1, -1, 0, 1, 0, 0} << QStringList{"a.example", "b.example"};
        QTest::newRow("redirect") << FilterEditorValues{-1, -1, 0, 2, 0, 0} << QStringList{"c.example", "d.example"};
        QTest::newRow("found by none") << FilterEditorValues{-1, -1, 0, 0, 1, 0} << QStringList{"d.example"};
        QTest::newRow("Yandex only") << FilterEditorValues{-1, -1, 0, 0, 2, 0} << QStringList{"a.example"};
        QTest::newRow("Google only") << FilterEditorValues{-1, -1, 0, 0, 3, 0} << QStringList{"b.example"};
        QTest::newRow("both") << FilterEditorValues{-1, -1, 0, 0, 4, 0} << QStringList{"c.example"};
        QTest::newRow("checking") << FilterEditorValues{-1, -1, 0, 0, 0, 1} << QStringList{"a.example"};
        QTest::newRow("added") << FilterEditorValues{-1, -1, 0, 0, 0, 2} << QStringList{"b.example"};
        QTest::newRow("refused") << FilterEditorValues{-1, -1, 0, 0, 0, 3} << QStringList{"c.example"};
        QTest::newRow("combined") << FilterEditorValues{11, 1, 0, 1, 0, 0} << QStringList{"b.example"};
    }

    void listFollowsTheSavedConditions()
    {
        QFETCH(FilterEditorValues, values);
        QFETCH(QStringList, listed);
        FilterBench w;
        QVERIFY2(w.db.ok(), qPrintable(w.db.error()));
        ScriptedPrompt p;
        addCatalog(w, {"a.example", 1, 10, "0", "0", "1", "1", "0"});
        addCatalog(w, {"b.example", 5, 100, "1", "0", "2", "0", "1"});
        addCatalog(w, {"c.example", 3, 50, "0", "1", "3", "1", "1"});
        addCatalog(w, {"d.example", 0, 0, "1", "1", "", "", ""});
        // A status reset and a check that found nothing count as none.
        addCatalog(w, {"e.example", 0, 0, "1", "1", "0", "0", "0"});
        listed.sort();
        // Before the edit the filter lists everything but the reserved row.
        w.db.exec(QStringLiteral("INSERT INTO cfilters SET cfilter_name='Мой'"));
        click(w, w.filterNode(TopCatalogs, QStringLiteral("Мой")));
        QCOMPARE(w.main->resources->count(), 5);
        p.dialogs = {[&](QDialog *d) {
            auto *f = qobject_cast<TfrmFilter *>(d);
            f->setValues(values);
            f->btnFilterSaveClick();
            return f->result();
        }};
        w.main->filters->miFilterEditClick();
        QStringList expected = listed;
        // e.example: no status and no engine found it.
        if (values.regStatus == 0 && values.autoCheck <= 1 && values.tic <= 0 && values.pr <= 0 && values.burl != 1
            && values.redirect != 1)
            expected << QStringLiteral("e.example");
        expected.sort();
        QCOMPARE(listedNames(w), expected);
        QVERIFY(p.messages.isEmpty());
    }

    void addOpensTheEditorInAddMode()
    {
        FilterBench w;
        QVERIFY2(w.db.ok(), qPrintable(w.db.error()));
        ScriptedPrompt p;
        addCatalog(w, {"low.example", 1, 10, "0", "0", "", "", ""});
        addCatalog(w, {"high.example", 6, 10, "0", "0", "", "", ""});
        QTreeWidgetItem *header = w.filtersHeader(TopCatalogs);
        // What the last use left in the editor.
        w.editor->setValues({77, 7, 2, 2, 4, 3});
        w.editor->EditMode = QStringLiteral("edit");
        FilterEditorValues seen{9, 9, 9, 9, 9, 9};
        QString mode, name;
        p.inputs = {QStringLiteral("Хорошие")};
        p.dialogs = {[&](QDialog *d) {
            auto *f = qobject_cast<TfrmFilter *>(d);
            seen = f->values();
            mode = f->EditMode;
            name = f->FilterName;
            f->sePR->setValue(5);
            f->btnFilterSaveClick();
            return f->result();
        }};
        click(w, childNamed(header, QStringLiteral("Добавить фильтр")));
        QCOMPARE(p.dialogsShown, QStringList{"frmFilter"});
        QCOMPARE(mode, QStringLiteral("add"));
        QCOMPARE(name, QStringLiteral("Хорошие"));
        QCOMPARE(seen.tic, -1);
        QCOMPARE(seen.pr, -1);
        QCOMPARE(seen.burl + seen.redirect + seen.autoCheck + seen.regStatus, 0);
        QCOMPARE(w.editor->Kind, core::Kind::Catalogs);
        QCOMPARE(w.stored(kindNames(QStringLiteral("catalogs")), QStringLiteral("Хорошие")), QStringLiteral("-1|5||||"));
        QTreeWidgetItem *added = header->child(header->childCount() - 1);
        QCOMPARE(added->text(0), QStringLiteral("Хорошие"));
        QCOMPARE(w.main->trvFilters->currentItem(), added);
        QCOMPARE(listedNames(w), QStringList{"high.example"});
        QVERIFY(p.messages.isEmpty());
    }

    void menuOrderAndHandlers()
    {
        FilterBench w;
        QVERIFY2(w.db.ok(), qPrintable(w.db.error()));
        ScriptedPrompt p;
        QStringList texts;
        for (QAction *a : w.main->pmFilter->actions())
            texts << (a->isSeparator() ? QStringLiteral("-") : a->text());
        QCOMPARE(texts, (QStringList{"Редактировать параметры фильтра...", "Переименовать фильтр...", "-", "Удалить фильтр..."}));
        w.db.exec(QStringLiteral("INSERT INTO cfilters SET cfilter_name='Ф'"));
        // With no selected node the three commands do nothing (nothing is asked).
        w.main->trvFilters->setCurrentItem(nullptr);
        w.main->filters->miFilterEdit->trigger();
        w.main->filters->N33->trigger();
        w.main->filters->N35->trigger();
        // Nor on a node that is not a filter.
        click(w, w.main->navigator->top(TopCatalogs));
        w.main->filters->N33->trigger();
        w.main->filters->N35->trigger();
        QVERIFY(p.dialogsShown.isEmpty());
        QVERIFY(p.inputCaptions.isEmpty());
        QVERIFY(p.questions.isEmpty());
        // The items run their handlers.
        click(w, w.filterNode(TopCatalogs, QStringLiteral("Ф")));
        p.dialogs = {[](QDialog *) { return int(QDialog::Rejected); }};
        w.main->filters->miFilterEdit->trigger();
        QCOMPARE(p.dialogsShown, QStringList{"frmFilter"});
        p.inputs = {QStringLiteral("Ф2")};
        w.main->filters->N33->trigger();
        QCOMPARE(p.inputCaptions, QStringList{"Переименование фильтра"});
        p.answers = {false};
        w.main->filters->N35->trigger();
        QCOMPARE(p.questions, QStringList{"Вы действительно хотите удалить фильтр:\"Ф2\"?"});
    }

    void renameFilter()
    {
        FilterBench w;
        QVERIFY2(w.db.ok(), qPrintable(w.db.error()));
        ScriptedPrompt p;
        w.db.exec(QStringLiteral("INSERT INTO cfilters SET cfilter_name='Альфа', cfilter_pr='2'"));
        w.db.exec(QStringLiteral("INSERT INTO cfilters SET cfilter_name='Бета'"));
        w.db.exec(QStringLiteral("INSERT INTO sfilters SET sfilter_name='Гамма'"));
        QTreeWidgetItem *node = w.filterNode(TopCatalogs, QStringLiteral("Альфа"));
        click(w, node);
        const QString taken = QStringLiteral("Фильтр с таким названием уже существует! Придумайте другое название фильтра!");
        const QString before = w.db.rows(QStringLiteral("SELECT cfilter_name FROM cfilters ORDER BY cfilter_id")).join(',');

        // Another filter's name, the same name in another case, a cancelled
        // box (which gives back the old name) and an empty name are refused.
        const QList<std::optional<QString>> refused = {QStringLiteral("Бета"), QStringLiteral("бета"), std::nullopt, QString(),
                                                       QStringLiteral("  ")};
        for (const auto &answer : refused) {
            p.inputs = {answer};
            w.main->filters->N33Click();
        }
        const QString empty = QStringLiteral("Название фильтра не может быть пустым!");
        QCOMPARE(p.messages, (QStringList{taken, taken, taken, empty, empty}));
        QCOMPARE(w.db.rows(QStringLiteral("SELECT cfilter_name FROM cfilters ORDER BY cfilter_id")).join(','), before);
        QCOMPARE(node->text(0), QStringLiteral("Альфа"));

        // A name used by another kind's filter is free here.
        p.messages.clear();
        p.inputs = {QStringLiteral("Гамма")};
        w.main->filters->N33Click();
        QVERIFY(p.messages.isEmpty());
        QCOMPARE(node->text(0), QStringLiteral("Гамма"));
        QCOMPARE(w.db.rows(QStringLiteral("SELECT cfilter_name, cfilter_pr FROM cfilters ORDER BY cfilter_id")),
                 (QStringList{"Гамма|2", "Бета|-1"}));
        QCOMPARE(w.db.scalar(QStringLiteral("SELECT COUNT(*) FROM sfilters WHERE sfilter_name='Гамма'")), QStringLiteral("1"));
        // The renamed node still lists through its filter.
        click(w, node);
        QCOMPARE(w.main->navigator->popupMenu(), w.main->pmFilter);
        QVERIFY(p.messages.isEmpty());
    }

    void deleteFilterKeepsTheResources()
    {
        FilterBench w;
        QVERIFY2(w.db.ok(), qPrintable(w.db.error()));
        ScriptedPrompt p;
        addCatalog(w, {"a.example", 1, 10, "0", "0", "", "", ""});
        addCatalog(w, {"b.example", 2, 10, "0", "0", "", "", ""});
        w.db.exec(QStringLiteral("INSERT INTO cfilters SET cfilter_name='Удаляемый'"));
        w.db.exec(QStringLiteral("INSERT INTO cfilters SET cfilter_name='Остаётся'"));
        QTreeWidgetItem *header = w.filtersHeader(TopCatalogs);
        click(w, childNamed(header, QStringLiteral("Удаляемый")));
        QCOMPARE(w.main->resources->count(), 2);
        const int nodes = header->childCount();

        p.answers = {false};
        w.main->filters->N35Click();
        QCOMPARE(p.questions, QStringList{"Вы действительно хотите удалить фильтр:\"Удаляемый\"?"});
        QCOMPARE(w.db.scalar(QStringLiteral("SELECT COUNT(*) FROM cfilters")), QStringLiteral("2"));
        QCOMPARE(header->childCount(), nodes);

        p.answers = {true};
        w.main->filters->N35Click();
        QCOMPARE(w.db.rows(QStringLiteral("SELECT cfilter_name FROM cfilters")), QStringList{"Остаётся"});
        QCOMPARE(header->childCount(), nodes - 1);
        QVERIFY(!childNamed(header, QStringLiteral("Удаляемый")));
        QVERIFY(childNamed(header, QStringLiteral("Остаётся")));
        // The resources stay; the filter's list leaves the screen.
        QCOMPARE(w.db.scalar(QStringLiteral("SELECT COUNT(*) FROM catalogs WHERE catalog_name LIKE '%.example'")),
                 QStringLiteral("2"));
        QCOMPARE(w.main->resources->count(), 0);
        // Nothing is selected afterwards: the commands act on nothing.
        QCOMPARE(w.main->trvFilters->currentItem(), nullptr);
        w.main->filters->N35Click();
        QCOMPARE(p.questions.size(), 2);
        QVERIFY(p.messages.isEmpty());
    }

    // A name longer than its column is refused with one message naming the
    // field and its limit, and nothing is written; the limit itself fits.
    void overLongNamesAreRefused()
    {
        FilterBench w;
        QVERIFY2(w.db.ok(), qPrintable(w.db.error()));
        ScriptedPrompt p;
        w.db.exec(QStringLiteral("INSERT INTO cfilters SET cfilter_name='Альфа'"));
        QTreeWidgetItem *header = w.filtersHeader(TopCatalogs);
        const QString name(256, QChar(0x44F));
        p.inputs = {name};
        click(w, childNamed(header, QStringLiteral("Добавить фильтр")));
        QCOMPARE(p.messages, QStringList{tooLongName(QStringLiteral("Введите название нового фильтра"))});
        QVERIFY(p.dialogsShown.isEmpty());

        p.messages.clear();
        QTreeWidgetItem *node = childNamed(header, QStringLiteral("Альфа"));
        click(w, node);
        p.inputs = {name};
        w.main->filters->N33->trigger();
        QCOMPARE(p.messages, QStringList{tooLongName(QStringLiteral("Введите новое имя фильтра"))});
        QCOMPARE(node->text(0), QStringLiteral("Альфа"));
        QCOMPARE(w.db.rows(QStringLiteral("SELECT cfilter_name FROM cfilters")), QStringList{"Альфа"});

        p.messages.clear();
        p.inputs = {name.left(255)};
        w.main->filters->N33->trigger();
        QVERIFY(p.messages.isEmpty());
        QCOMPARE(w.db.rows(QStringLiteral("SELECT cfilter_name FROM cfilters")), QStringList{name.left(255)});
    }

    // Another copy renamed the filter first: the rename or delete by the old
    // name finds no row, says so and builds the branch again from the base.
    void renameAndDeleteAfterAnotherCopy()
    {
        FilterBench w;
        QVERIFY2(w.db.ok(), qPrintable(w.db.error()));
        ScriptedPrompt p;
        addCatalog(w, {"a.example", 1, 10, "0", "0", "", "", ""});
        w.db.exec(QStringLiteral("INSERT INTO cfilters SET cfilter_name='Альфа'"));
        test::SecondCopy other(w.db);
        QVERIFY2(other.ok(), qPrintable(other.error()));
        QTreeWidgetItem *top = w.main->navigator->top(TopCatalogs);
        click(w, w.filterNode(TopCatalogs, QStringLiteral("Альфа")));
        QCOMPARE(w.main->resources->count(), 1);
        const QString elsewhere = QStringLiteral("Фильтр \"%1\" изменён или удалён в другой копии программы: ничего не "
                                                 "записано. Ветка навигатора построена заново по базе.");

        QVERIFY2(other.exec(QStringLiteral("UPDATE cfilters SET cfilter_name='Бета' WHERE cfilter_name='Альфа'")),
                 qPrintable(other.error()));
        p.inputs = {QStringLiteral("Гамма")};
        w.main->filters->N33->trigger();
        QCOMPARE(p.messages, QStringList{elsewhere.arg(QStringLiteral("Альфа"))});
        QCOMPARE(w.db.rows(QStringLiteral("SELECT cfilter_name FROM cfilters")), QStringList{"Бета"});
        QCOMPARE(childTexts(childNamed(top, QStringLiteral("Фильтры пользователя"))), (QStringList{"Добавить фильтр", "Бета"}));
        QCOMPARE(w.main->trvFilters->currentItem(), top);
        QCOMPARE(w.main->resources->count(), 0);

        p.messages.clear();
        click(w, w.filterNode(TopCatalogs, QStringLiteral("Бета")));
        QVERIFY2(other.exec(QStringLiteral("UPDATE cfilters SET cfilter_name='Дельта' WHERE cfilter_name='Бета'")),
                 qPrintable(other.error()));
        p.answers = {true};
        w.main->filters->N35->trigger();
        QCOMPARE(p.messages, QStringList{elsewhere.arg(QStringLiteral("Бета"))});
        QCOMPARE(w.db.rows(QStringLiteral("SELECT cfilter_name FROM cfilters")), QStringList{"Дельта"});
        QCOMPARE(childTexts(childNamed(top, QStringLiteral("Фильтры пользователя"))), (QStringList{"Добавить фильтр", "Дельта"}));
    }

    void namesWithQuotesBackslashesEqualsAndAmpersand()
    {
        FilterBench w;
        QVERIFY2(w.db.ok(), qPrintable(w.db.error()));
        ScriptedPrompt p;
        addCatalog(w, {"low.example", 1, 10, "0", "0", "", "", ""});
        addCatalog(w, {"high.example", 6, 10, "0", "0", "", "", ""});
        const QString name = QStringLiteral("Мой \"фильтр\" \\ a=b & c'd\\");
        const QString renamed = QStringLiteral("=&\\\"'");
        QTreeWidgetItem *header = w.filtersHeader(TopCatalogs);
        p.inputs = {name};
        p.dialogs = {[&](QDialog *d) {
            auto *f = qobject_cast<TfrmFilter *>(d);
            f->sePR->setValue(5);
            f->btnFilterSaveClick();
            return f->result();
        }};
        click(w, childNamed(header, QStringLiteral("Добавить фильтр")));
        QCOMPARE(w.db.rows(QStringLiteral("SELECT cfilter_name, cfilter_pr FROM cfilters")), QStringList{name + "|5"});
        QTreeWidgetItem *node = childNamed(header, name);
        QVERIFY(node);
        QCOMPARE(listedNames(w), QStringList{"high.example"});

        // Loaded back, edited, listed again.
        int prSeen = 0;
        p.dialogs = {[&](QDialog *d) {
            auto *f = qobject_cast<TfrmFilter *>(d);
            prSeen = f->sePR->value();
            f->sePR->setValue(-1);
            f->btnFilterSaveClick();
            return f->result();
        }};
        w.main->filters->miFilterEditClick();
        QCOMPARE(prSeen, 5);
        QCOMPARE(listedNames(w), (QStringList{"high.example", "low.example"}));

        p.inputs = {renamed};
        w.main->filters->N33Click();
        QCOMPARE(node->text(0), renamed);
        QCOMPARE(w.db.rows(QStringLiteral("SELECT cfilter_name FROM cfilters")), QStringList{renamed});
        // The rename refuses the same tricky name as a duplicate.
        p.inputs = {renamed};
        w.main->filters->N33Click();
        QCOMPARE(p.messages.size(), 1);

        p.answers = {true};
        w.main->filters->N35Click();
        QCOMPARE(p.questions, QStringList{"Вы действительно хотите удалить фильтр:\"" + renamed + "\"?"});
        QCOMPARE(w.db.scalar(QStringLiteral("SELECT COUNT(*) FROM cfilters")), QStringLiteral("0"));
        QCOMPARE(p.messages.size(), 1);
    }

    void programCreatesTheEditor()
    {
        // The editor as the program creates and attaches it.
        Workbench w;
        QVERIFY2(w.db.ok(), qPrintable(w.db.error()));
        ScriptedPrompt p;
        app::AppWindows windows;
        auto *editor = new TfrmFilter(w.ctx, w.main.get(), w.main.get());
        windows.frmFilter = editor;
        w.main->attachWindows(&windows);
        QCOMPARE(w.main->filters->editor(), editor);
        QTreeWidgetItem *header = nullptr;
        click(w, w.main->navigator->top(TopSoft));
        header = childNamed(w.main->navigator->top(TopSoft), QStringLiteral("Фильтры пользователя"));
        p.inputs = {QStringLiteral("Софт")};
        QString mode;
        p.dialogs = {[&](QDialog *d) {
            mode = qobject_cast<TfrmFilter *>(d)->EditMode;
            return int(QDialog::Rejected);
        }};
        click(w, childNamed(header, QStringLiteral("Добавить фильтр")));
        QCOMPARE(mode, QStringLiteral("add"));
        QCOMPARE(w.db.rows(QStringLiteral("SELECT sfilter_name, sfilter_tic FROM sfilters")), QStringList{"Софт|-1"});
        w.main->windows = nullptr;
    }
};

QTEST_MAIN(TestFilters)
#include "tst_filters.moc"
