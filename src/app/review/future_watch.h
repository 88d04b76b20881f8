#pragma once

#include "core/detection/core_error.h"

#include <QFuture>
#include <QFutureWatcher>
#include <QLoggingCategory>
#include <QObject>

#include <variant>

namespace velmora {

Q_DECLARE_LOGGING_CATEGORY(lcReviewScan)

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

/// The value of a finished future, or the engine error it failed with. Any other
/// failure (a foreign exception, a future cancelled without a value) reads as
/// `fallback`, the error of the step that produced the future.
template <typename T>
std::variant<T, VelmoraCoreError> futureOutcome(QFuture<T> future, VelmoraCoreError fallback)
{
    try {
        future.waitForFinished();
        if (!future.isCanceled() && future.resultCount() > 0)
            return future.result();
    } catch (const VelmoraCoreException &exception) {
        return exception.error();
    } catch (const std::exception &exception) {
        qCWarning(lcReviewScan) << "Scan step failed with an unexpected exception:" << exception.what();
    } catch (...) {
        qCWarning(lcReviewScan) << "Scan step failed with an unexpected exception";
    }
    return fallback;
}

} // namespace velmora
