#include "app/review/review_controller.h"

#include "app/review/cleaned_output_files.h"
#include "app/review/output_naming.h"
#include "app/review/review_controller_private.h"
#include "app/review/review_queries.h"
#include "core/history/safe_share_history_store.h"
#include "core/support/clock.h"

#include <QFileInfo>

namespace velmora {

namespace {

namespace BatchText {
const QString failed = QStringLiteral("Batch export failed. Choose another folder and try again.");
const QString noBatchExport = QStringLiteral("No batch export was completed.");
const FolderPanelText panel{
    QStringLiteral("Choose Batch Export Folder"),
    QStringLiteral("Velmora will create a Velmora Cleaned folder here and write flattened cleaned PNG copies."),
    QStringLiteral("Export Batch")};
} // namespace BatchText

QString cleanedImagesWord(int count)
{
    return count == 1 ? QStringLiteral("cleaned image") : QStringLiteral("cleaned images");
}

/// Nothing, or how many images no scan had reached and the export therefore left out.
QString leftOutSentence(int count)
{
    if (count < 1)
        return QString();
    return count == 1 ? QStringLiteral(" 1 image not yet scanned was left out.")
                      : QStringLiteral(" %1 images not yet scanned were left out.").arg(count);
}

QString progressSentence(int written, int total)
{
    return QStringLiteral("Exporting cleaned images: %1 of %2 written...").arg(written).arg(total);
}

} // namespace

void ReviewController::exportBatchAction()
{
    if (!canExportBatch(m_state))
        return;
    if (confirmShareIfReviewNeeded(ShareAction::batchExport))
        chooseBatchExportFolder();
}

void ReviewController::chooseBatchExportFolder()
{
    if (exportableBatchItems(m_state).isEmpty() || m_state.isExportingBatch)
        return;
    const std::optional<QUrl> parent =
        m_environment.fileDialogs.chooseFolder(BatchText::panel, panelStartFolder(m_state.sourceImageURL()));
    if (!parent)
        return;
    ChangeScope scope(*this);
    m_state.setErrorText(std::nullopt);
    const QList<ReviewDocument> items = exportableBatchItems(m_state);
    if (items.isEmpty() || !parent->isLocalFile()) {
        finishBatchExport(items, BatchExportFailure::unwritable);
        return;
    }
    QStringList names;
    for (const ReviewDocument &item : items)
        names.append(redactedFileName(item.sourceURL(), item.displayName()));
    names = uniqueFileNames(names);
    QList<BatchExportJob> jobs;
    for (qsizetype i = 0; i < items.size(); ++i)
        jobs.append({names.at(i), items.at(i).source(), items.at(i).redactionPlan()});

    // Rendering and writing run off the main thread; the status line counts the images.
    const int total = int(items.size());
    m_state.isExportingBatch = true;
    m_state.setReviewStatusNote(progressSentence(0, total));
    m_batchExport.start(
        jobs, parent->toLocalFile(),
        [this, total](int written) {
            ChangeScope scope(*this);
            m_state.setReviewStatusNote(progressSentence(written, total));
        },
        [this, items](const BatchExportOutcome &outcome) { finishBatchExport(items, outcome); });
}

void ReviewController::finishBatchExport(const QList<ReviewDocument> &items, const BatchExportOutcome &outcome)
{
    ChangeScope scope(*this);
    m_state.isExportingBatch = false;
    if (const auto *failure = std::get_if<BatchExportFailure>(&outcome)) {
        switch (*failure) {
        case BatchExportFailure::unreadableImage:
            // An image whose file changed or went away since import is not exported from it.
            m_state.setErrorText(ReviewText::unreadableImage);
            m_state.setReviewStatusNote(ReviewText::tryAnotherImage);
            break;
        case BatchExportFailure::unwritable:
            m_state.setErrorText(BatchText::failed);
            m_state.setReviewStatusNote(BatchText::noBatchExport);
            break;
        case BatchExportFailure::cancelled:
            m_state.setReviewStatusNote(BatchText::noBatchExport);
            break;
        }
        return;
    }
    const QString &folder = std::get<QString>(outcome);
    const int written = int(items.size());
    m_state.lastExportLocation = ExportLocation{QUrl::fromLocalFile(folder), true};
    m_state.setReviewStatusNote(QStringLiteral("%1 %2 exported to %3.")
                                    .arg(written)
                                    .arg(cleanedImagesWord(written), QFileInfo(folder).fileName())
                                + leftOutSentence(unscannedBatchItems(m_state)));
    showCompletionBanner(QStringLiteral("Exported %1 %2").arg(written).arg(cleanedImagesWord(written)),
                         CompletionBannerAction::revealLastExport, std::nullopt);

    // One record for the whole export: the findings of every written image together.
    SafeShareHistoryRecord record = SafeShareHistoryRecord::make(
        QUuid::createUuid(), m_environment.clock.now(), items.first().sourceType(), SafeShareAction::batchExport,
        RedactionPlan::empty(), policySourceLabel(), folder, written);
    for (const ReviewDocument &item : items) {
        const SafeShareHistoryRecord counts = SafeShareHistoryRecord::make(
            {}, {}, item.sourceType(), SafeShareAction::batchExport, item.redactionPlan(), {}, {}, {});
        record.totalFindings += counts.totalFindings;
        record.includedFindings += counts.includedFindings;
        record.reviewFindings += counts.reviewFindings;
        record.offFindings += counts.offFindings;
    }
    appendSafeShareHistoryRecord(m_environment.settings, record);
    QList<std::pair<QUuid, RedactionPlan>> exported;
    for (const ReviewDocument &item : items)
        exported.append({item.id(), item.redactionPlan()});
    announceShared(exported);
}

} // namespace velmora
