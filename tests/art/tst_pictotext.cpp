// The picture-to-text core: grey levels, the character table, the streamed
// conversion with its stop question and add mode, ordering by ink, and the
// guarded picture loader.

#include "artfixtures.h"

#include "art/graymapping.h"
#include "art/grayorder.h"
#include "art/graypresets.h"
#include "art/graytable.h"
#include "art/pictotextconverter.h"
#include "art/picturebands.h"
#include "art/picturelevels.h"
#include "art/pictureloader.h"
#include "art/pictureparticulars.h"
#include "art/jpegrows.h"
#include "gifwriter.h"
#include "hostilepictures.h"
#include "samplepictures.h"

#include "shell/core/fonts.h"
#include "shell/core/pixelsurface.h"
#include "shell/core/textcodec.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QImageWriter>
#include <QTemporaryDir>
#include <QtTest>

#include <QtEndian>

#include <limits>

using namespace ArtFixtures;

namespace {

const QString kNormal = grayPresets()[0].raw; // 18 characters

QByteArray crlfLines(const QList<QByteArray> &lines)
{
    QByteArray out;
    for (const QByteArray &l : lines)
        out += l + "\r\n";
    return out;
}

} // namespace

class TestPicToText : public QObject
{
    Q_OBJECT

private Q_SLOTS:

    void colorToGray_data();
    void colorToGray();
    void grayToChar_data();
    void grayToChar();
    void grayToCharEnds();
    void grayToCharWithoutTies();
    void grayTableMatchesSlowPath_data();
    void grayTableMatchesSlowPath();

    void onePixel();
    void plainPictures_data();
    void plainPictures();
    void eachLineHoldsWidthBytes();
    void addModeAppendsAfterSeparator();
    void withoutAddModeOldTextGoes();
    void stopAnsweredYesKeepsRowsBefore();
    void stopAnsweredNoFinishes();
    void secondConversionRefusedWhileRunning();
    void unwritableOutputReported();

    void inkOfCharacters();
    void grayText_data();
    void grayText();
    void orderingIsByInkThenCode();

    void loaderRefusesHugeClaims_data();
    void loaderRefusesHugeClaims();
    void loaderRefusesTopDownBmpClaims_data();
    void loaderRefusesTopDownBmpClaims();
    void loaderReadsTransparentAsWhite_data();
    void loaderReadsTransparentAsWhite();
    void loaderReportsUnreadable();

    void bandsMatchWholePicture_data();
    void bandsMatchWholePicture();
    void jpegKindsDecodeOnceAsThePluginDoes_data();
    void jpegKindsDecodeOnceAsThePluginDoes();
    void progressiveJpegBeyondItsBudgetIsRefused();
    void bmpBandsMatchThePlugin_data();
    void bmpBandsMatchThePlugin();
    void wholePicturesHaveTheirOwnLimit();
    void levelsAndPreviewInOneRead();

    void sizeCaption_data();
    void sizeCaption();
    void otherCaptions();
    void previewFit_data();
    void previewFit();

    void gifWriterRoundTrip_data();
    void gifWriterRoundTrip();
    void samplesDecodeInEveryFormat();

private:
    QString path(const QString &name) const { return m_dir.path() + u'/' + name; }
    // The bands of `file` are the rows the image plug-in decodes.
    void compareBandsWithPlugin(const QString &file);

    QTemporaryDir m_dir;
};

void TestPicToText::colorToGray_data()
{
    QTest::addColumn<int>("r");
    QTest::addColumn<int>("g");
    QTest::addColumn<int>("b");
    QTest::addColumn<int>("grey");
    QTest::newRow("black") << 0 << 0 << 0 << 0;
    QTest::newRow("white") << 255 << 255 << 255 << 255;
    QTest::newRow("red") << 255 << 0 << 0 << 76;
    QTest::newRow("green") << 0 << 255 << 0 << 149;
    QTest::newRow("blue") << 0 << 0 << 255 << 29;
    QTest::newRow("mid grey") << 128 << 128 << 128 << 128;
}

void TestPicToText::colorToGray()
{
    QFETCH(int, r);
    QFETCH(int, g);
    QFETCH(int, b);
    QFETCH(int, grey);
    QCOMPARE(ColorToGray(RGB(r, g, b)), grey);
}

void TestPicToText::grayToChar_data()
{
    QTest::addColumn<int>("n");
    QTest::addColumn<int>("grey");
    QTest::addColumn<int>("position");
    QTest::newRow("18 at 127") << 18 << 127 << 9;
    QTest::newRow("18 at 128 (float step)") << 18 << 128 << 9;
    QTest::newRow("18 at 129") << 18 << 129 << 10;
    QTest::newRow("12 at 64") << 12 << 64 << 3;
    QTest::newRow("12 at 128") << 12 << 128 << 6;
    QTest::newRow("12 at 192") << 12 << 192 << 9;
    QTest::newRow("10 at 128") << 10 << 128 << 5;
}

