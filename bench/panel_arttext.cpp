// panel_arttext FILE [POINTS [qq]]: the art-text panel converts the UTF-8
// text of FILE at the size given (10.5 points by default; in QQ mode with
// "qq"), as when the user presses 转化, on the offscreen platform. For
// measuring the panel's time and memory with /usr/bin/time -v; prints the
// characters shown, and on standard error the time the conversion took and
// the peak memory before it (the input box holding the text) and after it.
// Exit status 0 when the panel showed a result, 1 when it refused the text.

#include "art/arttextpanel.h"
#include "testcontext.h"
#include "tempprogramdir.h"

#include "shell/core/fonts.h"
#include "shell/core/programpaths.h"
#include "shell/widgets/displayarea.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QToolButton>

#include <cstdio>
#include <cstdlib>

namespace {

// The peak resident memory so far, in MiB.
long peakMiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLong() / 1024;
    }
    return -1;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 2 || argc > 4) {
        std::fputs("usage: panel_arttext FILE [POINTS [qq]]\n", stderr);
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    Fonts::installSubstitutions();
    QApplication app(argc, argv);
    QFile file(QString::fromLocal8Bit(argv[1]));
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "panel_arttext: cannot read %s\n", argv[1]);
        return 2;
    }
    TempProgramDir dir;
    ProgramPaths::CreateDataDirs(dir.path());
    TestContext context(dir.path());
    ArtTextPanel panel(context.context);
    panel.InitWZ();
    if (argc > 2)
        panel.findChild<QScrollBar *>(QStringLiteral("WZFontSizeScroll"))->setValue(int(2 * std::atof(argv[2])));
    if (argc > 3) {
        context.dialogs.answers.enqueue(true);
        panel.findChild<QToolButton *>(QStringLiteral("optWZShowMode1"))->click();
    }
    panel.findChild<QPlainTextEdit *>(QStringLiteral("textWZInput"))->setPlainText(QString::fromUtf8(file.readAll()));
    const qsizetype shownBefore = context.dialogs.shown.size();
    const long before = peakMiB();
    QElapsedTimer clock;
    clock.start();
    panel.btnWZ_Click(0);
    std::fprintf(stderr, "panel_arttext: converted in %.2f s; peak %ld MiB with the input, %ld MiB after\n",
                 double(clock.nsecsElapsed()) / 1e9, before, peakMiB());
    if (context.dialogs.shown.size() > shownBefore) {
        std::fprintf(stderr, "panel_arttext: %s\n", qUtf8Printable(context.dialogs.shown.last().text));
        return 1;
    }
    std::printf("%lld\n", static_cast<long long>(panel.displayArea()->text().size()));
    return 0;
}
