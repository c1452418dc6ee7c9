#pragma once
// The branch of the navigator in use: one of the three kinds of the resource
// base, the contacts, or none. Outside the program (the names of its local
// pages and templates) a kind goes by its name: "catalogs", "forums", "soft",
// "contacts".
#include <QString>

namespace qv::core {

enum class Kind { None, Catalogs, Forums, Soft, Contacts };

// Catalogs, forums and software archives: the kinds of the resource base.
constexpr bool isResourceKind(Kind kind) { return kind == Kind::Catalogs || kind == Kind::Forums || kind == Kind::Soft; }

// "catalogs", "forums", "soft", "contacts"; empty for None.
QString kindName(Kind kind);

} // namespace qv::core
