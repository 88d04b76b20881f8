#include "app/review/cleaned_output_files.h"

#include "app/kit/log_categories.h"
#include "core/detection/core_error.h"
#include "core/redaction/redaction_plan.h"
#include "core/redaction/redaction_renderer.h"
#include "core/support/pending_file.h"

#include <QFileInfo>

namespace velmora {

QByteArray cleanedImageData(const QImage &image, const RedactionPlan &plan, CleanedImageFormat format)
{
    const QColor black(Qt::black);
    switch (format) {
    case CleanedImageFormat::jpeg:
        return RedactionRenderer::renderJPEGData(plan.activeDetections(), image, black, cleanedJPEGQuality);
    case CleanedImageFormat::png:
        break;
    }
    return RedactionRenderer::pngData(plan.activeDetections(), image, black);
}

std::optional<QByteArray> cleanedPNGIfRendered(const QImage &image, const RedactionPlan &plan)
{
    try {
        return cleanedImageData(image, plan, CleanedImageFormat::png);
    } catch (const VelmoraCoreException &exception) {
        qCWarning(lcOutput) << "Cannot render the cleaned PNG:" << rawValue(exception.error());
        return std::nullopt;
    }
}

bool writeCleanedImageFile(const QImage &image, const RedactionPlan &plan, const QString &path,
                           const QString &protectedPath)
{
    QByteArray bytes;
    try {
        bytes = cleanedImageData(image, plan, cleanedImageFormat(path));
    } catch (const VelmoraCoreException &exception) {
        qCWarning(lcOutput) << "Cannot render the cleaned copy for" << path << ":" << rawValue(exception.error());
        return false;
    }
    const QFileInfo source(protectedPath);
    if (!protectedPath.isEmpty() && source.exists() && source.canonicalFilePath() == QFileInfo(path).canonicalFilePath()) {
        qCWarning(lcOutput) << "Will not replace the source image" << path;
        return false;
    }
    return writeWholeFile(path, bytes, ExistingEntry::replace);
}

} // namespace velmora
