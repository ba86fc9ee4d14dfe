#include "thgrid.h"

#include "thdrawing.h"

#include "shell/core/textcodec.h"


QString THCell::text() const
{
    if (Ch == 0)
        return QString();
    return QString::fromUcs4(&Ch, 1);
}

bool thIsFullWidth(char32_t c)
{
    return c != 0 && TextCodec::isFullWidth(c);
}

char32_t thBrushOf(QStringView text)
{
    if (text.isEmpty())
        return 0;
    char32_t c = text[0].unicode();
    if (text[0].isHighSurrogate() && text.size() > 1 && text[1].isLowSurrogate())
        c = QChar::surrogateToUcs4(text[0], text[1]);
    else if (text[0].isSurrogate())
        c = QChar::ReplacementCharacter; // half a pair is no character
    return thIsControl(c) ? 0 : c;
}

THGrid::THGrid(int rows, int cols)
    : m_rows(std::max(rows, 0))
    , m_cols(std::max(cols, 0))
    , m_cells(std::size_t(m_rows) * std::size_t(m_cols))
{
}

void THGrid::write(int row, int col, char32_t c)
{
    THCell &cell = at(row, col);
    cell.Ch = c;
    cell.Used = true;
}

THGrid::Drawn THGrid::thDrawChar(char32_t b, int C, int R, THSurface *surface)
{
    if (!contains(R, C))
        return Drawn::Outside;
    if (b == 0 || thIsControl(b))
        return Drawn::EmptyBrush;
    const auto show = [&](char32_t c, int k) {
        if (surface)
            THPrintChar(*surface, QString::fromUcs4(&c, 1), k, R);
    };
    const THCell L = at(R, C);
    const bool lFull = thIsFullWidth(L.Ch);
    const int W = m_cols;

    if (!thIsFullWidth(b)) {
        if (L.Used && !(L.Ch != 0 && !lFull)) {
            // Half of a full-width character goes: its other half becomes a blank.
            const int other = lFull ? C + 1 : C - 1;
            if (contains(R, other)) {
                write(R, other, U' ');
                show(U' ', other);
            }
        }
        write(R, C, b);
        show(b, C);
        return Drawn::Done;
    }

    if (C >= W - 1)
        return Drawn::NoRoom;
    if (L.Ch == 0) {
        // On the right half: the new character takes the old one's place.
        if (C == 0)
            return Drawn::NoRoom; // an empty first cell breaks the grid's rule; nothing sound to do
        write(R, C - 1, b);
        show(b, C - 1);
        return Drawn::Done;
    }
    if (lFull) {
        write(R, C, b);
        show(b, C);
        return Drawn::Done;
    }
    const bool fullFollows = thIsFullWidth(at(R, C + 1).Ch);
    write(R, C, b);
    write(R, C + 1, 0);
    if (fullFollows && C + 2 < W) {
        write(R, C + 2, U' ');
        show(U' ', C + 2);
    }
    show(b, C);
    return Drawn::Done;
}
