// The form filler on local pages in the real browser engine, with a real
// database behind it.
#include "core/appcontext.h"
#include "db/query.h"
#include "support/pagejs.h"
#include "support/scriptedprompt.h"
#include "support/testdb.h"
#include "workbench/formfiller.h"
#include "workbench/pagebridge.h"
#include "workbench/browserpane.h"
#include "workbench/navigator.h"
#include "workbench/tfrmauth.h"
#include "userroad.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QToolButton>
#include <QWebEngineView>
#include <QtTest>

using namespace qv;
using namespace qv::workbench;
using qv::test::ScriptedPrompt;
using qv::test::TestDb;

namespace {
const char *const kPage = R"HTML(<!doctype html><html><head><meta charset="utf-8"></head><body>
<form>
<input name="title" id="title">
<input name="Email" type="email" id="email">
<input type="hidden" name="title" id="hiddenTitle" value="keep">
<input name="login" id="login">
<input type="password" name="pwd" id="pwd">
<input type="password" name="pwd2" id="pwd2">
<input type="checkbox" name="title" id="check" value="on">
<textarea name="descr" id="descr"></textarea>
<textarea id="nameless"></textarea>
<select name="region" id="region"><option>--</option><option>Бизнес</option><option>Москва</option></select>
</form></body></html>)HTML";

// A registration form of a software archive.
const char *const kSoftPage = R"HTML(<!doctype html><html><head><meta charset="utf-8"></head><body>
<form>
<input name="progname" id="progname">
<input name="ver" id="ver">
<input name="mail" type="email" id="mail">
<textarea name="changes" id="changes"></textarea>
</form></body></html>)HTML";

} // namespace

class TestFormFiller : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<TestDb> m_db;
    QTemporaryDir m_dir;
    core::AppContext m_ctx;
    std::unique_ptr<QWebEngineView> m_web;
    std::unique_ptr<QMenu> m_fill;
    std::unique_ptr<TfrmAuth> m_auth;
    std::unique_ptr<FormFiller> m_filler;
    int m_project = 0;
    int m_resource = 0;

    // Runs a fill to its end.
    FormFillResult finished(FormFiller &filler, const std::function<FormFillResult()> &start)
    {
        QSignalSpy spy(&filler, &FormFiller::fillFinished);
        const FormFillResult r = start();
        if (r != FormFillResult::Started)
            return r;
        if (spy.isEmpty() && !spy.wait(20000))
            return FormFillResult::Started;
        return spy.first().first().value<FormFillResult>();
    }
    FormFillResult fill()
    {
        return finished(*m_filler, [this] { return m_filler->tbFeelClick(); });
    }
    FormFillResult fillWith(QAction *item)
    {
        return finished(*m_filler, [&] { return m_filler->FillMenuItemClick(item); });
    }

    QString js(const QString &script) { return qv::test::evaluateJs(m_web.get(), script).toString(); }
    QString value(const char *id)
    {
        return js(QStringLiteral("document.getElementById('%1').value").arg(QString::fromLatin1(id)));
    }

    void load(const QString &file, const char *html)
    {
        QFile f(m_dir.filePath(file));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(html);
        f.close();
        QSignalSpy done(m_web.get(), &QWebEngineView::loadFinished);
        m_web->setUrl(QUrl::fromLocalFile(m_dir.filePath(file)));
        QVERIFY(done.wait(20000));
    }

