#pragma once

#include <QString>

namespace Startup {

// When another copy with a window of this title runs, restores it and
// returns true. Without a window system a per-user lock stands in for the
// lookup: the first copy holds it for its lifetime. Both programs use this,
// so it lives beside the core helpers rather than with the main window.
bool anotherCopyRestored(const QString &title);

// Where the stand-in lock of a title lives; the same in every process.
QString instanceLockPath(const QString &title);

} // namespace Startup
