// zantoria-cli pic2text, run as a user runs it.

#include "artfixtures.h"
#include "processes.h"

#include "art/grayorder.h"
#include "art/graypresets.h"
#include "art/levelstotext.h"
#include "art/pictotextconverter.h"

#include "shell/core/fonts.h"
#include "shell/core/textcodec.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <future>

#include <sys/stat.h>
#include <unistd.h>

using namespace ArtFixtures;

Q_DECLARE_METATYPE(PicToTextOptions)

namespace {

using Run = CliRun;

Run pic2text(const QStringList &args)
{
    return runCli(QStringList{QStringLiteral("pic2text")} + args);
}

QByteArray lfLines(const QImage &picture, const QString &gray)
{
    QByteArray out;
    for (int y = 0; y < picture.height(); ++y)
        out += expectedRow(picture, y, gray, true) + '\n';
    return out;
}

} // namespace

class TestPic2TextCli : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();

    void presets_data();
    void presets();
    void grayOrderedByInk();
    void grayUsedAsGivenWhenOrdered();
    void printGray();
    void fileOutputMatchesThePanel();
    void appendIsAddMode();
    void outputOntoAFifoWritesThroughIt();
    void outputThroughALinkReplacesItsTarget();
    void largeJpegStreamsAsTheWholePicture();
    void transparentPixelsAreWhite();
    void shapedText_data();
    void shapedText();
    void failures_data();
    void failures();
    void unreadablePictureSaysPermissionDenied();
    void usageErrors_data();
    void usageErrors();

private:
    QString path(const QString &name) const { return m_dir.path() + u'/' + name; }

    QTemporaryDir m_dir;
    QImage m_ramp;
    QString m_rampFile;
};

void TestPic2TextCli::initTestCase()
{
    QVERIFY(QFile::exists(cliPath()));
    m_ramp = greyRamp(23, 17);
    m_rampFile = path(QStringLiteral("ramp.bmp"));
    QVERIFY(m_ramp.save(m_rampFile));
}

void TestPic2TextCli::presets_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("preset");
    QTest::newRow("default is normal") << QStringList() << 0;
    QTest::newRow("normal") << QStringList{QStringLiteral("--preset"), QStringLiteral("normal")} << 0;
    QTest::newRow("94") << QStringList{QStringLiteral("--preset"), QStringLiteral("94")} << 1;
    QTest::newRow("custom") << QStringList{QStringLiteral("--preset"), QStringLiteral("custom")} << 2;
}

void TestPic2TextCli::presets()
{
    QFETCH(QStringList, args);
    QFETCH(int, preset);
    const Run run = pic2text(args << m_rampFile);
    QCOMPARE(run.status, 0);
    QCOMPARE(run.err, QByteArray());
    QCOMPARE(run.out, lfLines(m_ramp, orderByInk(grayPresets()[std::size_t(preset)].raw)));
}

void TestPic2TextCli::grayOrderedByInk()
{
    const QString gray = QStringLiteral(" .:-=+*#%@");
    const Run run = pic2text({QStringLiteral("--gray"), gray, m_rampFile});
    QCOMPARE(run.status, 0);
    QCOMPARE(run.out, lfLines(m_ramp, orderByInk(gray)));
}

void TestPic2TextCli::grayUsedAsGivenWhenOrdered()
{
    // Lightest first, as given: the ramp comes out the other way round.
    const QString gray = QStringLiteral(" .:-=+*#%@");
    const Run run = pic2text({QStringLiteral("--gray"), gray, QStringLiteral("--ordered"), m_rampFile});
    QCOMPARE(run.status, 0);
    QCOMPARE(run.out, lfLines(m_ramp, gray));
    QVERIFY(run.out.startsWith(' '));

    // Full-width characters may be used as given; the text is UTF-8.
    const QString wide = QStringLiteral("黑墨灰淡白　＃＊");
    const Run wideRun = pic2text({QStringLiteral("--gray"), wide, QStringLiteral("--ordered"), m_rampFile});
    QCOMPARE(wideRun.status, 0);
    QCOMPARE(wideRun.out, lfLines(m_ramp, wide));
}

void TestPic2TextCli::printGray()
{
    const Run run = pic2text({QStringLiteral("--print-gray"), m_rampFile});
    QCOMPARE(run.status, 0);
    QCOMPARE(run.err, orderByInk(grayPresets()[0].raw).toUtf8() + '\n');
    QVERIFY(!run.out.isEmpty());
}

