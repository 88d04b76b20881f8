#include "app/kit/window_placement.h"

#include <QEvent>
#include <QGuiApplication>
#include <QLayout>
#include <QPointer>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include <algorithm>

namespace velmora {

namespace {

// Owned by the placed window; watches its anchor's window, and the placed window until it
// first comes on screen: a move asked for while a window manager is still taking the
// window on may be lost.
class AnchorFollower : public QObject
{
public:
    AnchorFollower(QWidget &window, const QWidget *anchor) : QObject(&window), m_window(window), m_anchor(anchor)
    {
        anchor->window()->installEventFilter(this);
        window.winId();
        window.windowHandle()->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        const bool anchorMoved = watched != m_window.windowHandle()
                                 && (event->type() == QEvent::Move || event->type() == QEvent::Resize);
        const bool firstShown = watched == m_window.windowHandle() && event->type() == QEvent::Expose
                                && m_window.windowHandle()->isExposed();
        if (firstShown)
            watched->removeEventFilter(this);
        if ((anchorMoved || firstShown) && m_anchor)
            centreOver(m_window, m_anchor);
        return false;
    }

private:
    QWidget &m_window;
    QPointer<const QWidget> m_anchor;
};

} // namespace

void centreOver(QWidget &window, const QWidget *anchor)
{
    const QWidget *over = anchor ? anchor->window() : nullptr;
    const bool onScreen = over && over->isVisible() && !over->isMinimized();
    const QScreen *screen = onScreen ? over->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    // The size its layout gives it, which a window not yet shown may not have taken.
    if (QLayout *layout = window.layout())
        layout->activate();
    const QRect available = screen->availableGeometry();
    QRect placed(QPoint(0, 0), window.frameGeometry().size());
    placed.moveCenter(onScreen ? over->frameGeometry().center() : available.center());
    placed.moveLeft(std::clamp(placed.left(), available.left(),
                               std::max(available.left(), available.right() - placed.width() + 1)));
    placed.moveTop(std::clamp(placed.top(), available.top(),
                              std::max(available.top(), available.bottom() - placed.height() + 1)));
    window.move(placed.topLeft());
}

void keepCentredOver(QWidget &window, const QWidget *anchor)
{
    centreOver(window, anchor);
    if (anchor)
        new AnchorFollower(window, anchor);
}

} // namespace velmora
