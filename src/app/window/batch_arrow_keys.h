#pragma once

#include <QObject>

class QWidget;

namespace velmora {

class ReviewController;

// Up and Down step through the batch from anywhere in the window, except while the
// control in focus uses the arrow keys itself (lists, text fields, combo boxes, spin
// boxes, sliders): those keep them. Lives as long as the window.
class BatchArrowKeys : public QObject
{
    Q_OBJECT
public:
    BatchArrowKeys(QWidget &window, ReviewController &review);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget &m_window;
    ReviewController &m_review;
};

} // namespace velmora
