#pragma once
// List headers whose captions do not fit their column end in "…" instead of
// being cut off at the column's edge.
class QHeaderView;

namespace qv::controls {

// Shortens the captions of `header` that do not fit (with the header's text
// elide mode, set to Qt::ElideRight here).
void ElideHeaderCaptions(QHeaderView *header);

} // namespace qv::controls
