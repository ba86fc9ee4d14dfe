#include "shell/core/fonts.h"

#include <cmath>

namespace Fonts {

void installSubstitutions()
{
    QFont::insertSubstitution(kSongTi, kSongTiStandIn);
    QFont::insertSubstitution(QStringLiteral("SimSun"), kSongTiStandIn);
}

QFont crispFont(const QString &family, double points)
{
    QFont font(family);
    font.setPixelSize(std::max(1, int(std::lround(points * 4.0 / 3.0))));
    font.setStyleStrategy(QFont::StyleStrategy(QFont::NoAntialias | QFont::PreferMatch));
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

} // namespace Fonts