void TestPic2TextCli::fileOutputMatchesThePanel()
{
    const QString file = path(QStringLiteral("out.txt"));
    const QString gray = orderByInk(grayPresets()[1].raw);
    const Run run = pic2text({QStringLiteral("-o"), file, QStringLiteral("--preset"), QStringLiteral("94"), m_rampFile});
    QCOMPARE(run.status, 0);
    QVERIFY(run.out.isEmpty());

    const QString panelFile = path(QStringLiteral("panel.txt"));
    PicToTextConverter converter;
    QCOMPARE(converter.PicToText(m_ramp, panelFile, gray, false), PicToTextConverter::Outcome::Done);
    QCOMPARE(readBytes(file), readBytes(panelFile));
    QVERIFY(readBytes(file).endsWith("\r\n"));

    // Full-width characters go into the file as two bytes each.
    const QString wide = QStringLiteral("黑墨灰淡白　＃＊");
    QCOMPARE(pic2text({QStringLiteral("--gray"), wide, QStringLiteral("--ordered"), QStringLiteral("-o"), file,
                       m_rampFile})
                 .status,
             0);
    QCOMPARE(converter.PicToText(m_ramp, panelFile, wide, false), PicToTextConverter::Outcome::Done);
    QCOMPARE(readBytes(file), readBytes(panelFile));
}

void TestPic2TextCli::appendIsAddMode()
{
    const QString file = path(QStringLiteral("append.txt"));
    QVERIFY(writeBytes(file, "before\r\n"));
    QCOMPARE(pic2text({QStringLiteral("-o"), file, QStringLiteral("--append"), m_rampFile}).status, 0);
    QByteArray expected = "before\r\n" + QByteArray("\r\n").repeated(51);
    const QString gray = orderByInk(grayPresets()[0].raw);
    for (int y = 0; y < m_ramp.height(); ++y)
        expected += expectedRow(m_ramp, y, gray, false) + "\r\n";
    QCOMPARE(readBytes(file), expected);
}

void TestPic2TextCli::outputOntoAFifoWritesThroughIt()
{
    const QString fifo = path(QStringLiteral("art.fifo"));
    QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    auto reading = std::async(std::launch::async, [fifo] {
        QFile in(fifo);
        return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray("cannot open");
    });
    const Run run = pic2text({QStringLiteral("-o"), fifo, m_rampFile});
    QCOMPARE(run.status, 0);
    QCOMPARE(run.err, QByteArray());
    const QString gray = orderByInk(grayPresets()[0].raw);
    QByteArray expected;
    for (int y = 0; y < m_ramp.height(); ++y)
        expected += expectedRow(m_ramp, y, gray, false) + "\r\n";
    QCOMPARE(reading.get(), expected);
    struct stat st {};
    QCOMPARE(::lstat(QFile::encodeName(fifo).constData(), &st), 0);
    QVERIFY2(S_ISFIFO(st.st_mode), "the FIFO was replaced by a regular file");
}

void TestPic2TextCli::outputThroughALinkReplacesItsTarget()
{
    const QString target = path(QStringLiteral("linked-target.txt"));
    const QString link = path(QStringLiteral("link.txt"));
    QVERIFY(writeBytes(target, "old\r\n"));
    QVERIFY(QFile::link(target, link));
    QCOMPARE(pic2text({QStringLiteral("-o"), link, m_rampFile}).status, 0);
    QVERIFY(QFileInfo(link).isSymLink());
    const QByteArray written = readBytes(target);
    QCOMPARE(written.count("\r\n"), m_ramp.height());
    QVERIFY(!written.startsWith("old"));
}