void TestPicToText::grayToChar()
{
    QFETCH(int, n);
    QFETCH(int, grey);
    QFETCH(int, position);
    QCOMPARE(GrayToCharIndex(n, grey), position);
    // The same through a string whose characters say their position.
    QString gray;
    for (int i = 0; i < n; ++i)
        gray += QChar(u'!' + i);
    QCOMPARE(GrayToChar(gray, grey), QString(QChar(u'!' + position - 1)));
}

void TestPicToText::grayToCharEnds()
{
    for (int n = 1; n <= 256; ++n) {
        QCOMPARE(GrayToCharIndex(n, 0), 1);
        QCOMPARE(GrayToCharIndex(n, 255), n);
    }
}

void TestPicToText::grayToCharWithoutTies()
{
    // For these lengths the single-precision step never tips a band over.
    for (int n : {16, 21, 94, 256}) {
        for (int g = 0; g < 256; ++g)
            QCOMPARE(GrayToCharIndex(n, g), g * n / 256 + 1);
    }
}

void TestPicToText::grayTableMatchesSlowPath_data()
{
    QTest::addColumn<QString>("gray");
    QTest::addColumn<bool>("utf8");
    QTest::addColumn<bool>("greyscale");
    QTest::newRow("preset, file") << kNormal << false << false;
    QTest::newRow("94, utf-8") << grayPresets()[1].raw << true << false;
    QTest::newRow("grey picture") << kNormal << false << true;
    QTest::newRow("full-width, file") << QStringLiteral("黑灰白　＃＊．。") << false << false;
    QTest::newRow("full-width, utf-8, grey picture") << QStringLiteral("黑灰白　＃＊．。") << true << true;
    QTest::newRow("euro is one byte") << QStringLiteral("€MN$QHOC7") << false << false;
}

void TestPicToText::grayTableMatchesSlowPath()
{
    QFETCH(QString, gray);
    QFETCH(bool, utf8);
    QFETCH(bool, greyscale);
    QImage picture = greyRamp(64, 4);
    picture.setPixel(3, 1, qRgb(255, 0, 0));
    picture.setPixel(4, 1, qRgb(10, 200, 90));
    if (greyscale)
        picture = picture.convertToFormat(QImage::Format_Grayscale8);
    const GrayTable table(gray, utf8 ? GrayTable::Encoding::Utf8 : GrayTable::Encoding::Gb18030);
    QByteArray row(table.rowBytes(picture.width()), '\0');
    for (int y = 0; y < picture.height(); ++y) {
        const qsizetype n = table.convertRow(picture, y, row.data());
        QCOMPARE(row.left(n), expectedRow(picture, y, gray, utf8));
    }
}

void TestPicToText::onePixel()
{
    PicToTextConverter converter;
    const QString file = path(QStringLiteral("one.txt"));
    QCOMPARE(converter.PicToText(PixelSurface(filled(1, 1, qRgb(128, 128, 128))), file, kNormal, false),
             PicToTextConverter::Outcome::Done);
    QCOMPARE(readBytes(file), QByteArray(1, kNormal[8].toLatin1()) + "\r\n");
}

void TestPicToText::plainPictures_data()
{
    QTest::addColumn<QRgb>("colour");
    QTest::addColumn<int>("position");
    QTest::newRow("all white") << qRgb(255, 255, 255) << 18;
    QTest::newRow("all black") << qRgb(0, 0, 0) << 1;
}

void TestPicToText::plainPictures()
{
    QFETCH(QRgb, colour);
    QFETCH(int, position);
    PicToTextConverter converter;
    const QString file = path(QStringLiteral("plain.txt"));
    QCOMPARE(converter.PicToText(filled(5, 3, colour), file, kNormal, false), PicToTextConverter::Outcome::Done);
    const QByteArray line(5, kNormal[position - 1].toLatin1());
    QCOMPARE(readBytes(file), crlfLines({line, line, line}));
}

void TestPicToText::eachLineHoldsWidthBytes()
{
    PicToTextConverter converter;
    const QString file = path(QStringLiteral("ramp.txt"));
    const QImage picture = greyRamp(37, 11);
    QCOMPARE(converter.PicToText(picture, file, grayPresets()[1].raw, false), PicToTextConverter::Outcome::Done);
    const QList<QByteArray> lines = readBytes(file).split('\n');
    QCOMPARE(lines.size(), 12); // 11 lines and the empty rest after the last line end
    for (int y = 0; y < 11; ++y)
        QCOMPARE(lines[y], expectedRow(picture, y, grayPresets()[1].raw, false) + '\r');
}

