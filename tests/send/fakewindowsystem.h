#pragma once

#include "platform/windowsystem.h"

#include <functional>
#include <map>
#include <optional>
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
    // Each window's class (none: "chat"); where a click lands.
    std::map<platform::WindowId, std::string> classes;
    std::optional<platform::PointedWindow> pointed;
    bool available = true;

    bool isAvailable() const override { return available; }
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
    std::vector<platform::WindowInfo> topLevelWindows() override
    {
        std::vector<platform::WindowInfo> list;
        for (const auto &[title, id] : windows)
            list.push_back(*windowInfo(id));
        return list;
    }
    std::optional<platform::WindowInfo> windowInfo(platform::WindowId window) override
    {
        for (const auto &[title, id] : windows) {
            if (id == window) {
                const auto it = classes.find(id);
                return platform::WindowInfo{id, title, it == classes.end() ? "chat" : it->second};
            }
        }
        return std::nullopt;
    }
    std::optional<platform::PointedWindow> topLevelAt(int, int) override { return pointed; }
    platform::SendResult sendText(const platform::SendRequest &request) override
    {
        sends.push_back(request);
        if (onSend)
            onSend();
        return result;
    }
};
