// zantoria-cli pic2text: a picture file to character art, as the picture
// panel makes it.

#include "commands.h"
#include "fontfile.h"
#include "inkcache.h"
#include "pic2textoptions.h"

#include "art/grayorder.h"
#include "art/graymapping.h"
#include "art/pictotextconverter.h"
#include "art/picturebands.h"
#include "art/picturelevels.h"

#include "shell/core/fonts.h"
#include "shell/core/savefile.h"

#include <QFile>
#include <QGuiApplication>

#include <cstdio>
#include <future>
#include <utility>
#include <memory>
#include <optional>

using namespace Pic2Text;

namespace {

// Qt's own chatter (warnings about the environment) is no business of a
// command whose standard error carries one line per failure.
void quietQt(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtFatalMsg)
        std::fprintf(stderr, "zantoria-cli pic2text: %s\n", qUtf8Printable(message));
}

// Measures what the cache lacks (every printable ASCII character too) and
// writes it anew; the order of `gray` comes back. Needs the GUI application.
QString measureAndCache(const QString &gray)
{
    InkCache::Inks inks = InkCache::load();
    const auto inkOf = [&inks](char32_t c) {
        auto it = inks.constFind(c);
        if (it == inks.constEnd())
            it = inks.insert(c, MeasureCharInk(QString::fromUcs4(&c, 1)));
        return *it;
    };
    const QString ordered = orderByInk(gray, inkOf);
    for (const char32_t c : grayCharacters(InkCache::commonCharacters()))
        inkOf(c);
    InkCache::store(inkFontFile(), inks); // without a cache the next run measures again
    return ordered;
}

} // namespace

int runPic2Text(int argc, char **argv)
{
    Options o;
    QString gray;
    if (const auto status = parse(argc, argv, o, gray))
        return *status;

    // The picture is read in bands, so that a large one never sits in memory
    // whole. Ordering by ink needs fonts, and so a GUI application on the
    // platform that draws nowhere; decoding needs no application at all.
    // With fonts to load, a second thread meanwhile decodes the picture into
    // its grey levels (a quarter of its decoded size), which convert exactly
    // as the picture itself; without, the bands stream straight through.
    // Either way nothing is written before the picture has proved readable.
    // Inks cached from an earlier run spare the fonts.
    qInstallMessageHandler(quietQt);
    PictureBands bands(o.image);
    PicToTextConverter::BandSource source;
    PictureLevels::Result levels;
    QImage firstBand;
    int appArgc = 1;
    char appName[] = "zantoria-cli";
    char *appArgv[] = {appName, nullptr};
    std::unique_ptr<QGuiApplication> app;
    const auto unreadable = [&] {
        const QString detail = levels.status.ok() ? bands.status().detail : levels.status.detail;
        return fail(o.image + QStringLiteral(": ")
                    + (detail.isEmpty() ? QStringLiteral("cannot decode the picture") : detail));
    };
    if (!o.ordered) {
        if (const auto inks = InkCache::covering(gray)) {
            gray = orderByInk(gray, [&](char32_t c) { return inks->value(c); });
            levels = PictureLevels::read(bands);
        } else {
            qputenv("QT_QPA_PLATFORM", "offscreen");
            Fonts::installSubstitutions();
            app = std::make_unique<QGuiApplication>(appArgc, appArgv);
            auto decoding = std::async(std::launch::async, [&] { levels = PictureLevels::read(bands); });
            gray = measureAndCache(gray);
            decoding.get();
        }
        if (levels.outcome == PictureBands::Band::Failed)
            return unreadable();
        source = PicToTextConverter::singleBand(levels.levels);
    } else {
        if (bands.next(firstBand) == PictureBands::Band::Failed)
            return unreadable();
        source = [&, pending = true](QImage &band) mutable {
            if (!pending)
                return bands.next(band);
            pending = false;
            band = std::move(firstBand);
            return PictureBands::Band::Ready;
        };
    }
    const QSize picture = o.ordered ? bands.size() : levels.levels.size();
    if (const auto problem = sizeProblem(picture, o, gray))
        return fail(o.image + QStringLiteral(": ") + *problem);
    if (o.printGray)
        std::fprintf(stderr, "%s\n", qUtf8Printable(gray));

    const auto failed = [&](PicToTextConverter::Outcome outcome, const QString &target) {
        if (outcome == PicToTextConverter::Outcome::ReadFailed)
            return unreadable();
        return fail(target + QStringLiteral(": cannot write"));
    };

    PicToTextConverter converter;
    if (!o.output.isEmpty()) {
        // A FIFO named by -o is waited on, as a shell redirection would.
        const auto outcome = converter.PicToText(source, o.output, gray, o.append, SaveFile::Special::WaitForReader,
                                                 o.shape, picture);
        return outcome == PicToTextConverter::Outcome::Done ? 0 : failed(outcome, o.output);
    }
    QFile out;
    if (!out.open(stdout, QIODevice::WriteOnly))
        return fail(QStringLiteral("cannot write to standard output"));
    PicToTextConverter::Format format;
    format.encoding = GrayTable::Encoding::Utf8;
    format.lineEnd = QByteArrayLiteral("\n");
    format.options = o.shape;
    format.picture = picture;
    const auto outcome = converter.convert(source, gray, out, format);
    if (outcome == PicToTextConverter::Outcome::Done && out.flush())
        return 0;
    return failed(outcome, QStringLiteral("standard output"));
}
