#include "workbench/tfrmfilter.h"
#include "controls/boldlabel.h"
#include "core/appcontext.h"
#include "mainview/mainview.h"
#include "db/database.h"
#include "db/query.h"
#include "workbench/navigator.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QSpinBox>

namespace qv::workbench {

namespace {

QComboBox *choiceList(const char *name, const FilterChoice &choice, QWidget *parent)
{
    auto *cb = new QComboBox(parent);
    cb->setObjectName(QString::fromLatin1(name));
    cb->setEditable(false);
    cb->addItems(choice.items);
    cb->setCurrentIndex(0);
    return cb;
}

QSpinBox *spinEdit(const char *name, int maximum, QWidget *parent)
{
    auto *se = new QSpinBox(parent);
    se->setObjectName(QString::fromLatin1(name));
    se->setRange(-1, maximum);
    se->setValue(-1);
    return se;
}

} // namespace

TfrmFilter::TfrmFilter(core::AppContext &ctx, mainview::MainView *main, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                          | Qt::WindowMinimizeButtonHint | Qt::CustomizeWindowHint),
      m_ctx(ctx), m_main(main)
{
    setObjectName(QStringLiteral("frmFilter"));
    setWindowTitle(QStringLiteral("Фильтр пользователя"));
    setModal(true);

    auto *grid = new QGridLayout(this);
    grid->setSizeConstraint(QLayout::SetFixedSize);
    seTIC = spinEdit("seTIC", 999999, this);
    sePR = spinEdit("sePR", 11, this);
    cbBURL = choiceList("cbBURL", burlChoice(), this);
    cbRedirect = choiceList("cbRedirect", redirectChoice(), this);
    cbAutoCheck = choiceList("cbAutoCheck", autoCheckChoice(), this);
    cbRegStatus = choiceList("cbRegStatus", regStatusChoice(), this);
    const struct {
        const char *label;
        QWidget *control;
    } rows[] = {{"ТИЦ больше/равно:", seTIC},           {"PR  больше/равно:", sePR},
                {"Обратная ссылка....", cbBURL},        {"Прямая ссылка......", cbRedirect},
                {"Авто проверка.......", cbAutoCheck}, {"Статус регистр......", cbRegStatus}};
    int r = 0;
    for (const auto &row : rows) {
        QLabel *label = controls::BoldLabel(QString::fromUtf8(row.label), this);
        label->setBuddy(row.control);
        grid->addWidget(label, r, 0);
        grid->addWidget(row.control, r, 1);
        ++r;
    }
    btnFilterSave = new QPushButton(QStringLiteral("Сохранить"), this);
    btnFilterSave->setObjectName(QStringLiteral("btnFilterSave"));
    QFont bold = btnFilterSave->font();
    bold.setBold(true);
    btnFilterSave->setFont(bold);
    btnFilterSave->setAutoDefault(false);
    grid->addWidget(btnFilterSave, r, 0, 1, 2, Qt::AlignHCenter);
    connect(btnFilterSave, &QPushButton::clicked, this, [this] { btnFilterSaveClick(); });
}

void TfrmFilter::resetControls() { setValues(FilterEditorValues{}); }

FilterEditorValues TfrmFilter::values() const
{
    FilterEditorValues v;
    v.tic = seTIC->value();
    v.pr = sePR->value();
    v.burl = cbBURL->currentIndex();
    v.redirect = cbRedirect->currentIndex();
    v.autoCheck = cbAutoCheck->currentIndex();
    v.regStatus = cbRegStatus->currentIndex();
    return v;
}

void TfrmFilter::setValues(const FilterEditorValues &v)
{
    seTIC->setValue(v.tic);
    sePR->setValue(v.pr);
    cbBURL->setCurrentIndex(v.burl);
    cbRedirect->setCurrentIndex(v.redirect);
    cbAutoCheck->setCurrentIndex(v.autoCheck);
    cbRegStatus->setCurrentIndex(v.regStatus);
}

void TfrmFilter::prepareAdd(const QString &name)
{
    EditMode = QStringLiteral("add");
    FilterName = name;
    Kind = m_ctx.CurrentKind;
    resetControls();
}

bool TfrmFilter::loadFilter(const QString &name)
{
    FilterName = name;
    EditMode = QStringLiteral("edit");
    Kind = m_ctx.CurrentKind;
    resetControls();
    const auto k = kindTables(Kind);
    if (!k)
        return false;
    if (db::ExecQuery(FilterRowSql(*k, FilterName)) != 0)
        return false;
    db::QueryResult result(db::DbConnection());
    // A row that has gone leaves the reset values.
    if (const auto row = result.FetchRow())
        setValues(EditorValuesFromRow(FilterConditionsFromRow(result, *row, k->filterPrefix)));
    return true;
}

void TfrmFilter::btnFilterSaveClick()
{
    Kind = m_ctx.CurrentKind;
    const auto k = kindTables(Kind);
    if (!k)
        return;
    // The spin boxes hold integers only: TIC and PR always make a valid statement.
    if (db::ExecQuery(FilterSaveSql(*k, FilterName, values())) != 0)
        return;
    accept();
    if (EditMode == QLatin1String("edit") && m_main && m_main->navigator)
        m_main->navigator->trvFiltersClick();
}

} // namespace qv::workbench
