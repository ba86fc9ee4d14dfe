// Builds without a supported window system: every lookup answers "not found".

#include "windowsystem.h"

namespace platform {

std::unique_ptr<WindowSystem> createNativeWindowSystem()
{
    return createNullWindowSystem();
}

} // namespace platform
