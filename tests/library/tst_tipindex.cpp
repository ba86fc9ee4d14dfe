// The search core: readings from ICU, the query automaton against a literal
// reading of the matching rule, the index's hits and order, and the search
// built from a library on disk.

#include "libraryfixtures.h"

#include "library/hanreadings.h"
#include "library/tipindex.h"
#include "library/tipquery.h"
#include "library/tipsearch.h"
#include "tempprogramdir.h"

#include <QFile>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTest>

#include <unicode/translit.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>

using namespace LibraryFixtures;

namespace {

// The rule as the query's header states it, tried every way there is.
bool consumes(const HanReadings &r, QStringView text, qsizetype at, std::u16string_view query)
{
    if (query.empty())
        return true;
    if (at == text.size())
        return false;
    const char16_t c = text[at].unicode();
    std::vector<std::u16string> tokens{std::u16string(1, c)};
    for (const std::string &reading : r.readings(c))
        tokens.emplace_back(reading.begin(), reading.end());
    for (const std::u16string &token : tokens) {
        for (std::size_t length = 1; length <= std::min(token.size(), query.size()); ++length) {
            if (token.compare(0, length, query.substr(0, length)) == 0
                && consumes(r, text, at + 1, query.substr(length)))
                return true;
        }
    }
    return false;
}

bool literalMatch(const HanReadings &r, const QString &text, const QString &query)
{
    const QString t = FoldForSearch(text);
    const QString q = FoldForSearch(query);
    if (q.trimmed().isEmpty())
        return false;
    std::u16string units;
    for (const QChar c : q) {
        if (c != u' ' && c != u'\t' && c != QChar(0x3000) && c != u'\'')
            units += c.unicode();
    }
    if ((units.size() != std::size_t(q.size()) || units.size() > TipQuery::kMaxPinyinUnits) && t.contains(q))
        return true;
    if (units.empty() || units.size() > TipQuery::kMaxPinyinUnits)
        return false;
    for (qsizetype at = 0; at < t.size(); ++at) {
        if (consumes(r, t, at, units))
            return true;
    }
    return false;
}

// The hits as "P生日*": the kind's letter, the name, a star for a name hit.
QStringList described(const QList<TipHit> &hits)
{
    QStringList d;
    for (const TipHit &h : hits)
        d << QStringLiteral("PWF")[int(h.source)] + h.name + (h.byName ? QStringLiteral("*") : QString());
    return d;
}

} // namespace

class TestTipIndex : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void readingsAgreeWithTheTransliteration();
    void queries_data();
    void queries();
    void order();
    void automatonAgreesWithTheLiteralRule();
    void textBeyondTheLimitIsNotSearched();
    void builtFromDiskSkippingUnreadableTips();
};

void TestTipIndex::readingsAgreeWithTheTransliteration()
{
    const auto readings = HanReadings::icu();
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::Transliterator> hanLatin(icu::Transliterator::createInstance("Han-Latin", UTRANS_FORWARD, status));
    QVERIFY(U_SUCCESS(status));
    // Every ideograph of the plane alone, a line each, in one call.
    icu::UnicodeString all;
    std::vector<char16_t> chars;
    for (UChar32 c = 0x3400; c < 0x10000; ++c) {
        if (u_hasBinaryProperty(c, UCHAR_UNIFIED_IDEOGRAPH)) {
            all.append(c).append(char16_t(u'\n'));
            chars.push_back(char16_t(c));
        }
    }
    hanLatin->transliterate(all);
    const QStringList lines = QString(reinterpret_cast<const QChar *>(all.getBuffer()), all.length()).split(u'\n');
    QCOMPARE(lines.size(), qsizetype(chars.size()) + 1);
    int read = 0;
    for (std::size_t i = 0; i < chars.size(); ++i) {
        const std::vector<std::string> alone = HanReadings::toneless(lines[qsizetype(i)].trimmed().toStdU16String());
        for (const std::string &r : alone) {
            const auto &have = readings->readings(chars[i]);
            QVERIFY2(std::find(have.begin(), have.end(), r) != have.end(), qPrintable(QString(QChar(chars[i]))));
        }
        read += !alone.empty();
    }
    QVERIFY(read > 20000);
    // Readings the transliteration gives only in a context count too.
    const auto is = [&](char16_t c, std::vector<std::string> expected) { return readings->readings(c) == expected; };
    QVERIFY(is(u'重', {"chong", "zhong"}));
    QVERIFY(is(u'绿', {"lu", "lv"}));
    QVERIFY(is(u'生', {"sheng"}));
}

