#pragma once

#include <QImage>
#include <QSize>

// The small pictures of the main window and the About panel, drawn in code
// so that the program ships nothing it did not make itself.
namespace ShellPictures {

// The banner at the top of the system-menu column: the logo and the name on
// a blue sweep that runs into the column's colour.
QImage menuBanner(QSize size);

// The state-bar button's two icons: the menu column shown (down) or hidden (up).
QImage beginBarIcon(bool columnShown);

// The About panel's heading icons: 0 star, 1 heart, 2 notice, 3 help.
QImage aboutIcon(int index);

// The logos of the maker's two other products (0 and 1).
QImage productLogo(int index, int size);

} // namespace ShellPictures