void TestPicToText::addModeAppendsAfterSeparator()
{
    const QString file = path(QStringLiteral("add.txt"));
    QVERIFY(writeBytes(file, "earlier art\r\n"));
    PicToTextConverter converter;
    QCOMPARE(converter.PicToText(filled(2, 1, qRgb(0, 0, 0)), file, kNormal, true),
             PicToTextConverter::Outcome::Done);
    QCOMPARE(readBytes(file), "earlier art\r\n" + QByteArray("\r\n").repeated(51) + "MM\r\n");

    // A missing file in add mode starts with the separator as well.
    const QString fresh = path(QStringLiteral("fresh.txt"));
    QCOMPARE(converter.PicToText(filled(1, 1, qRgb(0, 0, 0)), fresh, kNormal, true),
             PicToTextConverter::Outcome::Done);
    QCOMPARE(readBytes(fresh), QByteArray("\r\n").repeated(51) + "M\r\n");
}

void TestPicToText::withoutAddModeOldTextGoes()
{
    const QString file = path(QStringLiteral("replace.txt"));
    QVERIFY(writeBytes(file, "earlier art that is longer than the new one\r\n"));
    PicToTextConverter converter;
    QCOMPARE(converter.PicToText(filled(2, 1, qRgb(0, 0, 0)), file, kNormal, false),
             PicToTextConverter::Outcome::Done);
    QCOMPARE(readBytes(file), QByteArray("MM\r\n"));
}

void TestPicToText::stopAnsweredYesKeepsRowsBefore()
{
    for (int k : {0, 1, 4}) {
        PicToTextConverter converter;
        int row = 0;
        converter.setYield([&] {
            if (row++ == k)
                converter.StopPicToText = true; // the stop button, pressed while row k is due
        });
        int asked = 0;
        converter.setConfirmStop([&] { return ++asked > 0; });
        const QString file = path(QStringLiteral("stop%1.txt").arg(k));
        QCOMPARE(converter.PicToText(filled(3, 6, qRgb(0, 0, 0)), file, kNormal, false),
                 PicToTextConverter::Outcome::Stopped);
        QCOMPARE(readBytes(file), QByteArray("MMM\r\n").repeated(k));
        QCOMPARE(asked, 1);
        QVERIFY(!converter.isRunning());
    }
}

void TestPicToText::stopAnsweredNoFinishes()
{
    PicToTextConverter converter;
    int row = 0;
    converter.setYield([&] {
        if (row++ == 2)
            converter.StopPicToText = true;
    });
    int asked = 0;
    converter.setConfirmStop([&] { return ++asked < 0; });
    const QString file = path(QStringLiteral("nostop.txt"));
    QCOMPARE(converter.PicToText(filled(3, 6, qRgb(0, 0, 0)), file, kNormal, false),
             PicToTextConverter::Outcome::Done);
    QCOMPARE(readBytes(file), QByteArray("MMM\r\n").repeated(6));
    QCOMPARE(asked, 1); // asked once, and the flag cleared
    QVERIFY(!converter.StopPicToText);
}

void TestPicToText::secondConversionRefusedWhileRunning()
{
    PicToTextConverter converter;
    const QString file = path(QStringLiteral("outer.txt"));
    QList<PicToTextConverter::Outcome> inner;
    converter.setYield([&] {
        QVERIFY(converter.isRunning());
        inner << converter.PicToText(filled(1, 1, qRgb(255, 255, 255)), file, kNormal, false);
    });
    QCOMPARE(converter.PicToText(filled(2, 2, qRgb(0, 0, 0)), file, kNormal, false),
             PicToTextConverter::Outcome::Done);
    QCOMPARE(inner, QList<PicToTextConverter::Outcome>(2, PicToTextConverter::Outcome::Busy));
    QCOMPARE(readBytes(file), QByteArray("MM\r\nMM\r\n"));
}

void TestPicToText::unwritableOutputReported()
{
    PicToTextConverter converter;
    QCOMPARE(converter.PicToText(filled(2, 2, qRgb(0, 0, 0)), path(QStringLiteral("no/such/dir/t.txt")), kNormal,
                                 false),
             PicToTextConverter::Outcome::WriteFailed);

    // A device that stops taking bytes half way.
    QByteArray small;
    QBuffer full(&small);
    QVERIFY(full.open(QIODevice::ReadOnly));
    QCOMPARE(converter.convert(filled(2, 2, qRgb(0, 0, 0)), kNormal, full, {}),
             PicToTextConverter::Outcome::WriteFailed);
}

void TestPicToText::inkOfCharacters()
{
    QCOMPARE(MeasureCharInk(u" "), 0);
    const int dot = MeasureCharInk(u".");
    const int em = MeasureCharInk(u"M");
    QVERIFY2(dot > 0, "a full stop leaves some ink");
    QVERIFY2(em > dot * 3, "an M leaves far more ink than a full stop");
    QVERIFY(MeasureCharInk(u"@") > MeasureCharInk(u"-"));
}

