#pragma once

#include "platform/windowsystem.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

// A window system with the windows a test names, which records every send
// and answers with `result`.
class FakeWindowSystem final : public platform::WindowSystem
{
public:
    std::map<std::string, platform::WindowId> windows;
    std::vector<platform::SendRequest> sends;
    platform::SendResult result = platform::SendResult::Sent;
    std::function<void()> onSend;

    bool isAvailable() const override { return true; }
    platform::WindowId findTopLevelWindow(const std::string &title) override
    {
        const auto it = windows.find(title);
        return it == windows.end() ? 0 : it->second;
    }
    bool restoreWindow(platform::WindowId) override { return true; }
    bool setTopMost(platform::WindowId, bool) override { return true; }
    bool isMinimized(platform::WindowId) override { return false; }
    bool minimizeWindow(platform::WindowId) override { return true; }
    platform::WindowId childWindowAt(platform::WindowId parent, int, int) override { return parent; }
    platform::SendResult sendText(const platform::SendRequest &request) override
    {
        sends.push_back(request);
        if (onSend)
            onSend();
        return result;
    }
};
