// hostile_pictures DIR: writes the pictures of the memory check into DIR
// and prints their paths, one a line.

#include "hostilepictures.h"

#include <QCoreApplication>
#include <QDir>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fputs("usage: hostile_pictures DIR\n", stderr);
        return 2;
    }
    const QString dir = QString::fromLocal8Bit(argv[1]);
    if (!QDir().mkpath(dir)) {
        std::fprintf(stderr, "hostile_pictures: cannot make %s\n", argv[1]);
        return 1;
    }
    const QStringList paths = HostilePictures::writeMemorySet(dir);
    if (paths.isEmpty()) {
        std::fputs("hostile_pictures: cannot write the pictures\n", stderr);
        return 1;
    }
    for (const QString &path : paths)
        std::printf("%s\n", qPrintable(path));
    return 0;
}
