#include "workbench/tfrmfilter.h"
#include "controls/boldlabel.h"
#include "core/appcontext.h"
#include "core/prompt.h"
#include "mainview/mainview.h"
#include "db/columnlimits.h"
#include "db/database.h"
#include "db/query.h"
#include "workbench/kindfacts.h"
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

// The captions of the controls, top to bottom.
const char *const kCaptions[] = {"ТИЦ больше/равно:",   "PR  больше/равно:",    "Обратная ссылка....",
                                 "Прямая ссылка......", "Авто проверка.......", "Статус регистр......"};

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
    QWidget *const rows[] = {seTIC, sePR, cbBURL, cbRedirect, cbAutoCheck, cbRegStatus};
    int r = 0;
    for (QWidget *control : rows) {
        QLabel *label = controls::BoldLabel(QString::fromUtf8(kCaptions[r]), this);
        label->setBuddy(control);
        grid->addWidget(label, r, 0);
        grid->addWidget(control, r, 1);
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

QList<db::FieldValue> TfrmFilter::fields(const KindFacts &k) const
{
    const FilterConditions c = ConditionsFromEditor(values());
    const QString columns[] = {QStringLiteral("tic"),
                               QStringLiteral("pr"),
                               QLatin1String(burlChoice().column),
                               QLatin1String(redirectChoice().column),
                               QLatin1String(autoCheckChoice().column),
                               QLatin1String(regStatusChoice().column)};
    const QString stored[] = {c.tic, c.pr, c.needBurl, c.redirect, c.autocheck, c.regstatus};
    QList<db::FieldValue> out;
    for (int i = 0; i < 6; ++i)
        out.append({k.filterPrefix + columns[i], QString::fromUtf8(kCaptions[i]), stored[i]});
    return out;
}

void TfrmFilter::prepareAdd(const QString &name)
{
    m_loaded = db::LoadedRow();
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
    m_loaded = db::LoadedRow();
    const auto k = kindFacts(Kind);
    if (!k)
        return false;
    if (db::ExecQuery(FilterRowSql(*k, FilterName)) != 0)
        return false;
    db::QueryResult result(db::DbConnection());
    // A row that has gone leaves the reset values.
    if (const auto row = result.FetchRow()) {
        setValues(EditorValuesFromRow(FilterConditionsFromRow(result, *row, k->filterPrefix)));
        const QString idColumn = k->filterPrefix + QStringLiteral("id");
        m_loaded = db::LoadedRow::fromResult(k->filters, idColumn, db::ParseInt(result.field(*row, idColumn)).value_or(-1),
                                             result, *row);
    }
    return true;
}

void TfrmFilter::btnFilterSaveClick()
{
    Kind = m_ctx.CurrentKind;
    const auto k = kindFacts(Kind);
    if (!k)
        return;
    const QList<db::FieldValue> written = fields(*k);
    if (!db::FieldsFit(k->filters, written))
        return;
    // The row loaded, by its id, while it still holds what was loaded (a
    // rename by another copy meanwhile changes nothing the editor writes);
    // otherwise the row of the name. The spin boxes hold integers only: TIC
    // and PR always make a valid statement.
    const bool loaded = EditMode == QLatin1String("edit") && m_loaded.isValid() && m_loaded.table() == k->filters;
    db::LoadedRow unchecked;
    db::LoadedRow &row = loaded ? m_loaded : unchecked;
    const QString sql = loaded ? FilterSaveByIdSql(*k, m_loaded.id(), values()) : FilterSaveSql(*k, FilterName, values());
    const db::SaveOutcome saved = db::SaveRow(row, written, [&sql] { return db::ExecQuery(sql) == 0; });
    if (saved == db::SaveOutcome::Gone)
        core::prompt().message(db::RowGoneMessage());
    if (saved != db::SaveOutcome::Saved)
        return;
    accept();
    if (EditMode == QLatin1String("edit") && m_main && m_main->navigator)
        m_main->navigator->trvFiltersClick();
}

} // namespace qv::workbench
