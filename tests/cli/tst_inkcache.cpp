// The inks the command line keeps between runs: read back only for the
// font file they were measured with, and anything damaged reads as nothing.

#include "cli/inkcache.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

class TestInkCache : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void readsBackWhatItWrote();
    void ignored_data();
    void ignored();

private:
    QString path(const char *name) const { return m_dir->filePath(QString::fromLatin1(name)); }

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_font;
    QString m_cache;
    InkCache::Inks m_inks;
};

void TestInkCache::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_font = path("font.ttc");
    m_cache = path("cache/zantoria/ink");
    QFile font(m_font);
    QVERIFY(font.open(QIODevice::WriteOnly) && font.write("glyphs") == 6);
    font.close();
    m_inks = {{U'M', 40}, {U'.', 2}, {U' ', 0}, {U'€', 17}};
    QVERIFY(InkCache::store(m_font, m_inks, m_cache));
}

void TestInkCache::readsBackWhatItWrote()
{
    QCOMPARE(InkCache::load(m_cache), m_inks);
    QVERIFY(InkCache::load(path("nothing-here")).isEmpty());
}

void TestInkCache::ignored_data()
{
    // What is done to the cache or the font after a good write.
    QTest::addColumn<QString>("change");
    QTest::addColumn<QByteArray>("from");
    QTest::addColumn<QByteArray>("to");
    const QByteArray none;
    QTest::newRow("font rewritten") << "font" << QByteArray("glyphs") << QByteArray("other glyphs");
    QTest::newRow("font touched") << "touch" << none << none;
    QTest::newRow("font gone") << "remove" << none << none;
    QTest::newRow("another version") << "cache" << QByteArray("zantoria-ink 1") << QByteArray("zantoria-ink 2");
    QTest::newRow("a surrogate") << "cache" << QByteArray("\n4d ") << QByteArray("\nd800 ");
    QTest::newRow("negative ink") << "cache" << QByteArray(" 40\n") << QByteArray(" -40\n");
    QTest::newRow("cut short") << "cut" << none << none;
    QTest::newRow("random bytes") << "random" << none << none;
    QTest::newRow("too large") << "large" << none << none;
    QTest::newRow("a FIFO") << "fifo" << none << none;
}

void TestInkCache::ignored()
{
    QFETCH(QString, change);
    QFETCH(QByteArray, from);
    QFETCH(QByteArray, to);
    QFile cache(m_cache);
    QVERIFY(cache.open(QIODevice::ReadOnly));
    QByteArray bytes = cache.readAll();
    cache.close();
    const auto rewrite = [](const QString &file, const QByteArray &content) {
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(content) == content.size());
    };
    if (change == QLatin1String("font")) {
        rewrite(m_font, to);
    } else if (change == QLatin1String("touch")) {
        const timespec times[2] = {{0, UTIME_OMIT}, {12345, 0}};
        QCOMPARE(::utimensat(AT_FDCWD, QFile::encodeName(m_font).constData(), times, 0), 0);
    } else if (change == QLatin1String("remove")) {
        QVERIFY(QFile::remove(m_font));
    } else if (change == QLatin1String("cache")) {
        QVERIFY(bytes.contains(from));
        rewrite(m_cache, bytes.replace(from, to));
    } else if (change == QLatin1String("cut")) {
        rewrite(m_cache, bytes.left(bytes.size() - 1));
    } else if (change == QLatin1String("random")) {
        QByteArray noise(4096, Qt::Uninitialized);
        for (char &c : noise)
            c = char(QRandomGenerator::global()->bounded(256));
        rewrite(m_cache, noise);
    } else if (change == QLatin1String("large")) {
        rewrite(m_cache, bytes + QByteArray("4e 1\n").repeated(100'000));
    } else if (change == QLatin1String("fifo")) {
        QVERIFY(QFile::remove(m_cache));
        QCOMPARE(::mkfifo(QFile::encodeName(m_cache).constData(), 0600), 0);
    }
    QVERIFY(InkCache::load(m_cache).isEmpty());
    if (change == QLatin1String("fifo")) // never written through, and never waited on
        QVERIFY(!InkCache::store(m_font, m_inks, m_cache));
}

QTEST_GUILESS_MAIN(TestInkCache)
#include "tst_inkcache.moc"
