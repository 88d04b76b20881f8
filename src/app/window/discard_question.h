#pragma once

#include <QObject>

#include <functional>

class QWidget;

namespace velmora {

class UnsavedManualEdits;

// The question before an operation ends a review that holds hand-made boxes not yet
// copied or exported: "Discard the manual boxes of <image>?", asked over the window.
// Work arriving while another application is in front (a capture, a watched alert
// from a notification) never raises the question over it: it waits behind the banner.
class DiscardQuestion : public QObject
{
    Q_OBJECT
public:
    /// Whether Velmora is the application in front.
    using ApplicationActive = std::function<bool()>;

    DiscardQuestion(const UnsavedManualEdits &edits, ApplicationActive isActive, QWidget *window);

    /// Runs `proceed` at once when nothing would be lost; else asks, and runs it only
    /// after Discard. While the question is up, further requests are dropped.
    void askBeforeDiscarding(std::function<void()> proceed);
    /// The same while Velmora is in front or nothing would be lost; otherwise runs
    /// `wait`, which leaves the work for the user to take up from the banner.
    void askOrWait(std::function<void()> proceed, const std::function<void()> &wait);
    /// From the question until its answer has been acted on.
    bool isAsking() const { return m_isAsking; }

private:
    const UnsavedManualEdits &m_edits;
    ApplicationActive m_isActive;
    QWidget *m_window;
    bool m_isAsking = false;
};

} // namespace velmora
