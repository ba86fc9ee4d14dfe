#include "grayorder.h"

#include "graymapping.h"

#include "shell/core/fonts.h"
#include "shell/core/pixelsurface.h"
#include "shell/core/textcodec.h"

#include <QHash>

#include <algorithm>
#include <cmath>

namespace {

const QString kGrayErrorTitle = QStringLiteral("灰度设置错误");

// The code-page value of a character, multi-byte codes read big-endian.
quint32 codeValue(char32_t c)
{
    if (!TextCodec::isFullWidth(c))
        return c < 0x80 ? quint32(c) : 0x80; // ASCII, and "€" as its single byte
    const QByteArray bytes = TextCodec::encode(QString::fromUcs4(&c, 1));
    quint32 value = 0;
    for (const char b : bytes)
        value = (value << 8) | quint8(b);
    return value;
}

} // namespace

int MeasureCharInk(QStringView character)
{
    const QString text = character.toString();
    const QFont font = Fonts::crispFont(Fonts::kSongTi, 12);
    const QSize extent = PixelSurface::textSize(text, font);
    const int w = extent.width();
    const int h = extent.height();
    PixelSurface surface(w + 2, h + 2, RGB(255, 255, 255));
    surface.clear();
    surface.drawText(1, 1, text, font, RGB(0, 0, 0));
    int ink = 0;
    for (int y = 1; y <= h; ++y) {
        for (int x = 1; x <= w; ++x) {
            if (surface.pixel(x, y) == 0)
                ++ink;
        }
    }
    return ink;
}

GrayTextProblem checkGrayText(QStringView text)
{
    const QList<char32_t> chars = grayCharacters(text);
    if (chars.size() < 8 || std::all_of(chars.cbegin(), chars.cend(), [](char32_t c) { return c == U' '; }))
        return GrayTextProblem::TooShort;
    if (std::any_of(chars.cbegin(), chars.cend(), [](char32_t c) { return TextCodec::isFullWidth(c); }))
        return GrayTextProblem::FullWidth;
    return GrayTextProblem::None;
}

QString orderByInk(QStringView text)
{
    struct Ink
    {
        char32_t character;
        int ink;
        quint32 code;
    };
    QList<Ink> records;
    QHash<char32_t, int> measured; // a repeated character is drawn once
    for (const char32_t c : grayCharacters(text)) {
        auto it = measured.constFind(c);
        if (it == measured.constEnd())
            it = measured.insert(c, MeasureCharInk(QString::fromUcs4(&c, 1)));
        records.append({c, *it, codeValue(c)});
    }
    std::stable_sort(records.begin(), records.end(), [](const Ink &a, const Ink &b) {
        return a.ink != b.ink ? a.ink > b.ink : a.code > b.code;
    });
    QString ordered;
    for (const Ink &r : records)
        ordered += QString::fromUcs4(&r.character, 1);
    return ordered;
}

QString grayProblemMessage(GrayTextProblem problem)
{
    switch (problem) {
    case GrayTextProblem::TooShort:
        return QStringLiteral("灰度字符不可小于8，且不可全为空格！");
    case GrayTextProblem::FullWidth:
        return QStringLiteral("灰度字符中不可有全角字符！");
    case GrayTextProblem::None:
        break;
    }
    return QString();
}

QString grayProblemTitle()
{
    return kGrayErrorTitle;
}

QString grayTooltip(QStringView ordered)
{
    return QStringLiteral("〔共") + QString::number(grayCharacters(ordered).size())
        + QStringLiteral("阶灰度[最多256阶]〕") + ordered;
}

GrayOrderResult ReSortGrayChar(QStringView text, QStringView customDefault)
{
    GrayOrderResult result;
    result.problem = checkGrayText(text);
    switch (result.problem) {
    case GrayTextProblem::TooShort:
        result.gray = customDefault.toString();
        return result;
    case GrayTextProblem::FullWidth:
        result.gray = text.toString();
        return result;
    case GrayTextProblem::None:
        break;
    }
    result.gray = orderByInk(text);
    result.tooltip = grayTooltip(result.gray);
    return result;
}
