#include "thtools.h"

#include "thtext.h"

#include <algorithm>
#include <cstdlib>

namespace {

QPoint within(QPoint p)
{
    return QPoint(std::clamp(p.x(), -kThFar, kThFar), std::clamp(p.y(), -kThFar, kThFar));
}

// The drawing rule, with a full-width character landing at `col` itself:
// one whose right half is there gives way first (on a right half the rule
// alone would put the new character in the old one's place, a column left).
THGrid::Drawn land(THGrid &grid, char32_t c, int col, int row, THSurface *surface)
{
    if (thIsFullWidth(c) && grid.contains(row, col) && grid.at(row, col).isRightHalf())
        grid.thDrawChar(U' ', col, row, surface);
    return grid.thDrawChar(c, col, row, surface);
}

// Draws `brush` at the cells of the grid among `cells`, in their order; a
// full-width brush on its slots from column `left` (see the header), each
// slot once. No cell lies left of `left`.
void paintCells(THGrid &grid, char32_t brush, const std::vector<QPoint> &cells, int left, THSurface *surface)
{
    const bool full = thIsFullWidth(brush);
    const int W = grid.cols();
    std::vector<bool> done(full ? grid.cells().size() : 0);
    for (const QPoint &p : cells) {
        if (!grid.contains(p.y(), p.x()))
            continue;
        if (!full) {
            grid.thDrawChar(brush, p.x(), p.y(), surface);
            continue;
        }
        int slot = left + (p.x() - left) / 2 * 2;
        if (slot == W - 1)
            slot -= 2;
        if (!grid.contains(p.y(), slot))
            continue;
        const std::size_t index = std::size_t(p.y()) * std::size_t(W) + std::size_t(slot);
        if (done[index])
            continue;
        done[index] = true;
        land(grid, brush, slot, p.y(), surface);
    }
}

// The first cell of the character that covers (row, col).
int startOf(const THGrid &grid, int row, int col)
{
    return col > 0 && grid.at(row, col).isRightHalf() ? col - 1 : col;
}

} // namespace

std::vector<QPoint> thLinePoints(QPoint from, QPoint to)
{
    from = within(from);
    to = within(to);
    int x = from.x();
    int y = from.y();
    const int dx = std::abs(to.x() - x);
    const int dy = -std::abs(to.y() - y);
    const int sx = x < to.x() ? 1 : -1;
    const int sy = y < to.y() ? 1 : -1;
    int err = dx + dy;
    std::vector<QPoint> points;
    points.reserve(std::size_t(std::max(dx, -dy)) + 1);
    for (;;) {
        points.emplace_back(x, y);
        if (x == to.x() && y == to.y())
            return points;
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y += sy;
        }
    }
}

bool thPaints(char32_t brush)
{
    return brush != 0 && !thIsControl(brush);
}

bool thDrawLine(THGrid &grid, char32_t brush, QPoint from, QPoint to, THSurface *surface)
{
    if (!thPaints(brush))
        return false;
    const int left = std::min(within(from).x(), within(to).x());
    paintCells(grid, brush, thLinePoints(from, to), left, surface);
    return true;
}

bool thDrawRect(THGrid &grid, char32_t brush, QPoint a, QPoint b, bool filled, THSurface *surface)
{
    if (!thPaints(brush))
        return false;
    a = within(a);
    b = within(b);
    const int c0 = std::min(a.x(), b.x());
    const int c1 = std::max(a.x(), b.x());
    const int r0 = std::min(a.y(), b.y());
    const int r1 = std::max(a.y(), b.y());
    const int fromCol = std::max(c0, 0);
    const int toCol = std::min(c1, grid.cols() - 1);
    const int fromRow = std::max(r0, 0);
    const int toRow = std::min(r1, grid.rows() - 1);
    std::vector<QPoint> cells;
    for (int r = fromRow; r <= toRow; ++r) {
        const bool edgeRow = filled || r == r0 || r == r1;
        for (int c = fromCol; c <= toCol; ++c) {
            if (edgeRow || c == c0 || c == c1)
                cells.emplace_back(c, r);
        }
    }
    paintCells(grid, brush, cells, c0, surface);
    return true;
}

