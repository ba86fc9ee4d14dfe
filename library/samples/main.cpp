// Writes the sample tips below the program directory given as argument.
#include "sampletips.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 2) {
        std::fputs("usage: zantoria-sampletips PROGRAM_DIR\n", stderr);
        return 2;
    }
    if (!SampleTips::writeMissing(args.at(1))) {
        std::fputs("zantoria-sampletips: could not write every sample tip\n", stderr);
        return 1;
    }
    return 0;
}
