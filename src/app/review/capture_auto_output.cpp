#include "app/review/capture_auto_output.h"

#include "app/kit/log_categories.h"
#include "app/protection/autoclean_undo_coordinator.h"
#include "app/protection/clipboard_access.h"
#include "app/review/autoclean_receipt.h"
#include "app/review/capture_texts.h"
#include "app/review/cleaned_output_files.h"
#include "app/review/future_watch.h"
#include "app/review/review_intake.h"
#include "core/protection/clipboard_protection_monitor_plan.h"
#include "core/redaction/needs_review.h"
#include "core/support/clock.h"
#include "core/support/pending_file.h"
#include "core/support/work_pools.h"

#include <QDir>
#include <QFile>
#include <QtConcurrent>

namespace velmora {

namespace {

const QString pngType = QStringLiteral("image/png");

/// Where and under which name a saved capture goes.
struct SaveRequest
{
    std::variant<ResolvedCaptureOutputFolder, CaptureAutoOutputError> folder;
    VelmoraCaptureMode mode;
    QDateTime date;
};

/// Writes the PNG into the output folder under a new name; the file's path.
std::variant<QString, CaptureAutoOutputError> save(const QByteArray &png, const SaveRequest &request)
{
    if (const auto *error = std::get_if<CaptureAutoOutputError>(&request.folder))
        return *error;
    const QString folderPath = std::get<ResolvedCaptureOutputFolder>(request.folder).path;
    if (!QDir().mkpath(folderPath))
        return CaptureAutoOutputError::outputFailed;
    const QString path = captureOutputFileName(folderPath, request.mode, request.date);
    if (!writeWholeFile(path, png, ExistingEntry::keep))
        return CaptureAutoOutputError::outputFailed;
    return path;
}

/// The cleaned capture, saved as `request` says. Runs on the thread pool.
PreparedCaptureOutput cleanCapture(const QImage &image, const RedactionPlan &plan,
                                   const std::optional<SaveRequest> &request, const TaskHandle &task)
{
    const std::optional<QByteArray> png = cleanedPNGIfRendered(image, plan);
    if (!png)
        return CaptureAutoOutputError::outputFailed;
    // A capture that ended meanwhile leaves nothing in the folder.
    if (!request || task.isCancelled())
        return CleanedCapture{*png, std::nullopt};
    const auto saved = save(*png, *request);
    if (const auto *error = std::get_if<CaptureAutoOutputError>(&saved))
        return *error;
    return CleanedCapture{*png, std::get<QString>(saved)};
}

} // namespace

CaptureAutoOutput::CaptureAutoOutput(ReviewIntake &review, CaptureAutoOutputEnvironment environment, QObject *parent)
    : QObject(parent), m_review(review), m_environment(std::move(environment))
{
}

CaptureAutoOutput::~CaptureAutoOutput()
{
    if (!m_undelivered)
        return;
    m_work.waitForFinished();
    discard(m_work.result());
}

void CaptureAutoOutput::prepare(const ScannedCapture &capture, VelmoraCaptureOutputMode outputMode,
                                const TaskHandle &task, Prepared done)
{
    // The settings and the clock are read here, on the main thread.
    std::optional<SaveRequest> request;
    if (savesToFolder(outputMode))
        request = SaveRequest{AutoCleanOutputCoordinator::resolveOutputFolder(m_environment.settings), capture.mode,
                              m_environment.clock.now()};
    m_work = QtConcurrent::run(&WorkPools::output(), cleanCapture, capture.image, capture.plan, request, task);
    m_undelivered = true;
    whenFinished(m_work, this, [this, done = std::move(done)](const QFuture<PreparedCaptureOutput> &finished) {
        m_undelivered = false;
        done(finished.result());
    });
}

std::optional<CaptureAutoOutputError> CaptureAutoOutput::deliver(const ScannedCapture &capture,
                                                                 VelmoraCaptureOutputMode outputMode,
                                                                 const PreparedCaptureOutput &output)
{
    if (const auto *error = std::get_if<CaptureAutoOutputError>(&output))
        return *error;
    const CleanedCapture &cleaned = std::get<CleanedCapture>(output);
    const std::optional<QString> &savedPath = cleaned.savedPath;

    std::optional<ClipboardUndoSnapshot> snapshot;
    std::optional<qint64> outputChangeCount;
    if (copiesToClipboard(outputMode)) {
        snapshot = ClipboardUndoSnapshot::capture(m_environment.clipboard);
        ClipboardProtectionMonitorPlan &monitorPlan = m_environment.monitorPlan;
        if (!m_environment.clipboard.write({{pngType, cleaned.png}})) {
            // The clipboard may have been emptied on the way: it gets back what it held.
            snapshot->restore(m_environment.clipboard);
            monitorPlan.markHandled(m_environment.clipboard.changeCount());
            qCWarning(lcAutoClean) << "The clipboard did not take the cleaned capture";
            return CaptureAutoOutputError::outputFailed;
        }
        outputChangeCount = m_environment.clipboard.changeCount();
        monitorPlan.markHandled(*outputChangeCount);
    }

    m_review.showStatus(captureOutputStatusText(outputMode, savedPath));
    if (savedPath)
        m_review.setLastExportLocation({QUrl::fromLocalFile(*savedPath), false});
    const ReviewIntakeImage item{capture.encodedBytes,
                                 std::nullopt,
                                 captureModeInfo(capture.mode).sourceLabel,
                                 SafeShareSourceType::capture,
                                 capture.plan,
                                 capture.plan.entries().isEmpty() ? std::nullopt
                                                                  : std::optional(capture.plan.entries().first().id()),
                                 CaptureText::autoCleanReviewItemStatus};
    m_review.setLastAutoCleanReviewItem(item);
    m_environment.autoCleanUndo.registerToken(
        {snapshot, outputChangeCount, savedPath ? std::optional(QUrl::fromLocalFile(*savedPath)) : std::nullopt});
    deliverAutoCleanReceipt(autoCleanCaptureReceipt(captureReceiptHeadline(outputMode), activeEntryCount(capture.plan)),
                            m_environment.isApplicationActive(), m_review, m_environment.notifications,
                            m_environment.autoCleanUndo);
    m_review.recordShare(savesToFolder(outputMode) ? SafeShareAction::exportCleanedImage : SafeShareAction::copyCleanedPNG,
                         SafeShareSourceType::capture, capture.plan, savedPath);
    return std::nullopt;
}

void CaptureAutoOutput::discard(const PreparedCaptureOutput &output)
{
    const auto *cleaned = std::get_if<CleanedCapture>(&output);
    if (!cleaned || !cleaned->savedPath)
        return;
    if (!QFile::remove(*cleaned->savedPath))
        qCWarning(lcAutoClean) << "Could not remove the cleaned capture" << *cleaned->savedPath;
}

} // namespace velmora
