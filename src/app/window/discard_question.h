#pragma once

#include <QObject>
#include <QPointer>

#include <functional>

class QMessageBox;
class QWidget;

namespace velmora {

class UnsavedManualEdits;

// The question before an operation ends a review that holds hand-made boxes not yet
// copied or exported: "Discard the manual boxes of <image>?", asked over the window.
class DiscardQuestion : public QObject
{
    Q_OBJECT
public:
    DiscardQuestion(const UnsavedManualEdits &edits, QWidget *window);

    /// Runs `proceed` at once when nothing would be lost; else asks, and runs it only
    /// after Discard. While the question is up, further requests are dropped.
    void askBeforeDiscarding(std::function<void()> proceed);
    bool isAsking() const { return !m_box.isNull(); }

private:
    const UnsavedManualEdits &m_edits;
    QWidget *m_window;
    QPointer<QMessageBox> m_box;
};

} // namespace velmora