void TestPicToText::grayText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("problem");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("returned"); // "=" the text as typed, "default", or "ordered"
    QTest::newRow("8 accepted") << QStringLiteral("M.:-Q@ 1") << int(GrayTextProblem::None) << QString()
                                << QStringLiteral("ordered");
    QTest::newRow("7 rejected") << QStringLiteral("M.:-Q@ ") << int(GrayTextProblem::TooShort)
                                << QStringLiteral("灰度字符不可小于8，且不可全为空格！") << QStringLiteral("default");
    QTest::newRow("8 blanks rejected") << QStringLiteral("        ") << int(GrayTextProblem::TooShort)
                                       << QStringLiteral("灰度字符不可小于8，且不可全为空格！")
                                       << QStringLiteral("default");
    QTest::newRow("full-width kept as typed") << QStringLiteral("MN$Q中OC7?") << int(GrayTextProblem::FullWidth)
                                              << QStringLiteral("灰度字符中不可有全角字符！") << QStringLiteral("=");
    QTest::newRow("full-width blanks are no blanks")
        << QStringLiteral("　　　　　　　　") << int(GrayTextProblem::FullWidth)
        << QStringLiteral("灰度字符中不可有全角字符！") << QStringLiteral("=");
}

void TestPicToText::grayText()
{
    QFETCH(QString, text);
    QFETCH(int, problem);
    QFETCH(QString, message);
    QFETCH(QString, returned);
    const QString fallback = QStringLiteral("MMMNN$QHOC7?>!\"-';:. ");
    const GrayOrderResult result = ReSortGrayChar(text, fallback);
    QCOMPARE(int(result.problem), problem);
    QCOMPARE(grayProblemMessage(result.problem), message);
    QCOMPARE(grayProblemTitle(), QStringLiteral("灰度设置错误"));
    if (!message.isEmpty())
        QVERIFY(result.tooltip.isEmpty());
    if (returned == QLatin1String("=")) {
        QCOMPARE(result.gray, text);
    } else if (returned == QLatin1String("default")) {
        QCOMPARE(result.gray, fallback);
    } else {
        QString sortedIn = text, sortedOut = result.gray;
        std::sort(sortedIn.begin(), sortedIn.end());
        std::sort(sortedOut.begin(), sortedOut.end());
        QCOMPARE(sortedOut, sortedIn);
        QCOMPARE(result.tooltip, QStringLiteral("〔共8阶灰度[最多256阶]〕") + result.gray);
        QCOMPARE(result.gray.back(), u' '); // no ink at all: the lightest
    }
}

void TestPicToText::orderingIsByInkThenCode()
{
    const QString ordered = orderByInk(grayPresets()[1].raw);
    QCOMPARE(ordered.size(), 94);
    for (int i = 1; i < ordered.size(); ++i) {
        const int before = MeasureCharInk(QStringView(ordered).mid(i - 1, 1));
        const int after = MeasureCharInk(QStringView(ordered).mid(i, 1));
        QVERIFY2(before > after || (before == after && ordered[i - 1] >= ordered[i]),
                 qPrintable(ordered.mid(i - 1, 2)));
    }
    // Repeated characters stay together, so they widen one band of grey.
    QCOMPARE(orderByInk(u"M.M.M.M."), QStringLiteral("MMMM...."));
}

void TestPicToText::loaderRefusesHugeClaims_data()
{
    QTest::addColumn<QString>("suffix");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<QString>("limit"); // the one the message quotes
    const QString bands = QStringLiteral("64 megapixels)");
    const QString whole = QStringLiteral("6 megapixels for a picture that is not a JPEG or plain BMP");
    QTest::newRow("bmp 20000 x 20000") << QStringLiteral("bmp") << 20000 << 20000 << bands;
    QTest::newRow("gif 20000 x 20000") << QStringLiteral("gif") << 20000 << 20000 << whole;
    QTest::newRow("one side too long") << QStringLiteral("bmp") << 16385 << 1 << bands;
    QTest::newRow("too many pixels") << QStringLiteral("gif") << 8001 << 8000 << whole;
    QTest::newRow("jpeg 20000 x 20000") << QStringLiteral("jpg") << 20000 << 20000 << bands;
    QTest::newRow("jpeg, too many pixels") << QStringLiteral("jpg") << 9000 << 8000 << bands;
}

void TestPicToText::loaderRefusesHugeClaims()
{
    QFETCH(QString, suffix);
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(QString, limit);
    const QString file = path(QStringLiteral("huge.") + suffix);
    QVERIFY(writeBytes(file, suffix == QLatin1String("bmp")   ? hugeBmpHeader(width, height)
                             : suffix == QLatin1String("gif") ? hugeGifHeader(width, height)
                                                              : hugeJpegHeader(width, height)));
    const PictureLoader::Result result = PictureLoader::load(file);
    QCOMPARE(result.problem, PictureLoader::Problem::TooLarge);
    QCOMPARE(result.claimedSize, QSize(width, height));
    QVERIFY(result.image.isNull());
    QVERIFY2(result.detail.contains(QStringLiteral("too large")) && result.detail.contains(limit),
             qPrintable(result.detail));
}