bool thFill(THGrid &grid, char32_t brush, QPoint at, THSurface *surface)
{
    if (!thPaints(brush) || !grid.contains(at.y(), at.x()))
        return false;
    const int W = grid.cols();
    const int startCol = startOf(grid, at.y(), at.x());
    const char32_t target = grid.at(at.y(), startCol).Ch;
    if (target == brush)
        return true;

    // The region, character by character: `inside` marks its cells (both
    // halves of a full-width one).
    std::vector<bool> inside(grid.cells().size());
    const auto index = [W](int r, int c) { return std::size_t(r) * std::size_t(W) + std::size_t(c); };
    std::vector<QPoint> todo{QPoint(startCol, at.y())};
    inside[index(at.y(), startCol)] = true;
    const auto reach = [&](int r, int c) {
        if (!grid.contains(r, c))
            return;
        c = startOf(grid, r, c);
        if (inside[index(r, c)] || grid.at(r, c).Ch != target)
            return;
        inside[index(r, c)] = true;
        todo.emplace_back(c, r);
    };
    while (!todo.empty()) {
        const QPoint p = todo.back();
        todo.pop_back();
        const int r = p.y();
        const int c = p.x();
        const int last = std::min(c + thCellWidth(target), W) - 1;
        if (last != c)
            inside[index(r, last)] = true;
        reach(r, c - 1);
        reach(r, last + 1);
        for (int k = c; k <= last; ++k) {
            reach(r - 1, k);
            reach(r + 1, k);
        }
    }

    const bool slotted = thIsFullWidth(brush) && !thIsFullWidth(target);
    for (int r = 0; r < grid.rows(); ++r) {
        for (int c = 0; c < W; ++c) {
            if (!inside[index(r, c)])
                continue;
            if (!slotted) {
                // A full-width brush on a full-width region takes each
                // character's place; a half-width one fills both halves.
                if (!(thIsFullWidth(brush) && grid.at(r, c).isRightHalf()))
                    grid.thDrawChar(brush, c, r, surface);
                continue;
            }
            const bool slot = (c - startCol) % 2 == 0 && c + 1 < W && inside[index(r, c + 1)];
            grid.thDrawChar(slot ? brush : U' ', c, r, surface);
            if (slot)
                ++c;
        }
    }
    return true;
}

QRect thSelection(const THGrid &grid, QPoint a, QPoint b)
{
    const QRect all(0, 0, grid.cols(), grid.rows());
    QRect rect = QRect(QPoint(std::min(a.x(), b.x()), std::min(a.y(), b.y())),
                       QPoint(std::max(a.x(), b.x()), std::max(a.y(), b.y())))
                 & all;
    if (rect.isEmpty())
        return QRect();
    for (bool widened = true; widened;) {
        widened = false;
        for (int r = rect.top(); r <= rect.bottom(); ++r) {
            if (grid.at(r, rect.left()).isRightHalf() && rect.left() > 0) {
                rect.setLeft(rect.left() - 1);
                widened = true;
            }
            if (thIsFullWidth(grid.at(r, rect.right()).Ch) && rect.right() + 1 < grid.cols()) {
                rect.setRight(rect.right() + 1);
                widened = true;
            }
        }
    }
    return rect;
}

THGrid thCopyBlock(const THGrid &grid, const QRect &rect)
{
    const QRect r = rect & QRect(0, 0, grid.cols(), grid.rows());
    THGrid block(r.height(), r.width());
    for (int i = 0; i < block.rows(); ++i) {
        for (int j = 0; j < block.cols(); ++j) {
            THCell cell = grid.at(r.top() + i, r.left() + j);
            const bool cutLeft = j == 0 && cell.isRightHalf();
            const bool cutRight = j == block.cols() - 1 && thIsFullWidth(cell.Ch);
            if (cutLeft || cutRight)
                cell.Ch = U' ';
            block.at(i, j) = cell;
        }
    }
    return block;
}

QString thSelectionText(const THGrid &grid, const QRect &rect)
{
    return thGridToText(thCopyBlock(grid, rect));
}

void thBlank(THGrid &grid, const QRect &rect, THSurface *surface)
{
    const QRect r = rect & QRect(0, 0, grid.cols(), grid.rows());
    for (int row = r.top(); row <= r.bottom(); ++row)
        for (int col = r.left(); col <= r.right(); ++col)
            grid.thDrawChar(U' ', col, row, surface);
}

QRect thPaste(THGrid &grid, const THGrid &block, QPoint at, THSurface *surface)
{
    const QRect landed = QRect(at, QSize(block.cols(), block.rows())) & QRect(0, 0, grid.cols(), grid.rows());
    if (landed.isEmpty())
        return QRect();
    for (int row = landed.top(); row <= landed.bottom(); ++row) {
        for (int col = landed.left(); col <= landed.right(); ++col) {
            const char32_t c = block.at(row - at.y(), col - at.x()).Ch;
            if (c == 0) {
                // Drawn with its character, unless that one fell outside.
                if (col == landed.left())
                    grid.thDrawChar(U' ', col, row, surface);
                continue;
            }
            if (land(grid, c, col, row, surface) == THGrid::Drawn::NoRoom)
                grid.thDrawChar(U' ', col, row, surface);
        }
    }
    return thSelection(grid, landed.topLeft(), landed.bottomRight());
}

THGrid thTextBlock(QStringView text, const THGrid &grid, QPoint at)
{
    const int roomCols = grid.cols() - at.x();
    const int roomRows = grid.rows() - at.y();
    if (!grid.contains(at.y(), at.x()) || roomCols < 1 || roomRows < 1)
        return THGrid();
    const THTextSize size = thTextSize(text, roomCols, roomRows);
    return thTextToGrid(text, size.rows, size.cols);
}

QRect thMove(THGrid &grid, const QRect &selection, QPoint offset, THSurface *surface)
{
    if (offset.isNull() || selection.isEmpty())
        return selection;
    const THGrid block = thCopyBlock(grid, selection);
    thBlank(grid, selection, surface);
    return thPaste(grid, block, selection.topLeft() + offset, surface);
}
