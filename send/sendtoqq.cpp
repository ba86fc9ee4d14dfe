#include "send/sendtoqq.h"

#include "send/chosenwindow.h"
#include "send/sendrules.h"

#include "shell/core/clipboard.h"
#include "shell/core/dialogs.h"
#include "shell/core/texts.h"

#include <QCoreApplication>
#include <QEventLoop>

namespace {

void hint(Dialogs &dialogs, const QString &message)
{
    dialogs.message(message, Strings::kHintTitle, Dialogs::Icon::Information);
}

// The text as it is sent: nothing when it is empty (the user is told),
// else cut to what the client takes, after the optional warning.
std::optional<QString> checkedText(const QString &text, bool warnOverLong, Dialogs &dialogs)
{
    if (text.isEmpty()) {
        hint(dialogs, SendToQQTexts::kEmptyText);
        return std::nullopt;
    }
    const qsizetype bytes = SendRules::byteCount(text);
    if (bytes <= SendRules::kMaxBytes)
        return text;
    if (warnOverLong)
        hint(dialogs, SendRules::overLongMessage(bytes));
    return SendRules::cutToLimit(text);
}

// Puts the checked text into `target` at its edit point. `notThere` and
// `notTaken` are what the user is told when the window has gone or did not
// take the text.
bool sendTo(const QString &text, const platform::PointedWindow &target, bool pasteOnly, bool warnOverLong,
            Dialogs &dialogs, platform::WindowSystem &ws, const QString &notThere, const QString &notTaken)
{
    const std::optional<QString> message = checkedText(text, warnOverLong, dialogs);
    if (!message)
        return false;
    platform::SendRequest request;
    request.target = target.window;
    request.editX = target.x;
    request.editY = target.y;
    request.utf8Text = message->toStdString();
    request.pasteOnly = pasteOnly;
    // While the chat window reads the clipboard, our own clipboard (the
    // user may have copied from this program) must be able to answer; the
    // user's clicks wait until the send is over.
    request.whileWaiting = [] { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); };
    switch (ws.sendText(request)) {
    case platform::SendResult::Sent:
        return true;
    case platform::SendResult::NoTarget:
        hint(dialogs, notThere);
        return false;
    case platform::SendResult::Failed:
        break;
    }
    hint(dialogs, notTaken);
    return false;
}

} // namespace

QString SendToQQTexts::otherTitleUsed(const std::string &chosenTitle, const std::string &usedTitle)
{
    return QStringLiteral("没有找到所选的聊天窗口『%1』，这次发送到了同一程序中唯一打开的窗口『%2』。")
        .arg(QString::fromUtf8(chosenTitle), QString::fromUtf8(usedTitle));
}

bool SendToQQ(const QString &text, bool pasteOnly, bool warnOverLong, Dialogs &dialogs, platform::WindowSystem &ws)
{
    for (const ChatWindowKind &kind : kChatWindowKinds) {
        if (const platform::WindowId target = ws.findTopLevelWindow(kind.title.toStdString())) {
            return sendTo(text, {target, kind.editX, kind.editY}, pasteOnly, warnOverLong, dialogs, ws,
                          SendToQQTexts::kNoChatWindow, SendToQQTexts::kNotTaken);
        }
    }
    hint(dialogs, SendToQQTexts::kNoChatWindow);
    return false;
}

bool SendToChosen(const QString &text, bool pasteOnly, bool warnOverLong, Dialogs &dialogs, platform::WindowSystem &ws,
                  ChosenTarget &chosen, std::optional<platform::PointedWindow> &pinned)
{
    if (pinned && !ws.windowInfo(pinned->window)) {
        hint(dialogs, SendToQQTexts::kChosenNotOpen);
        return false;
    }
    if (!pinned) {
        const std::optional<std::string> before =
            chosen.chosen() ? std::optional(chosen.chosen()->title) : std::nullopt;
        const auto found = chosen.find(ws);
        if (!found) {
            hint(dialogs, SendToQQTexts::kChosenNotOpen);
            return false;
        }
        if (found->otherTitle)
            hint(dialogs, SendToQQTexts::otherTitleUsed(before.value_or(std::string()), *found->otherTitle));
        pinned = platform::PointedWindow{found->window, chosen.chosen()->x, chosen.chosen()->y};
    }
    return sendTo(text, *pinned, pasteOnly, warnOverLong, dialogs, ws, SendToQQTexts::kChosenNotOpen,
                  SendToQQTexts::kChosenNotTaken);
}

bool SendThroughClipboard(const QString &text, bool warnOverLong, Dialogs &dialogs, Clipboard *clipboard)
{
    const std::optional<QString> message = checkedText(text, warnOverLong, dialogs);
    if (!message)
        return false;
    if (!clipboard || !clipboard->setText(*message)) {
        dialogs.message(SendToQQTexts::kClipboardFailed, Strings::kCopyFailedTitle, Dialogs::Icon::Critical);
        return false;
    }
    hint(dialogs, SendToQQTexts::kOnClipboard);
    return false;
}
