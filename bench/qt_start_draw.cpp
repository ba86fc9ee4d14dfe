// The least a Qt program does to draw a word in 宋体: start the GUI
// application offscreen, load the font, draw one string. The yardstick for
// the start-up of `zantoria-cli arttext`.

#include "shell/core/fonts.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cstdio>

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    Fonts::installSubstitutions();
    QGuiApplication app(argc, argv);
    const QString text = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("聊天");
    const QFont font = Fonts::crispFont(Fonts::kSongTi, 12);
    QImage image(64, 32, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setFont(font);
    p.drawText(QPoint(0, 20), text);
    p.end();
    std::printf("%d\n", image.pixel(1, 1) == qRgb(255, 255, 255));
    return 0;
}
