#pragma once
// Runs a script in a browser view's page and waits for its result, for tests
// that read back what a page holds.
#include <QString>
#include <QVariant>

class QWebEngineView;

namespace qv::test {

// The script's result, or an invalid QVariant on time-out or when a new page
// started loading meanwhile.
QVariant evaluateJs(QWebEngineView *view, const QString &script, int timeoutMs = 5000);

} // namespace qv::test
