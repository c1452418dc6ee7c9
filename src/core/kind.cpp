#include "core/kind.h"

namespace qv::core {

QString kindName(Kind kind)
{
    switch (kind) {
    case Kind::Catalogs: return QStringLiteral("catalogs");
    case Kind::Forums: return QStringLiteral("forums");
    case Kind::Soft: return QStringLiteral("soft");
    case Kind::Contacts: return QStringLiteral("contacts");
    case Kind::None: break;
    }
    return {};
}

} // namespace qv::core
