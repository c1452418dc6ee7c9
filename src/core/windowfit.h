#pragma once
// Sizes that follow from what the fonts measure: a window never so narrow that
// the window manager shortens its title, whatever the platform's fonts.
#include <QString>

class QWidget;

namespace qv::core {

// The width a window needs for its title bar to show `title` whole: the
// title in the title bar's font, bold as window managers draw it, and room
// for the window's icon and buttons.
int TitleBarWidth(const QString &title);

// Widens `window` (its minimum width, or its width when it is fixed) to
// TitleBarWidth of its title, within the screen it is on.
void FitTitle(QWidget *window);

// From now on every window and dialog of the program, shown or retitled,
// is fitted so (message boxes size themselves for their title).
void KeepTitlesWhole();

} // namespace qv::core
