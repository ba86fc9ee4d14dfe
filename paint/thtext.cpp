#include "thtext.h"

QString thGetStr(QString text)
{
    while (text.endsWith(QLatin1String("\r\n")))
        text.chop(2);
    return text;
}

QString thGridToText(const THGrid &grid)
{
    QString text;
    text.reserve(qsizetype(grid.rows()) * (grid.cols() + 2));
    for (int r = 0; r < grid.rows(); ++r) {
        for (int c = 0; c < grid.cols(); ++c) {
            const char32_t ch = grid.at(r, c).Ch;
            if (ch == 0)
                continue;
            if (ch > 0xFFFF) {
                text += QChar(QChar::highSurrogate(ch));
                text += QChar(QChar::lowSurrogate(ch));
            } else {
                text += QChar(char16_t(ch));
            }
        }
        text += QLatin1String("\r\n");
    }
    return thGetStr(std::move(text));
}

void thForEachLine(QStringView text, const std::function<bool(QStringView)> &line)
{
    const qsizetype n = text.size();
    qsizetype start = 0;
    qsizetype i = 0;
    while (i < n) {
        const QChar c = text[i];
        if (c != u'\r' && c != u'\n') {
            ++i;
            continue;
        }
        if (!line(text.sliced(start, i - start)))
            return;
        i += (c == u'\r' && i + 1 < n && text[i + 1] == u'\n') ? 2 : 1;
        start = i;
    }
    if (start < n || n == 0)
        line(text.sliced(start));
}

namespace {

// The characters of a line one by one: a pair of surrogates is one character,
// half a pair stands for a broken one, a control code for a blank.
template<typename Fn>
void forEachChar(QStringView line, Fn &&fn)
{
    const qsizetype n = line.size();
    for (qsizetype i = 0; i < n; ++i) {
        char32_t c = line[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < n && line[i + 1].isLowSurrogate()) {
            c = QChar::surrogateToUcs4(line[i], line[i + 1]);
            ++i;
        } else if (QChar::isSurrogate(c)) {
            c = QChar::ReplacementCharacter;
        } else if (thIsControl(c)) {
            c = U' ';
        }
        if (!fn(c))
            return;
    }
}

} // namespace

qsizetype thLineCells(QStringView line)
{
    qsizetype cells = 0;
    forEachChar(line, [&](char32_t c) {
        cells += thCellWidth(c);
        return true;
    });
    return cells;
}

THTextSize thTextSize(QStringView text, int maxCols, int maxRows)
{
    qsizetype widest = 0;
    qsizetype lines = 0;
    thForEachLine(text, [&](QStringView line) {
        ++lines;
        // Past the widest canvas the exact width no longer matters.
        if (widest < maxCols)
            widest = std::max(widest, thLineCells(line));
        return true;
    });
    THTextSize size;
    size.cols = int(std::clamp<qsizetype>(widest, 1, std::max(maxCols, 1)));
    size.rows = int(std::clamp<qsizetype>(lines, 1, std::max(maxRows, 1)));
    return size;
}

THGrid thTextToGrid(QStringView text, int rows, int cols)
{
    THGrid grid(rows, cols);
    int row = 0;
    thForEachLine(text, [&](QStringView line) {
        if (row >= rows)
            return false;
        int col = 0;
        forEachChar(line, [&](char32_t c) {
            const int width = thCellWidth(c);
            if (col + width > cols)
                return false;
            THCell &cell = grid.at(row, col);
            cell.Ch = c;
            cell.Used = true;
            if (width == 2) {
                THCell &half = grid.at(row, col + 1);
                half.Ch = 0;
                half.Used = true;
            }
            col += width;
            return true;
        });
        ++row;
        return true;
    });
    return grid;
}
