#include "app/review/review_screen.h"

namespace velmora {

void ReviewScreen::show(const QUuid &itemID, const ScreenBitmap &bitmap)
{
    if (m_itemID != itemID)
        dropPreview();
    m_itemID = itemID;
    m_bitmap = bitmap;
    m_isLoading = false;
}

void ReviewScreen::await(const QUuid &itemID)
{
    show(itemID, ScreenBitmap());
    m_isLoading = true;
}

bool ReviewScreen::arrive(const QUuid &itemID, const ScreenBitmap &bitmap)
{
    if (!m_isLoading || m_itemID != itemID)
        return false;
    show(itemID, bitmap);
    return true;
}

void ReviewScreen::clear()
{
    *this = ReviewScreen();
}

void ReviewScreen::setMode(CanvasMode mode)
{
    if (mode != CanvasMode::previewing)
        dropPreview();
    m_mode = mode;
}

void ReviewScreen::endDrawing()
{
    if (m_mode == CanvasMode::drawing)
        m_mode = CanvasMode::reviewing;
}

bool ReviewScreen::needsPreview(const QList<Detection> &boxes) const
{
    return m_mode == CanvasMode::previewing && !m_bitmap.isNull() && m_previewBoxes != boxes;
}

void ReviewScreen::awaitPreview(const QList<Detection> &boxes)
{
    m_previewBoxes = boxes;
    m_isPreviewPending = true;
}

bool ReviewScreen::arrivePreview(const QUuid &itemID, const QList<Detection> &boxes, const QImage &preview)
{
    if (!m_isPreviewPending || m_itemID != itemID || m_previewBoxes != boxes)
        return false;
    m_preview = preview;
    m_isPreviewPending = false;
    return true;
}

void ReviewScreen::dropPreview()
{
    m_preview = QImage();
    m_previewBoxes.reset();
    m_isPreviewPending = false;
}

} // namespace velmora
