#include "app/window/review_actions.h"

#include "app/review/review_controller.h"

#include <QAction>

namespace velmora {

namespace {

QAction *makeAction(QObject *parent, const QString &title, const QString &objectName, const QList<QKeySequence> &keys)
{
    auto *action = new QAction(title, parent);
    action->setObjectName(objectName);
    action->setShortcuts(keys);
    action->setShortcutContext(Qt::WindowShortcut);
    return action;
}

} // namespace

ReviewActions::ReviewActions(QObject *parent)
    : QObject(parent)
    , pasteImage(makeAction(this, tr("Paste Image"), QStringLiteral("velmoraImportClipboardImage"),
                            {QKeySequence(tr("Ctrl+Shift+V"))}))
    , closeReview(makeAction(this, tr("Close Current Review"), QStringLiteral("velmoraCloseCurrentReview"),
                             {QKeySequence(tr("Ctrl+W"))}))
    , togglePreview(makeAction(this, tr("Toggle Output Preview"), QStringLiteral("velmoraToggleOutputPreview"),
                               {QKeySequence(tr("Ctrl+P"))}))
    , copyCleaned(makeAction(this, tr("Copy Cleaned PNG"), QStringLiteral("velmoraCopyCleanedImage"),
                             {QKeySequence(tr("Ctrl+Shift+C"))}))
    , exportCleaned(makeAction(this, tr("Export Cleaned Copy"), QStringLiteral("velmoraExportCleanedImage"),
                               {QKeySequence(tr("Ctrl+E"))}))
    , redactAll(makeAction(this, tr("Redact All Findings"), QStringLiteral("velmoraRedactAllFindings"), {}))
    , makeAllVisible(
          makeAction(this, tr("Make All Findings Visible"), QStringLiteral("velmoraMakeAllFindingsVisible"), {}))
    , deleteSelected(makeAction(this, tr("Delete Selected Manual Redaction"),
                                QStringLiteral("velmoraDeleteSelectedManualRedaction"),
                                {QKeySequence(Qt::Key_Delete), QKeySequence(Qt::Key_Backspace)}))
    , undo(makeAction(this, tr("Undo Manual Edit"), QStringLiteral("velmoraUndoManualEdit"),
                      {QKeySequence(tr("Ctrl+Z"))}))
    , redo(makeAction(this, tr("Redo Manual Edit"), QStringLiteral("velmoraRedoManualEdit"),
                      {QKeySequence(tr("Ctrl+Shift+Z"))}))
{
}

void bindReviewActions(const ReviewActions &actions, ReviewController &review, AskBeforeDiscarding askBeforeDiscarding)
{
    using Step = ReviewController::ManualEditStep;
    ReviewController *c = &review;
    const AskBeforeDiscarding ask = std::move(askBeforeDiscarding);
    const std::pair<QAction *, std::function<void()>> routes[] = {
        {actions.closeReview, [c, ask] { ask([c] { c->closeCurrentReview(); }); }},
        {actions.pasteImage, [c, ask] { ask([c] { c->pasteImageFromClipboard(); }); }},
        {actions.togglePreview, [c] { c->setOutputPreview(c->state().screen.mode() != CanvasMode::previewing); }},
        {actions.exportCleaned, [c] { c->runShareCommand(ShareAction::export_); }},
        {actions.copyCleaned, [c] { c->runShareCommand(ShareAction::copy); }},
        {actions.redactAll, [c] { c->setAllFindingsIncluded(true); }},
        {actions.makeAllVisible, [c] { c->setAllFindingsIncluded(false); }},
        {actions.deleteSelected, [c] { c->deleteSelectedManualRedaction(); }},
        {actions.undo, [c] { c->applyManualEditHistoryStep(Step::undo); }},
        {actions.redo, [c] { c->applyManualEditHistoryStep(Step::redo); }},
    };
    for (const auto &[action, run] : routes)
        QObject::connect(action, &QAction::triggered, c, run);
}

} // namespace velmora
