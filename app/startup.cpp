#include "app/startup.h"

#include "shell/core/dialogs.h"
#include "app/mainwindow.h"
#include "shell/core/programpaths.h"
#include "app/skinframe.h"
#include "app/splashwindow.h"
#include "shell/core/texts.h"

#include "platform/windowsystem.h"

#include <QApplication>
#include <QDir>
#include <QLockFile>
#include <QStandardPaths>

#include <exception>
#include <memory>

namespace Startup {

QString fatalErrorTitle()
{
    return QStringLiteral("很抱歉，出错了：O");
}

QString fatalErrorText()
{
    return QStringLiteral("发现未知错误！程序将会自动退出运行。\r\n"
                          "希望您可以将这个BUG告诉给Morvenna，以便程序的改进，在这里对于您的支持，"
                          "Morvenna真心的表示感谢！^)^");
}

int guarded(const std::function<int()> &body)
{
    try {
        return body();
    } catch (const SkinError &) {
        dialogs().message(skinFailureText(), skinFailureTitle(), Dialogs::Icon::Information);
        return kExitSkin;
    } catch (...) {
        dialogs().message(fatalErrorText(), fatalErrorTitle(), Dialogs::Icon::Information);
        return kExitFatal;
    }
}

std::unique_ptr<MainWindow> loadMainWindow(const QString &programDir, SplashWindow &splash)
{
    ProgramPaths::CreateDataDirs(programDir);
    auto window = std::make_unique<MainWindow>(programDir);
    window->Form_Load([&](const QString &text) {
        splash.setProgressText(text);
        QApplication::processEvents();
    });
    return window;
}

int Main(QApplication &app, const QString &programDir)
{
    return guarded([&] {
        if (anotherCopyRestored(Strings::kMainTitle))
            return 0;
        QApplication::processEvents();
        SplashWindow splash;
        splash.show();
        QApplication::processEvents();
        const auto window = loadMainWindow(programDir, splash);
        window->show();
        splash.close();
        return app.exec();
    });
}

} // namespace Startup
