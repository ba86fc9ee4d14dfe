// The save sequence shared by the save buttons: the dialog, the path check,
// the question, the write and the failure, with the texts of each program.

#include "scripteddialogs.h"
#include "specialfiles.h"

#include "shell/core/textcodec.h"
#include "shell/core/utilities.h"
#include "shell/widgets/savetextas.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <cerrno>

namespace {

// As the art-text panel saves (the ending added), as the paint panel saves
// (names as chosen), and as Spacefold saves (no path check, its own texts).
SaveTextAs style(const QString &name)
{
    SaveTextAs save;
    if (name == u"art") {
        save.addTxtEnding = true;
    } else if (name == u"spacefold") {
        save.filter = QStringLiteral("*.* (*)");
        save.trimName = false;
        save.invalidPath.clear();
        save.overwriteTitle = QStringLiteral("提醒信息：）");
        save.failed = QStringLiteral("保存文件时出现错误！");
        save.failedTitle = QStringLiteral("出错了：（");
        save.failedIcon = Dialogs::Icon::Critical;
    }
    return save;
}

QByteArray bytesOf(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<none>");
}

} // namespace

class TestSaveTextAs : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void sequence_data();
    void sequence();
};

void TestSaveTextAs::sequence_data()
{
    // "@" stands for the temporary directory. Boxes read "title|text" and
    // follow the save dialog in the order shown.
    QTest::addColumn<QString>("styleName");
    QTest::addColumn<std::optional<QString>>("typed");
    QTest::addColumn<QString>("present"); // what stands at the name beforehand
    QTest::addColumn<bool>("yes");
    QTest::addColumn<SaveTextAs::Outcome>("outcome");
    QTest::addColumn<QStringList>("boxes");
    QTest::addColumn<QString>("written"); // the file that holds the text afterwards

    using O = SaveTextAs::Outcome;
    const QString hint = QStringLiteral("『Zantoria』提醒您：）|");
    const QString failed = QStringLiteral("保存文件出错了：（|保存时出现错误！");
    const auto question = [](const QString &title, const QString &name) -> QString {
        return title + QStringLiteral("|文件@/") + name + QStringLiteral("已经存在，是否覆盖？");
    };
    const std::optional<QString> cancel;
    QTest::newRow("cancelled") << "art" << cancel << "" << false << O::Cancelled << QStringList{} << "";
    QTest::newRow("blank name") << "art" << std::optional<QString>("   ") << "" << false << O::Cancelled
                                << QStringList{} << "";
    QTest::newRow("a bare name gets the ending") << "art" << std::optional<QString>("@/art") << "" << false
                                                 << O::Saved << QStringList{} << "@/art.TXT";
    QTest::newRow("the ending in any case stays") << "art" << std::optional<QString>("@/x.tXt") << "" << false
                                                  << O::Saved << QStringList{} << "@/x.tXt";
    QTest::newRow("outer blanks go") << "art" << std::optional<QString>("  @/b.txt ") << "" << false << O::Saved
                                     << QStringList{} << "@/b.txt";
    QTest::newRow("no such directory") << "art" << std::optional<QString>("@/no/dir/x") << "" << false
                                       << O::Declined << QStringList{hint + QStringLiteral("保存的文件路径无效！")}
                                       << "";
    QTest::newRow("existing file, No") << "art" << std::optional<QString>("@/old.txt") << "file" << false
                                       << O::Declined << QStringList{question(hint.chopped(1), "old.txt")} << "";
    QTest::newRow("existing file, Yes") << "art" << std::optional<QString>("@/old.txt") << "file" << true
                                        << O::Saved << QStringList{question(hint.chopped(1), "old.txt")}
                                        << "@/old.txt";
    QTest::newRow("FIFO: refused at once, no question") << "art" << std::optional<QString>("@/pipe.txt") << "fifo"
                                                        << true << O::Failed << QStringList{failed} << "";
    QTest::newRow("device: refused at once") << "paint" << std::optional<QString>("/dev/null") << "" << true
                                             << O::Failed << QStringList{failed} << "";
    QTest::newRow("directory: the question, then the failure")
        << "paint" << std::optional<QString>("@/folder.txt") << "dir" << true << O::Failed
        << QStringList{question(hint.chopped(1), "folder.txt"),
                       failed + QStringLiteral("\r\n@/folder.txt：") + qt_error_string(EISDIR)}
        << "";
    QTest::newRow("Spacefold: no path check, its own failure")
        << "spacefold" << std::optional<QString>("@/no/dir/x.txt") << "" << false << O::Failed
        << QStringList{QStringLiteral("出错了：（|保存文件时出现错误！\r\n@/no/dir/x.txt：") + qt_error_string(ENOENT)}
        << "";
    QTest::newRow("Spacefold: its own question") << "spacefold" << std::optional<QString>("@/old.txt") << "file"
                                                 << true << O::Saved
                                                 << QStringList{question(QStringLiteral("提醒信息：）"), "old.txt")}
                                                 << "@/old.txt";
    QTest::newRow("Spacefold: the name as chosen") << "spacefold" << std::optional<QString>("@/c.txt ") << "" << false
                                                   << O::Saved << QStringList{} << "@/c.txt ";
    QTest::newRow("Spacefold: FIFO") << "spacefold" << std::optional<QString>("@/pipe") << "fifo" << true
                                     << O::Failed << QStringList{QStringLiteral("出错了：（|保存文件时出现错误！")}
                                     << "";
}

