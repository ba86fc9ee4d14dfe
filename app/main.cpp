#include "shell/core/fonts.h"
#include "shell/core/places.h"
#include "shell/core/sessionplatform.h"
#include "shell/widgets/qtdialogs.h"
#include "app/startup.h"

#include <QApplication>

int main(int argc, char **argv)
{
    // Before the application object: it picks its platform plug-in.
    SessionPlatform::apply();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Zantoria"));
    Fonts::installSubstitutions();
    setDialogs(std::make_unique<QtDialogs>());
    return Startup::Main(app, Places::forThisProgram());
}