private Q_SLOTS:
    void init()
    {
        m_db = std::make_unique<TestDb>(TestDb::WithSeed);
        QVERIFY2(m_db->ok(), qPrintable(m_db->error()));
        QVERIFY(m_db->exec(QStringLiteral("INSERT INTO projects SET project_name='p', project_url='http://p.example', "
                                          "project_config_deflogin='deflogin'")));
        m_project = m_db->scalar(QStringLiteral("SELECT project_id FROM projects")).toInt();
        QVERIFY(m_db->exec(QStringLiteral("INSERT INTO projects SET project_name='other'")));
        const int other = m_db->scalar(QStringLiteral("SELECT project_id FROM projects WHERE project_name='other'")).toInt();
        for (const char *name : {"A", "B", "C"}) {
            QVERIFY(m_db->exec(QStringLiteral("INSERT INTO cmaterials SET cmaterial_name='%1', cmaterial_project_id=%2, "
                                              "cmaterial_title='Заголовок %1 \"в кавычках\"', cmaterial_email='%1@p.example', "
                                              "cmaterial_description='Строка 1<br>Строка 2 \\\\ %1', cmaterial_city='Москва', "
                                              "cmaterial_categories='бизнес'")
                                   .arg(QString::fromLatin1(name))
                                   .arg(m_project)));
        }
        // Another project's description of the same name.
        QVERIFY(m_db->exec(QStringLiteral("INSERT INTO cmaterials SET cmaterial_name='X', cmaterial_project_id=%1, "
                                          "cmaterial_title='чужой'")
                               .arg(other)));
        QVERIFY(m_db->exec(
            QStringLiteral("INSERT INTO catalogs SET catalog_name='cat.example', catalog_title_site='title, name', "
                           "catalog_email_site='email', catalog_description_site='descr', CATALOG_LOGIN_PROGRAM='login', "
                           "CATALOG_PASSWORD_PROGRAM='pwd'")));
        m_resource = m_db->scalar(QStringLiteral("SELECT catalog_id FROM catalogs WHERE catalog_name='cat.example'")).toInt();

        m_ctx = core::AppContext();
        m_ctx.AppDir = m_dir.path() + QLatin1Char('/');
        m_ctx.CurrentUserId = 0;
        m_ctx.CurrentProjectId = m_project;
        m_ctx.CurrentKind = core::Kind::Catalogs;
        m_ctx.SelectedResourceId = m_resource;
        m_ctx.SelectedResourceName = QStringLiteral("cat.example");
        m_web = std::make_unique<QWebEngineView>();
        m_fill = std::make_unique<QMenu>();
        m_fill->addAction(QStringLiteral("Новое описание..."));
        m_fill->addSeparator();
        for (const char *name : {"A", "B", "C"})
            m_fill->addAction(QString::fromLatin1(name))->setData(QString::fromLatin1(name));
        m_auth = std::make_unique<TfrmAuth>(m_ctx);
        m_filler = std::make_unique<FormFiller>(m_ctx, m_web.get(), m_fill.get(), m_auth.get());
        load(QStringLiteral("form.html"), kPage);
    }
    void cleanup()
    {
        m_filler.reset();
        m_auth.reset();
        m_fill.reset();
        m_web.reset();
        m_db.reset();
    }

    void fillsByMappingWithStoredLogin()
    {
        QVERIFY(m_db->exec(QStringLiteral("INSERT INTO cauth SET cauth_login='ivan', cauth_password='p\"w\\\\', "
                                          "cauth_project_id=%1, cauth_catalog_id=%2")
                               .arg(m_project)
                               .arg(m_resource)));
        ScriptedPrompt p;
        QCOMPARE(fill(), FormFillResult::Filled);
        // The turn starts with the second description after start-up.
        QCOMPARE(value("title"), QStringLiteral("Заголовок B \"в кавычках\""));
        QCOMPARE(value("email"), QStringLiteral("B@p.example"));
        QCOMPARE(value("hiddenTitle"), QStringLiteral("keep"));
        QCOMPARE(value("check"), QStringLiteral("on"));
        QCOMPARE(value("login"), QStringLiteral("ivan"));
        QCOMPARE(value("pwd"), QStringLiteral("p\"w\\"));
        // A password field that nothing maps still gets the stored password.
        QCOMPARE(value("pwd2"), QStringLiteral("p\"w\\"));
        // Line breaks arrive as line breaks (the browser keeps LF in a text area's value).
        QCOMPARE(value("descr"), QStringLiteral("Строка 1\nСтрока 2 \\ B"));
        QCOMPARE(value("nameless"), QString());
        QCOMPARE(js(QStringLiteral("String(document.getElementById('region').selectedIndex)")), QStringLiteral("2"));
        QVERIFY(p.dialogsShown.isEmpty());
        QVERIFY(m_ctx.CurrentMaterialName.isEmpty());
        QCOMPARE(m_ctx.FillMenuIndex, 3);

        // The next fills continue the turn: C, then A.
        QCOMPARE(fill(), FormFillResult::Filled);
        QCOMPARE(value("email"), QStringLiteral("C@p.example"));
        QCOMPARE(fill(), FormFillResult::Filled);
        QCOMPARE(value("email"), QStringLiteral("A@p.example"));
    }

    void menuChoiceServesOneFill()
    {
        m_db->exec(QStringLiteral("INSERT INTO cauth SET cauth_login='l', cauth_password='p', cauth_project_id=%1, "
                                  "cauth_catalog_id=%2")
                       .arg(m_project)
                       .arg(m_resource));
        ScriptedPrompt p;
        QCOMPARE(fillWith(m_fill->actions()[4]), FormFillResult::Filled);
        QCOMPARE(value("email"), QStringLiteral("C@p.example"));
        QCOMPARE(fill(), FormFillResult::Filled);
        QCOMPARE(value("email"), QStringLiteral("B@p.example"));
    }

    void missingEntryOpensThePasswordManagerOnce()
    {
        ScriptedPrompt p;
        p.dialogs = {[this](QDialog *) {
            m_auth->edtLogin->setText(QStringLiteral("new-login"));
            m_auth->edtPassword->setText(QStringLiteral("s3cret"));
            m_auth->Button1Click();
            return 1;
        }};
        QCOMPARE(fill(), FormFillResult::Filled);
        QCOMPARE(p.dialogsShown, QStringList{QStringLiteral("frmAuth")});
        // The entry just saved fills the login field that opened the manager and the later fields.
        QCOMPARE(value("login"), QStringLiteral("new-login"));
        QCOMPARE(value("pwd"), QStringLiteral("s3cret"));
        QCOMPARE(value("pwd2"), QStringLiteral("s3cret"));
        QCOMPARE(m_db->rows(QStringLiteral("SELECT cauth_login, cauth_password FROM cauth")),
                 QStringList{QStringLiteral("new-login|s3cret")});
    }

    // The time the user spends in the password manager is not the page's.
    void slowPasswordManagerIsNotAPageThatNeverAnswers()
    {
        ScriptedPrompt p;
        m_filler->setAnswerTimeout(300);
        p.dialogs = {[this](QDialog *) {
            QTest::qWait(1200);
            m_auth->edtLogin->setText(QStringLiteral("slow"));
            m_auth->edtPassword->setText(QStringLiteral("pw"));
            m_auth->Button1Click();
            return 1;
        }};
        QSignalSpy spy(m_filler.get(), &FormFiller::fillFinished);
        QCOMPARE(m_filler->tbFeelClick(), FormFillResult::Started);
        QVERIFY(spy.wait(20000));
        QCOMPARE(spy.first().first().value<FormFillResult>(), FormFillResult::Filled);
        QVERIFY2(p.messages.isEmpty(), qPrintable(p.messages.join(QLatin1Char('|'))));
        QCOMPARE(value("login"), QStringLiteral("slow"));
        QCOMPARE(value("pwd"), QStringLiteral("pw"));
        // One end only.
        QTest::qWait(500);
        QCOMPARE(spy.size(), 1);
    }

    // A page that never answers still ends the fill, with the message.
    void pageThatNeverAnswersEndsTheFill()
    {
        ScriptedPrompt p;
        m_filler->setAnswerTimeout(1);
        QSignalSpy spy(m_filler.get(), &FormFiller::fillFinished);
        // The page's script is stuck for a while: the read cannot answer in time.
        m_web->page()->runJavaScript(QStringLiteral("var t = Date.now(); while (Date.now() - t < 800) {}"));
        QCOMPARE(m_filler->tbFeelClick(), FormFillResult::Started);
        QVERIFY(spy.wait(20000));
        QCOMPARE(spy.first().first().value<FormFillResult>(), FormFillResult::NoDocument);
        QCOMPARE(p.messages, QStringList{QStringLiteral(" !!!??? Nothing dowloaded ... ")});
        QTest::qWait(1000);
        QCOMPARE(value("title"), QString());
    }

    // A page that finished loading while the password manager was open asks
    // for a fill then; it runs once the manager's fill has ended.
    void fillAskedForDuringThePasswordManagerRunsAfter()
    {
        ScriptedPrompt p;
        QSignalSpy spy(m_filler.get(), &FormFiller::fillFinished);
        FormFillResult asked = FormFillResult::Started;
        p.dialogs = {[&](QDialog *) {
            asked = m_filler->tbFeelClick();
            m_auth->edtLogin->setText(QStringLiteral("later"));
            m_auth->edtPassword->setText(QStringLiteral("pw"));
            m_auth->Button1Click();
            return 1;
        }};
        QCOMPARE(m_filler->tbFeelClick(), FormFillResult::Started);
        QTRY_COMPARE_WITH_TIMEOUT(spy.size(), 2, 20000);
        QCOMPARE(asked, FormFillResult::Queued);
        QCOMPARE(spy.at(0).first().value<FormFillResult>(), FormFillResult::Filled);
        QCOMPARE(spy.at(1).first().value<FormFillResult>(), FormFillResult::Filled);
        // The second fill took the turn's next description and the saved login.
        QCOMPARE(value("email"), QStringLiteral("C@p.example"));
        QCOMPARE(value("login"), QStringLiteral("later"));
        QCOMPARE(p.dialogsShown.size(), 1);
    }

    // The page loaded while the password manager was open is filled when the manager closes.
    void pageLoadedDuringThePasswordManagerIsFilledAfter()
    {
        ScriptedPrompt p;
        QSignalSpy spy(m_filler.get(), &FormFiller::fillFinished);
        p.dialogs = {[this](QDialog *) {
            load(QStringLiteral("second.html"), kPage);
            // The end of the load asks for a fill.
            m_filler->tbFeelClick();
            m_auth->edtLogin->setText(QStringLiteral("later"));
            m_auth->edtPassword->setText(QStringLiteral("pw"));
            m_auth->Button1Click();
            return 1;
        }};
        QCOMPARE(m_filler->tbFeelClick(), FormFillResult::Started);
        QTRY_COMPARE_WITH_TIMEOUT(spy.size(), 2, 20000);
        QCOMPARE(spy.at(0).first().value<FormFillResult>(), FormFillResult::PageChanged);
        QCOMPARE(spy.at(1).first().value<FormFillResult>(), FormFillResult::Filled);
        QVERIFY(m_web->url().toString().endsWith(QStringLiteral("second.html")));
        QCOMPARE(value("login"), QStringLiteral("later"));
        QCOMPARE(value("email"), QStringLiteral("C@p.example"));
    }

    // A fill asked for while one runs follows it, with the latest choice.
    void requestDuringAFillRunsAfterIt()
    {
        QVERIFY(m_db->exec(QStringLiteral("INSERT INTO cauth SET cauth_login='l', cauth_password='p', cauth_project_id=%1, "
                                          "cauth_catalog_id=%2")
                               .arg(m_project)
                               .arg(m_resource)));
        ScriptedPrompt p;
        QSignalSpy spy(m_filler.get(), &FormFiller::fillFinished);
        QCOMPARE(m_filler->tbFeelClick(), FormFillResult::Started);
        QCOMPARE(m_filler->FillMenuItemClick(m_fill->actions()[2]), FormFillResult::Queued);
        QCOMPARE(m_filler->FillMenuItemClick(m_fill->actions()[4]), FormFillResult::Queued);
        QTRY_COMPARE_WITH_TIMEOUT(spy.size(), 2, 20000);
        QCOMPARE(spy.at(1).first().value<FormFillResult>(), FormFillResult::Filled);
        QCOMPARE(value("email"), QStringLiteral("C@p.example"));
        QTest::qWait(300);
        QCOMPARE(spy.size(), 2);
        QVERIFY(!m_filler->isBusy());
    }

    // The forums are filled with the active press release, whatever an editor load left behind.
    void forumsUseTheActivePressRelease()
    {
        QVERIFY(
            m_db->exec(QStringLiteral("INSERT INTO forums SET forum_name='forum.example', forum_title_site='title', "
                                      "forum_email_site='email', FORUM_LOGIN_PROGRAM='login', FORUM_PASSWORD_PROGRAM='pwd'")));
        const int forum = m_db->scalar(QStringLiteral("SELECT forum_id FROM forums")).toInt();
        QVERIFY(m_db->exec(QStringLiteral("INSERT INTO fauth SET fauth_login='fl', fauth_password='fp', fauth_project_id=%1, "
                                          "fauth_forum_id=%2")
                               .arg(m_project)
                               .arg(forum)));
        for (const char *name : {"R1", "R2"}) {
            QVERIFY(m_db->exec(QStringLiteral("INSERT INTO fmaterials SET fmaterial_name='%1', fmaterial_project_id=%2, "
                                              "fmaterial_title='Релиз %1', fmaterial_email='%1@p.example'")
                                   .arg(QString::fromLatin1(name))
                                   .arg(m_project)));
        }
        const int r1 = m_db->scalar(QStringLiteral("SELECT fmaterial_id FROM fmaterials WHERE fmaterial_name='R1'")).toInt();
        const int r2 = m_db->scalar(QStringLiteral("SELECT fmaterial_id FROM fmaterials WHERE fmaterial_name='R2'")).toInt();
        m_ctx.CurrentKind = core::Kind::Forums;
        m_ctx.SelectedResourceId = forum;
        m_ctx.SelectedResourceName = QStringLiteral("forum.example");
        ScriptedPrompt p;
        // No active press release: nothing is filled, whatever CurrentMaterialId says.
        m_ctx.CurrentMaterialId = r1;
        m_filler->activePressRelease = [] { return std::optional<int>(); };
        QCOMPARE(fill(), FormFillResult::Skipped);
        QCOMPARE(value("title"), QString());
        // The active one is used even when an editor load moved CurrentMaterialId elsewhere,
        // and when nothing set CurrentMaterialId at all.
        m_filler->activePressRelease = [r2] { return std::optional<int>(r2); };
        QCOMPARE(fill(), FormFillResult::Filled);
        QCOMPARE(value("title"), QStringLiteral("Релиз R2"));
        QCOMPARE(value("login"), QStringLiteral("fl"));
        m_ctx.CurrentMaterialId = 0;
        m_filler->activePressRelease = [r1] { return std::optional<int>(r1); };
        QCOMPARE(fill(), FormFillResult::Filled);
        QCOMPARE(value("email"), QStringLiteral("R1@p.example"));
        QCOMPARE(p.messages,
                 QStringList{QStringLiteral("Форма не заполнена: в проекте не выбран активный пресс-релиз для форумов.")});
    }

    void pageChangedDuringTheFillGetsNothing()
    {
        ScriptedPrompt p;
        p.dialogs = {[this](QDialog *) {
            load(QStringLiteral("second.html"), kPage);
            m_auth->Button1Click();
            return 0;
        }};
        QCOMPARE(fill(), FormFillResult::PageChanged);
        QVERIFY(m_web->url().toString().endsWith(QStringLiteral("second.html")));
        QCOMPARE(value("title"), QString());
        QCOMPARE(value("email"), QString());
    }

    void stopsWithoutAUsableMaterial()
    {
        ScriptedPrompt p;
        // A description of another project is never used.
        QCOMPARE(fillWith(m_fill->addAction(QStringLiteral("X"))), FormFillResult::Stopped);
        QCOMPARE(value("title"), QString());
        // No resource selected.
        m_ctx.SelectedResourceName.clear();
        m_ctx.CurrentKind = core::Kind::Forums;
        m_filler->activePressRelease = [] { return std::optional<int>(1); };
        QCOMPARE(fill(), FormFillResult::Skipped);
        // A fill menu without descriptions: there is nothing to fill with.
        m_ctx.CurrentKind = core::Kind::Catalogs;
        m_ctx.SelectedResourceName = QStringLiteral("cat.example");
        QMenu empty;
        empty.addAction(QStringLiteral("Новое описание..."));
        empty.addSeparator();
        FormFiller filler(m_ctx, m_web.get(), &empty, m_auth.get());
        QCOMPARE(finished(filler, [&] { return filler.tbFeelClick(); }), FormFillResult::Skipped);
        QCOMPARE(p.messages,
                 (QStringList{QStringLiteral("Форма не заполнена: описание сайта \"X\" не найдено в текущем проекте."),
                              QStringLiteral("Форма не заполнена: не выбран ресурс в списке."),
                              QStringLiteral("Форма не заполнена: в текущем проекте нет описания сайта.")}));
        // The fill after a page load says nothing.
        p.messages.clear();
        QCOMPARE(finished(filler, [&] { return filler.fillLoadedPage(); }), FormFillResult::Skipped);
        QVERIFY(p.messages.isEmpty());
        QVERIFY(p.dialogsShown.isEmpty());
    }

    void startPageIsNeverFilled()
    {
        m_ctx.LinkEditUnsaved = true;
        QFile cfg(m_dir.filePath(QStringLiteral("config.ini")));
        QVERIFY(cfg.open(QIODevice::WriteOnly));
        cfg.write("[Hosts]\nmaker=127.0.0.1:9\n");
        cfg.close();
        m_ctx.readConfig();
        QSignalSpy done(m_web.get(), &QWebEngineView::loadFinished);
        m_web->setUrl(m_ctx.makerUrl(QStringLiteral("/program3_start.php")));
        QVERIFY(done.wait(20000));
        QCOMPARE(m_web->url(), QUrl(QStringLiteral("http://127.0.0.1:9/program3_start.php")));
        ScriptedPrompt p;
        QCOMPARE(fill(), FormFillResult::Skipped);
        QVERIFY(p.questions.isEmpty());
        QVERIFY(m_ctx.LinkEditUnsaved);
    }

    // Right after start: the project, "Софт каталоги", a rubric, a resource.
    // The archive's material is the project's software description, so the
    // page is filled on load, and "Заполнить" fills it again.
    void softwareArchiveIsFilledFromTheStart()
    {
        qv::test::Road r;
        QVERIFY2(r.w.db.ok(), qPrintable(r.w.db.error()));
        QVERIFY(
            r.w.db.exec(QStringLiteral("INSERT INTO smaterials SET smaterial_name='Основная версия', smaterial_project_id=%1, "
                                       "smaterial_softname='Прога \"Ёж\" \\\\', smaterial_version='1.2', "
                                       "smaterial_AEmail='dev@p.example', smaterial_Changes='Правки<br>ещё'")
                            .arg(r.w.projectId)));
        r.addResource(QStringLiteral("soft"), QStringLiteral("soft.example"), 7, kSoftPage,
                      QStringLiteral("soft_softname_site='progname', soft_version_site='ver', soft_AEmail_site='mail', "
                                     "soft_Changes_site='changes'"));
        QVERIFY(qv::test::showMain(r.w));
        QVERIFY(qv::test::chooseProject(r.w));
        QVERIFY(r.openRubric(TopSoft, {QStringLiteral("Интернет и сеть"), QStringLiteral("Браузеры и дополнения")}));
        QVERIFY(r.openResource(QStringLiteral("soft.example")));
        QCOMPARE(r.value("progname"), QStringLiteral("Прога \"Ёж\" \\"));
        QCOMPARE(r.value("ver"), QStringLiteral("1.2"));
        QCOMPARE(r.value("mail"), QStringLiteral("dev@p.example"));
        QCOMPARE(r.value("changes"), QStringLiteral("Правки\nещё"));
        QVERIFY2(r.p.messages.isEmpty(), qPrintable(r.p.messages.join(QLatin1Char('|'))));

        r.clearPage();
        QCOMPARE(r.value("ver"), QString());
        QCOMPARE(r.pressFill(), QStringList());
        QCOMPARE(r.value("progname"), QStringLiteral("Прога \"Ёж\" \\"));
        QCOMPARE(r.value("ver"), QStringLiteral("1.2"));
        QVERIFY(r.p.dialogsShown.isEmpty());
    }

    // A fill the user asks for says why it cannot run; the fill after a page
    // load stays silent.
    void fillThatCannotRunSaysWhy()
    {
        qv::test::Road r;
        QVERIFY2(r.w.db.ok(), qPrintable(r.w.db.error()));
        r.addResource(QStringLiteral("soft"), QStringLiteral("soft.example"), 7, kSoftPage,
                      QStringLiteral("soft_softname_site='progname'"));
        r.addResource(QStringLiteral("catalogs"), QStringLiteral("cat.example"), 10, kSoftPage,
                      QStringLiteral("catalog_title_site='progname'"));
        r.addResource(QStringLiteral("forums"), QStringLiteral("forum.example"), 1, kSoftPage,
                      QStringLiteral("forum_title_site='progname'"));
        QVERIFY(qv::test::showMain(r.w));
        QVERIFY(qv::test::chooseProject(r.w));

        // No resource chosen yet: the rubric shows the start page.
        QVERIFY(r.openRubric(TopSoft, {QStringLiteral("Интернет и сеть"), QStringLiteral("Браузеры и дополнения")}));
        QCOMPARE(r.pressFill(), QStringList{QStringLiteral("Форма не заполнена: не выбран ресурс в списке.")});
        // The project has no software description.
        QVERIFY(r.openResource(QStringLiteral("soft.example")));
        QVERIFY(r.p.messages.isEmpty());
        QCOMPARE(r.pressFill(), QStringList{QStringLiteral("Форма не заполнена: в текущем проекте нет софт описания.")});
        QCOMPARE(r.value("progname"), QString());

        // No site description in the project.
        QVERIFY(r.openRubric(TopCatalogs, {QStringLiteral("Интернет и компьютеры"), QStringLiteral("Веб-дизайн и хостинг")}));
        QVERIFY(r.openResource(QStringLiteral("cat.example")));
        QVERIFY(r.p.messages.isEmpty());
        QCOMPARE(r.pressFill(), QStringList{QStringLiteral("Форма не заполнена: в текущем проекте нет описания сайта.")});

        // A description chosen in the fill menu that is gone from the base meanwhile.
        QVERIFY(r.w.db.exec(
            QStringLiteral("INSERT INTO cmaterials SET cmaterial_name='Описание', cmaterial_project_id=%1").arg(r.w.projectId)));
        QVERIFY(qv::test::chooseProject(r.w));
        QVERIFY(r.openRubric(TopCatalogs, {QStringLiteral("Интернет и компьютеры"), QStringLiteral("Веб-дизайн и хостинг")}));
        QVERIFY(r.openResource(QStringLiteral("cat.example")));
        QCOMPARE(r.value("progname"), QString());
        QVERIFY(r.w.db.exec(QStringLiteral("DELETE FROM cmaterials")));
        r.p.messages.clear();
        QAction *item = r.w.main->pmFill->actions().value(2);
        QVERIFY(item);
        item->trigger();
        QCOMPARE(r.p.messages,
                 QStringList{QStringLiteral("Форма не заполнена: описание сайта \"Описание\" не найдено в текущем проекте.")});

        // No active press release for the forums.
        QVERIFY(r.openRubric(TopForums, {QStringLiteral("Компьютеры и интернет")}));
        QVERIFY(r.openResource(QStringLiteral("forum.example")));
        QVERIFY(r.p.messages.isEmpty());
        QCOMPARE(r.pressFill(),
                 QStringList{QStringLiteral("Форма не заполнена: в проекте не выбран активный пресс-релиз для форумов.")});
        QVERIFY(r.p.dialogsShown.isEmpty());
    }
};

QTEST_MAIN(TestFormFiller)
#include "tst_formfiller.moc"