void TestTipIndex::queries_data()
{
    QTest::addColumn<QString>("query");
    QTest::addColumn<QStringList>("hits");
    const QStringList birthday{"P生日*", "W祝福"};
    QTest::newRow("characters") << "生日" << birthday;
    QTest::newRow("full pinyin") << "shengri" << birthday;
    QTest::newRow("full pinyin, spaced") << "sheng ri" << birthday;
    QTest::newRow("syllable prefix") << "shengr" << birthday;
    QTest::newRow("initials") << "sr" << birthday;
    QTest::newRow("initials, spaced") << "s r" << birthday;
    QTest::newRow("character and initial") << "生r" << birthday;
    QTest::newRow("full-width initials") << "ＳＲ" << birthday;
    QTest::newRow("upper case pinyin") << "ShengRi" << birthday;
    QTest::newRow("text, any case") << "CAKE" << QStringList{"P生日"};
    QTest::newRow("full-width letters and digits in the text") << "abc12" << QStringList{"PHello"};
    QTest::newRow("full-width query") << "ｃａｋｅ" << QStringList{"P生日"};
    QTest::newRow("with a blank: also a substring") << "a b" << QStringList{"PHello", "F我的最爱"};
    QTest::newRow("either reading") << "cq" << QStringList{"W重庆*"};
    QTest::newRow("the other reading") << "zhongq" << QStringList{"W重庆*"};
    QTest::newRow("ü typed as v") << "lvs" << QStringList{"W绿色*"};
    QTest::newRow("ü read as u") << "lus" << QStringList{"W绿色*"};
    QTest::newRow("one syllable or two") << "xian" << QStringList{"W先生*", "F我的最爱"};
    QTest::newRow("apostrophe") << "xi'an" << QStringList{"W先生*", "F我的最爱"};
    QTest::newRow("favourites by name") << "wdza" << QStringList{"F我的最爱*"};
    QTest::newRow("no hit") << "shengqi" << QStringList{};
    QTest::newRow("no hit, characters") << "生气" << QStringList{};
    QTest::newRow("blanks only") << "  　" << QStringList{};
}

void TestTipIndex::queries()
{
    QFETCH(QString, query);
    QFETCH(QStringList, hits);
    TipIndex index;
    index.put(TipSource::Pictures, "生日.txt", "生日", u"蛋糕 cake");
    index.put(TipSource::Pictures, "Hello.txt", "Hello", u"world ＡＢＣ１２");
    index.put(TipSource::Words, "祝福.txt", "祝福", u"祝你生日快乐！");
    index.put(TipSource::Words, "重庆.txt", "重庆", u"火锅");
    index.put(TipSource::Words, "绿色.txt", "绿色", u"树叶");
    index.put(TipSource::Words, "先生.txt", "先生", u"");
    index.put(TipSource::Favourites, QString(), TipIndex::kFavouritesName, u"西安的肉夹馍 a b");
    QCOMPARE(described(index.search(query)), hits);
    // Typed a unit at a time, narrowing remembered results, the same.
    TipIndex typed = index;
    for (qsizetype n = 1; n < query.size(); ++n)
        typed.search(query.first(n));
    QCOMPARE(described(typed.search(query)), hits);
}

void TestTipIndex::order()
{
    TipIndex index;
    index.put(TipSource::Favourites, QString(), TipIndex::kFavouritesName, u"x");
    index.put(TipSource::Words, "c.txt", "c", u"x");
    index.put(TipSource::Words, "X.txt", "X", u"");
    index.put(TipSource::Pictures, "b.txt", "b", u"yx");
    index.put(TipSource::Pictures, "B.txt", "B", u"yx");
    index.put(TipSource::Pictures, "zx.txt", "zx", u"");
    index.put(TipSource::Pictures, "x.txt", "x", u"x");
    index.put(TipSource::Pictures, "none.txt", "none", u"y");
    QCOMPARE(described(index.search(u"x")), (QStringList{"Px*", "Pzx*", "WX*", "PB", "Pb", "Wc", "F我的最爱"}));
    // Changes reorder and forget what was found before.
    index.remove(TipSource::Pictures, "zx.txt");
    index.put(TipSource::Pictures, "none.txt", "none", u"x");
    index.put(TipSource::Words, "0.txt", "0", u"x");
    QCOMPARE(described(index.search(u"x")), (QStringList{"Px*", "WX*", "PB", "Pb", "Pnone", "W0", "Wc", "F我的最爱"}));
    QCOMPARE(index.size(), 8);
}

