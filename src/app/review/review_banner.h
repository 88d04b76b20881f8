#pragma once

#include "app/review/review_model_enums.h"
#include "core/support/task_handle.h"

#include <QString>

#include <chrono>
#include <functional>
#include <optional>

namespace velmora {

class Clock;

// The review's completion banner: one sentence with up to two actions, shown for a
// while and then gone by itself. Owned by the review controller; `clear` takes it down
// at once. A banner can also be held back until the window is in front. Main thread only.
class ReviewBanner
{
public:
    static constexpr std::chrono::milliseconds shownWithAction{8000};
    static constexpr std::chrono::milliseconds shownWithoutAction{2400};

    /// `expired` is called each time the banner went away by itself.
    ReviewBanner(Clock &clock, std::function<void()> expired);
    ~ReviewBanner();
    ReviewBanner(const ReviewBanner &) = delete;
    ReviewBanner &operator=(const ReviewBanner &) = delete;

    /// Replaces the banner; it stays 8 s with an action, 2.4 s without.
    void show(const QString &text, std::optional<CompletionBannerAction> primaryAction,
              std::optional<CompletionBannerAction> secondaryAction);
    /// No banner, and no timer left running.
    void clear();
    /// Keeps a banner to show later (the newest replaces any other kept one), leaving
    /// the banner on screen as it is.
    void hold(const QString &text, std::optional<CompletionBannerAction> primaryAction,
              std::optional<CompletionBannerAction> secondaryAction);
    bool hasHeld() const { return m_held.has_value(); }
    /// Shows the kept banner, if any, as `show` does.
    void showHeld();
    /// Forgets the kept banner.
    void dropHeld() { m_held.reset(); }

    /// The sentence; nothing while no banner is shown.
    const std::optional<QString> &text() const { return m_text; }
    std::optional<CompletionBannerAction> primaryAction() const { return m_primaryAction; }
    std::optional<CompletionBannerAction> secondaryAction() const { return m_secondaryAction; }
    /// Whether the banner is waiting to go away by itself.
    bool isTimed() const { return m_task.has_value(); }

private:
    struct Content
    {
        QString text;
        std::optional<CompletionBannerAction> primaryAction;
        std::optional<CompletionBannerAction> secondaryAction;
    };

    Clock &m_clock;
    std::function<void()> m_expired;
    std::optional<QString> m_text;
    std::optional<CompletionBannerAction> m_primaryAction;
    std::optional<CompletionBannerAction> m_secondaryAction;
    std::optional<TaskHandle> m_task;
    std::optional<Content> m_held;
};

} // namespace velmora
