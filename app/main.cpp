#include "shell/core/fonts.h"
#include "shell/core/places.h"
#include "shell/widgets/qtdialogs.h"
#include "app/startup.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Zantoria"));
    Fonts::installSubstitutions();
    setDialogs(std::make_unique<QtDialogs>());
    return Startup::Main(app, Places::forThisProgram());
}
