#pragma once

#include "app/review/review_image_source.h"
#include "core/redaction/redaction_plan.h"

#include <QFuture>
#include <QFutureWatcher>
#include <QList>
#include <QObject>
#include <QString>

#include <functional>
#include <variant>

namespace velmora {

/// Why a batch export wrote nothing.
enum class BatchExportFailure {
    unwritable,      ///< The folder or a file could not be written.
    unreadableImage, ///< An image could not be decoded again (its file changed or went away).
    cancelled,       ///< Stopped on request.
};

/// An image's file name that the chosen folder's file system would not hold, not even in
/// plain ASCII: the export wrote nothing.
struct RefusedBatchFileName
{
    QString fileName;
};

/// The new folder the export wrote, or why it wrote nothing.
using BatchExportOutcome = std::variant<QString, BatchExportFailure, RefusedBatchFileName>;

/// One image of a batch export: its file name in the new folder, its pixels and its plan.
struct BatchExportJob
{
    QString fileName;
    ReviewImageSource source;
    RedactionPlan plan;
};

/// Writes a cleaned PNG of every job into a new folder inside `parentPath`, each decoded
/// from its source in turn: all of them, or none and no folder. The folder shows under
/// its name ("Velmora Cleaned", numbered when taken) only once every image is in it
/// (see publishBatchExportFolder). A file name the folder's file system refuses is
/// written in plain ASCII instead.
/// `progress` is called with the count written after each image; `isCancelled` is asked
/// before each one.
BatchExportOutcome writeBatchExport(const QList<BatchExportJob> &jobs, const QString &parentPath,
                                    const std::function<void(int)> &progress,
                                    const std::function<bool()> &isCancelled);

// Runs a batch export off the main thread and reports its progress and its end there.
// Owned by the review controller; one export at a time.
class BatchExport : public QObject
{
    Q_OBJECT
public:
    using Progress = std::function<void(int written)>;
    using Done = std::function<void(const BatchExportOutcome &outcome)>;

    explicit BatchExport(QObject *parent = nullptr);
    ~BatchExport() override;

    void start(const QList<BatchExportJob> &jobs, const QString &parentPath, Progress progress, Done done);
    /// The export stops before its next image, removes what it wrote and ends as cancelled.
    void cancel() { m_watcher.cancel(); }
    /// The running (or last) export's work, for whoever must wait until it is done.
    QFuture<void> future() const { return QFuture<void>(m_watcher.future()); }

private:
    QFutureWatcher<BatchExportOutcome> m_watcher;
    Progress m_progress;
    Done m_done;
};

} // namespace velmora
