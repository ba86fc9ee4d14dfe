#include "shell/core/pixelsurface.h"

#include <QFontMetrics>
#include <QHash>
#include <QPainter>

#include <cmath>

PixelSurface::PixelSurface(int width, int height, RgbValue background)
    : m_background(background)
{
    resize(width, height);
}

PixelSurface::PixelSurface(const QImage &picture)
{
    if (picture.isNull())
        return;
    if (picture.hasAlphaChannel()) {
        // Transparent pixels read as the white the surface starts with.
        m_image = QImage(picture.size(), QImage::Format_RGB32);
        m_image.fill(Qt::white);
        QPainter p(&m_image);
        p.drawImage(0, 0, picture);
    } else {
        m_image = picture.convertToFormat(QImage::Format_RGB32);
    }
}

RgbValue PixelSurface::pixel(int x, int y) const
{
    if (x < 0 || y < 0 || x >= m_image.width() || y >= m_image.height())
        return RGB(255, 255, 255);
    const QRgb c = reinterpret_cast<const QRgb *>(m_image.constScanLine(y))[x];
    return RGB(qRed(c), qGreen(c), qBlue(c));
}

void PixelSurface::resize(int width, int height)
{
    m_image = QImage(std::max(width, 0), std::max(height, 0), QImage::Format_RGB32);
    clear();
}

void PixelSurface::clear()
{
    m_image.fill(toQColor(m_background));
}

void PixelSurface::drawText(int x, int y, const QString &text, const QFont &font, RgbValue colour)
{
    if (m_image.isNull())
        return;
    QFont crisp = font;
    crisp.setStyleStrategy(QFont::StyleStrategy(crisp.styleStrategy() | QFont::NoAntialias));
    QPainter p(&m_image);
    p.setRenderHint(QPainter::TextAntialiasing, false);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setFont(crisp);
    p.setPen(toQColor(colour));
    p.drawText(QPoint(x, y + QFontMetrics(crisp).ascent()), text);
}

QSize PixelSurface::textSize(const QString &text, const QFont &font)
{
    const QFontMetrics metrics(font);
    return QSize(metrics.horizontalAdvance(text), metrics.height());
}

QFont PixelSurface::plainFont(const QFont &font)
{
    // The platform these pictures come from draws plain text glyph after
    // glyph: no pair kerning, no ligatures. Measuring and drawing with the
    // same plain font is what lets a prefix of the text keep its width.
    QFont plain = font;
    plain.setKerning(false);
    plain.setStyleStrategy(
        QFont::StyleStrategy(plain.styleStrategy() | QFont::NoAntialias | QFont::PreferNoShaping));
    return plain;
}

int PixelSurface::TextBlock::Line::width() const
{
    return advances.empty() ? 0 : int(std::lround(advances.back()));
}

QSize PixelSurface::TextBlock::size() const
{
    if (lines.empty())
        return QSize(0, 0);
    int widest = 0;
    for (const Line &line : lines)
        widest = std::max(widest, line.width());
    return QSize(widest, int(lines.size() - 1) * pitch + lineHeight);
}

PixelSurface::TextBlock PixelSurface::layoutText(QStringView text, const QFont &font)
{
    TextBlock block;
    block.font = plainFont(font);
    const QFontMetrics whole(block.font);
    block.lineHeight = whole.height();
    block.ascent = whole.ascent();
    block.pitch = std::max(block.lineHeight, whole.lineSpacing());

    // Each code point is measured once on its own; without kerning and
    // shaping its advance is the same wherever it stands.
    const QFontMetricsF metrics(block.font);
    QHash<char32_t, double> known;
    const auto advance = [&](char32_t c) {
        if (isControl(c))
            c = u' ';
        const auto found = known.constFind(c);
        if (found != known.constEnd())
            return *found;
        const double a = metrics.horizontalAdvance(QString::fromUcs4(&c, 1));
        known.insert(c, a);
        return a;
    };

    const qsizetype n = text.size();
    qsizetype position = 0; // code points so far, breaks counted
    TextBlock::Line line;
    double running = 0;
    for (qsizetype i = 0; i < n;) {
        const QChar c = text[i];
        if (c == u'\r' || c == u'\n') {
            const qsizetype breakLength = c == u'\r' && i + 1 < n && text[i + 1] == u'\n' ? 2 : 1;
            block.lines.push_back(std::move(line));
            line = TextBlock::Line();
            i += breakLength;
            position += breakLength;
            line.firstCodePoint = position;
            running = 0;
            continue;
        }
        char32_t code = c.unicode();
        qsizetype units = 1;
        if (c.isHighSurrogate() && i + 1 < n && text[i + 1].isLowSurrogate()) {
            code = QChar::surrogateToUcs4(c, text[i + 1]);
            units = 2;
        }
        running += advance(code);
        line.codePoints.push_back(code);
        line.advances.push_back(running);
        i += units;
        ++position;
    }
    if (!line.codePoints.empty() || (n > 0 && text[n - 1] != u'\r' && text[n - 1] != u'\n'))
        block.lines.push_back(std::move(line));
    return block;
}

