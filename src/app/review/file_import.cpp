#include "app/review/file_import.h"

#include "app/review/folder_expansion.h"
#include "app/review/future_watch.h"
#include "core/detection/core_error.h"

#include <QtConcurrent>

namespace velmora {

FileImport::FileImport(QObject *parent) : QObject(parent)
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
    whenFinished(QtConcurrent::run([urls, task = m_task] { return expandFolders(urls, task); }), this,
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
    QList<int> indexes(files.size());
    std::iota(indexes.begin(), indexes.end(), 0);
    m_watchedTask = m_task;
    m_watcher.setFuture(QtConcurrent::mapped(indexes, [files, task = m_task](int index) {
        try {
            auto [source, image] = ReviewImageSource::importFile(files.at(index).toLocalFile(), task);
            // Only the first bitmap is kept: a large batch must not hold them all.
            return Outcome{std::move(source), index == 0 ? image.image : QImage()};
        } catch (const VelmoraCoreException &) {
            return Outcome{};
        }
    }));
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
            m_onItem(url, *outcome.source, outcome.image);
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
