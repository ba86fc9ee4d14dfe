#include "tipindex.h"

#include <QThreadPool>
#include <QtConcurrent/QtConcurrentMap>

#include <algorithm>

namespace {

// What a string costs beyond its characters: the shared header and the
// allocator's own.
constexpr std::size_t kStringOverhead = 32;

std::size_t stringBytes(const QString &s)
{
    return s.isNull() ? 0 : std::size_t(s.capacity()) * sizeof(char16_t) + kStringOverhead;
}

} // namespace

const QString TipIndex::kFavouritesName = QStringLiteral("我的最爱");

TipSource SourceOf(TipKind kind)
{
    return kind == TipKind::Pictures ? TipSource::Pictures : TipSource::Words;
}

TipIndex::TipIndex(std::shared_ptr<const HanReadings> readings)
    : m_readings(std::move(readings))
{
}

QString TipIndex::keyOf(TipSource source, const QString &fileName)
{
    return QChar(u'0' + int(source)) + fileName;
}

bool TipIndex::before(quint32 a, quint32 b) const
{
    const Entry &x = m_entries[a];
    const Entry &y = m_entries[b];
    if (x.source != y.source)
        return x.source < y.source;
    // As TipStore::list orders a kind.
    const int c = x.fileName.compare(y.fileName, Qt::CaseInsensitive);
    return c != 0 ? c < 0 : x.fileName < y.fileName;
}

void TipIndex::put(TipSource source, const QString &fileName, const QString &name, QStringView text)
{
    forget();
    const QString key = keyOf(source, fileName);
    quint32 id;
    const auto known = m_ids.constFind(key);
    const bool added = known == m_ids.constEnd();
    if (!added) {
        id = *known;
    } else if (!m_free.empty()) {
        id = m_free.back();
        m_free.pop_back();
    } else {
        id = quint32(m_entries.size());
        m_entries.emplace_back();
    }
    qsizetype kept = std::min(text.size(), kTextLimit);
    if (kept < text.size() && kept > 0 && text[kept - 1].isHighSurrogate())
        --kept; // never half a character
    Entry &e = m_entries[id];
    e.source = source;
    e.fileName = fileName;
    e.name = name;
    e.foldedName = FoldForSearch(name);
    e.foldedText = FoldForSearch(text.first(kept));
    e.nameCodes = TipQuery::codesOf(e.foldedName, *m_readings);
    e.textCodes = TipQuery::codesOf(e.foldedText, *m_readings);
    e.live = true;
    if (added) {
        m_ids.insert(key, id);
        m_order.insert(std::lower_bound(m_order.begin(), m_order.end(), id,
                                        [this](quint32 a, quint32 b) { return before(a, b); }),
                       id);
    }
}

void TipIndex::remove(TipSource source, const QString &fileName)
{
    const auto known = m_ids.constFind(keyOf(source, fileName));
    if (known == m_ids.constEnd())
        return;
    forget();
    const quint32 id = *known;
    m_ids.erase(known);
    m_order.erase(std::find(m_order.begin(), m_order.end(), id));
    m_entries[id] = Entry();
    m_free.push_back(id);
}

bool TipIndex::contains(TipSource source, const QString &fileName) const
{
    return m_ids.contains(keyOf(source, fileName));
}

void TipIndex::testAll(const TipQuery &query, std::vector<quint32> &ids) const
{
    const auto test = [&](std::size_t from, std::size_t to) {
        for (std::size_t i = from; i < to; ++i) {
            const Entry &e = m_entries[ids[i]];
            if (query.matches(e.foldedName, e.nameCodes.data()))
                ids[i] |= kByName;
            else if (!query.matches(e.foldedText, e.textCodes.data()))
                ids[i] = kNoHit;
        }
    };
    const int threads = QThreadPool::globalInstance()->maxThreadCount();
    if (threads < 2 || ids.size() < kParallelFrom)
        return test(0, ids.size());
    // Many small parts, so a thread the system keeps waiting holds up little.
    const std::size_t parts = std::size_t(threads) * 8;
    std::vector<std::pair<std::size_t, std::size_t>> ranges;
    for (std::size_t p = 0; p < parts; ++p)
        ranges.emplace_back(ids.size() * p / parts, ids.size() * (p + 1) / parts);
    QtConcurrent::blockingMap(ranges, [&](const std::pair<std::size_t, std::size_t> &r) { test(r.first, r.second); });
}

QList<TipHit> TipIndex::search(QStringView text)
{
    const TipQuery query(text, m_readings);
    if (query.isEmpty())
        return {};

    // The remembered result of the longest query this one extends.
    auto base = m_results.end();
    for (auto r = m_results.begin(); r != m_results.end(); ++r) {
        if (query.key().startsWith(r->key) && (base == m_results.end() || r->key.size() > base->key.size()))
            base = r;
    }
    Result result{query.key(), {}};
    if (base != m_results.end() && base->key == query.key()) {
        result = std::move(*base);
        m_results.erase(base);
    } else {
        std::vector<quint32> candidates;
        if (base != m_results.end()) {
            candidates.reserve(base->found.size());
            for (const quint32 id : base->found)
                candidates.push_back(id & ~kByName);
        } else {
            candidates = m_order;
        }
        testAll(query, candidates);
        for (const quint32 id : candidates) {
            if (id != kNoHit)
                result.found.push_back(id);
        }
    }

    QList<TipHit> hits;
    hits.reserve(qsizetype(result.found.size()));
    for (const bool byName : {true, false}) {
        for (const quint32 id : result.found) {
            if (bool(id & kByName) != byName)
                continue;
            const Entry &e = m_entries[id & ~kByName];
            hits.append({e.source, e.fileName, e.name, byName});
        }
    }
    m_results.push_back(std::move(result));
    if (m_results.size() > std::size_t(kRememberedResults))
        m_results.erase(m_results.begin());
    return hits;
}

std::size_t TipIndex::indexedTextBytes() const
{
    std::size_t bytes = 0;
    for (const quint32 id : m_order)
        bytes += std::size_t(m_entries[id].foldedName.size() + m_entries[id].foldedText.size()) * sizeof(char16_t);
    return bytes;
}

std::size_t TipIndex::memoryBytes() const
{
    std::size_t bytes = sizeof(*this) + m_entries.capacity() * sizeof(Entry)
        + (m_free.capacity() + m_order.capacity()) * sizeof(quint32);
    for (const Entry &e : m_entries)
        bytes += stringBytes(e.fileName) + stringBytes(e.name) + stringBytes(e.foldedName) + stringBytes(e.foldedText)
            + (e.nameCodes.capacity() + e.textCodes.capacity()) * sizeof(quint16);
    // The hash: a node per tip with its key, and its spans.
    for (auto it = m_ids.cbegin(); it != m_ids.cend(); ++it)
        bytes += stringBytes(it.key()) + 2 * sizeof(void *);
    for (const Result &r : m_results)
        bytes += stringBytes(r.key) + r.found.capacity() * sizeof(quint32);
    return bytes;
}
