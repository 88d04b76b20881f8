#pragma once

#include "app/help/velmora_guide_item.h"

#include <QList>
#include <QWidget>

#include <functional>

class QPushButton;

namespace velmora {

// The onboarding sheet ("Quick Start"): what Velmora is for, three steps, and three ways
// out: try the sample, open the help centre, or start. 680 wide, as tall as its content.
// It holds no state and never closes itself; the owner carries out the callbacks.
// "Start Using Velmora" is the default button (Return).
class VelmoraOnboardingView : public QWidget
{
    Q_OBJECT
public:
    struct Callbacks {
        std::function<void()> onFinish; ///< Close button and "Start Using Velmora" (the sheet routes Escape here too).
        std::function<void()> onTrySample;
        std::function<void()> onOpenHelp;
    };

    explicit VelmoraOnboardingView(Callbacks callbacks, QWidget *parent = nullptr);

    const QList<VelmoraGuideItem> &steps() const { return m_steps; }
    const Callbacks &callbacks() const { return m_callbacks; }
    QPushButton *finishButton() const { return m_finish; }

private:
    QWidget *buildHeader();
    QWidget *buildFooter();

    Callbacks m_callbacks;
    QList<VelmoraGuideItem> m_steps;
    QPushButton *m_finish = nullptr;
};

} // namespace velmora
