#pragma once

// The sequence of every "保存到文件" button: the save dialog, the check of
// the path, the question before a file is replaced, the write, and the
// message when it fails. The texts differ between the programs; the steps
// do not.

#include "shell/core/dialogs.h"
#include "shell/core/textcodec.h"
#include "shell/core/texts.h"

#include <QString>

#include <functional>

struct SaveTextAs
{
    QString filter = Strings::kTextFileFilter;
    // The name the dialog returns without its outer blanks.
    bool trimName = true;
    // Refused by CanWritePath: this hint (information icon). Empty: the
    // path is not checked before the write.
    QString invalidPath = QStringLiteral("保存的文件路径无效！");
    QString invalidPathTitle = Strings::kHintTitle;
    // ".TXT" appended to a name of four characters or fewer or one that
    // does not end in ".txt" (in any letter case).
    bool addTxtEnding = false;
    QString overwriteTitle = Strings::kHintTitle;
    QString failed = QStringLiteral("保存时出现错误！");
    QString failedTitle = QStringLiteral("保存文件出错了：（");
    Dialogs::Icon failedIcon = Dialogs::Icon::Exclamation;
    // The file the text was read from, and the format it was read in: saved
    // under that name again (the same file), the text is written back in
    // that format, after a question when the reading replaced bytes (then
    // the format no longer holds any). Any other name is a new file.
    QString readFrom;
    TextCodec::Format *readFormat = nullptr;

    enum class Outcome {
        Saved,
        Cancelled, // no name, or a blank one
        Declined, // the path refused, or No to the question
        Failed, // the failure message was shown
    };

    // `text` is asked for only once the file is sure to be written. A FIFO,
    // device or socket of the chosen name fails at once: a window must not
    // wait for a reader that may never come.
    Outcome run(Dialogs &dialogs, const std::function<QString()> &text) const;
};
