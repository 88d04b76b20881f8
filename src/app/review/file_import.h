#pragma once

#include "app/review/review_image_source.h"
#include "core/support/task_handle.h"

#include <QFuture>
#include <QFutureWatcher>
#include <QHash>
#include <QImage>
#include <QList>
#include <QObject>
#include <QUrl>

#include <functional>
#include <optional>

namespace velmora {

// Reads the files of an open, a drop or a folder off the main thread, several at once,
// and hands each one over on the main thread in the order given, as soon as it and
// every file before it have been read. Only the first file's bitmap travels back (for
// showing it at once); the others come back as their sources. Owned by the review
// controller; one import at a time.
class FileImport : public QObject
{
    Q_OBJECT
public:
    /// One file read: its source, and its decoded image for the first file only.
    using ItemReady = std::function<void(const QUrl &url, const ReviewImageSource &source, const QImage &image)>;
    /// Every file read; how many could not be.
    using Finished = std::function<void(int skipped)>;

    explicit FileImport(QObject *parent = nullptr);
    ~FileImport() override;

    /// Cancels the running import, if any, and starts this one.
    void start(const QList<QUrl> &files, ItemReady onItem, Finished onFinished);
    /// Nothing more is handed over; the files being read stop decoding early.
    void cancel();
    bool isRunning() const { return m_watcher.isRunning(); }
    /// The running (or last) import's work, for whoever must wait until it is done.
    QFuture<void> future() const { return QFuture<void>(m_watcher.future()); }

private:
    struct Outcome
    {
        std::optional<ReviewImageSource> source; ///< Nothing: the file could not be read.
        QImage image;
    };

    void takeResult(int index);
    void finish();

    QFutureWatcher<Outcome> m_watcher;
    TaskHandle m_task; ///< The running import's: cancelling it ends the decodes under way.
    QList<QUrl> m_files;
    QHash<int, Outcome> m_waiting; ///< Read ahead of a file before them.
    int m_next = 0;
    int m_skipped = 0;
    ItemReady m_onItem;
    Finished m_onFinished;
};

} // namespace velmora
