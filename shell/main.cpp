#include "fonts.h"
#include "programpaths.h"
#include "qtdialogs.h"
#include "startup.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Zantoria"));
    Fonts::installSubstitutions();
    setDialogs(std::make_unique<QtDialogs>());
    return Startup::Main(app, ProgramPaths::programDir());
}
