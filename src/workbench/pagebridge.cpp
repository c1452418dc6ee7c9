#include "workbench/pagebridge.h"

#include <QEventLoop>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPointer>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineView>

namespace qv::workbench {

PageBridge::PageBridge(QWebEngineView *view, QObject *parent) : QObject(parent), m_view(view)
{
    connect(view, &QWebEngineView::loadStarted, this, [this] { ++m_loads; });
}

QString PageBridge::snapshotScript()
{
    return QStringLiteral(R"JS((function () {
  var token = String(Date.now()) + '-' + String(Math.random()).slice(2);
  window.__qvFillToken = token;
  function attr(e, n) { var v = e.getAttribute(n); return v === null ? '' : String(v); }
  var out = { token: token, inputs: [], textareas: [], selects: [] };
  var i, list = document.getElementsByTagName('input');
  for (i = 0; i < list.length; i++)
    out.inputs.push({ n: attr(list[i], 'name'), t: attr(list[i], 'type').toLowerCase() });
  list = document.getElementsByTagName('textarea');
  for (i = 0; i < list.length; i++)
    out.textareas.push({ n: attr(list[i], 'name') });
  list = document.getElementsByTagName('select');
  for (i = 0; i < list.length; i++) {
    var o = [], opts = list[i].options;
    for (var j = 0; j < opts.length; j++) o.push(String(opts[j].text));
    out.selects.push({ n: attr(list[i], 'name'), o: o });
  }
  return JSON.stringify(out);
})())JS");
}

QString PageBridge::writeScript(const QString &token, const PageWrites &writes)
{
    QJsonObject data;
    data.insert(QStringLiteral("token"), token);
    auto pairs = [](const QList<QPair<int, QString>> &list) {
        QJsonArray a;
        for (const auto &p : list)
            a.append(QJsonObject{{QStringLiteral("i"), p.first}, {QStringLiteral("v"), p.second}});
        return a;
    };
    data.insert(QStringLiteral("inputs"), pairs(writes.inputs));
    data.insert(QStringLiteral("textareas"), pairs(writes.textareas));
    QJsonArray sel;
    for (const auto &p : writes.selects)
        sel.append(QJsonObject{{QStringLiteral("i"), p.first}, {QStringLiteral("o"), p.second}});
    data.insert(QStringLiteral("selects"), sel);
    QString json = QString::fromUtf8(QJsonDocument(data).toJson(QJsonDocument::Compact));
    // Line and paragraph separators are valid in JSON but end a line in older script engines.
    json.replace(QChar(0x2028), QStringLiteral("\\u2028")).replace(QChar(0x2029), QStringLiteral("\\u2029"));
    return QStringLiteral(R"JS((function (p) {
  if (window.__qvFillToken !== p.token) return false;
  function changed(e) {
    e.dispatchEvent(new Event('input', { bubbles: true }));
    e.dispatchEvent(new Event('change', { bubbles: true }));
  }
  var list = document.getElementsByTagName('input');
  p.inputs.forEach(function (w) { var e = list[w.i]; if (e) { e.value = w.v; changed(e); } });
  list = document.getElementsByTagName('textarea');
  p.textareas.forEach(function (w) { var e = list[w.i]; if (e) { e.value = w.v; changed(e); } });
  list = document.getElementsByTagName('select');
  p.selects.forEach(function (w) { var e = list[w.i]; if (e && w.o < e.options.length) { e.selectedIndex = w.o; changed(e); } });
  return true;
})()JS") + json
           + QStringLiteral(")");
}

PageSnapshot PageBridge::parseSnapshot(const QVariant &answer, int loadCounter)
{
    PageSnapshot snap;
    snap.loadCounter = loadCounter;
    if (!answer.isValid())
        return snap;
    const QJsonObject o = QJsonDocument::fromJson(answer.toString().toUtf8()).object();
    if (o.isEmpty())
        return snap;
    snap.token = o.value(QStringLiteral("token")).toString();
    for (const QJsonValue &e : o.value(QStringLiteral("inputs")).toArray())
        snap.inputs.append({e[QStringLiteral("n")].toString(), e[QStringLiteral("t")].toString(), {}});
    for (const QJsonValue &e : o.value(QStringLiteral("textareas")).toArray())
        snap.textareas.append({e[QStringLiteral("n")].toString(), QString(), {}});
    for (const QJsonValue &e : o.value(QStringLiteral("selects")).toArray()) {
        QStringList options;
        for (const QJsonValue &t : e[QStringLiteral("o")].toArray())
            options << t.toString();
        snap.selects.append({e[QStringLiteral("n")].toString(), QString(), options});
    }
    snap.ok = !snap.token.isEmpty();
    return snap;
}

void PageBridge::snapshot(std::function<void(const PageSnapshot &)> done)
{
    const int loads = m_loads;
    if (!m_view || !m_view->page()) {
        QTimer::singleShot(0, this, [done, loads] { done(parseSnapshot(QVariant(), loads)); });
        return;
    }
    QPointer<PageBridge> self(this);
    m_view->page()->runJavaScript(snapshotScript(), QWebEngineScript::ApplicationWorld, [self, done, loads](const QVariant &v) {
        if (!self)
            return;
        // Carry on from the event loop, outside the browser's own callback.
        QTimer::singleShot(0, self, [done, loads, v] { done(parseSnapshot(v, loads)); });
    });
}

void PageBridge::write(const PageSnapshot &snap, const PageWrites &writes, std::function<void(bool)> done)
{
    if (!snap.ok || snap.loadCounter != m_loads || !m_view || !m_view->page()) {
        QTimer::singleShot(0, this, [done] { done(false); });
        return;
    }
    if (writes.isEmpty()) {
        QTimer::singleShot(0, this, [done] { done(true); });
        return;
    }
    QPointer<PageBridge> self(this);
    m_view->page()->runJavaScript(writeScript(snap.token, writes), QWebEngineScript::ApplicationWorld,
                                  [self, done](const QVariant &v) {
                                      if (!self)
                                          return;
                                      const bool ok = v.toBool();
                                      QTimer::singleShot(0, self, [done, ok] { done(ok); });
                                  });
}

} // namespace qv::workbench
