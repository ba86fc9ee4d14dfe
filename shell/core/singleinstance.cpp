#include "shell/core/singleinstance.h"

#include "platform/windowsystem.h"

#include <QDir>
#include <QHash>
#include <QLockFile>
#include <QStandardPaths>

#include <map>
#include <memory>

namespace Startup {

namespace {

// The locks this process holds, one per title, kept until it ends.
std::map<QString, std::unique_ptr<QLockFile>> &heldLocks()
{
    static std::map<QString, std::unique_ptr<QLockFile>> locks;
    return locks;
}

} // namespace

QString instanceLockPath(const QString &title)
{
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty())
        dir = QDir::tempPath();
    return dir + u"/zantoria-" + QString::number(qHash(title)) + u".lock";
}

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
    // No window system to ask: whoever holds the title's lock is the copy
    // that runs. Asking again from the copy that holds it finds no other.
    std::unique_ptr<QLockFile> &lock = heldLocks()[title];
    if (!lock) {
        lock = std::make_unique<QLockFile>(instanceLockPath(title));
        lock->setStaleLockTime(0); // only a lock whose process has ended is stale
    }
    return !lock->isLocked() && !lock->tryLock(0);
}

} // namespace Startup
