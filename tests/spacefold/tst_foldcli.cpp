#include "foldexamples.h"
#include "processes.h"

#include "shell/core/fonts.h"
#include "shell/core/textcodec.h"

#include <QProcess>
#include <QRandomGenerator>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

namespace {

QStringList flagsFor(const ZipOptions &o, bool reversed = false)
{
    QStringList flags;
    if (o.optLeading)
        flags << u"--leading"_qs;
    if (o.optTrailing)
        flags << u"--trailing"_qs;
    if (o.optInner)
        flags << u"--inner"_qs;
    if (o.optBlankLines)
        flags << u"--blank-lines"_qs;
    if (reversed)
        std::reverse(flags.begin(), flags.end());
    return flags;
}

QByteArray lf(QString text)
{
    return text.replace(u"\r\n"_qs, u"\n"_qs).toUtf8();
}

using Run = CliRun;

Run fold(const QStringList &arguments, const QByteArray &input = QByteArray())
{
    return runCli(QStringList{u"fold"_qs} + arguments, input, 30000);
}

} // namespace

class TestFoldCli : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void examples_data();
    void examples();
    void leadingWhenNoPassIsNamed();
    void lineEndsOfUtf8Input();
    void codePageBytes();
    void codePageBytesThatAreNoCharactersStay_data();
    void codePageBytesThatAreNoCharactersStay();
    void bareLineFeedEndsALine_data();
    void bareLineFeedEndsALine();
    void statistics_data();
    void statistics();
    void readsTheNamedFile();
    void unreadableFile();
    void inputEncodingAutoWritesWhatItRead_data();
    void inputEncodingAutoWritesWhatItRead();
};

void TestFoldCli::initTestCase()
{
    QVERIFY2(QFile::exists(cliPath()), qPrintable(cliPath()));
}

void TestFoldCli::examples_data()
{
    addFoldExampleRows();
}

void TestFoldCli::examples()
{
    QFETCH(ZipOptions, options);
    QFETCH(QString, input);
    QFETCH(QString, expected);

    const Run utf8 = fold(flagsFor(options), lf(input));
    QCOMPARE(utf8.status, 0);
    QCOMPARE(utf8.out, lf(expected));
    QCOMPARE(utf8.err, QByteArray());

    // The order of the options does not matter; the code page keeps CR LF.
    const Run cp936 = fold(flagsFor(options, true) << u"--cp936"_qs, TextCodec::encode(input));
    QCOMPARE(cp936.status, 0);
    QCOMPARE(cp936.out, TextCodec::encode(expected));
}

void TestFoldCli::leadingWhenNoPassIsNamed()
{
    const Run run = fold({}, "  a  b\n   c");
    QCOMPARE(run.status, 0);
    QCOMPARE(run.out, QByteArray("a  b\n c"));
}

void TestFoldCli::lineEndsOfUtf8Input()
{
    // CR LF, LF and a lone CR all end lines, as in the window and in every
    // file the programs read.
    const Run run = fold({u"--trailing"_qs}, "a \r\nb \nc\r ");
    QCOMPARE(run.status, 0);
    QCOMPARE(run.out, fold({u"--trailing"_qs}, "a \nb \nc\n ").out);
    QCOMPARE(run.out, QByteArray("a\nb\nc"));
}

void TestFoldCli::codePageBytes()
{
    const QString text = u"  中€ \r\n  国é\r\n"_qs;
    const Run run = fold({u"--cp936"_qs, u"--trailing"_qs, u"--leading"_qs}, TextCodec::encode(text));
    QCOMPARE(run.status, 0);
    QCOMPARE(run.out, TextCodec::encode(u"中€\r\n国é"_qs));
    QVERIFY(run.out.contains('\x80'));
}

