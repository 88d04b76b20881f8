#include "app/review/batch_export.h"

#include "app/review/batch_export_folder.h"
#include "app/review/cleaned_output_files.h"
#include "app/review/output_naming.h"
#include "core/detection/core_error.h"
#include "core/support/pending_file.h"
#include "core/support/work_pools.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPromise>
#include <QtConcurrent>

#include <optional>

namespace velmora {

namespace {

/// How writing one image of the batch ended.
enum class ImageWrite { written, failed, nameRefused };

/// Writes `bytes` as a new file `name` in `folder`; where the folder's file system refuses
/// that name (FAT through FUSE takes only ASCII), under its ASCII form, numbered if another
/// image took that already.
ImageWrite writeImage(const QDir &folder, const QString &name, const QByteArray &bytes)
{
    const QString ascii = asciiFileName(name);
    for (const QString &candidate : {name, ascii}) {
        std::optional<PendingFile> file =
            PendingFile::create(folder.filePath(freeFileName(folder.path(), candidate)), ExistingEntry::keep);
        if (!file)
            return ImageWrite::failed;
        if (file->publish(bytes))
            return ImageWrite::written;
        if (!file->nameRefused())
            return ImageWrite::failed;
        if (ascii == name)
            break;
    }
    return ImageWrite::nameRefused;
}

} // namespace

BatchExportOutcome writeBatchExport(const QList<BatchExportJob> &jobs, const QString &parentPath,
                                    const std::function<void(int)> &progress,
                                    const std::function<bool()> &isCancelled)
{
    // The images go into a hidden folder that takes its visible name only once all are
    // in: an export stopped by a crash or a kill leaves no folder that looks finished,
    // and the next export into the same folder removes or finishes what it left.
    const std::optional<BatchExportWorkFolder> folder = BatchExportWorkFolder::create(parentPath);
    if (!folder)
        return BatchExportFailure::unwritable;
    const QDir dir(folder->path());
    const auto removeWritten = [&] {
        // The folder was new, so all it holds is ours.
        for (const QString &name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System))
            QFile::remove(dir.filePath(name));
        QDir(parentPath).rmdir(dir.dirName());
    };
    for (qsizetype i = 0; i < jobs.size(); ++i) {
        std::optional<BatchExportOutcome> failure;
        if (isCancelled()) {
            failure = BatchExportFailure::cancelled;
        } else {
            try {
                const QImage image = jobs.at(i).source.decode().image;
                try {
                    switch (writeImage(dir, jobs.at(i).fileName,
                                       cleanedImageData(image, jobs.at(i).plan, CleanedImageFormat::png))) {
                    case ImageWrite::written:
                        break;
                    case ImageWrite::failed:
                        failure = BatchExportFailure::unwritable;
                        break;
                    case ImageWrite::nameRefused:
                        failure = RefusedBatchFileName{jobs.at(i).fileName};
                        break;
                    }
                } catch (const VelmoraCoreException &) {
                    failure = BatchExportFailure::unwritable;
                }
            } catch (const VelmoraCoreException &) {
                failure = BatchExportFailure::unreadableImage;
            }
        }
        if (failure) {
            removeWritten();
            return *failure;
        }
        progress(int(i + 1));
    }
    const std::optional<QString> published = publishBatchExportFolder(folder->path());
    if (!published) {
        // Stopped part-way into its claimed folder, it waits for the next export to finish it.
        if (!isBeingPublished(folder->path()))
            removeWritten();
        return BatchExportFailure::unwritable;
    }
    return *published;
}

BatchExport::BatchExport(QObject *parent) : QObject(parent)
{
    connect(&m_watcher, &QFutureWatcherBase::progressValueChanged, this, [this](int written) {
        if (m_progress)
            m_progress(written);
    });
    connect(&m_watcher, &QFutureWatcherBase::finished, this, [this] {
        m_progress = nullptr;
        const Done done = std::exchange(m_done, nullptr);
        const QFuture<BatchExportOutcome> future = m_watcher.future();
        if (done)
            done(future.resultCount() > 0 ? future.result() : BatchExportOutcome(BatchExportFailure::cancelled));
    });
}

BatchExport::~BatchExport()
{
    m_progress = nullptr;
    m_done = nullptr;
    m_watcher.cancel();
    m_watcher.waitForFinished();
}

void BatchExport::start(const QList<BatchExportJob> &jobs, const QString &parentPath, Progress progress, Done done)
{
    m_progress = std::move(progress);
    m_done = std::move(done);
    m_watcher.setFuture(QtConcurrent::run(&WorkPools::output(), [jobs, parentPath](QPromise<BatchExportOutcome> &promise) {
        promise.setProgressRange(0, int(jobs.size()));
        promise.addResult(writeBatchExport(
            jobs, parentPath, [&promise](int written) { promise.setProgressValue(written); },
            [&promise] { return promise.isCanceled(); }));
    }));
}

} // namespace velmora
