#pragma once

#include "app/review/screen_bitmap.h"
#include "core/detection/detection.h"

#include <QImage>
#include <QList>
#include <QUuid>

#include <optional>

namespace velmora {

/// What the canvas is for; one at a time.
enum class CanvasMode {
    reviewing,  ///< The image with its boxes, which take clicks and drags.
    drawing,    ///< A drag on the image draws a new box.
    previewing, ///< The cleaned output as Copy and Export make it; no boxes.
};

// What the canvas shows of the image under review: the item's bitmap, which may still be
// on its way from the thread pool (or could not be read again), the cleaned preview with
// the boxes it was rendered with, and the canvas mode. A value inside ReviewState, filled
// by the review controller; a bitmap or a preview that arrives is taken only while it is
// still the one wanted, so a result the user has stepped past is dropped.
class ReviewScreen
{
public:
    /// Null while it is on its way or when it could not be read.
    const QImage &bitmap() const { return m_bitmap.bitmap; }
    /// The bitmap as the canvas draws it.
    const QImage &picture() const { return m_bitmap.picture; }
    /// Both, for whoever makes a picture of the bitmap (the preview).
    const ScreenBitmap &screenBitmap() const { return m_bitmap; }
    bool isLoading() const { return m_isLoading; }
    /// The item's bitmap arrived null: its source could not be read again.
    bool couldNotRead() const { return m_itemID && !m_isLoading && m_bitmap.isNull(); }

    /// Shows the item with its bitmap. The preview of another item goes.
    void show(const QUuid &itemID, const ScreenBitmap &bitmap);
    /// Shows the item whose bitmap is still on its way: none shows until it arrives.
    void await(const QUuid &itemID);
    /// The awaited bitmap arrives; a null one could not be read. False, with nothing
    /// changed, when the item is no longer awaited.
    bool arrive(const QUuid &itemID, const ScreenBitmap &bitmap);
    /// No image is under review; the mode goes back to reviewing.
    void clear();

    CanvasMode mode() const { return m_mode; }
    /// Leaving the preview lets go of it.
    void setMode(CanvasMode mode);
    /// Draw mode ends; the preview stays.
    void endDrawing();

    /// The cleaned preview last rendered, in the picture's format: null until one arrives.
    /// While the preview of new boxes is being made, the one before stays.
    const QImage &preview() const { return m_preview; }
    /// Previewing a bitmap whose preview with these boxes is neither shown nor on its way.
    bool needsPreview(const QList<Detection> &boxes) const;
    /// The preview with these boxes is on its way.
    void awaitPreview(const QList<Detection> &boxes);
    /// The preview of the item with these boxes arrives; a null one could not be made.
    /// False, with nothing changed, when it is no longer the one awaited.
    bool arrivePreview(const QUuid &itemID, const QList<Detection> &boxes, const QImage &preview);

private:
    void dropPreview();

    /// The item whose bitmap is shown or on its way.
    std::optional<QUuid> m_itemID;
    ScreenBitmap m_bitmap;
    bool m_isLoading = false;
    CanvasMode m_mode = CanvasMode::reviewing;
    QImage m_preview;
    /// The boxes of the newest preview asked for, shown once it has arrived.
    std::optional<QList<Detection>> m_previewBoxes;
    bool m_isPreviewPending = false;
};

} // namespace velmora