void TestPicToText::loaderRefusesTopDownBmpClaims_data()
{
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("claimed");
    QTest::newRow("top-down 20000") << -20000 << 20000;
    QTest::newRow("most negative height") << std::numeric_limits<int>::min() << std::numeric_limits<int>::max();
}

void TestPicToText::loaderRefusesTopDownBmpClaims()
{
    QFETCH(int, height);
    QFETCH(int, claimed);
    const QString file = path(QStringLiteral("topdown.bmp"));
    QVERIFY(writeBytes(file, hugeBmpHeader(100, height)));
    const PictureLoader::Result result = PictureLoader::load(file);
    QCOMPARE(result.problem, PictureLoader::Problem::TooLarge);
    QCOMPARE(result.claimedSize, QSize(100, claimed));
}

void TestPicToText::loaderReadsTransparentAsWhite_data()
{
    QTest::addColumn<QString>("suffix");
    QTest::addColumn<QSize>("size");
    QTest::newRow("gif") << QStringLiteral("gif") << QSize(4, 2);
    QTest::newRow("ico") << QStringLiteral("ico") << QSize(4, 2);
    // Eight bytes a pixel, at the most pixels a whole picture may have.
    QTest::newRow("png, 16 bits a channel") << QStringLiteral("png") << QSize(3000, 2000);
}

void TestPicToText::loaderReadsTransparentAsWhite()
{
    QFETCH(QString, suffix);
    QFETCH(QSize, size);
    QImage picture(size, QImage::Format_ARGB32);
    picture.fill(Qt::transparent);
    picture.setPixel(0, 0, qRgb(0, 0, 0));
    picture.setPixel(1, 1, qRgb(200, 0, 0));
    const QString file = path(QStringLiteral("clear.") + suffix);
    if (suffix == QLatin1String("gif"))
        QVERIFY(GifWriter::write(picture, file));
    else if (suffix == QLatin1String("ico"))
        QVERIFY(QImageWriter(file, "ico").write(picture));
    else
        QVERIFY(picture.convertToFormat(QImage::Format_RGBA64).save(file, "PNG"));
    const PictureLoader::Result result = PictureLoader::load(file);
    QVERIFY2(result.ok(), qPrintable(result.detail));
    QVERIFY(!result.image.hasAlphaChannel());
    QCOMPARE(result.image.pixel(0, 0), qRgb(0, 0, 0));
    QCOMPARE(result.image.pixel(1, 1), qRgb(200, 0, 0));
    QCOMPARE(result.image.pixel(3, 0), qRgb(255, 255, 255));
    QCOMPARE(result.image.pixel(2, 1), qRgb(255, 255, 255));
}

void TestPicToText::loaderReportsUnreadable()
{
    QCOMPARE(PictureLoader::load(path(QStringLiteral("missing.jpg"))).problem, PictureLoader::Problem::Missing);
    const QString junk = path(QStringLiteral("junk.jpg"));
    QVERIFY(writeBytes(junk, "this is no picture at all"));
    const PictureLoader::Result result = PictureLoader::load(junk);
    QCOMPARE(result.problem, PictureLoader::Problem::Unreadable);
    QVERIFY(!result.detail.isEmpty());
}

void TestPicToText::bandsMatchWholePicture_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<bool>("grey");
    QTest::addColumn<bool>("progressive");
    QTest::newRow("jpeg") << QStringLiteral("jpg") << false << false;
    QTest::newRow("grey jpeg") << QStringLiteral("jpg") << true << false;
    QTest::newRow("progressive jpeg") << QStringLiteral("jpg") << false << true;
    QTest::newRow("bmp") << QStringLiteral("bmp") << false << false;
}

void TestPicToText::bandsMatchWholePicture()
{
    QFETCH(QString, format);
    QFETCH(bool, grey);
    QFETCH(bool, progressive);
    // Tall and irregular, so that bands end mid-block and rows differ.
    QImage picture(613, 1501, QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            picture.setPixel(x, y, qRgb((x * 5 + y) % 256, (y * 3) % 256, (x ^ y) % 256));
    if (grey)
        picture = picture.convertToFormat(QImage::Format_Grayscale8);
    const QString file = path(QStringLiteral("bands.") + format);
    QImageWriter writer(file);
    writer.setQuality(80);
    writer.setProgressiveScanWrite(progressive);
    QVERIFY(writer.write(picture));
    compareBandsWithPlugin(file);
}

void TestPicToText::jpegKindsDecodeOnceAsThePluginDoes_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    using HostilePictures::JpegKind;
    QTest::newRow("CMYK") << int(JpegKind::Cmyk) << 413 << 301;
    QTest::newRow("progressive CMYK") << int(JpegKind::ProgressiveCmyk) << 413 << 301;
    QTest::newRow("progressive 4:4:4") << int(JpegKind::Progressive444) << 413 << 301;
    // Taller than the window of unpacked rows many times over.
    QTest::newRow("progressive 4:4:4, tall") << int(JpegKind::Progressive444) << 307 << 2901;
}

