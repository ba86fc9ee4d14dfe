#include "singleinstance.h"

#include "platform/windowsystem.h"

#include <QDir>
#include <QHash>
#include <QLockFile>
#include <QStandardPaths>

namespace Startup {

bool anotherCopyRestored(const QString &title)
{
    auto &ws = platform::windowSystem();
    if (ws.isAvailable()) {
        if (const platform::WindowId other = ws.findTopLevelWindow(title.toStdString())) {
            ws.restoreWindow(other);
            return true;
        }
        return false;
    }
    // No window system to ask: the lock lives as long as this process.
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty())
        dir = QDir::tempPath();
    static QLockFile lock(dir + u"/zantoria-" + QString::number(qHash(title)) + u".lock");
    lock.setStaleLockTime(0);
    return !lock.tryLock(0);
}

} // namespace Startup
