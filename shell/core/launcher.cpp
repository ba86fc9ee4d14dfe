#include "shell/core/launcher.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>

namespace {

class SystemLauncher final : public Launcher
{
public:
    bool startProgram(const QString &path) override
    {
        // The path is handed over as the program itself, never to a shell, so
        // nothing in it is parsed.
        const QFileInfo info(path);
        if (!info.isAbsolute() || !info.exists() || !info.isFile())
            return false;
        QProcess process;
        process.setProgram(info.absoluteFilePath());
        process.setArguments({});
        process.setWorkingDirectory(info.absolutePath());
        process.setStandardInputFile(QProcess::nullDevice());
        return process.startDetached();
    }

    bool openUrl(const QUrl &url) override { return QDesktopServices::openUrl(url); }
};

} // namespace

std::unique_ptr<Launcher> createSystemLauncher()
{
    return std::make_unique<SystemLauncher>();
}
