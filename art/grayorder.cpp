#include "grayorder.h"

#include "graymapping.h"

#include "shell/core/fonts.h"
#include "shell/core/pixelsurface.h"

namespace {

const QString kGrayErrorTitle = QStringLiteral("灰度设置错误");

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

QString orderByInk(QStringView text)
{
    return orderByInk(text, [](char32_t c) { return MeasureCharInk(QString::fromUcs4(&c, 1)); });
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
