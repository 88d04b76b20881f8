#include "app/review/review_command_routing.h"

#include "app/commands/command_bus.h"
#include "app/commands/command_names.h"
#include "app/commands/detection_settings_notice.h"
#include "app/review/review_controller.h"

#include <functional>
#include <utility>

namespace velmora {

void connectReviewCommands(ReviewController &controller, AskBeforeDiscarding askBeforeDiscarding)
{
    using Step = ReviewController::ManualEditStep;
    ReviewController *c = &controller;
    const auto ask = std::move(askBeforeDiscarding);
    const std::pair<QLatin1StringView, std::function<void()>> routes[] = {
        {commands::velmoraCloseCurrentReview, [c, ask] { ask([c] { c->closeCurrentReview(); }); }},
        {commands::velmoraImportClipboardImage, [c, ask] { ask([c] { c->pasteImageFromClipboard(); }); }},
        {commands::velmoraToggleOutputPreview, [c] { c->toggleOutputPreview(); }},
        {commands::velmoraExportCleanedImage, [c] { c->runShareCommand(ShareAction::export_); }},
        {commands::velmoraCopyCleanedImage, [c] { c->runShareCommand(ShareAction::copy); }},
        {commands::velmoraRedactAllFindings, [c] { c->setAllFindingsIncluded(true); }},
        {commands::velmoraMakeAllFindingsVisible, [c] { c->setAllFindingsIncluded(false); }},
        {commands::velmoraDeleteSelectedManualRedaction, [c] { c->deleteSelectedManualRedaction(); }},
        {commands::velmoraUndoManualEdit, [c] { c->applyManualEditHistoryStep(Step::undo); }},
        {commands::velmoraRedoManualEdit, [c] { c->applyManualEditHistoryStep(Step::redo); }},
    };
    CommandBus &bus = CommandBus::instance();
    for (const auto &[name, run] : routes)
        bus.observe(QString(name), c, [run = run](const QVariant &, const QVariantMap &) { run(); });
    observeCustomDetectionSettingsChanges(c, [c](const std::optional<DetectionSettingsValues> &values) {
        c->applyCustomDetectionSettings(values);
        c->rescanAfterCustomSettingsChange();
    });
}

} // namespace velmora
