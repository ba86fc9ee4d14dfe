#pragma once

#include <QString>

#include <array>

// The three grey strings the picture panel offers, as typed: they are ordered
// by ink when the panel is built, so the final order follows the font.
struct GrayPreset
{
    QString caption;
    QString raw;
};

inline const std::array<GrayPreset, 3> &grayPresets()
{
    static const std::array<GrayPreset, 3> presets = {{
        {QStringLiteral("常规灰度"), QStringLiteral("MN$QHOC7?>!\"-';:. ")},
        {QStringLiteral("94级灰度"),
         QStringLiteral("@MWNB#RmDHQ&08OUgGKPXw69AbdpSqh4$EZVk5yCY23Fuano[]Tex{|}()JL7?/jv\\s1czfltI!+<>ir"
                        "\"*=;'~:^_`,-. ")},
        {QStringLiteral("自定义灰度"), QStringLiteral("MMMNN$QHOC7?>!\"-';:. ")},
    }};
    return presets;
}
