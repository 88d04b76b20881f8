#include "app/review/intake_import.h"

#include "app/protection/clipboard_image.h"
#include "app/review/future_watch.h"
#include "app/review/review_intake.h"
#include "core/analysis/import/image_importer.h"
#include "core/support/work_pools.h"

#include <QtConcurrent>

#include <variant>

namespace velmora {

namespace {

using Imported = IntakeImport::Imported;
using Outcome = IntakeImport::Outcome;

Outcome importBytes(const QByteArray &bytes)
{
    try {
        return Imported{ReviewImageSource::fromBytes(bytes), ScreenBitmap::of(ImageImporter::importImage(bytes).image)};
    } catch (const VelmoraCoreException &exception) {
        return exception.error();
    }
}

Outcome importIntake(const ReviewIntakeImage &image)
{
    if (!image.filePath)
        return importBytes(image.encodedBytes);
    try {
        auto [source, imported] = ReviewImageSource::importFile(*image.filePath);
        return Imported{std::move(source), ScreenBitmap::of(imported.image)};
    } catch (const VelmoraCoreException &exception) {
        return exception.error();
    }
}

Outcome importClipboardOffer(const ClipboardImageOffer &offer)
{
    const std::optional<QByteArray> bytes = clipboardImageBytes(offer);
    if (!bytes)
        return VelmoraCoreError::invalidImageData;
    return importBytes(*bytes);
}

} // namespace

IntakeImport::IntakeImport(QObject *parent) : QObject(parent)
{
}

void IntakeImport::start(const ReviewIntakeImage &image, Ready onReady, Failed onFailed)
{
    watch(QtConcurrent::run(&WorkPools::decoding(), importIntake, image), std::move(onReady), std::move(onFailed));
}

void IntakeImport::readClipboard(ClipboardAccess &clipboard,
                                 std::function<void(const ClipboardImageOffer &offer)> onOffer)
{
    const quint64 generation = ++m_generation;
    m_clipboardRead = generation;
    readClipboardImageOffer(clipboard, this,
                            [this, generation, onOffer = std::move(onOffer)](const ClipboardImageOffer &offer) {
                                if (generation != m_generation)
                                    return;
                                m_clipboardRead.reset();
                                onOffer(offer);
                            });
}

void IntakeImport::start(const ClipboardImageOffer &offer, Ready onReady, Failed onFailed)
{
    watch(QtConcurrent::run(&WorkPools::decoding(), importClipboardOffer, offer), std::move(onReady),
          std::move(onFailed));
}

void IntakeImport::watch(const QFuture<Outcome> &future, Ready onReady, Failed onFailed)
{
    const quint64 generation = ++m_generation;
    m_clipboardRead.reset();
    m_future = QFuture<void>(future);
    whenFinished(future, this,
                 [this, generation, onReady = std::move(onReady), onFailed = std::move(onFailed)](
                     const QFuture<Outcome> &finished) {
                     if (generation != m_generation)
                         return;
                     const Outcome outcome = finished.result();
                     if (const auto *imported = std::get_if<Imported>(&outcome))
                         onReady(imported->first, imported->second);
                     else
                         onFailed(std::get<VelmoraCoreError>(outcome));
                 });
}

void IntakeImport::cancel()
{
    ++m_generation;
    m_clipboardRead.reset();
}

} // namespace velmora
