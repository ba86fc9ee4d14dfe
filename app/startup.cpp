#include "app/startup.h"

#include "shell/core/dialogs.h"
#include "app/mainwindow.h"
#include "shell/core/places.h"
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

QString dataDirFailureTitle()
{
    return QStringLiteral("无法启动Zantoria：（");
}

std::unique_ptr<MainWindow> loadMainWindow(const Places &places, SplashWindow &splash)
{
    QString problem;
    if (!places.prepare(&problem)) {
        splash.close();
        dialogs().message(problem, dataDirFailureTitle(), Dialogs::Icon::Critical);
        return nullptr;
    }
    auto window = std::make_unique<MainWindow>(places);
    window->Form_Load([&](const QString &text) {
        splash.setProgressText(text);
        QApplication::processEvents();
    });
    return window;
}

int Main(QApplication &app, const Places &places)
{
    return guarded([&] {
        if (anotherCopyRestored(Strings::kMainTitle))
            return 0;
        QApplication::processEvents();
        SplashWindow splash;
        splash.show();
        QApplication::processEvents();
        const auto window = loadMainWindow(places, splash);
        if (!window)
            return kExitDataDir;
        window->show();
        splash.close();
        return app.exec();
    });
}

} // namespace Startup
