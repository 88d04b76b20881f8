#pragma once

#include "app/review/decoded_image_cache.h"
#include "app/review/review_image_source.h"
#include "core/detection/detection.h"
#include "core/support/task_handle.h"

#include <QImage>
#include <QList>
#include <QObject>
#include <QUuid>

#include <functional>

namespace velmora {

// Makes the pictures the canvas shows, off the main thread: the bitmap of the item shown,
// decoded from its source unless it is among the few shown last, and the cleaned preview
// of a bitmap with its boxes filled, each in the format the screen takes as it is (see
// ScreenBitmap). Each result comes back on the main thread from the event loop, never
// once the owner is gone; whether the screen still wants it is the screen's question.
// Owned by the review controller.
class ScreenImages : public QObject
{
    Q_OBJECT
public:
    /// The bitmap of the item asked for; a null one could not be read.
    using Loaded = std::function<void(const QUuid &itemID, const ScreenBitmap &bitmap)>;
    /// The preview; a null one could not be made.
    using Rendered = std::function<void(const QImage &preview)>;

    explicit ScreenImages(QObject *parent = nullptr);
    ~ScreenImages() override;

    /// The item's bitmap at once when it is kept; else a null image, and the bitmap is
    /// decoded off the main thread, kept and handed to `loaded`. Either way the bitmap
    /// asked for before is handed over no more, and its decode stops as soon as its
    /// decoder can stop quietly.
    ScreenBitmap bitmap(const QUuid &itemID, const ReviewImageSource &source, Loaded loaded);
    /// Keeps a bitmap decoded elsewhere (at import), as the newest.
    void keep(const QUuid &itemID, const ScreenBitmap &bitmap);
    /// Renders the bitmap with the boxes filled black, as Copy and Export do, in the
    /// format of its picture.
    void renderPreview(const ScreenBitmap &bitmap, const QList<Detection> &boxes, Rendered rendered);
    /// Forgets the kept bitmaps and drops the bitmap on its way.
    void clear();

private:
    DecodedImageCache m_kept;
    /// The decode of the bitmap asked for last; cancelled, its result is dropped.
    TaskHandle m_load;
};

} // namespace velmora
