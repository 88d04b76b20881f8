#include "app/review/screen_images.h"

#include "app/review/future_watch.h"
#include "core/detection/core_error.h"
#include "core/redaction/redaction_renderer.h"
#include "core/support/work_pools.h"

#include <QColor>
#include <QtConcurrent>

namespace velmora {

ScreenImages::ScreenImages(QObject *parent) : QObject(parent)
{
}

ScreenImages::~ScreenImages()
{
    m_load.cancel();
}

ScreenBitmap ScreenImages::bitmap(const QUuid &itemID, const ReviewImageSource &source, Loaded loaded)
{
    m_load.cancel();
    m_load = TaskHandle();
    if (const ScreenBitmap kept = m_kept.find(itemID); !kept.isNull())
        return kept;
    // Reading, checking and decoding a screenshot takes tens of milliseconds: never on
    // the main thread, where every step through a batch would stall.
    const auto decode = QtConcurrent::run(&WorkPools::decoding(), [source, task = m_load] {
        try {
            return ScreenBitmap::of(source.decode(task).image);
        } catch (const VelmoraCoreException &) {
            // The file changed or went away since it was imported, or the step went on.
            return ScreenBitmap();
        }
    });
    whenFinished(decode, this,
                 [this, itemID, task = m_load, loaded = std::move(loaded)](const QFuture<ScreenBitmap> &done) {
                     if (task.isCancelled())
                         return;
                     const ScreenBitmap bitmap = done.result();
                     if (!bitmap.isNull())
                         m_kept.insert(itemID, bitmap);
                     loaded(itemID, bitmap);
                 });
    return ScreenBitmap();
}

void ScreenImages::keep(const QUuid &itemID, const ScreenBitmap &bitmap)
{
    m_kept.insert(itemID, bitmap);
}

void ScreenImages::renderPreview(const ScreenBitmap &bitmap, const QList<Detection> &boxes, Rendered rendered)
{
    const auto render = QtConcurrent::run(&WorkPools::output(), [bitmap, boxes] {
        try {
            return RedactionRenderer::renderImage(boxes, bitmap.bitmap, QColor(Qt::black), bitmap.picture.format());
        } catch (const VelmoraCoreException &) {
            return QImage();
        }
    });
    whenFinished(render, this, [rendered = std::move(rendered)](const QFuture<QImage> &done) { rendered(done.result()); });
}

void ScreenImages::clear()
{
    m_load.cancel();
    m_kept.clear();
}

} // namespace velmora
