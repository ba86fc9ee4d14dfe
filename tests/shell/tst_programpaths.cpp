#include "shell/core/programpaths.h"
#include "tempprogramdir.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTest>

namespace {

// Every entry below `root`, relative, sorted: a picture of the tree to compare.
QStringList tree(const QString &root)
{
    QStringList entries;
    QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext())
        entries << QDir(root).relativeFilePath(it.next());
    entries.sort();
    return entries;
}

} // namespace

class TestProgramPaths : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void makeDirPathCreatesEveryAncestor();
    void makeDirPathAllowsAFinalSeparator();
    void makeDirPathBuildsRelativePathsOnTheCurrentDirectory_data();
    void makeDirPathBuildsRelativePathsOnTheCurrentDirectory();
    void makeDirPathOfTheRootCreatesNothing();
    void makeDirPathStopsQuietlyAtAFile();
    void resolveFoldsLetterCase();
    void createDataDirsMakesTheTenDirectoriesOnce();
    void createDataDirsGoesOnWhereNothingCanBeCreated();
};

void TestProgramPaths::makeDirPathCreatesEveryAncestor()
{
    TempProgramDir dir;
    ProgramPaths::MakeDirPath(dir.path() + QStringLiteral("\\one\\two\\three"));
    QCOMPARE(tree(dir.path()), (QStringList{"one", "one/two", "one/two/three"}));
}

void TestProgramPaths::makeDirPathAllowsAFinalSeparator()
{
    TempProgramDir dir;
    ProgramPaths::MakeDirPath(dir.path() + QStringLiteral("/one/two/"));
    QCOMPARE(tree(dir.path()), (QStringList{"one", "one/two"}));
}

void TestProgramPaths::makeDirPathBuildsRelativePathsOnTheCurrentDirectory_data()
{
    // The directory names are this run's own, so that a path wrongly taken
    // from the root can be found and taken away again.
    const QString x = QStringLiteral("zantoria-x-%1").arg(QCoreApplication::applicationPid());
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("top");
    QTest::newRow("plain relative") << x + QStringLiteral("\\y") << x;
    QTest::newRow("no drive, leading backslash") << u'\\' + x + QStringLiteral("\\y") << x;
    QTest::newRow("final separator") << x + QStringLiteral("/y/") << x;
}

void TestProgramPaths::makeDirPathBuildsRelativePathsOnTheCurrentDirectory()
{
    QFETCH(QString, path);
    QFETCH(QString, top);
    TempProgramDir dir;
    const QString before = QDir::currentPath();
    QVERIFY(QDir::setCurrent(dir.path()));
    ProgramPaths::MakeDirPath(path);
    QDir::setCurrent(before);
    const bool atRoot = QFileInfo::exists(u'/' + top);
    if (atRoot)
        QDir(u'/' + top).removeRecursively();
    QVERIFY2(!atRoot, "built below the root instead of the current directory");
    QCOMPARE(tree(dir.path()), (QStringList{top, top + QStringLiteral("/y")}));
}

void TestProgramPaths::makeDirPathOfTheRootCreatesNothing()
{
    // Nothing to observe but that it returns without touching anything.
    const QStringList rootBefore = QDir(QStringLiteral("/")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    ProgramPaths::MakeDirPath(QStringLiteral("/"));
    ProgramPaths::MakeDirPath(QStringLiteral("\\"));
    QCOMPARE(QDir(QStringLiteral("/")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), rootBefore);
}

void TestProgramPaths::makeDirPathStopsQuietlyAtAFile()
{
    TempProgramDir dir;
    QFile file(dir.file("blocker"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    ProgramPaths::MakeDirPath(dir.path() + QStringLiteral("/blocker/inside"));
    QVERIFY(QFileInfo(dir.file("blocker")).isFile());
    QCOMPARE(tree(dir.path()), QStringList{"blocker"});
}

void TestProgramPaths::resolveFoldsLetterCase()
{
    TempProgramDir dir;
    QVERIFY(QDir().mkpath(dir.file("data/MyFavor")));
    const QString resolved = ProgramPaths::resolve(dir.path(), QStringLiteral("\\Data\\myfavor\\我的最爱.txt"));
    QCOMPARE(resolved, dir.path() + QStringLiteral("/data/MyFavor/我的最爱.txt"));
    // Making the "Data" spelling adds nothing beside the existing "data".
    ProgramPaths::MakeDirPath(dir.path() + QStringLiteral("\\Data\\MyFavor"));
    QCOMPARE(tree(dir.path()), (QStringList{"data", "data/MyFavor"}));
}

void TestProgramPaths::createDataDirsMakesTheTenDirectoriesOnce()
{
    TempProgramDir dir;
    ProgramPaths::CreateDataDirs(dir.path());
    const QStringList first = tree(dir.path());
    for (const QString &relative : ProgramPaths::dataDirs())
        QVERIFY2(QFileInfo(ProgramPaths::resolve(dir.path(), relative)).isDir(), qPrintable(relative));
    QVERIFY(first.contains(QStringLiteral("Skin/Default")));
    QVERIFY(first.contains(QStringLiteral("data/磨牙资源/超Cool头像")));
    ProgramPaths::CreateDataDirs(dir.path());
    QCOMPARE(tree(dir.path()), first);
}

void TestProgramPaths::createDataDirsGoesOnWhereNothingCanBeCreated()
{
    // Regular files where the top directories belong: even root cannot make
    // directories there. Nothing is reported and nothing is replaced.
    TempProgramDir dir;
    for (const char *name : {"data", "Plugin", "Temp", "Skin"}) {
        QFile f(dir.file(QLatin1String(name)));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("keep");
    }
    ProgramPaths::CreateDataDirs(dir.path());
    QCOMPARE(tree(dir.path()), (QStringList{"Plugin", "Skin", "Temp", "data"}));
    QFile kept(dir.file("data"));
    QVERIFY(kept.open(QIODevice::ReadOnly));
    QCOMPARE(kept.readAll(), QByteArray("keep"));
}

QTEST_GUILESS_MAIN(TestProgramPaths)
#include "tst_programpaths.moc"