void TestPic2TextCli::largeJpegStreamsAsTheWholePicture()
{
    // Tall enough for several bands, with rows that differ.
    QImage picture(300, 9000, QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            picture.setPixel(x, y, qRgb((x * 7 + y) % 256, (y / 3) % 256, (x ^ y) % 256));
    const QString jpeg = path(QStringLiteral("tall.jpg"));
    QVERIFY(picture.save(jpeg, "JPG", 85));
    const QImage decoded = QImage(jpeg).convertToFormat(QImage::Format_RGB32);
    const Run run = pic2text({jpeg});
    QCOMPARE(run.status, 0);
    QCOMPARE(run.out, lfLines(decoded, orderByInk(grayPresets()[0].raw)));
}

void TestPic2TextCli::transparentPixelsAreWhite()
{
    QImage picture(3, 1, QImage::Format_ARGB32);
    picture.fill(Qt::transparent);
    picture.setPixel(0, 0, qRgb(0, 0, 0));
    const QString ico = path(QStringLiteral("dot.ico"));
    QVERIFY(picture.save(ico, "ICO"));
    const QString gray = QStringLiteral("#abcdef.");
    const Run run = pic2text({QStringLiteral("--gray"), gray, QStringLiteral("--ordered"), ico});
    QCOMPARE(run.status, 0);
    QCOMPARE(run.out, QByteArray("#..\n"));
}

void TestPic2TextCli::shapedText_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<PicToTextOptions>("options");
    QTest::newRow("width") << QStringList{QStringLiteral("--width"), QStringLiteral("7")} << PicToTextOptions{7, 0};
    QTest::newRow("height, inverted, dithered")
        << QStringList{QStringLiteral("--height"), QStringLiteral("5"), QStringLiteral("--invert"),
                       QStringLiteral("--dither")}
        << PicToTextOptions{0, 5, true, true};
    QTest::newRow("braille") << QStringList{QStringLiteral("--braille")}
                             << PicToTextOptions{0, 0, false, false, true};
    QTest::newRow("braille, enlarged, threshold")
        << QStringList{QStringLiteral("--braille"), QStringLiteral("--width"), QStringLiteral("30"),
                       QStringLiteral("--height"), QStringLiteral("9"), QStringLiteral("--threshold"),
                       QStringLiteral("90")}
        << PicToTextOptions{30, 9, false, false, true, 90};
}

void TestPic2TextCli::shapedText()
{
    // Standard output, and the file as the panel writes it, as the core
    // shapes the picture's grey levels.
    QFETCH(QStringList, args);
    QFETCH(PicToTextOptions, options);
    const QString gray = orderByInk(grayPresets()[0].raw);
    const QImage levels = m_ramp.convertToFormat(QImage::Format_RGB32);
    QByteArray utf8;
    QByteArray file;
    for (const auto encoding : {GrayTable::Encoding::Utf8, GrayTable::Encoding::Gb18030}) {
        LevelsToText shaper(levels.size(), options, gray, encoding);
        QByteArray &out = encoding == GrayTable::Encoding::Utf8 ? utf8 : file;
        const LevelsToText::LineSink sink = [&](const char *bytes, qsizetype n) {
            out += QByteArray(bytes, n) + (&out == &utf8 ? "\n" : "\r\n");
            return true;
        };
        std::vector<uchar> row(std::size_t(levels.width()));
        for (int y = 0; y < levels.height(); ++y) {
            GrayTable::grayLevels(levels, y, row.data());
            shaper.addRow(row.data(), sink);
        }
        shaper.finish(sink);
    }
    const Run run = pic2text(args + QStringList{m_rampFile});
    QCOMPARE(run.status, 0);
    QCOMPARE(run.out, utf8);
    const QString target = path(QStringLiteral("shaped.txt")); // streamed band by band
    QCOMPARE(pic2text(args + QStringList{QStringLiteral("--gray"), gray, QStringLiteral("--ordered"),
                                         QStringLiteral("-o"), target, m_rampFile})
                 .status,
             0);
    QCOMPARE(readBytes(target), file);
}