void TestTipIndex::automatonAgreesWithTheLiteralRule()
{
    const auto readings = HanReadings::icu();
    const QString textChars = QStringLiteral("生日西安先重绿长aAsＳ '，") + QChar(0);
    const QString queryChars = QStringLiteral("shengrixaznlvu生西 'ＳA，") + QChar(0);
    QRandomGenerator random(21);
    const auto draw = [&](const QString &from, int most) {
        QString s;
        for (int n = int(random.bounded(most + 1)); n > 0; --n)
            s += from[random.bounded(from.size())];
        return s;
    };
    for (int i = 0; i < 4000; ++i) {
        const QString text = draw(textChars, 12);
        const QString query = draw(queryChars, 6);
        const TipQuery compiled(query, readings);
        const QString folded = FoldForSearch(text);
        const bool expected = literalMatch(*readings, text, query);
        QVERIFY2(compiled.matches(folded) == expected, qPrintable(QStringLiteral("「%1」 in 「%2」").arg(query, text)));
        QVERIFY(compiled.matches(folded, TipQuery::codesOf(folded, *readings).data()) == expected);
    }
    // Past the automaton's width a query is a substring only.
    const QString longQuery(TipQuery::kMaxPinyinUnits + 1, u'a');
    QVERIFY(TipQuery(longQuery, readings).matches(QString(longQuery + u'b')));
    QVERIFY(!TipQuery(longQuery, readings).matches(QString(longQuery.size(), QChar(u'阿'))));
    QVERIFY(TipQuery(longQuery.first(TipQuery::kMaxPinyinUnits), readings).matches(QString(TipQuery::kMaxPinyinUnits, QChar(u'阿'))));
}

void TestTipIndex::textBeyondTheLimitIsNotSearched()
{
    TipIndex index;
    QString text(TipIndex::kTextLimit - 1, u'x');
    text += QStringLiteral("\U0001F600end");
    index.put(TipSource::Words, "long.txt", QStringLiteral("名字"), text);
    QCOMPARE(index.search(u"xx").size(), 1);
    QVERIFY(index.search(u"end").isEmpty());
    // Half a character is not kept either.
    QVERIFY(index.search(QString(QChar(0xD83D))).isEmpty());
    QCOMPARE(index.search(u"mz").size(), 1);
    QCOMPARE(index.indexedTextBytes(), std::size_t(TipIndex::kTextLimit - 1 + 2) * 2);
}

void TestTipIndex::builtFromDiskSkippingUnreadableTips()
{
    TempProgramDir dir;
    makeLibraryDirs(dir.path());
    QVERIFY(writeTip(dir.path(), TipKind::Pictures, QStringLiteral("生日"), QStringLiteral("cake\r\n")));
    QVERIFY(writeBytes(tipFile(dir.path(), TipKind::Words, QStringLiteral("gbk.txt")), gbkBytes()));
    QFile big(tipFile(dir.path(), TipKind::Words, QStringLiteral("big.txt")));
    QVERIFY(big.open(QIODevice::WriteOnly) && big.resize(TipStore::kMaxFileBytes + 1));
    big.close();
    QVERIFY(QFile::link(QStringLiteral("/nonexistent"), tipFile(dir.path(), TipKind::Words, QStringLiteral("gone.txt"))));
    const TipStore store(dir.path());
    QVERIFY(writeBytes(store.favouritesPath(), "fav\r\n"));

    TipSearch search(store);
    QVERIFY(!search.search(QStringLiteral("cake")).has_value());
    QSignalSpy ready(&search, &TipSearch::ready);
    search.start();
    // Told while the build runs, applied when it is done.
    QVERIFY(writeTip(dir.path(), TipKind::Words, QStringLiteral("新"), QStringLiteral("new\r\n")));
    search.refresh(TipKind::Words, QStringLiteral("新.txt"));
    QVERIFY(ready.wait());
    QCOMPARE(described(*search.search(QStringLiteral("sr"))), QStringList{"P生日*"});
    QCOMPARE(described(*search.search(QStringLiteral("ni hao"))), QStringList{"Wgbk"}); // 你好, read from the code page
    QCOMPARE(described(*search.search(QStringLiteral("new"))), QStringList{"W新"});
    QCOMPARE(described(*search.search(QStringLiteral("fav"))), QStringList{"F我的最爱"});
    QVERIFY(search.search(QStringLiteral("big"))->isEmpty());
    QVERIFY(search.search(QStringLiteral("gone"))->isEmpty());

    QSignalSpy changed(&search, &TipSearch::changed);
    QVERIFY(QFile::remove(tipFile(dir.path(), TipKind::Pictures, QStringLiteral("生日.txt"))));
    search.refresh(TipKind::Pictures, QStringLiteral("生日.txt"));
    QCOMPARE(changed.size(), 1);
    QVERIFY(search.search(QStringLiteral("sr"))->isEmpty());
}

QTEST_GUILESS_MAIN(TestTipIndex)
#include "tst_tipindex.moc"
