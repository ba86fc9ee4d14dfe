// Writes the description file of the plug-in that ships with Zantoria,
// Spacefold, into the program directory's plug-in folder at build time, in
// the same form and code page the manager writes.

#include "pluginfile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: zantoria_plugingen OUTPUT.ini\n");
        return 2;
    }
    const QString output = args.at(1);
    QDir().mkpath(QFileInfo(output).absolutePath());

    CJInfo spacefold;
    spacefold.Name = QStringLiteral("Spacefold");
    spacefold.Version = QStringLiteral("1.0");
    // The manager reads "{app.path}" as the program directory, wherever the
    // user unpacked it.
#ifdef Q_OS_WIN
    spacefold.Path = PluginFile::kAppPath + QStringLiteral("\\Spacefold.exe");
#else
    spacefold.Path = PluginFile::kAppPath + QStringLiteral("/Spacefold");
#endif
    spacefold.Description = QStringLiteral("空格压缩器：折叠字符画里的空格，让字符画更小巧");
    if (!PluginFile::write(output, spacefold)) {
        std::fprintf(stderr, "zantoria_plugingen: cannot write %s\n", qUtf8Printable(output));
        return 1;
    }
    return 0;
}
