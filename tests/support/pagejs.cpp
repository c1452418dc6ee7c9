#include "support/pagejs.h"

#include <QEventLoop>
#include <QPointer>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineView>

namespace qv::test {

QVariant evaluateJs(QWebEngineView *view, const QString &script, int timeoutMs)
{
    if (!view || !view->page())
        return QVariant();
    QEventLoop loop;
    QVariant result;
    bool done = false;
    QPointer<QEventLoop> guard(&loop);
    view->page()->runJavaScript(script, QWebEngineScript::ApplicationWorld, [&, guard](const QVariant &v) {
        if (!guard)
            return;
        result = v;
        done = true;
        loop.quit();
    });
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    const auto started = QObject::connect(view, &QWebEngineView::loadStarted, &loop, &QEventLoop::quit);
    if (!done)
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    QObject::disconnect(started);
    return done ? result : QVariant();
}

} // namespace qv::test
