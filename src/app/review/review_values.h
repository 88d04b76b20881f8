#pragma once

#include "core/detection/detection.h"

#include <QHash>
#include <QImage>
#include <QList>
#include <QUrl>
#include <QUuid>

namespace velmora {

/// Where the last export went, for showing it in the file manager.
struct ExportLocation
{
    QUrl url;
    bool isDirectory = false; ///< A batch export folder rather than one file.

    friend bool operator==(const ExportLocation &, const ExportLocation &) = default;
};

/// What a batch scan takes of one item when it starts.
struct BatchScanInput
{
    QUuid id;
    QImage cgImage;
    QList<Detection> manualDetections;     ///< The item's boxes whose source is `user`.
    QHash<QUuid, bool> manualActiveStates; ///< Their on/off states.
};

/// Items waiting for review, in order (watched screenshots, newest first).
template <typename T>
struct WatchedAlertQueue
{
    /// The most alerts kept: a newer one pushes the oldest out.
    static constexpr qsizetype limit = 20;

    QList<T> items;

    /// Puts `item` first in place of every item `sameSource` pairs it with (a newer scan
    /// of a file replaces its older alert), then keeps the newest `limit`.
    template <typename SameSource>
    void insertNewest(T item, SameSource sameSource)
    {
        items.removeIf([&](const T &queued) { return sameSource(queued, item); });
        items.prepend(std::move(item));
        if (items.size() > limit)
            items.resize(limit);
    }

    friend bool operator==(const WatchedAlertQueue &, const WatchedAlertQueue &) = default;
};

} // namespace velmora
