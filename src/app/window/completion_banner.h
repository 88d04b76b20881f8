#pragma once

#include "app/review/review_model_enums.h"

#include <QFrame>

#include <optional>

class QLabel;

namespace velmora {

class VelmoraButton;

/// The title of a banner action's button.
QString completionBannerActionTitle(CompletionBannerAction action);

// The completion banner over the top of the review: one sentence and up to two
// actions. Hidden while there is no banner text; the review decides when it goes.
class CompletionBanner : public QFrame
{
    Q_OBJECT
public:
    explicit CompletionBanner(QWidget *parent = nullptr);

    void setBanner(const std::optional<QString> &text, std::optional<CompletionBannerAction> primary,
                   std::optional<CompletionBannerAction> secondary);

signals:
    void actionTriggered(CompletionBannerAction action);

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
