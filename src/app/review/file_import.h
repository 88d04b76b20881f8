#pragma once

#include "app/review/review_image_source.h"
#include "app/review/screen_bitmap.h"
#include "core/support/task_handle.h"

#include <QFuture>
#include <QFutureWatcher>
#include <QHash>
#include <QImage>
#include <QList>
#include <QObject>
#include <QUrl>

#include <functional>
#include <memory>
#include <optional>

namespace velmora {

// Reads the files of an open, a drop or a folder off the main thread: first walks the
// folders for the images inside them, then reads the files, `readsAtOnce` at a time, and
// hands each one over on the main thread in the order given, as soon as it and every
// file before it have been read. Each read is queued on the decoding pool as one before
// it ends, so that however many files an import reads, it keeps only that many bitmaps
// in memory and the other decodes (the bitmap the user steps to, say) take their turn
// in between. Only the first file's bitmap travels back (for showing it at once); the
// others come back as their sources. Owned by the review controller; one import at a time.
class FileImport : public QObject
{
    Q_OBJECT
public:
    /// One file read: its source, and its decoded bitmap for the first file only.
    using ItemReady = std::function<void(const QUrl &url, const ReviewImageSource &source, const ScreenBitmap &bitmap)>;
    /// Every file read (none when the walk found none); how many could not be.
    using Finished = std::function<void(int skipped)>;

    explicit FileImport(int readsAtOnce, QObject *parent = nullptr);
    ~FileImport() override;

    /// Cancels the running import, if any, and starts this one over the files and the
    /// images inside the folders (see expandFolders).
    void start(const QList<QUrl> &urls, ItemReady onItem, Finished onFinished);
    /// Nothing more is handed over; the walk and the files being read stop early.
    void cancel();
    /// The files the running import reads, once its folders have been walked.
    qsizetype fileCount() const { return m_files.size(); }

private:
    struct Outcome
    {
        std::optional<ReviewImageSource> source; ///< Nothing: the file could not be read.
        ScreenBitmap bitmap;
    };
    struct Reads;

    /// Reads the file at `index` on the decoding pool, then queues the next of its lane.
    static void readInLane(const std::shared_ptr<Reads> &reads, qsizetype index);

    void read(const QList<QUrl> &files);
    void takeResult(int index);
    void finish();
    /// The watcher follows the reads of the running import, not those of one cancelled
    /// before it while this one's folders are still being walked.
    bool watchesRunningImport() const { return m_watchedTask == m_task && !m_task.isCancelled(); }

    const int m_readsAtOnce;
    QFutureWatcher<Outcome> m_watcher;
    TaskHandle m_task; ///< The running import's: cancelling it ends the walk and the decodes under way.
    TaskHandle m_watchedTask; ///< The import whose reads the watcher follows.
    QList<QUrl> m_files;
    QHash<int, Outcome> m_waiting; ///< Read ahead of a file before them.
    int m_next = 0;
    int m_skipped = 0;
    ItemReady m_onItem;
    Finished m_onFinished;
};

} // namespace velmora
