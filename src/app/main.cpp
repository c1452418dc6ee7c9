#include "app/program.h"
#include "core/prompt.h"
#include "db/mysqlapi.h"

#include <QApplication>
#include <QMessageBox>

int main(int argc, char *argv[])
{
    // The embedded browser shares OpenGL contexts with the widgets.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    // The client library is needed by both modes; without it nothing can run.
    QString why;
    if (!qv::db::MySqlApi::load(&why)) {
        QMessageBox::critical(nullptr, QStringLiteral("Quorvantile 3"), why);
        return 1;
    }
    return qv::app::RunProgram(QApplication::arguments());
}
