#pragma once
// Registration statuses: the outcome of a registration, kept per resource and
// project (forums: per forum and press release) in the kind's log.
#include "core/kind.h"

#include <QDateTime>
#include <QString>
#include <optional>

namespace qv::core {
struct AppContext;
}
namespace qv::workbench {

struct StatusChoice {
    QString code; // "1", "2", "3" or "0"
    QString text; // "Проверка (" + time + ")", ... or empty
};
// What the three status buttons say, tested in their order.
StatusChoice StatusFromButtons(bool checking, bool added, bool refused, const QString &time);

// The log's statements; nothing for a kind without a log.
std::optional<QString> StatusFindSql(core::Kind kind, int resourceId, int projectId, int materialId);
std::optional<QString> StatusWriteSql(core::Kind kind, std::optional<int> rowId, int resourceId, const QString &time, int userId,
                                      int projectId, int materialId, const QString &code);

// The list text of the status stored for one resource ("" when none or
// reset); nothing when the read failed (reported) or the kind has no log.
std::optional<QString> StoredStatusText(core::Kind kind, int resourceId, int projectId, int materialId);

// Records the status the buttons show for the selected resource; in the
// forums view it belongs to the press release `materialId`. Returns the list
// text to show once the log holds it; nothing when nothing was written (no
// kind, no press release in the forums view, or a failed statement).
std::optional<QString> SetRegistrationStatus(const core::AppContext &ctx, int materialId, bool checking, bool added, bool refused,
                                             const QDateTime &now = QDateTime::currentDateTime());

} // namespace qv::workbench
