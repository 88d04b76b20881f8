#include "app/review/cleaned_output_files.h"

#include "app/kit/log_categories.h"
#include "core/detection/core_error.h"
#include "core/redaction/redaction_plan.h"
#include "core/redaction/redaction_renderer.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

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

bool writeNewFile(const QString &path, const QByteArray &bytes)
{
    // Claiming the name with an exclusive create is what keeps an existing file safe:
    // the save file's rename would replace whatever it finds.
    QFile claim(path);
    if (!claim.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        qCWarning(lcOutput) << "Cannot create" << path << ":" << claim.errorString();
        return false;
    }
    claim.close();

    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return true;
    qCWarning(lcOutput) << "Cannot write" << path << ":" << file.errorString();
    file.cancelWriting();
    QFile::remove(path);
    return false;
}

bool replaceFile(const QString &path, const QByteArray &bytes, const QString &protectedPath)
{
    const QFileInfo target(path);
    if (target.isSymLink() || !target.isFile()) {
        qCWarning(lcOutput) << "Will not replace" << path << ": not a regular file";
        return false;
    }
    const QFileInfo source(protectedPath);
    if (!protectedPath.isEmpty() && source.exists() && source.canonicalFilePath() == target.canonicalFilePath()) {
        qCWarning(lcOutput) << "Will not replace the source image" << path;
        return false;
    }
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return true;
    qCWarning(lcOutput) << "Cannot replace" << path << ":" << file.errorString();
    file.cancelWriting();
    return false;
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
    const QFileInfo target(path);
    return target.exists() || target.isSymLink() ? replaceFile(path, bytes, protectedPath) : writeNewFile(path, bytes);
}

} // namespace velmora
