// Win32 backend. Plain Win32 calls only (no Qt), so that it can be checked
// with a cross compiler on any build machine.

#include "windowsystem.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <string>
#include <vector>

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

// The text as the code page 936 bytes the chat client reads, zero-terminated
// by the string; a character the code page lacks becomes "?".
std::string toCodePage936(const std::string &utf8)
{
    const std::wstring wide = widen(utf8);
    if (wide.empty())
        return {};
    const int n = WideCharToMultiByte(936, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr,
                                      nullptr);
    std::string bytes(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(936, 0, wide.data(), static_cast<int>(wide.size()), bytes.data(), n, nullptr, nullptr);
    return bytes;
}

std::string narrow(const wchar_t *wide, int length)
{
    if (length <= 0)
        return {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, wide, length, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide, length, utf8.data(), n, nullptr, nullptr);
    return utf8;
}

BOOL CALLBACK collectVisible(HWND w, LPARAM list)
{
    if (IsWindowVisible(w))
        reinterpret_cast<std::vector<HWND> *>(list)->push_back(w);
    return TRUE;
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

    std::vector<WindowInfo> topLevelWindows() override
    {
        std::vector<HWND> handles;
        EnumWindows(collectVisible, reinterpret_cast<LPARAM>(&handles));
        std::vector<WindowInfo> list;
        for (HWND w : handles) {
            if (auto info = windowInfo(reinterpret_cast<WindowId>(w)))
                list.push_back(std::move(*info));
        }
        return list;
    }

    std::optional<WindowInfo> windowInfo(WindowId window) override
    {
        if (!window || !IsWindow(hwnd(window)))
            return std::nullopt;
        WindowInfo info;
        info.window = window;
        const int length = GetWindowTextLengthW(hwnd(window));
        if (length > 0) {
            std::wstring title(static_cast<size_t>(length) + 1, L'\0');
            const int n = GetWindowTextW(hwnd(window), title.data(), length + 1);
            info.title = narrow(title.data(), n);
        }
        wchar_t name[257] = {};
        info.windowClass = narrow(name, GetClassNameW(hwnd(window), name, 257));
        return info;
    }

    std::optional<PointedWindow> topLevelAt(int x, int y) override
    {
        POINT pt{x, y};
        const HWND under = WindowFromPoint(pt);
        const HWND top = under ? GetAncestor(under, GA_ROOT) : nullptr;
        if (!top || top == GetDesktopWindow() || !ScreenToClient(top, &pt))
            return std::nullopt;
        return PointedWindow{reinterpret_cast<WindowId>(top), static_cast<int>(pt.x), static_cast<int>(pt.y)};
    }

    SendResult sendText(const SendRequest &request) override
    {
        if (!request.target)
            return SendResult::NoTarget;
        // The chat window's edit box is whatever child lies under the edit
        // point; no child there means the window has gone (or shrunk away).
        POINT pt{request.editX, request.editY};
        const HWND edit = ChildWindowFromPoint(hwnd(request.target), pt);
        if (!edit)
            return SendResult::NoTarget;
        const std::string text = toCodePage936(request.utf8Text);
        // The chat client reads its edit box in the Chinese code page; the
        // wParam is ignored by WM_SETTEXT and kept as the client expects it.
        SendMessageA(edit, WM_SETTEXT, 1004, reinterpret_cast<LPARAM>(text.c_str()));
        // Command 1 is the chat window's default command, which sends the
        // message; 0 is no command, and the text just stands in the box.
        SendMessageA(hwnd(request.target), WM_COMMAND, request.pasteOnly ? 0 : 1, 0);
        return SendResult::Sent;
    }
};

} // namespace

std::unique_ptr<WindowSystem> createNativeWindowSystem()
{
    return std::make_unique<Win32WindowSystem>();
}

} // namespace platform