void TestFoldCli::codePageBytesThatAreNoCharactersStay_data()
{
    // 50,000 random bytes without a blank (nor A1 A1, the full-width blank):
    // each line comes back byte for byte, less only the blanks folded.
    QTest::addColumn<QStringList>("flags");
    QTest::addColumn<QByteArray>("indent");
    QTest::addColumn<int>("lineLength");
    QTest::newRow("one line, no blank") << QStringList{} << QByteArray() << 50000;
    QTest::newRow("indented lines, every pass")
        << QStringList{u"--leading"_qs, u"--trailing"_qs, u"--inner"_qs, u"--blank-lines"_qs} << QByteArray("  ") << 77;
}

void TestFoldCli::codePageBytesThatAreNoCharactersStay()
{
    QFETCH(QStringList, flags);
    QFETCH(QByteArray, indent);
    QFETCH(int, lineLength);
    QRandomGenerator random(936);
    QByteArray input;
    QByteArray expected;
    for (qsizetype total = 0; total < 50000; total += lineLength) {
        QByteArray line;
        while (line.size() < lineLength) {
            const char b = char(random.bounded(256));
            if (b != ' ' && b != '\r' && b != '\n' && !(b == '\xa1' && line.endsWith('\xa1')))
                line += b;
        }
        const QByteArray end = total + lineLength < 50000 ? QByteArray("\r\n") : QByteArray();
        input += indent + line + end;
        expected += line + end;
    }
    const Run run = fold(flags << u"--cp936"_qs, input);
    QCOMPARE(run.status, 0);
    QCOMPARE(run.out.size(), expected.size());
    QVERIFY(run.out == expected);
}

void TestFoldCli::bareLineFeedEndsALine_data()
{
    QTest::addColumn<bool>("cp936");
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("utf-8") << false << QByteArray("   a\n   b") << QByteArray("a\nb");
    QTest::newRow("code page") << true << QByteArray("   a\n   b") << QByteArray("a\r\nb");
    QTest::newRow("code page, mixed ends") << true << QByteArray("  \xd6\xd0\r\n  b\n  c")
                                           << QByteArray("\xd6\xd0\r\nb\r\nc");
}

void TestFoldCli::bareLineFeedEndsALine()
{
    QFETCH(bool, cp936);
    QFETCH(QByteArray, input);
    QFETCH(QByteArray, expected);
    const Run run = fold(cp936 ? QStringList{u"--cp936"_qs} : QStringList{}, input);
    QCOMPARE(run.status, 0);
    QCOMPARE(run.out, expected);
}

void TestFoldCli::statistics_data()
{
    QTest::addColumn<QStringList>("flags");
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QString>("expected");
    QTest::newRow("3 to 2") << QStringList{u"--inner"_qs} << QByteArray("a b")
                            << u"压缩前文本大小： 3字节\n压缩后文本大小： 2字节\n压缩比率：33.34%\n"_qs;
    QTest::newRow("to nothing") << QStringList{} << QByteArray("  \n\n ")
                                << u"压缩前文本大小： 7字节\n压缩后文本大小： 0字节\n压缩比率：100%\n"_qs;
    QTest::newRow("unchanged") << QStringList{u"--leading"_qs} << QByteArray("中a")
                               << u"压缩前文本大小： 3字节\n压缩后文本大小： 3字节\n压缩比率：0%\n"_qs;
    QTest::newRow("3.78, no binary noise")
        << QStringList{u"--trailing"_qs} << QByteArray("x").repeated(9622) + QByteArray(378, ' ')
        << u"压缩前文本大小： 10000字节\n压缩后文本大小： 9622字节\n压缩比率：3.78%\n"_qs;
    QTest::newRow("66.7") << QStringList{u"--trailing"_qs} << QByteArray("x").repeated(333) + QByteArray(667, ' ')
                          << u"压缩前文本大小： 1000字节\n压缩后文本大小： 333字节\n压缩比率：66.7%\n"_qs;
}

void TestFoldCli::statistics()
{
    QFETCH(QStringList, flags);
    QFETCH(QByteArray, input);
    QFETCH(QString, expected);
    const Run run = fold(flags << u"--stats"_qs, input);
    QCOMPARE(run.status, 0);
    QCOMPARE(QString::fromUtf8(run.err), expected);
}

