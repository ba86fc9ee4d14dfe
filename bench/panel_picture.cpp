// panel_picture PICTURE: the picture panel reads a picture as it does when
// the user picks it (grey levels and preview), on the offscreen platform.
// For measuring the panel's memory with /usr/bin/time -v; exit status 0
// when the picture was read, 1 when the panel refused it.

#include "art/pictotextpanel.h"
#include "testcontext.h"
#include "tempprogramdir.h"

#include "shell/core/fonts.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fputs("usage: panel_picture PICTURE\n", stderr);
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    Fonts::installSubstitutions();
    QApplication app(argc, argv);
    TempProgramDir dir;
    TestContext context(dir.path());
    PicToTextPanel panel(context.context);
    panel.InitCCMY();
    const bool read = panel.ReadMYPicFile(QString::fromLocal8Bit(argv[1]));
    if (!read && !context.dialogs.shown.isEmpty())
        std::fprintf(stderr, "panel_picture: %s\n", qUtf8Printable(context.dialogs.shown.last().text));
    return read ? 0 : 1;
}
