#include "paintfixtures.h"

#include "paint/thrender.h"
#include "paint/thimagesurface.h"
#include "paint/thtext.h"

namespace PaintFixtures {

QString rowCells(const THGrid &grid, int row)
{
    QString s;
    for (int c = 0; c < grid.cols(); ++c) {
        const THCell &cell = grid.at(row, c);
        s += cell.Ch == 0 ? QStringLiteral("_") : cell.text();
    }
    return s;
}

THGrid rowGrid(const QString &text, int cols)
{
    return thTextToGrid(text, 1, cols);
}

QImage freshRender(const THGrid &grid, const QColor &lineColor)
{
    THImageSurface surface(lineColor);
    THRenderGrid(surface, grid);
    return surface.image().copy();
}

bool keepsTheRule(const THGrid &grid)
{
    for (int r = 0; r < grid.rows(); ++r) {
        for (int c = 0; c < grid.cols(); ++c) {
            const char32_t ch = grid.at(r, c).Ch;
            if (ch == 0 && (c == 0 || !thIsFullWidth(grid.at(r, c - 1).Ch)))
                return false;
            if (thIsFullWidth(ch) && (c == grid.cols() - 1 || grid.at(r, c + 1).Ch != 0))
                return false;
            if (ch != 0 && thIsControl(ch))
                return false;
        }
    }
    return true;
}

QString firstDifference(const QImage &a, const QImage &b)
{
    if (a.size() != b.size())
        return QStringLiteral("sizes %1x%2 and %3x%4").arg(a.width()).arg(a.height()).arg(b.width()).arg(b.height());
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y))
                return QStringLiteral("pixel (%1, %2): %3 and %4")
                    .arg(x)
                    .arg(y)
                    .arg(a.pixel(x, y), 8, 16)
                    .arg(b.pixel(x, y), 8, 16);
    return QString();
}

} // namespace PaintFixtures
