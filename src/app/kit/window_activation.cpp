#include "app/kit/window_activation.h"

#include <QCoreApplication>
#include <QWidget>

namespace velmora {

void bringWindowToFront(QWidget &window)
{
    if (window.isMinimized())
        window.showNormal();
    else
        window.show();
    window.raise();
    window.activateWindow();
}

void activateAppAndPerformOnMain(std::function<void()> callback)
{
    QMetaObject::invokeMethod(QCoreApplication::instance(), std::move(callback), Qt::QueuedConnection);
}

} // namespace velmora
