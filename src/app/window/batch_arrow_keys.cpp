#include "app/window/batch_arrow_keys.h"

#include "app/review/review_controller.h"

#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace velmora {

namespace {

bool usesArrowKeys(const QWidget *widget)
{
    return qobject_cast<const QAbstractItemView *>(widget) || qobject_cast<const QLineEdit *>(widget)
        || qobject_cast<const QTextEdit *>(widget) || qobject_cast<const QPlainTextEdit *>(widget)
        || qobject_cast<const QComboBox *>(widget) || qobject_cast<const QAbstractSpinBox *>(widget)
        || qobject_cast<const QAbstractSlider *>(widget);
}

} // namespace

BatchArrowKeys::BatchArrowKeys(QWidget &window, ReviewController &review)
    : QObject(&window), m_window(window), m_review(review)
{
    // Seen before the control in focus, which may otherwise spend them on moving focus.
    qApp->installEventFilter(this);
}

bool BatchArrowKeys::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto *key = static_cast<QKeyEvent *>(event);
    const bool plainArrow = (key->key() == Qt::Key_Up || key->key() == Qt::Key_Down)
        && (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    // A key the focused control ignored travels on to its parents: judge by the control.
    QWidget *target = QApplication::focusWidget() ? QApplication::focusWidget() : qobject_cast<QWidget *>(watched);
    if (!plainArrow || !target || target->window() != &m_window || usesArrowKeys(target)
        || m_review.state().batch.items().size() < 2)
        return false;
    m_review.selectAdjacentBatchItem(key->key() == Qt::Key_Up ? -1 : 1);
    return true;
}

} // namespace velmora
