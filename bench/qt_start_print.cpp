// The least a Qt program does before it can answer on the command line:
// start QCoreApplication and print one line. The floor for zantoria-cli's
// start-up (bench/cli-speed.sh).

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    std::puts("usage: zantoria-cli COMMAND [OPTIONS]");
    return 0;
}
