#include "app/tfrmupdate.h"
#include "core/appcontext.h"
#include "core/installpath.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace qv::app {

TfrmUpdate::TfrmUpdate(const QString &sourceDir, const QString &lockPath, QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmUpdate"));
    setWindowTitle(QStringLiteral("Обновление Quorvantile "));
    auto *layout = new QVBoxLayout(this);
    lblResult = new QLabel(this);
    lblResult->setWordWrap(true);
    layout->addWidget(lblResult);
    btnOk = new QPushButton(QStringLiteral("ОК!"), this);
    layout->addWidget(btnOk);
    connect(btnOk, &QPushButton::clicked, this, &QDialog::accept);

    if (!WaitForRunningCopy(lockPath.isEmpty() ? RunningCopyLockPath() : lockPath)) {
        m_cancelled = true;
        lblResult->setText(QStringLiteral("Обновление программы Quorvantile отменено."));
        return;
    }
    m_outcome = RunUpdate(sourceDir.isEmpty() ? core::executableDir() : sourceDir, core::ReadInstallPath());
    lblResult->setText(m_outcome.done ? QStringLiteral("Обновление программы Quorvantile успешно завершено.")
                                      : QStringLiteral("Обновление программы Quorvantile не выполнено."));
}

} // namespace qv::app