void TestPic2TextCli::failures_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("mention");
    QTest::newRow("missing picture") << QStringList{QStringLiteral("missing.jpg")} << QStringLiteral("no such file");
    QTest::newRow("a directory") << QStringList{QStringLiteral(".")} << QStringLiteral(": is a directory");
    QTest::newRow("/dev/null") << QStringList{QStringLiteral("/dev/null")}
                               << QStringLiteral("/dev/null: not a regular file");
    QTest::newRow("/dev/zero") << QStringList{QStringLiteral("/dev/zero")}
                               << QStringLiteral("/dev/zero: not a regular file");
    // libpng's own complaint, folded into our one line instead of its own.
    QTest::newRow("damaged PNG") << QStringList{QStringLiteral("damaged.png")}
                                 << QStringLiteral("damaged.png: cannot decode the picture (IDAT: ");
    QTest::newRow("PNG with a damaged header, named .bmp")
        << QStringList{QStringLiteral("header.bmp")}
        << QStringLiteral("header.bmp: cannot decode the picture (IHDR: CRC error)");
    QTest::newRow("not a picture") << QStringList{QStringLiteral("junk.gif")} << QStringLiteral("junk.gif");
    QTest::newRow("huge picture") << QStringList{QStringLiteral("huge.bmp")} << QStringLiteral("too large");
    QTest::newRow("huge jpeg") << QStringList{QStringLiteral("huge.jpg")} << QStringLiteral("too large");
    QTest::newRow("huge jpeg, ordered")
        << QStringList{QStringLiteral("--gray"), QStringLiteral("@#%*+=-."), QStringLiteral("--ordered"),
                       QStringLiteral("huge.jpg")}
        << QStringLiteral("too large");
    QTest::newRow("huge picture, ordered")
        << QStringList{QStringLiteral("--gray"), QStringLiteral("@#%*+=-."), QStringLiteral("--ordered"),
                       QStringLiteral("huge.bmp")}
        << QStringLiteral("too large");
    QTest::newRow("grey too short") << QStringList{QStringLiteral("--gray"), QStringLiteral("1234567"),
                                                   QStringLiteral("ramp.bmp")}
                                    << QStringLiteral("fewer than 8");
    QTest::newRow("grey of blanks") << QStringList{QStringLiteral("--gray"), QStringLiteral("        "),
                                                   QStringLiteral("ramp.bmp")}
                                    << QStringLiteral("blanks");
    QTest::newRow("full-width grey to be ordered")
        << QStringList{QStringLiteral("--gray"), QStringLiteral("黑墨灰淡白　＃＊"), QStringLiteral("ramp.bmp")}
        << QStringLiteral("full-width");
    QTest::newRow("grey too long") << QStringList{QStringLiteral("--gray"), QString(257, u'x'),
                                                  QStringLiteral("--ordered"), QStringLiteral("ramp.bmp")}
                                   << QStringLiteral("at most 256");
    const auto shaped = [](const char *name, const QStringList &args, const char *mention) {
        QTest::newRow(name) << (args + QStringList{QStringLiteral("ramp.bmp")}) << QString::fromUtf8(mention);
    };
    shaped("width 0", {QStringLiteral("--width"), QStringLiteral("0")}, "--width takes a whole number from 1 to 4096");
    shaped("height 4097", {QStringLiteral("--height"), QStringLiteral("4097")}, "--height takes a whole number");
    shaped("width not a number", {QStringLiteral("--width"), QStringLiteral("8x")}, "--width takes");
    shaped("threshold 256", {QStringLiteral("--braille"), QStringLiteral("--threshold"), QStringLiteral("256")},
           "--threshold takes a whole number from 0 to 255");
    shaped("threshold without braille", {QStringLiteral("--threshold"), QStringLiteral("9")},
           "--threshold applies to --braille");
    shaped("too many cells", {QStringLiteral("--width"), QStringLiteral("4096"), QStringLiteral("--height"),
                              QStringLiteral("4096")},
           "ramp.bmp: a 23 x 17 picture at 4096 x 4096 gives more than 4096 columns or lines");
    shaped("too tall by the aspect, ordered",
           {QStringLiteral("--gray"), QStringLiteral("@#%*+=-."), QStringLiteral("--ordered"), QStringLiteral("--height"),
            QStringLiteral("4096")},
           "at auto x 4096 gives more than 4096");
    QTest::newRow("width without a number") << QStringList{QStringLiteral("ramp.bmp"), QStringLiteral("--width")}
                                            << QStringLiteral("--width takes");
}

void TestPic2TextCli::failures()
{
    QFETCH(QStringList, args);
    QFETCH(QString, mention);
    QVERIFY(writeBytes(path(QStringLiteral("junk.gif")), "GIF? no"));
    QVERIFY(writeBytes(path(QStringLiteral("huge.bmp")), hugeBmpHeader(20000, 20000)));
    QVERIFY(writeBytes(path(QStringLiteral("huge.jpg")), hugeJpegHeader(20000, 20000)));
    QByteArray png;
    {
        QBuffer buffer(&png);
        QVERIFY(buffer.open(QIODevice::WriteOnly));
        QVERIFY(greyRamp(64, 64).convertToFormat(QImage::Format_RGB32).save(&buffer, "PNG"));
    }
    const qsizetype idat = png.indexOf("IDAT");
    QVERIFY(idat > 0);
    png[idat + 20] = char(png[idat + 20] ^ 0xFF);
    QVERIFY(writeBytes(path(QStringLiteral("damaged.png")), png));
    png[29] = char(png[29] ^ 0x01); // the header's CRC
    QVERIFY(writeBytes(path(QStringLiteral("header.bmp")), png));
    for (QString &a : args) {
        if (a.contains(u'.') && !a.startsWith(u'-') && a != QLatin1String("@#%*+=-."))
            a = path(a);
    }
    // Neither standard output nor the file named by -o gets anything.
    const QString file = path(QStringLiteral("never.txt"));
    for (const QStringList &extra : {QStringList(), QStringList{QStringLiteral("-o"), file}}) {
        const Run run = pic2text(extra + args);
        QCOMPARE(run.status, 1);
        QVERIFY(run.out.isEmpty());
        QCOMPARE(run.err.count('\n'), 1);
        QVERIFY2(QString::fromUtf8(run.err).contains(mention), run.err.constData());
        QVERIFY(!QFile::exists(file));
        QVERIFY2(!run.err.contains("libpng"), run.err.constData());
    }
}

