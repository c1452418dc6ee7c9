#pragma once
// "Фильтр пользователя": the editor of one filter's conditions (minimum TIC
// and PR, back link, link type, auto-check result, registration status),
// shown modally for a new filter ("add") or an existing one ("edit").
#include "core/kind.h"
#include "db/rowguard.h"
#include "workbench/filters_logic.h"

#include <QDialog>

class QComboBox;
class QPushButton;
class QSpinBox;

namespace qv::core {
struct AppContext;
}
namespace qv::mainview {
struct MainView;
}

namespace qv::workbench {

class TfrmFilter : public QDialog {
    Q_OBJECT
    Q_PROPERTY(QString EditMode MEMBER EditMode)
    Q_PROPERTY(QString FilterName MEMBER FilterName)
    Q_PROPERTY(qv::core::Kind Kind MEMBER Kind)
public:
    TfrmFilter(core::AppContext &ctx, mainview::MainView *main, QWidget *parent = nullptr);

    // Set by the opener before the window is shown: "add" or "edit", the
    // name of the filter row, and the kind whose filter table is used (the
    // save takes the kind that is current again).
    QString EditMode;
    QString FilterName;
    core::Kind Kind = core::Kind::None;

    QSpinBox *seTIC;
    QSpinBox *sePR;
    QComboBox *cbBURL;
    QComboBox *cbRedirect;
    QComboBox *cbAutoCheck;
    QComboBox *cbRegStatus;
    QPushButton *btnFilterSave;

    // TIC and PR -1, every list on "Любое значение".
    void resetControls();
    FilterEditorValues values() const;
    void setValues(const FilterEditorValues &v);

    // Ready for a filter the navigator has just inserted: "add" mode, the
    // name, the current kind and the reset controls.
    void prepareAdd(const QString &name);
    // Loads the named filter of the current kind in "edit" mode: the reset
    // controls, then the row's values when the row exists. False when the
    // statement failed (reported) or the current kind has no filters: the
    // window must not be shown then.
    bool loadFilter(const QString &name);

    // "Сохранить": writes the controls into the row named FilterName (in edit
    // mode the row that was loaded), closes the window and, in edit mode,
    // refills the list through the navigator. A value too long for its
    // column, a row another copy changed meanwhile that the user chose not to
    // write over, or a failing statement keep the window open with the
    // user's values.
    void btnFilterSaveClick();

private:
    // The values a save writes, with the captions of their controls.
    QList<db::FieldValue> fields(const KindFacts &k) const;

    core::AppContext &m_ctx;
    mainview::MainView *m_main;
    // The row "edit" mode loaded; none in "add" mode.
    db::LoadedRow m_loaded;
};

} // namespace qv::workbench
