// Writes the sample pictures below the program directory given as argument.
#include "samplepictures.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv); // the image writers are plug-ins
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 2) {
        std::fputs("usage: zantoria-samples PROGRAM_DIR\n", stderr);
        return 2;
    }
    if (!SamplePictures::writeAll(args.at(1))) {
        std::fputs("zantoria-samples: could not write every sample picture\n", stderr);
        return 1;
    }
    return 0;
}
