#include "app/review/cleaned_image_output.h"

#include "app/review/cleaned_output_files.h"
#include "app/review/future_watch.h"
#include "core/support/work_pools.h"

#include <QtConcurrent>

namespace velmora {

CleanedImageOutput::CleanedImageOutput(QObject *parent) : QObject(parent)
{
}

CleanedImageOutput::~CleanedImageOutput()
{
    m_work.waitForFinished();
}

void CleanedImageOutput::renderPNG(const QImage &image, const RedactionPlan &plan, Rendered done)
{
    const QFuture<std::optional<QByteArray>> work =
        QtConcurrent::run(&WorkPools::output(), cleanedPNGIfRendered, image, plan);
    m_work = QFuture<void>(work);
    whenFinished(work, this, [done = std::move(done)](const QFuture<std::optional<QByteArray>> &finished) {
        done(finished.result());
    });
}

void CleanedImageOutput::writeFile(const QImage &image, const RedactionPlan &plan, const QString &path,
                                   const QString &protectedPath, Written done)
{
    const QFuture<bool> work = QtConcurrent::run(&WorkPools::output(), [image, plan, path, protectedPath] {
        return writeCleanedImageFile(image, plan, path, protectedPath);
    });
    m_work = QFuture<void>(work);
    whenFinished(work, this, [done = std::move(done)](const QFuture<bool> &finished) { done(finished.result()); });
}

} // namespace velmora
