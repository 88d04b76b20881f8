#include "app/kit/after_menu_closed.h"

#include <QGuiApplication>
#include <QObject>

namespace velmora {

void runAfterMenuClosed(QObject *context, std::function<void()> work)
{
    // Queued, so that the menu ends its own handling of the choice first.
    QMetaObject::invokeMethod(
        context,
        [work = std::move(work)] {
            // The first round trip takes the menu down and delivers the exposures of what
            // it covered, which are painted then; the second waits until that paint is
            // on the screen. No delay is guessed.
            QGuiApplication::sync();
            QGuiApplication::sync();
            work();
        },
        Qt::QueuedConnection);
}

} // namespace velmora
