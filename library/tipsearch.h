#pragma once

// The library's search as a panel uses it: a TipIndex built on a worker
// thread as soon as start() is called, then kept current on this (the
// user-interface) thread, one tip at a time, as the panel creates, renames,
// deletes and saves tips and as the favourites change.
//
// Every text is read through TipStore::read, as the panel reads it; a tip
// that cannot be read (gone, not a regular file, too large, refused) is left
// out of the index and never reported.
//
// Changes told before the index is ready are kept and applied when it is,
// so nothing told is lost to a build that listed the directory too early.
// A search asked before then gets nothing; ready() says when to ask again.

#include "tipindex.h"
#include "tipstore.h"

#include <QFutureWatcher>
#include <QObject>

#include <atomic>
#include <memory>
#include <optional>

class TipSearch : public QObject
{
    Q_OBJECT

public:
    explicit TipSearch(const TipStore &store, QObject *parent = nullptr);
    // A build still running is told to stop; it ends on its own thread.
    ~TipSearch() override;

    // Starts the build; once only.
    void start();
    bool isReady() const { return m_index != nullptr; }

    // Reads the tip again, or drops it when it is gone or unreadable.
    void refresh(TipKind kind, const QString &fileName);
    void refreshFavourites();

    // The hits, or nothing while the index is being built.
    std::optional<QList<TipHit>> search(const QString &query);

    // The whole index as the build makes it, on any thread; `stop`, when
    // set, ends it early with what it has.
    static std::unique_ptr<TipIndex> buildIndex(const TipStore &store, const std::atomic<bool> *stop = nullptr);

Q_SIGNALS:
    // The index is ready: ask again.
    void ready();
    // A tip changed in the ready index: a search shown may have changed.
    void changed();

private:
    struct Change
    {
        TipSource source;
        QString fileName;
    };
    static void reread(TipIndex &index, const TipStore &store, const Change &change);
    void apply(const Change &change);
    void built();

    TipStore m_store;
    std::shared_ptr<std::atomic<bool>> m_stop;
    QFutureWatcher<std::shared_ptr<TipIndex>> m_watcher;
    std::shared_ptr<TipIndex> m_index;
    QList<Change> m_pending;
    bool m_started = false;
};
