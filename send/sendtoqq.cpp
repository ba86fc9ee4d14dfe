#include "send/sendtoqq.h"

#include "send/sendrules.h"

#include "platform/windowsystem.h"
#include "shell/core/dialogs.h"
#include "shell/core/texts.h"

#include <QCoreApplication>
#include <QEventLoop>

bool SendToQQ(const QString &text, bool pasteOnly, bool warnOverLong, Dialogs &dialogs, platform::WindowSystem &ws)
{
    const auto hint = [&](const QString &message) {
        dialogs.message(message, Strings::kHintTitle, Dialogs::Icon::Information);
    };
    const ChatWindowKind *kind = nullptr;
    platform::WindowId target = 0;
    for (const ChatWindowKind &candidate : kChatWindowKinds) {
        target = ws.findTopLevelWindow(candidate.title.toStdString());
        if (target) {
            kind = &candidate;
            break;
        }
    }
    if (!target) {
        hint(SendToQQTexts::kNoChatWindow);
        return false;
    }
    if (text.isEmpty()) {
        hint(SendToQQTexts::kEmptyText);
        return false;
    }
    QString message = text;
    const qsizetype bytes = SendRules::byteCount(text);
    if (bytes > SendRules::kMaxBytes) {
        if (warnOverLong)
            hint(SendRules::overLongMessage(bytes));
        message = SendRules::cutToLimit(text);
    }

    platform::SendRequest request;
    request.target = target;
    request.editX = kind->editX;
    request.editY = kind->editY;
    request.utf8Text = message.toStdString();
    request.pasteOnly = pasteOnly;
    // While the chat window reads the clipboard, our own clipboard (the
    // user may have copied from this program) must be able to answer; the
    // user's clicks wait until the send is over.
    request.whileWaiting = [] { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); };
    switch (ws.sendText(request)) {
    case platform::SendResult::Sent:
        return true;
    case platform::SendResult::NoTarget:
        hint(SendToQQTexts::kNoChatWindow);
        return false;
    case platform::SendResult::Failed:
        break;
    }
    hint(SendToQQTexts::kNotTaken);
    return false;
}
