#include "shell/core/sessionplatform.h"

#include <QtGlobal>

namespace SessionPlatform {

bool isWaylandSession(const Environment &env)
{
    return !env.waylandDisplay.isEmpty() || env.xdgSessionType.trimmed().toLower() == "wayland";
}

QByteArray platformFor(const Environment &env)
{
    if (!env.qtQpaPlatform.trimmed().isEmpty() || env.display.trimmed().isEmpty() || !isWaylandSession(env))
        return {};
    // Should XWayland not answer after all, Qt goes on to the next one
    // rather than end: the send then puts the text onto the clipboard.
    return QByteArrayLiteral("xcb;wayland");
}

Environment current()
{
    return Environment{qgetenv("QT_QPA_PLATFORM"), qgetenv("WAYLAND_DISPLAY"), qgetenv("XDG_SESSION_TYPE"),
                       qgetenv("DISPLAY")};
}

void apply()
{
    const QByteArray platform = platformFor(current());
    if (!platform.isEmpty())
        qputenv("QT_QPA_PLATFORM", platform);
}

} // namespace SessionPlatform
