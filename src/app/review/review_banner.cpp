#include "app/review/review_banner.h"

#include "core/support/clock.h"

#include <utility>

namespace velmora {

ReviewBanner::ReviewBanner(Clock &clock, std::function<void()> expired)
    : m_clock(clock), m_expired(std::move(expired))
{
}

ReviewBanner::~ReviewBanner()
{
    // The timer's action refers to this banner.
    if (m_task)
        m_task->cancel();
}

void ReviewBanner::show(const QString &text, std::optional<CompletionBannerAction> primaryAction,
                        std::optional<CompletionBannerAction> secondaryAction)
{
    clear();
    m_text = text;
    m_primaryAction = primaryAction;
    m_secondaryAction = secondaryAction;
    const bool hasAction = primaryAction || secondaryAction;
    m_task = m_clock.schedule(hasAction ? shownWithAction : shownWithoutAction, [this] {
        m_task.reset();
        clear();
        m_expired();
    });
}

void ReviewBanner::hold(const QString &text, std::optional<CompletionBannerAction> primaryAction,
                        std::optional<CompletionBannerAction> secondaryAction)
{
    m_held = Content{text, primaryAction, secondaryAction};
}

void ReviewBanner::showHeld()
{
    if (const std::optional<Content> held = std::exchange(m_held, std::nullopt))
        show(held->text, held->primaryAction, held->secondaryAction);
}

void ReviewBanner::clear()
{
    if (m_task)
        m_task->cancel();
    m_task.reset();
    m_text.reset();
    m_primaryAction.reset();
    m_secondaryAction.reset();
}

} // namespace velmora
