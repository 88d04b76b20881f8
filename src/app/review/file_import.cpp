#include "app/review/file_import.h"

#include "app/review/folder_expansion.h"
#include "app/review/future_watch.h"
#include "core/detection/core_error.h"
#include "core/support/work_pools.h"

#include <QPromise>
#include <QtConcurrent>

#include <atomic>

namespace velmora {

/// The reads of one import: its files in lanes, file k in lane k modulo the lanes, each
/// lane reading one file at a time; the results go to one future, by index.
struct FileImport::Reads
{
    QList<QUrl> files;
    TaskHandle task;
    qsizetype lanes = 1;
    QPromise<Outcome> promise;
    std::atomic<qsizetype> unread = 0;

    /// The file at `index` and those after it in its lane are done with.
    void passOver(qsizetype index)
    {
        const qsizetype inLane = (files.size() - 1 - index) / lanes + 1;
        if (unread.fetch_sub(inLane) == inLane)
            promise.finish();
    }
};

FileImport::FileImport(int readsAtOnce, QObject *parent) : QObject(parent), m_readsAtOnce(std::max(1, readsAtOnce))
{
    connect(&m_watcher, &QFutureWatcherBase::resultReadyAt, this, &FileImport::takeResult);
    connect(&m_watcher, &QFutureWatcherBase::finished, this, &FileImport::finish);
}

FileImport::~FileImport()
{
    cancel();
    m_watcher.waitForFinished();
}

void FileImport::start(const QList<QUrl> &urls, ItemReady onItem, Finished onFinished)
{
    cancel();
    m_files.clear();
    m_waiting.clear();
    m_next = 0;
    m_skipped = 0;
    m_onItem = std::move(onItem);
    m_onFinished = std::move(onFinished);
    m_task = TaskHandle();
    // A folder can hold thousands of files in many subfolders: walking it is disk work.
    whenFinished(QtConcurrent::run(&WorkPools::decoding(), [urls, task = m_task] { return expandFolders(urls, task); }), this,
                 [this, task = m_task](const QFuture<QList<QUrl>> &walked) {
                     if (!task.isCancelled())
                         read(walked.result());
                 });
}

void FileImport::read(const QList<QUrl> &files)
{
    m_files = files;
    if (files.isEmpty()) {
        if (const Finished onFinished = std::exchange(m_onFinished, nullptr))
            onFinished(0);
        return;
    }
    auto reads = std::make_shared<Reads>();
    reads->files = files;
    reads->task = m_task;
    reads->lanes = std::min<qsizetype>(m_readsAtOnce, files.size());
    reads->unread = files.size();
    reads->promise.start();
    m_watchedTask = m_task;
    m_watcher.setFuture(reads->promise.future());
    for (qsizetype lane = 0; lane < reads->lanes; ++lane)
        readInLane(reads, lane);
}

void FileImport::readInLane(const std::shared_ptr<Reads> &reads, qsizetype index)
{
    WorkPools::decoding().start([reads, index] {
        if (reads->promise.isCanceled() || reads->task.isCancelled()) {
            reads->passOver(index);
            return;
        }
        try {
            auto [source, image] = ReviewImageSource::importFile(reads->files.at(index).toLocalFile(), reads->task);
            // Only the first bitmap is kept: a large batch must not hold them all.
            reads->promise.addResult(
                Outcome{std::move(source), index == 0 ? ScreenBitmap::of(image.image) : ScreenBitmap()}, int(index));
        } catch (const VelmoraCoreException &) {
            reads->promise.addResult(Outcome{}, int(index));
        }
        if (index + reads->lanes < reads->files.size())
            readInLane(reads, index + reads->lanes);
        if (--reads->unread == 0)
            reads->promise.finish();
    });
}

void FileImport::cancel()
{
    m_onItem = nullptr;
    m_onFinished = nullptr;
    m_task.cancel();
    m_watcher.cancel();
}

void FileImport::takeResult(int index)
{
    if (!watchesRunningImport())
        return;
    m_waiting.insert(index, m_watcher.resultAt(index));
    while (m_waiting.contains(m_next)) {
        const Outcome outcome = m_waiting.take(m_next);
        const QUrl url = m_files.at(m_next++);
        if (!outcome.source)
            ++m_skipped;
        else if (m_onItem)
            m_onItem(url, *outcome.source, outcome.bitmap);
    }
}

void FileImport::finish()
{
    if (!watchesRunningImport() || !m_onFinished)
        return;
    const Finished onFinished = std::exchange(m_onFinished, nullptr);
    m_onItem = nullptr;
    onFinished(m_skipped);
}

} // namespace velmora
