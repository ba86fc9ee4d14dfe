#include "thinputs.h"

#include "thgrid.h"

#include "shell/core/utilities.h"

#include <cmath>

QStringList InitthQJChar(QStringView symbols)
{
    QStringList items{QStringLiteral("　")};
    const qsizetype n = symbols.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (symbols[i] == u' ')
            continue;
        const bool pair = symbols[i].isHighSurrogate() && i + 1 < n && symbols[i + 1].isLowSurrogate();
        items << symbols.sliced(i, pair ? 2 : 1).toString();
        if (pair)
            ++i;
    }
    return items;
}

namespace {

// A number as a person types one: blanks around it allowed, and it must be finite.
bool readNumber(const QString &text, double *value)
{
    bool ok = false;
    const double v = TrimBlanks(text).toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return false;
    *value = v;
    return true;
}

} // namespace

QString thSizeInput(const QString &text, int current, int max)
{
    double v = 0;
    if (!readNumber(text, &v))
        return QString::number(current);
    if (v < 1)
        return QStringLiteral("1");
    if (v > max)
        return QString::number(max);
    return text;
}

int thSizeValue(const QString &text, int current, int max)
{
    double v = 0;
    const double wanted = readNumber(text, &v) ? std::round(v) : double(current);
    return int(std::clamp(wanted, 1.0, double(std::max(max, 1))));
}

QString thHalfWidthBrushInput(const QString &text)
{
    const char32_t c = thBrushOf(text);
    if (c == 0 || thIsFullWidth(c))
        return QStringLiteral(" ");
    return text;
}

QString thFullWidthBrushInput(const QString &text)
{
    const char32_t c = thBrushOf(text);
    if (!thIsFullWidth(c))
        return QStringLiteral("　");
    return QString::fromUcs4(&c, 1);
}

QString thPositionText(int row, int col)
{
    return QStringLiteral("当前坐标：(行%1,列%2)").arg(row + 1).arg(col + 1);
}

QString thPositionOutside()
{
    return QStringLiteral("当前坐标：[尚未进入画板]");
}

QString thSizeCaption(int cols, int rows)
{
    return QStringLiteral("当前画板尺寸:%1x%2").arg(cols).arg(rows);
}

QString thSizeTooltip(int maxCols, int maxRows)
{
    return QStringLiteral("画板尺寸：(1x1)～(%1x%2)").arg(maxCols).arg(maxRows);
}