void TestPicToText::jpegKindsDecodeOnceAsThePluginDoes()
{
    QFETCH(int, kind);
    QFETCH(int, width);
    QFETCH(int, height);
    const QString file = path(QStringLiteral("kind.jpg"));
    QVERIFY(HostilePictures::writeJpeg(file, width, height, HostilePictures::JpegKind(kind), 90, true));
    JpegRows direct(file);
    QVERIFY2(direct.open(), "the JPEG library refused the picture");
    compareBandsWithPlugin(file);
}

void TestPicToText::progressiveJpegBeyondItsBudgetIsRefused()
{
    const QString file = path(QStringLiteral("noisy.jpg"));
    QVERIFY(HostilePictures::writeJpeg(file, 1200, 900, HostilePictures::JpegKind::Progressive444, 95, true));
    JpegRows direct(file);
    direct.setCoefficientBudget(std::size_t(1) << 20);
    QVERIFY(!direct.open());
    QCOMPARE(direct.error(), QStringLiteral("the progressive picture needs more than 1 MB to decode"));
    // A baseline picture keeps no coefficients, whatever the budget.
    QVERIFY(HostilePictures::writeJpeg(file, 400, 300, HostilePictures::JpegKind::Cmyk, 95, true));
    JpegRows baseline(file);
    baseline.setCoefficientBudget(0);
    QVERIFY(baseline.open());
}

namespace {

// A BMP file of the given kind, written byte by byte.
QByteArray bmpFile(int width, int height, int bits, quint32 compression, int headerSize, bool alphaMask,
                   int colours)
{
    const qint64 stride = (qint64(width) * bits + 31) / 32 * 4;
    const int paletteBytes = bits == 8 ? colours * 4 : 0;
    const int offset = 14 + headerSize + paletteBytes;
    QByteArray b(offset + stride * std::abs(height), '\0');
    char *h = b.data();
    h[0] = 'B';
    h[1] = 'M';
    qToLittleEndian<quint32>(quint32(b.size()), h + 2);
    qToLittleEndian<quint32>(quint32(offset), h + 10);
    qToLittleEndian<quint32>(quint32(headerSize), h + 14);
    qToLittleEndian<qint32>(width, h + 18);
    qToLittleEndian<qint32>(height, h + 22);
    qToLittleEndian<quint16>(1, h + 26);
    qToLittleEndian<quint16>(quint16(bits), h + 28);
    qToLittleEndian<quint32>(compression, h + 30);
    qToLittleEndian<quint32>(quint32(bits == 8 ? colours : 0), h + 46);
    if (compression == 3) {
        qToLittleEndian<quint32>(0x00FF0000, h + 54);
        qToLittleEndian<quint32>(0x0000FF00, h + 58);
        qToLittleEndian<quint32>(0x000000FF, h + 62);
        qToLittleEndian<quint32>(alphaMask ? 0xFF000000 : 0, h + 66);
    }
    for (int i = 0; i < paletteBytes / 4; ++i) {
        h[14 + headerSize + i * 4] = char(i * 7);
        h[14 + headerSize + i * 4 + 1] = char(255 - i);
        h[14 + headerSize + i * 4 + 2] = char(i * 3);
    }
    for (qint64 i = offset; i < b.size(); ++i)
        b[i] = char((i * 37 + i / stride * 11) % 251);
    return b;
}

} // namespace

void TestPicToText::bmpBandsMatchThePlugin_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("streamed");
    QTest::newRow("24-bit") << bmpFile(37, 301, 24, 0, 40, false, 0) << true;
    QTest::newRow("24-bit, top-down") << bmpFile(37, -301, 24, 0, 40, false, 0) << true;
    QTest::newRow("32-bit") << bmpFile(37, 301, 32, 0, 40, false, 0) << true;
    QTest::newRow("32-bit with alpha") << bmpFile(37, 301, 32, 3, 124, true, 0) << true;
    QTest::newRow("32-bit bit fields, no alpha") << bmpFile(37, 301, 32, 3, 108, false, 0) << true;
    QTest::newRow("8-bit, 256 colours") << bmpFile(37, 301, 8, 0, 40, false, 256) << true;
    QTest::newRow("8-bit, 16 colours: the plug-in's") << bmpFile(37, 301, 8, 0, 40, false, 16) << false;
    QTest::newRow("16-bit: the plug-in's") << bmpFile(37, 301, 16, 0, 40, false, 0) << false;
    QTest::newRow("32-bit with alpha in a version 4 header") << bmpFile(37, 301, 32, 3, 108, true, 0) << true;
}

