#pragma once
// Reading a page's form elements and writing values back, through scripts
// run in the application's own world. Data enters a script only as JSON; a
// write is dropped when the page has changed since it was read.
#include "workbench/formfill_logic.h"

#include <QList>
#include <QObject>
#include <QPair>
#include <QString>
#include <QVariant>
#include <functional>

class QWebEngineView;

namespace qv::workbench {

struct PageSnapshot {
    bool ok = false;
    QString token; // marks the document that was read
    int loadCounter = 0;
    QList<PageElement> inputs;
    QList<PageElement> textareas;
    QList<PageElement> selects;
};

struct PageWrites {
    QList<QPair<int, QString>> inputs; // element index, value
    QList<QPair<int, QString>> textareas;
    QList<QPair<int, int>> selects; // element index, option index
    bool isEmpty() const { return inputs.isEmpty() && textareas.isEmpty() && selects.isEmpty(); }
};

class PageBridge : public QObject {
    Q_OBJECT
public:
    explicit PageBridge(QWebEngineView *view, QObject *parent = nullptr);

    // Counts the loads the view has started.
    int loadCounter() const { return m_loads; }
    // Reads the form elements of the current document; the answer comes to
    // `done` from the event loop (not ok when the page could not be read).
    void snapshot(std::function<void(const PageSnapshot &)> done);
    // Writes into the document read by `snap`; `done` hears false when that
    // document is gone.
    void write(const PageSnapshot &snap, const PageWrites &writes, std::function<void(bool)> done);

    // Parses the snapshot script's answer.
    static PageSnapshot parseSnapshot(const QVariant &answer, int loadCounter);

    static QString snapshotScript();
    static QString writeScript(const QString &token, const PageWrites &writes);

private:
    QWebEngineView *m_view;
    int m_loads = 0;
};

} // namespace qv::workbench
