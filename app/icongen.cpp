// Draws the program's icons from its logo, into the hicolor theme layout
// below the directory given as the only argument
// (DIR/hicolor/NxN/apps/zantoria.png). Run by the build for installation.

#include "shell/core/logo.h"

#include <QDir>
#include <QGuiApplication>

#include <cstdio>

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    const QStringList args = QGuiApplication::arguments();
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: zantoria_icongen DIR\n");
        return 2;
    }
    for (const int size : {16, 32, 48, 64, 128, 256}) {
        const QString dir = QStringLiteral("%1/hicolor/%2x%2/apps").arg(args.at(1)).arg(size);
        const QString file = dir + QStringLiteral("/zantoria.png");
        if (!QDir().mkpath(dir) || !Logo::image(size).save(file, "PNG")) {
            std::fprintf(stderr, "zantoria_icongen: cannot write %s\n", qUtf8Printable(file));
            return 1;
        }
    }
    return 0;
}
