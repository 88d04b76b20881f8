#include "app/review/review_controller.h"

#include "app/review/review_controller_private.h"

namespace velmora {

namespace {

const QString autoCleanUndone = QStringLiteral("AutoClean undone");

} // namespace

void ReviewController::showCompletionBanner(const QString &text, std::optional<CompletionBannerAction> primaryAction,
                                            std::optional<CompletionBannerAction> secondaryAction)
{
    ChangeScope scope(*this);
    m_banner.show(text, primaryAction, secondaryAction);
}

void ReviewController::closeCompletionBanner()
{
    ChangeScope scope(*this);
    m_banner.clear();
}

bool ReviewController::bannerActionReplacesReview(CompletionBannerAction action) const
{
    switch (action) {
    case CompletionBannerAction::reviewLastAutoClean:
        return m_state.lastAutoCleanReviewItem.has_value();
    case CompletionBannerAction::reviewLatestWatchedScreenshot:
        return !m_state.watchedScreenshotQueue.items.isEmpty();
    case CompletionBannerAction::revealLastExport:
    case CompletionBannerAction::undoLastAutoClean:
    case CompletionBannerAction::openNotificationSettings:
        return false;
    }
    return false;
}

void ReviewController::performBannerAction(CompletionBannerAction action)
{
    switch (action) {
    case CompletionBannerAction::undoLastAutoClean:
        if (m_environment.autoCleanUndo.undo(m_environment.clipboardGuard))
            showCompletionBanner(autoCleanUndone, std::nullopt, std::nullopt);
        break;
    case CompletionBannerAction::reviewLastAutoClean:
        openLastAutoCleanReviewItem();
        break;
    case CompletionBannerAction::reviewLatestWatchedScreenshot:
        openLatestWatchedScreenshot();
        break;
    case CompletionBannerAction::openNotificationSettings:
        m_environment.desktop.openNotificationSettings();
        break;
    case CompletionBannerAction::revealLastExport:
        if (m_state.lastExportLocation)
            m_environment.desktop.revealInFileManager(m_state.lastExportLocation->url.toLocalFile());
        break;
    }
}

} // namespace velmora
