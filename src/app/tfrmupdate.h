#pragma once
#include "app/updater.h"

#include <QDialog>

class QLabel;
class QPushButton;

namespace qv::app {

// "Обновление Quorvantile ": the only window of the updater mode. Its
// creation does the update; it then tells how it went.
class TfrmUpdate : public QDialog {
    Q_OBJECT
public:
    // `sourceDir` and `lockPath` default to the executable's folder and the running-copy lock.
    explicit TfrmUpdate(const QString &sourceDir = QString(), const QString &lockPath = QString(), QWidget *parent = nullptr);

    QLabel *lblResult;
    QPushButton *btnOk;

    const UpdateOutcome &outcome() const { return m_outcome; }
    bool cancelled() const { return m_cancelled; }

private:
    UpdateOutcome m_outcome;
    bool m_cancelled = false;
};

} // namespace qv::app
