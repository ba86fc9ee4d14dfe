#include "tipsearch.h"

#include <QtConcurrent/QtConcurrentRun>

TipSearch::TipSearch(const TipStore &store, QObject *parent)
    : QObject(parent)
    , m_store(store)
    , m_stop(std::make_shared<std::atomic<bool>>(false))
{
    connect(&m_watcher, &QFutureWatcher<std::shared_ptr<TipIndex>>::finished, this, &TipSearch::built);
}

TipSearch::~TipSearch()
{
    m_stop->store(true);
}

void TipSearch::start()
{
    if (m_started)
        return;
    m_started = true;
    // The store and the flag are copied, so the build may outlive this object.
    m_watcher.setFuture(QtConcurrent::run([store = m_store, stop = m_stop] {
        return std::shared_ptr<TipIndex>(buildIndex(store, stop.get()));
    }));
}

std::unique_ptr<TipIndex> TipSearch::buildIndex(const TipStore &store, const std::atomic<bool> *stop)
{
    auto index = std::make_unique<TipIndex>(HanReadings::icu());
    for (const TipKind kind : {TipKind::Pictures, TipKind::Words}) {
        for (const TipEntry &tip : store.list(kind)) {
            if (stop && stop->load(std::memory_order_relaxed))
                return index;
            reread(*index, store, {SourceOf(kind), tip.fileName});
        }
    }
    reread(*index, store, {TipSource::Favourites, QString()});
    return index;
}

void TipSearch::reread(TipIndex &index, const TipStore &store, const Change &change)
{
    const bool favourites = change.source == TipSource::Favourites;
    const TipKind kind = change.source == TipSource::Pictures ? TipKind::Pictures : TipKind::Words;
    QString text;
    if (change.fileName.isEmpty() != favourites
        || TipStore::read(favourites ? store.favouritesPath() : store.path(kind, change.fileName), &text)
            != TipOutcome::Done) {
        index.remove(change.source, change.fileName);
        return;
    }
    // The name as the list shows it: the file name without ".txt".
    const QString name = favourites ? TipIndex::kFavouritesName : change.fileName.chopped(4);
    index.put(change.source, change.fileName, name, text);
}

void TipSearch::built()
{
    m_index = m_watcher.result();
    for (const Change &change : std::as_const(m_pending))
        reread(*m_index, m_store, change);
    m_pending.clear();
    Q_EMIT ready();
}

void TipSearch::apply(const Change &change)
{
    if (!m_index) {
        m_pending.append(change);
        return;
    }
    reread(*m_index, m_store, change);
    Q_EMIT changed();
}

void TipSearch::refresh(TipKind kind, const QString &fileName)
{
    apply({SourceOf(kind), fileName});
}

void TipSearch::refreshFavourites()
{
    apply({TipSource::Favourites, QString()});
}

std::optional<QList<TipHit>> TipSearch::search(const QString &query)
{
    if (!m_index)
        return std::nullopt;
    return m_index->search(query);
}
