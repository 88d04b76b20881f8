#include "app/review/intake_import.h"

#include "app/review/future_watch.h"
#include "app/review/review_intake.h"
#include "core/analysis/image_importer.h"

#include <QtConcurrent>

#include <variant>

namespace velmora {

namespace {

using Imported = std::pair<ReviewImageSource, ImportedImage>;
/// The source and its decoded image, or why the image could not be read.
using Outcome = std::variant<Imported, VelmoraCoreError>;

Outcome importIntake(const ReviewIntakeImage &image)
{
    try {
        if (image.filePath)
            return ReviewImageSource::importFile(*image.filePath);
        return Imported{ReviewImageSource::fromBytes(image.encodedBytes), ImageImporter::importImage(image.encodedBytes)};
    } catch (const VelmoraCoreException &exception) {
        return exception.error();
    }
}

} // namespace

IntakeImport::IntakeImport(QObject *parent) : QObject(parent)
{
}

void IntakeImport::start(const ReviewIntakeImage &image, Ready onReady, Failed onFailed)
{
    const quint64 generation = ++m_generation;
    const QFuture<Outcome> future = QtConcurrent::run(importIntake, image);
    m_future = QFuture<void>(future);
    whenFinished(future, this,
                 [this, generation, onReady = std::move(onReady), onFailed = std::move(onFailed)](
                     const QFuture<Outcome> &finished) {
                     if (generation != m_generation)
                         return;
                     const Outcome outcome = finished.result();
                     if (const auto *imported = std::get_if<Imported>(&outcome))
                         onReady(imported->first, imported->second.image);
                     else
                         onFailed(std::get<VelmoraCoreError>(outcome));
                 });
}

void IntakeImport::cancel()
{
    ++m_generation;
}

} // namespace velmora
