#pragma once

// Puts a text into an open QQ chat window: the procedure behind the tool
// panel's send button and its loop.

#include <QString>

class Dialogs;
namespace platform {
class WindowSystem;
}

namespace SendToQQTexts {
inline const QString kNoChatWindow = QStringLiteral("请先打开QQ聊天窗口！");
inline const QString kEmptyText = QStringLiteral("不可发送空信息！：O");
inline const QString kNotTaken = QStringLiteral("QQ聊天窗口没有接收到信息，请先让它可以输入文字，再重新发送！");
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