void TestSaveTextAs::sequence()
{
    QFETCH(QString, styleName);
    QFETCH(std::optional<QString>, typed);
    QFETCH(QString, present);
    QFETCH(bool, yes);
    QFETCH(SaveTextAs::Outcome, outcome);
    QFETCH(QStringList, boxes);
    QFETCH(QString, written);

    QTemporaryDir dir;
    const auto here = [&](QString s) { return s.replace(u'@', dir.path()); };
    if (typed)
        typed = here(*typed);
    const QString target = typed ? TrimBlanks(*typed) : QString();
    std::unique_ptr<SpecialFile> special;
    if (present == u"file")
        QVERIFY(TextCodec::writeFile(target, QStringLiteral("old")));
    else if (!present.isEmpty())
        special = std::make_unique<SpecialFile>(present, target);
    if (special && !special->available())
        QSKIP("nothing of the kind here");

    const SaveTextAs save = style(styleName);
    ScriptedDialogs dialogs;
    dialogs.files.enqueue(typed);
    dialogs.answers.enqueue(yes);
    int asked = 0;
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(save.run(dialogs, [&] {
        ++asked;
        return QStringLiteral("中\r\n");
    }),
             outcome);
    QVERIFY2(clock.elapsed() < 2000, "held up");
    QVERIFY(!special || !special->heldUp());

    QCOMPARE(dialogs.shown.value(0).kind, QStringLiteral("save"));
    QCOMPARE(dialogs.shown.value(0).text, save.filter);
    QStringList seen;
    for (qsizetype i = 1; i < dialogs.shown.size(); ++i)
        seen << dialogs.shown[i].title + u'|' + dialogs.shown[i].text;
    for (QString &box : boxes)
        box = here(box);
    QCOMPARE(seen, boxes);
    if (outcome == SaveTextAs::Outcome::Failed)
        QCOMPARE(dialogs.shown.last().icon, save.failedIcon);

    if (!written.isEmpty()) {
        QCOMPARE(bytesOf(here(written)), TextCodec::encode(u"中\r\n"));
        QCOMPARE(asked, 1);
    } else if (present == u"file") {
        QCOMPARE(bytesOf(target), QByteArray("old"));
    }
    if (present == u"fifo")
        QCOMPARE(asked, 0);
}

QTEST_GUILESS_MAIN(TestSaveTextAs)
#include "tst_savetextas.moc"
