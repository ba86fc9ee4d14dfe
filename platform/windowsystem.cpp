#include "windowsystem.h"

namespace platform {

namespace {

class NullWindowSystem final : public WindowSystem
{
public:
    bool isAvailable() const override { return false; }
    WindowId findTopLevelWindow(const std::string &) override { return 0; }
    bool restoreWindow(WindowId) override { return false; }
    bool setTopMost(WindowId, bool) override { return false; }
    bool isMinimized(WindowId) override { return false; }
    bool minimizeWindow(WindowId) override { return false; }
    WindowId childWindowAt(WindowId, int, int) override { return 0; }
    std::vector<WindowInfo> topLevelWindows() override { return {}; }
    std::optional<WindowInfo> windowInfo(WindowId) override { return std::nullopt; }
    std::optional<PointedWindow> topLevelAt(int, int) override { return std::nullopt; }
    SendResult sendText(const SendRequest &) override { return SendResult::NoTarget; }
};

std::unique_ptr<WindowSystem> &instance()
{
    static std::unique_ptr<WindowSystem> ws;
    return ws;
}

} // namespace

std::unique_ptr<WindowSystem> createNullWindowSystem()
{
    return std::make_unique<NullWindowSystem>();
}

WindowSystem &windowSystem()
{
    auto &ws = instance();
    if (!ws)
        ws = createNativeWindowSystem();
    if (!ws)
        ws = createNullWindowSystem();
    return *ws;
}

std::unique_ptr<WindowSystem> setWindowSystem(std::unique_ptr<WindowSystem> replacement)
{
    auto previous = std::move(instance());
    instance() = std::move(replacement);
    return previous;
}

} // namespace platform