void TestPicToText::bmpBandsMatchThePlugin()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, streamed);
    const QString file = path(QStringLiteral("kind.bmp"));
    QVERIFY(writeBytes(file, bytes));
    const QImage plugin = PictureLoader::flatten(QImage(file));
    QVERIFY(!plugin.isNull());
    PictureBands bands(file);
    QImage band;
    int row = 0;
    while (bands.next(band) == PictureBands::Band::Ready) {
        for (int y = 0; y < band.height(); ++y)
            for (int x = 0; x < band.width(); ++x)
                QVERIFY2(band.pixel(x, y) == plugin.pixel(x, row + y), qPrintable(QStringLiteral("%1, %2").arg(x).arg(row + y)));
        row += band.height();
    }
    QCOMPARE(row, plugin.height());
    QCOMPARE(bands.streamed(), streamed);
}

void TestPicToText::wholePicturesHaveTheirOwnLimit()
{
    // A picture only an image plug-in decodes is decoded whole; its limit
    // keeps that within bounds. The 43-byte GIF claims a screen of 64 MB.
    const QString gif = path(QStringLiteral("screen.gif"));
    QVERIFY(HostilePictures::writeTinyFrameGif(gif, 16384, 3906));
    const PictureLoader::Result result = PictureLoader::load(gif);
    QCOMPARE(result.problem, PictureLoader::Problem::TooLarge);
    QVERIFY2(result.detail.contains(QStringLiteral("6 megapixels for a picture that is not a JPEG or plain BMP")),
             qPrintable(result.detail));
    // Within it, the same picture reads.
    QVERIFY(HostilePictures::writeTinyFrameGif(gif, 3000, 2000));
    QVERIFY(PictureLoader::load(gif).ok());
}

