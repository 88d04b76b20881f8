#include "app/review/capture_auto_output.h"

#include "app/protection/autoclean_undo_coordinator.h"
#include "app/protection/clipboard_access.h"
#include "app/review/autoclean_receipt.h"
#include "app/review/capture_texts.h"
#include "app/review/cleaned_output_files.h"
#include "app/review/review_intake.h"
#include "core/protection/clipboard_protection_monitor_plan.h"
#include "core/redaction/needs_review.h"
#include "core/support/clock.h"

#include <QDir>
#include <QLoggingCategory>

namespace velmora {

namespace {

Q_LOGGING_CATEGORY(lcCaptureOutput, "com.orlwick.kavri.autoclean")

const QString pngType = QStringLiteral("image/png");

} // namespace

CaptureAutoOutput::CaptureAutoOutput(ReviewIntake &review, CaptureAutoOutputEnvironment environment)
    : m_review(review), m_environment(std::move(environment))
{
}

std::optional<CaptureAutoOutputError> CaptureAutoOutput::run(const ScannedCapture &capture,
                                                             VelmoraCaptureOutputMode outputMode)
{
    QByteArray png;
    try {
        png = cleanedImageData(capture.image, capture.plan, CleanedImageFormat::png);
    } catch (const VelmoraCoreException &exception) {
        qCWarning(lcCaptureOutput) << "The cleaned capture could not be rendered:" << rawValue(exception.error());
        return CaptureAutoOutputError::outputFailed;
    }

    std::optional<ClipboardUndoSnapshot> snapshot;
    if (copiesToClipboard(outputMode))
        snapshot = ClipboardUndoSnapshot::capture(m_environment.clipboard);

    std::optional<QString> savedPath;
    if (savesToFolder(outputMode)) {
        const auto saved = save(png, capture.mode);
        if (const auto *error = std::get_if<CaptureAutoOutputError>(&saved))
            return *error;
        savedPath = std::get<QString>(saved);
    }

    std::optional<qint64> outputChangeCount;
    if (snapshot) {
        ClipboardProtectionMonitorPlan &monitorPlan = m_review.clipboardMonitorPlan();
        if (!m_environment.clipboard.write({{pngType, png}})) {
            // The clipboard may have been emptied on the way: it gets back what it held.
            snapshot->restore(m_environment.clipboard);
            monitorPlan.markHandled(m_environment.clipboard.changeCount());
            qCWarning(lcCaptureOutput) << "The clipboard did not take the cleaned capture";
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
    m_review.autoCleanUndoCoordinator().registerToken(
        {snapshot, outputChangeCount, savedPath ? std::optional(QUrl::fromLocalFile(*savedPath)) : std::nullopt});
    deliverAutoCleanReceipt(autoCleanCaptureReceipt(captureReceiptHeadline(outputMode), activeEntryCount(capture.plan)),
                            m_environment.isApplicationActive(), m_review, m_environment.notifications);
    m_review.recordShare(savesToFolder(outputMode) ? SafeShareAction::exportCleanedImage : SafeShareAction::copyCleanedPNG,
                         SafeShareSourceType::capture, capture.plan, savedPath);
    return std::nullopt;
}

std::variant<QString, CaptureAutoOutputError> CaptureAutoOutput::save(const QByteArray &png, VelmoraCaptureMode mode)
{
    const auto folder = AutoCleanOutputCoordinator::resolveOutputFolder(m_environment.settings);
    if (const auto *error = std::get_if<CaptureAutoOutputError>(&folder))
        return *error;
    const QString folderPath = std::get<ResolvedCaptureOutputFolder>(folder).path;
    if (!QDir().mkpath(folderPath))
        return CaptureAutoOutputError::outputFailed;
    const QString path = captureOutputFileName(folderPath, mode, m_environment.clock.now());
    if (!writeNewFile(path, png))
        return CaptureAutoOutputError::outputFailed;
    return path;
}

} // namespace velmora
