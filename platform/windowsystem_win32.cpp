// Win32 backend. Plain Win32 calls only (no Qt), so that it can be checked
// with a cross compiler on any build machine.

#include "windowsystem.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <string>

namespace platform {

namespace {

std::wstring widen(const std::string &utf8)
{
    if (utf8.empty())
        return {};
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), n);
    return wide;
}

HWND hwnd(WindowId w)
{
    return reinterpret_cast<HWND>(w);
}

class Win32WindowSystem final : public WindowSystem
{
public:
    bool isAvailable() const override { return true; }

    WindowId findTopLevelWindow(const std::string &title) override
    {
        return reinterpret_cast<WindowId>(FindWindowW(nullptr, widen(title).c_str()));
    }

    bool restoreWindow(WindowId window) override
    {
        if (!window)
            return false;
        ShowWindow(hwnd(window), SW_RESTORE);
        return SetForegroundWindow(hwnd(window)) != FALSE;
    }

    bool setTopMost(WindowId window, bool topMost) override
    {
        return SetWindowPos(hwnd(window), topMost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                            SWP_NOMOVE | SWP_NOSIZE) != FALSE;
    }

    bool isMinimized(WindowId window) override { return IsIconic(hwnd(window)) != FALSE; }

    bool minimizeWindow(WindowId window) override { return ShowWindow(hwnd(window), SW_MINIMIZE) != FALSE; }

    WindowId childWindowAt(WindowId parent, int x, int y) override
    {
        POINT pt{x, y};
        return reinterpret_cast<WindowId>(ChildWindowFromPoint(hwnd(parent), pt));
    }

    bool sendText(WindowId window, const std::string &utf8Text, bool thenSend) override
    {
        if (!window)
            return false;
        const std::wstring text = widen(utf8Text);
        SendMessageW(hwnd(window), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
        if (thenSend) {
            // The chat client sends on Ctrl+Return.
            SendMessageW(hwnd(window), WM_KEYDOWN, VK_RETURN, 0);
            SendMessageW(hwnd(window), WM_KEYUP, VK_RETURN, 0);
        }
        return true;
    }
};

} // namespace

std::unique_ptr<WindowSystem> createNativeWindowSystem()
{
    return std::make_unique<Win32WindowSystem>();
}

} // namespace platform
