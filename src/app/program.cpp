#include "app/program.h"
#include "core/prompt.h"
#include "app/tfrmhelp.h"
#include "app/tfrmmain.h"
#include "app/tfrmupdate.h"
#include "workbench/tfrmauth.h"
#include "workbench/tfrmfilter.h"
#include "contacts/tfrmemailconfig.h"
#include "contacts/tfrmosubjectadd.h"
#include "workbench/tfrmautocheck.h"
#include "workbench/tfrmtobaza.h"
#include "workbench/tfrmfrombaza.h"
#include "app/updater.h"
#include "projects/tfrmprojectinfo.h"
#include "projects/tfrmprojectmaterials.h"
#include "users/tfrmuseredit.h"
#include "users/tfrmusers.h"

#include <QApplication>
#include <QDialog>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace qv::app {

namespace {
QDialog *namedWindow(QWidget *parent, const char *name, const QString &title)
{
    auto *w = new QDialog(parent);
    w->setObjectName(QString::fromLatin1(name));
    w->setWindowTitle(title);
    return w;
}
} // namespace

Mode ModeFromArguments(const QStringList &arguments)
{
    // arguments[0] is the program itself.
    return arguments.size() > 1 && arguments.at(1) == QLatin1String("update") ? Mode::Update : Mode::Normal;
}

Program::Program() = default;
Program::~Program() = default;

bool Program::startNormal()
{
    QApplication::setApplicationName(QStringLiteral("Quorvantile 3"));
    mainWindow = std::make_unique<TfrmMain>(ctx);
    mainWindow->FormCreate();
    if (ctx.ConnectAbandoned)
        return false;
    createWindows();
    return true;
}

void Program::createWindows()
{
    QWidget *owner = mainWindow.get();
    auto add = [this](auto *w) {
        windows.createdOrder << w->objectName();
        return w;
    };
    windows.frmConfig = add(namedWindow(owner, "frmConfig", QStringLiteral("Настройки")));
    windows.frmToBaza = add(new workbench::TfrmToBaza(ctx, owner));
    windows.frmFromBaza = add(new workbench::TfrmFromBaza(ctx, owner));
    windows.frmUserEdit = new users::TfrmUserEdit(owner);
    windows.frmUsers = new users::TfrmUsers(ctx, windows.frmUserEdit, owner);
    add(windows.frmUsers);
    add(windows.frmUserEdit);
    windows.frmProjectMaterials = new projects::TfrmProjectMaterials(ctx, mainWindow.get(), owner);
    add(windows.frmProjectMaterials);
    windows.frmAuth = new workbench::TfrmAuth(ctx, owner);
    add(windows.frmAuth);
    windows.frmSubjectNew = add(namedWindow(owner, "frmSubjectNew", QStringLiteral("Новая рубрика")));
    windows.frmPrim = add(namedWindow(owner, "frmPrim", QStringLiteral("Примечание")));
    windows.frmAutocheck = add(new workbench::TfrmAutocheck(ctx, owner));
    windows.frmFilter = add(new workbench::TfrmFilter(ctx, mainWindow.get(), owner));
    windows.frmHelp = add(new TfrmHelp(ctx, owner));
    windows.frmOSubjectAdd = add(new contacts::TfrmOSubjectAdd(owner));
    windows.frmProjectInfo = new projects::TfrmProjectInfo(ctx, mainWindow.get(), owner);
    add(windows.frmProjectInfo);
    windows.frmEmailConfig = add(new contacts::TfrmEmailConfig(owner));
    windows.frmGoAd = add(new TfrmGoAd(ctx, owner));

    mainWindow->onUsersRequested = [this] { windows.frmUsers->open(); };
    mainWindow->onCloseRequested = [this] { core::prompt().exec(windows.frmGoAd); };
    mainWindow->attachWindows(&windows);
}

int Program::runNormal()
{
    mainWindow->show();
    return QApplication::exec();
}

bool InstallRussianTranslations()
{
    // Qt's own buttons and dialogs ("Cancel", "Yes", the file dialog) speak
    // the program's language. Without the files they stay in English.
    static QTranslator *qtbase = nullptr;
    if (qtbase)
        return true;
    auto *t = new QTranslator(QCoreApplication::instance());
    if (!t->load(QLocale(QLocale::Russian, QLocale::Russia), QStringLiteral("qtbase"), QStringLiteral("_"),
                 QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete t;
        return false;
    }
    QCoreApplication::installTranslator(t);
    qtbase = t;
    return true;
}

int RunProgram(const QStringList &arguments)
{
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    InstallRussianTranslations();
    QApplication::setApplicationName(QStringLiteral("Quorvantile 3"));
    if (ModeFromArguments(arguments) == Mode::Update) {
        QApplication::setApplicationName(QStringLiteral("Quorvantile 3.1"));
        TfrmUpdate update;
        if (update.cancelled())
            return 0;
        update.show();
        return QApplication::exec();
    }
    // The updater waits while this lock is held.
    RunningCopyLock running;
    Program program;
    if (!program.startNormal())
        return 0;
    return program.runNormal();
}

} // namespace qv::app
