#pragma once

// Puts a text into an open chat window: the procedure behind the tool
// panel's send button and its loop. The target is the QQ chat window found
// by its title, or the window the user pointed at (ChosenTarget); where no
// window system can be reached, the text goes onto the clipboard for the
// user to paste.

#include "platform/windowsystem.h"

#include <QString>

#include <optional>
#include <string>

class ChosenTarget;
class Clipboard;
class Dialogs;

namespace SendToQQTexts {
inline const QString kNoChatWindow = QStringLiteral("请先打开QQ聊天窗口！");
inline const QString kEmptyText = QStringLiteral("不可发送空信息！：O");
inline const QString kNotTaken = QStringLiteral("QQ聊天窗口没有接收到信息，请先让它可以输入文字，再重新发送！");
inline const QString kChosenNotOpen =
    QStringLiteral("所选的聊天窗口没有打开！请先打开它，或者点『选择窗口…』重新选择。");
inline const QString kChosenNotTaken =
    QStringLiteral("所选的聊天窗口没有接收到信息，请先让它可以输入文字，再重新发送！");
inline const QString kOnClipboard = QStringLiteral(
    "这里没有可用的X11显示，无法直接发送到聊天窗口。文本已经放到剪贴板上了，请在聊天窗口中按Ctrl+V粘贴！");
inline const QString kClipboardFailed =
    QStringLiteral("这里没有可用的X11显示，无法直接发送到聊天窗口；放到剪贴板上时也出现了错误，可能是有其他程序正在使用剪贴板！");
// The chosen title was not found; the one window of the same program was taken.
QString otherTitleUsed(const std::string &chosenTitle, const std::string &usedTitle);
} // namespace SendToQQTexts

// A chat window the client opens: its title and the point of its edit box,
// in the window's client coordinates. The message mode is looked for first.
struct ChatWindowKind
{
    QString title;
    int editX;
    int editY;
};
inline const ChatWindowKind kChatWindowKinds[2] = {
    {QStringLiteral("发送消息"), 200, 150},
    {QStringLiteral("对话模式"), 220, 320},
};

// Sends `text` to the chat window (looked for before the text is checked),
// cut to what the client takes, after a warning when `warnOverLong`; with
// `pasteOnly` the text only stands in the edit box. Every refusal is told
// through `dialogs`; true when the text was put into a chat window.
bool SendToQQ(const QString &text, bool pasteOnly, bool warnOverLong, Dialogs &dialogs, platform::WindowSystem &ws);

// The same into the window the user chose. `pinned` is the window (and
// point) of a running loop: empty at its first tick, which fills it, so
// that every later tick goes to the same window, even after the choice
// changed; when that window has closed the loop's tick fails.
bool SendToChosen(const QString &text, bool pasteOnly, bool warnOverLong, Dialogs &dialogs, platform::WindowSystem &ws,
                  ChosenTarget &chosen, std::optional<platform::PointedWindow> &pinned);

// Without a window system: the text, checked and cut as for a send, goes
// onto the clipboard, and the user is told to paste it. Always false:
// nothing was put into a chat window.
bool SendThroughClipboard(const QString &text, bool warnOverLong, Dialogs &dialogs, Clipboard *clipboard);
