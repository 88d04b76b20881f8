#pragma once

#include "app/review/review_model_enums.h"

#include <QFrame>

#include <optional>

class QLabel;

namespace velmora {

class VelmoraButton;

/// The title of a banner action's button.
QString completionBannerActionTitle(CompletionBannerAction action);

// The completion banner in the action bar: one sentence, up to two actions and a close
// button. Hidden while there is no banner text; the review decides when it goes.
class CompletionBanner : public QFrame
{
    Q_OBJECT
public:
    explicit CompletionBanner(QWidget *parent = nullptr);

    void setBanner(const std::optional<QString> &text, std::optional<CompletionBannerAction> primary,
                   std::optional<CompletionBannerAction> secondary);
    /// As wide as the sentence on one line; given less, the sentence wraps.
    QSize sizeHint() const override;

signals:
    void actionTriggered(CompletionBannerAction action);
    void closeRequested();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void applyAction(VelmoraButton *button, std::optional<CompletionBannerAction> action);

    QLabel *m_text = nullptr;
    VelmoraButton *m_primary = nullptr;
    VelmoraButton *m_secondary = nullptr;
    std::optional<CompletionBannerAction> m_primaryAction;
    std::optional<CompletionBannerAction> m_secondaryAction;
};

} // namespace velmora
