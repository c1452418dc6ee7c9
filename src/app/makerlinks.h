#pragma once
// Commands that only open pages of the maker's site.
#include <QList>
#include <QString>

namespace qv::core {
struct AppContext;
}
namespace qv::app {

enum class LinkWay {
    ShellOpen, // opened in the default browser
    Launch     // handed to core::LaunchProgram, which opens an address the same way
};

struct MakerLink {
    const char *window;  // "frmMain", "frmHelp", "frmGoAd"
    const char *control; // N1, Button2, BitBtn1, ...
    const char *caption;
    const char *path; // appended to the maker's site address
    LinkWay way;
};

// Every link command, as the windows offer them.
const QList<MakerLink> &MakerLinks();
const MakerLink *FindMakerLink(const QString &window, const QString &control);

// Opens the link's page; the address is trimmed.
void OpenMakerLink(const core::AppContext &ctx, const MakerLink &link);
// Opens a page of the maker's site by path in the default browser.
void OpenMakerPage(const core::AppContext &ctx, const QString &path);

} // namespace qv::app
