#pragma once
// The navigator tree without widgets: its fixed nodes, the window set-up of
// each kind, the link pages, the statements of a branch build and the order
// in which a kind's rubric rows become nodes.
#include "controls/rowtree.h"
#include "workbench/kindfacts.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace qv::workbench {

// The fixed top nodes; their index decides the kind.
enum TopNode {
    TopSoft = 0,
    TopCatalogs = 1,
    TopForums = 2,
    TopContacts = 3,
    TopRecommend = 4,
    TopSubscribe = 5,
    TopHelp = 6,
    TopNodeCount = 7,
};

struct FixedNode {
    QString text;
    int image = 0;
};

FixedNode topNode(int index);
// The children of "Рекомендуем владельцам сайтов", in order.
std::vector<FixedNode> recommendLinks();
// The only child a collapsed branch shows: at start and after a collapse.
QString placeholderAtStart(int topIndex);
QString placeholderAfterCollapse(int topIndex);

// Soft, Catalogs, Forums, Contacts; None for the other top nodes.
core::Kind kindOfTop(int topIndex);
// The local help page of a kind's top node ("soft.htm", ...).
QString helpPage(int topIndex);

// A node that opens a page of the maker's site: its path, or nothing.
std::optional<QString> linkPath(const QString &text);
extern const char *const kSubscribeText;
extern const char *const kRecommendText;

// The window set-up of a kind's top node.
struct KindSetup {
    core::Kind kind = core::Kind::None;
    QStringList pageCaptions; // pcMain pages 0..2 (contacts: pcContacts)
    QStringList tabCaptions;  // tcWeb tabs 0, 1, 3 (contacts: tab 0 only)
    QString materialNew;      // tbMaterialNew (empty: unchanged)
    QString materialName;     // pnlMaterialName (empty: unchanged)
    bool contacts = false;
    bool showMaterials = false; // tbItems, cbFMaterials, pnlSP
    bool feelDropDown = false;  // tbFeel drop-down with pmFill
    bool clearMaterialName = false;
};
std::optional<KindSetup> kindSetup(int topIndex);

// Header and add-node texts of a resource branch.
extern const char *const kFiltersHeader;
extern const char *const kSectionsHeader;
extern const char *const kAddFilter;
extern const char *const kAddSection;

// Statements of a branch build and of the two add nodes (names quoted; the
// add nodes find a name taken with FilterRowSql and SectionByNameSql).
QString FiltersSql(const KindFacts &k);
QString SectionsSql(const KindFacts &k, int projectId);
QString SubjectsSql(const KindFacts &k);
QString SectionInsertSql(const KindFacts &k, const QString &name, int projectId);
QString FilterInsertSql(const KindFacts &k, const QString &name);

// The rubric rows of a kind, in arrival order, placed the way the branch
// build places them: a root rubric goes in front of the roots placed so far
// (so roots end up in reverse order, ahead of the two headers), a root named
// "Корзина" goes after the headers, any other row under the rubric with its
// parent id; a row whose parent is not placed (yet) is left out.
using RubricRow = controls::TreeRow;
using RubricNode = controls::TreeRowNode;
using RubricPlan = controls::TreeRowPlan;
RubricPlan PlanRubrics(const std::vector<RubricRow> &rows);

} // namespace qv::workbench
