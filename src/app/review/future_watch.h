#pragma once

#include <QFuture>
#include <QFutureWatcher>
#include <QObject>

namespace velmora {

/// Calls `handler` with the finished future on `context`'s thread, always from the
/// event loop (never inside this call, even for a future that has already finished),
/// and never once `context` is gone.
template <typename T, typename Handler>
void whenFinished(const QFuture<T> &future, QObject *context, Handler handler)
{
    auto *watcher = new QFutureWatcher<T>(context);
    QObject::connect(watcher, &QFutureWatcherBase::finished, watcher, [watcher, handler = std::move(handler)]() mutable {
        watcher->deleteLater();
        handler(watcher->future());
    });
    watcher->setFuture(future);
}

} // namespace velmora
