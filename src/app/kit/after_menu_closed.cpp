#include "app/kit/after_menu_closed.h"

#include <QApplication>
#include <QGuiApplication>
#include <QObject>
#include <QWidget>

namespace velmora {

void runAfterMenuClosed(QObject *context, std::function<void()> work)
{
    // Queued, so that the menu ends its own handling of the choice first: by then it
    // is hidden, and the request that takes it down is on its way to the display server.
    QMetaObject::invokeMethod(
        context,
        [work = std::move(work)] {
            // What the menu covered is drawn again now rather than when the server's
            // exposures come back, which on a busy machine can be after the screenshot:
            // the server takes requests in order, so these paints land after the menu
            // went, and the round trip waits until they are on the screen.
            for (QWidget *window : QApplication::topLevelWidgets()) {
                if (window->isVisible())
                    window->repaint();
            }
            QGuiApplication::sync();
            work();
        },
        Qt::QueuedConnection);
}

} // namespace velmora