void TestPicToText::levelsAndPreviewInOneRead()
{
    const QString file = path(QStringLiteral("levels.jpg"));
    QVERIFY(HostilePictures::writeJpeg(file, 613, 1501, HostilePictures::JpegKind::Cmyk, 90, true));
    const QImage plugin = PictureLoader::flatten(QImage(file));
    PictureBands bands(file);
    const PictureLevels::Result read = PictureLevels::read(bands, QSize(88, 88));
    QCOMPARE(read.outcome, PictureBands::Band::End);
    QCOMPARE(read.levels.format(), QImage::Format_Grayscale8);
    QCOMPARE(read.levels.size(), plugin.size());
    for (int y = 0; y < plugin.height(); y += 7)
        for (int x = 0; x < plugin.width(); x += 5)
        {
            const QRgb c = plugin.pixel(x, y);
            QCOMPARE(int(read.levels.constScanLine(y)[x]), ColorToGray(RGB(qRed(c), qGreen(c), qBlue(c))));
        }
    // Shrunk to fit, every preview pixel the average of the pixels it covers.
    QCOMPARE(read.preview.size(), PictureParticulars::previewFit(plugin.size(), QSize(88, 88)).size());
    const QImage smooth = plugin.scaled(read.preview.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    int far = 0;
    for (int y = 0; y < smooth.height(); ++y)
        for (int x = 0; x < smooth.width(); ++x)
            far += std::abs(qGray(smooth.pixel(x, y)) - qGray(read.preview.pixel(x, y))) > 24;
    QVERIFY2(far < smooth.width() * smooth.height() / 10, qPrintable(QString::number(far)));

    // A picture that fits is shown as it is.
    const PictureLevels::Result small = PictureLevels::read(*std::make_unique<PictureBands>(file).get(),
                                                            QSize(1000, 2000));
    QCOMPARE(small.preview, plugin);
}

void TestPicToText::compareBandsWithPlugin(const QString &file)
{
    const QImage plugin = PictureLoader::flatten(QImage(file));
    QVERIFY(!plugin.isNull());
    PictureBands bands(file);
    QImage band;
    int row = 0;
    PictureBands::Band got;
    while ((got = bands.next(band)) == PictureBands::Band::Ready) {
        QCOMPARE(band.format(), plugin.format());
        for (int y = 0; y < band.height(); ++y) {
            QVERIFY2(std::memcmp(band.constScanLine(y), plugin.constScanLine(row + y),
                                 size_t(band.width() * band.depth() / 8))
                         == 0,
                     qPrintable(QStringLiteral("row %1").arg(row + y)));
        }
        row += band.height();
    }
    QCOMPARE(got, PictureBands::Band::End);
    QCOMPARE(row, plugin.height());
    QCOMPARE(bands.size(), plugin.size());
}

void TestPicToText::sizeCaption_data()
{
    QTest::addColumn<qint64>("bytes");
    QTest::addColumn<QString>("caption");
    QTest::newRow("0") << qint64(0) << QStringLiteral("大小：0字节");
    QTest::newRow("1024") << qint64(1024) << QStringLiteral("大小：1024字节");
    QTest::newRow("1025") << qint64(1025) << QStringLiteral("大小：1KB");
    QTest::newRow("1100") << qint64(1100) << QStringLiteral("大小：1.07KB");
    QTest::newRow("1536") << qint64(1536) << QStringLiteral("大小：1.5KB");
    QTest::newRow("cut, not rounded") << qint64(2047) << QStringLiteral("大小：1.99KB");
    QTest::newRow("hundredth") << qint64(1034) << QStringLiteral("大小：1KB");
    QTest::newRow("one hundredth") << qint64(1035) << QStringLiteral("大小：1.01KB");
    QTest::newRow("large") << qint64(5'000'000) << QStringLiteral("大小：4882.81KB");
}

void TestPicToText::sizeCaption()
{
    QFETCH(qint64, bytes);
    QFETCH(QString, caption);
    QCOMPARE(PictureParticulars::sizeCaption(bytes), caption);
}

void TestPicToText::otherCaptions()
{
    using namespace PictureParticulars;
    QCOMPARE(typeCaption(QStringLiteral("/pictures/a.jpg")), QStringLiteral("类型：JPG"));
    QCOMPARE(typeCaption(QStringLiteral("C:\\pictures\\b.Gif")), QStringLiteral("类型：GIF"));
    QCOMPARE(nameCaption(QStringLiteral("/pictures/ my face .bmp")), QStringLiteral("文件名：my face"));
    QCOMPARE(nameCaption(QStringLiteral("C:\\pictures\\微笑.ico")), QStringLiteral("文件名：微笑"));
    QCOMPARE(dimensionsCaption(QSize(120, 90)), QStringLiteral("宽×高：120×90"));
}

void TestPicToText::previewFit_data()
{
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<QRect>("shown");
    const QSize box(120, 100);
    QTest::newRow("smaller: own size, centred") << QSize(60, 40) << QRect(30, 30, 60, 40);
    QTest::newRow("exact fit") << box << QRect(QPoint(0, 0), box);
    QTest::newRow("ten times as wide") << QSize(1200, 100) << QRect(0, 45, 120, 10);
    QTest::newRow("twice as tall") << QSize(60, 200) << QRect(45, 0, 30, 100);
}

void TestPicToText::previewFit()
{
    QFETCH(QSize, picture);
    QFETCH(QRect, shown);
    QCOMPARE(PictureParticulars::previewFit(picture, QSize(120, 100)), shown);
}

void TestPicToText::gifWriterRoundTrip_data()
{
    QTest::addColumn<bool>("manyColours");
    QTest::newRow("own palette") << false;
    QTest::newRow("colour cube, long code stream") << true;
}

void TestPicToText::gifWriterRoundTrip()
{
    QFETCH(bool, manyColours);
    QImage picture(manyColours ? 300 : 40, manyColours ? 200 : 30, QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            picture.setPixel(x, y, manyColours ? qRgb(x % 256, y % 256, (x * y) % 256)
                                               : qRgb((x / 10) * 60, (y / 10) * 80, 40));
        }
    }
    const QString file = path(QStringLiteral("round.gif"));
    QVERIFY(GifWriter::write(picture, file));
    const QImage back = QImage(file).convertToFormat(QImage::Format_RGB32);
    QCOMPARE(back.size(), picture.size());
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            const QRgb a = picture.pixel(x, y);
            const QRgb b = back.pixel(x, y);
            const int tolerance = manyColours ? 26 : 0;
            QVERIFY(std::abs(qRed(a) - qRed(b)) <= tolerance && std::abs(qGreen(a) - qGreen(b)) <= tolerance
                    && std::abs(qBlue(a) - qBlue(b)) <= tolerance);
        }
    }
}

void TestPicToText::samplesDecodeInEveryFormat()
{
    QTemporaryDir programDir;
    QVERIFY(SamplePictures::writeAll(programDir.path()));
    for (const char *dir : {"表情图片", "短信图片", "超Cool头像"}) {
        const QDir d(programDir.path() + QStringLiteral("/data/磨牙资源/") + QString::fromUtf8(dir));
        QSet<QString> suffixes;
        for (const QFileInfo &info : d.entryInfoList(QDir::Files)) {
            const PictureLoader::Result result = PictureLoader::load(info.filePath());
            QVERIFY2(result.ok(), qPrintable(info.fileName()));
            QVERIFY(result.image.width() <= 128 && result.image.height() <= 128);
            suffixes.insert(info.suffix().toLower());
        }
        QCOMPARE(suffixes, (QSet<QString>{"bmp", "jpg", "gif", "ico"}));
    }
}

int main(int argc, char **argv)
{
    Fonts::installSubstitutions();
    QGuiApplication app(argc, argv);
    TestPicToText test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_pictotext.moc"
