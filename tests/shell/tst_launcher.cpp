// The system launcher starts exactly the file it is given, never a command
// line, and says when there is nothing it could start.

#include "processes.h"

#include "shell/core/launcher.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestLauncher : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void pathWithBlanksAndSemicolonIsOneProgram();
    void nothingToStart_data();
    void nothingToStart();

private:
    static QString writeScript(const QString &path, const QByteArray &body);
};

QString TestLauncher::writeScript(const QString &path, const QByteArray &body)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {};
    file.write("#!/bin/sh\n" + body);
    file.close();
    file.setPermissions(file.permissions() | QFileDevice::ExeOwner | QFileDevice::ExeUser);
    return path;
}

void TestLauncher::pathWithBlanksAndSemicolonIsOneProgram()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    // Were the path split or given to a shell, "a" or "touch" would run, or
    // the part after ";" would make a file of its own.
    const QString marker = dir.filePath(QStringLiteral("ran"));
    const QString script = writeScript(dir.filePath(QStringLiteral("a b;touch oops 'q'.sh")),
                                       "echo \"$#\" > '" + marker.toUtf8() + "'\n");
    QVERIFY(!script.isEmpty());
    const auto launcher = createSystemLauncher();
    QVERIFY(launcher->startProgram(script));
    QVERIFY(waitUntil([&] { return QFile(marker).size() > 0; }, 5000));
    QFile ran(marker);
    QVERIFY(ran.open(QIODevice::ReadOnly));
    QCOMPARE(ran.readAll().trimmed(), QByteArray("0")); // no arguments
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::NoDotAndDotDot).size(), 2);
    QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("oops"))));
}

void TestLauncher::nothingToStart_data()
{
    QTest::addColumn<QString>("what");
    QTest::newRow("missing file") << QStringLiteral("missing");
    QTest::newRow("directory") << QStringLiteral("dir");
    QTest::newRow("relative path") << QStringLiteral("relative");
    QTest::newRow("not executable") << QStringLiteral("plain");
    QTest::newRow("empty path") << QString();
}

void TestLauncher::nothingToStart()
{
    QFETCH(QString, what);
    QTemporaryDir dir;
    QString path;
    if (what == u"missing") {
        path = dir.filePath(QStringLiteral("no such program"));
    } else if (what == u"dir") {
        path = dir.filePath(QStringLiteral("sub"));
        QVERIFY(QDir().mkpath(path));
    } else if (what == u"relative") {
        path = QStringLiteral("tst_launcher");
    } else if (what == u"plain") {
        path = dir.filePath(QStringLiteral("plain.txt"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("not a program\n");
    }
    QVERIFY(!createSystemLauncher()->startProgram(path));
}

QTEST_GUILESS_MAIN(TestLauncher)
#include "tst_launcher.moc"
