#pragma once

#include <QFont>
#include <QString>

namespace Fonts {

// The Chinese face the programs were drawn for, and the installed face that
// stands in for it (a bitmap-friendly Ming face that stays crisp unsmoothed).
inline const QString kSongTi = QStringLiteral("宋体");
inline const QString kSongTiStandIn = QStringLiteral("AR PL UMing CN");

// Maps the historical face names to installed ones; call once per process
// before the first font is made.
void installSubstitutions();

// A font at a size in points, at 96 dots per inch (1 point = 4/3 pixel),
// drawn without anti-aliasing so that black pixels are exactly black.
QFont crispFont(const QString &family, double points);

} // namespace Fonts
