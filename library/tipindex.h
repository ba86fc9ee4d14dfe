#pragma once

// The search index of the tips library: for every tip of both kinds and for
// the favourites, its name and the start of its text, folded for searching
// (TipQuery), and the order the lists show them in. Widget-free; not
// thread-safe (one thread builds it, then hands it over; a search spreads
// its tests over the thread pool).
//
// A search tests every tip's name and text with one TipQuery. Typing adds
// to the query, and a query that extends an earlier one finds a subset of
// what that found, so the index keeps the results of the last few queries
// and tests only the earlier query's hits; any change to the index forgets
// them.
//
// Bounds: of a tip's text only the first kTextLimit UTF-16 units (64 KiB)
// count; its name always counts.

#include "hanreadings.h"
#include "tipquery.h"
#include "tipstore.h"

#include <QHash>
#include <QList>
#include <QString>

#include <memory>
#include <vector>

// Where a hit lives: a tip of either kind, or the favourites file.
enum class TipSource : quint8 { Pictures, Words, Favourites };

TipSource SourceOf(TipKind kind);

struct TipHit
{
    TipSource source;
    QString fileName; // in its kind directory; empty for the favourites
    QString name; // as the kind's list shows it
    bool byName; // the name matched (else the text only)

    bool operator==(const TipHit &) const = default;
};

class TipIndex
{
public:
    static constexpr qsizetype kTextLimit = 32 * 1024;

    // The name the favourites are found by.
    static const QString kFavouritesName;

    explicit TipIndex(std::shared_ptr<const HanReadings> readings = HanReadings::icu());

    // Adds the tip, or replaces what was known of it. Only the text's
    // first kTextLimit units are kept.
    void put(TipSource source, const QString &fileName, const QString &name, QStringView text);
    void remove(TipSource source, const QString &fileName);
    bool contains(TipSource source, const QString &fileName) const;
    qsizetype size() const { return m_order.size(); }

    // Every tip whose name or text matches: hits by name first, then hits
    // by text only, each in the lists' order (Pictures, Words, favourites;
    // by file name without regard to letter case).
    QList<TipHit> search(QStringView query);

    // Bytes the index holds, and the UTF-16 bytes of the names and texts
    // it indexes.
    std::size_t memoryBytes() const;
    std::size_t indexedTextBytes() const;

    const std::shared_ptr<const HanReadings> &readings() const { return m_readings; }

private:
    struct Entry
    {
        TipSource source = TipSource::Pictures;
        QString fileName;
        QString name;
        QString foldedName;
        QString foldedText;
        std::vector<quint16> nameCodes; // TipQuery::codesOf
        std::vector<quint16> textCodes;
        bool live = false;
    };
    // Found ids, hits by name flagged in the top bit, in the lists' order.
    struct Result
    {
        QString key;
        std::vector<quint32> found;
    };
    static constexpr quint32 kByName = 0x80000000u;
    static constexpr quint32 kNoHit = 0xFFFFFFFFu;
    // Fewer tips than this are tested on the calling thread alone.
    static constexpr std::size_t kParallelFrom = 512;
    static constexpr int kRememberedResults = 16;

    static QString keyOf(TipSource source, const QString &fileName);
    bool before(quint32 a, quint32 b) const;
    // Each id becomes a name hit (kByName added), stays (a text hit), or
    // becomes kNoHit; on the thread pool's threads when there are many.
    void testAll(const TipQuery &query, std::vector<quint32> &ids) const;
    void forget() { m_results.clear(); }

    std::shared_ptr<const HanReadings> m_readings;
    std::vector<Entry> m_entries;
    std::vector<quint32> m_free;
    std::vector<quint32> m_order; // live ids in the lists' order
    QHash<QString, quint32> m_ids;
    std::vector<Result> m_results; // the latest last
};