void TestFoldCli::readsTheNamedFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"画.txt"_qs);
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(TextCodec::encode(u"   中  国\r\n    a   b\r\n   "_qs));
    file.close();
    const Run run = fold({u"--cp936"_qs, u"--inner"_qs, u"--blank-lines"_qs, u"--leading"_qs, path});
    QCOMPARE(run.status, 0);
    QCOMPARE(run.out, TextCodec::encode(u"中国\r\n a b"_qs));
}

void TestFoldCli::unreadableFile()
{
    const Run missing = fold({u"/no/such/file.txt"_qs});
    QCOMPARE(missing.status, 1);
    QCOMPARE(missing.out, QByteArray());
    QCOMPARE(missing.err.count('\n'), 1);
    QVERIFY(missing.err.contains("/no/such/file.txt"));

    QTemporaryDir dir;
    const Run directory = fold({u"--stats"_qs, dir.path()});
    QCOMPARE(directory.status, 1);
    QCOMPARE(directory.err.count('\n'), 1);
}

void TestFoldCli::inputEncodingAutoWritesWhatItRead_data()
{
    QTest::addColumn<QStringList>("flags");
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QByteArray>("output");
    QTest::addColumn<int>("status");
    const QStringList autoFlags{u"--trailing"_qs, u"--input-encoding"_qs, u"auto"_qs};
    const auto utf16 = [](const QString &text, bool big) -> QByteArray {
        return QStringEncoder(big ? QStringEncoder::Utf16BE : QStringEncoder::Utf16LE, QStringEncoder::Flag::WriteBom)
            .encode(text);
    };
    QTest::newRow("UTF-8, LF") << autoFlags << u"中 \n文 "_qs.toUtf8() << u"中\n文"_qs.toUtf8() << 0;
    QTest::newRow("UTF-8 with a mark, CR LF") << autoFlags << u"\uFEFF中 \r\n文"_qs.toUtf8()
                                              << u"\uFEFF中\r\n文"_qs.toUtf8() << 0;
    QTest::newRow("UTF-16 LE") << autoFlags << utf16(u"中 \r\n文"_qs, false) << utf16(u"中\r\n文"_qs, false) << 0;
    QTest::newRow("UTF-16 BE") << autoFlags << utf16(u"中 \n文"_qs, true) << utf16(u"中\n文"_qs, true) << 0;
    QTest::newRow("GBK") << autoFlags << TextCodec::encode(u"你好 \r\n好"_qs) << TextCodec::encode(u"你好\r\n好"_qs)
                         << 0;
    QTest::newRow("ASCII, LF") << autoFlags << QByteArray("a \nb") << QByteArray("a\nb") << 0;
    QTest::newRow("as --cp936") << QStringList{u"--input-encoding=cp936"_qs} << TextCodec::encode(u"  你\n  好"_qs)
                                << TextCodec::encode(u"你\r\n好"_qs) << 0;
    QTest::newRow("unknown") << QStringList{u"--input-encoding"_qs, u"latin1"_qs} << QByteArray() << QByteArray()
                             << 2;
    QTest::newRow("no value") << QStringList{u"--input-encoding"_qs} << QByteArray() << QByteArray() << 2;
}

void TestFoldCli::inputEncodingAutoWritesWhatItRead()
{
    QFETCH(QStringList, flags);
    QFETCH(QByteArray, input);
    QFETCH(QByteArray, output);
    QFETCH(int, status);
    const Run run = fold(flags, input);
    QCOMPARE(run.status, status);
    QCOMPARE(run.out.toHex(' '), output.toHex(' '));
    if (status != 0)
        QVERIFY(run.err.contains("utf-8, cp936 or auto"));
}

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    Fonts::installSubstitutions();
    TestFoldCli test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_foldcli.moc"
