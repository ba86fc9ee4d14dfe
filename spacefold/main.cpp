#include "spacefoldwindow.h"

#include "shell/core/dialogs.h"
#include "shell/core/fonts.h"
#include "shell/core/largeblocks.h"
#include "shell/core/sessionplatform.h"
#include "shell/widgets/qtdialogs.h"
#include "shell/core/singleinstance.h"

#include <QApplication>

int main(int argc, char **argv)
{
    returnLargeBlocksWhenFreed();
    // Before the application object: it picks its platform plug-in.
    SessionPlatform::apply();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Spacefold"));
    Fonts::installSubstitutions();
    setDialogs(std::make_unique<QtDialogs>());
    if (Startup::anotherCopyRestored(SpacefoldWindow::caption()))
        return 0;
    SpacefoldWindow window;
    window.Form_Load();
    window.show();
    return app.exec();
}