void TestPic2TextCli::unreadablePictureSaysPermissionDenied()
{
    // As root every file is readable: the command runs as nobody then.
    const bool root = ::geteuid() == 0;
    QTemporaryDir dir;
    QVERIFY(QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner
                                                  | QFileDevice::ReadOther | QFileDevice::ExeOther));
    const QString file = dir.filePath(QStringLiteral("secret.bmp"));
    QVERIFY(m_ramp.save(file));
    QVERIFY(QFile::setPermissions(file, QFileDevice::WriteOwner));
    QProcess process;
    QString program = cliPath();
    if (root) {
        process.setChildProcessModifier([] {
            if (::setgid(65534) != 0 || ::setuid(65534) != 0)
                ::_exit(99);
        });
        // The build may sit where nobody else may enter (a root's home):
        // the program runs from a copy in the directory the test opened.
        // zantoria-cli-draw, which zantoria-cli hands such a picture to, beside it.
        program = dir.filePath(QStringLiteral("zantoria-cli"));
        QVERIFY(QFile::copy(cliPath(), program));
        QVERIFY(QFile::copy(cliPath() + QStringLiteral("-draw"), program + QStringLiteral("-draw")));
    }
    process.start(program,
                  {QStringLiteral("pic2text"), QStringLiteral("--gray"), QStringLiteral("@#%*+=-."),
                   QStringLiteral("--ordered"), file});
    if (!process.waitForFinished(30000) && process.error() == QProcess::FailedToStart)
        QSKIP("the program cannot be started as another user here");
    if (process.exitCode() == 99)
        QSKIP("cannot run as another user here");
    if (process.exitCode() == 0 && root)
        QSKIP("the picture's directory is not open to other users");
    QCOMPARE(process.exitCode(), 1);
    const QByteArray err = process.readAllStandardError();
    QCOMPARE(err, "zantoria-cli pic2text: " + QFile::encodeName(file) + ": permission denied\n");
}

void TestPic2TextCli::usageErrors_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::newRow("no picture") << QStringList();
    QTest::newRow("unknown preset") << QStringList{QStringLiteral("--preset"), QStringLiteral("odd"),
                                                   QStringLiteral("x.bmp")};
    QTest::newRow("unknown option") << QStringList{QStringLiteral("--wide"), QStringLiteral("x.bmp")};
    QTest::newRow("append without file") << QStringList{QStringLiteral("--append"), QStringLiteral("x.bmp")};
    QTest::newRow("ordered without grey") << QStringList{QStringLiteral("--ordered"), QStringLiteral("x.bmp")};
    QTest::newRow("preset and grey") << QStringList{QStringLiteral("--preset"), QStringLiteral("94"),
                                                    QStringLiteral("--gray"), QStringLiteral("12345678"),
                                                    QStringLiteral("x.bmp")};
    QTest::newRow("two pictures") << QStringList{QStringLiteral("a.bmp"), QStringLiteral("b.bmp")};
}

void TestPic2TextCli::usageErrors()
{
    QFETCH(QStringList, args);
    const Run run = pic2text(args);
    QCOMPARE(run.status, 2);
    QVERIFY(run.out.isEmpty());
    QVERIFY(run.err.contains("usage: zantoria-cli pic2text"));
}

int main(int argc, char **argv)
{
    Fonts::installSubstitutions();
    QGuiApplication app(argc, argv);
    TestPic2TextCli test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_pic2textcli.moc"
