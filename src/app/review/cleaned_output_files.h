#pragma once

#include "app/review/output_naming.h"

#include <QByteArray>
#include <QImage>
#include <QString>

#include <optional>

namespace velmora {

class RedactionPlan;

/// The flattened cleaned copy of `image`: the plan's active boxes filled in opaque
/// black, encoded without metadata (JPEG at the cleaned quality). Throws
/// VelmoraCoreException when rendering or encoding fails.
QByteArray cleanedImageData(const QImage &image, const RedactionPlan &plan, CleanedImageFormat format);

/// The flattened cleaned PNG of `image`, or nothing when it cannot be made.
std::optional<QByteArray> cleanedPNGIfRendered(const QImage &image, const RedactionPlan &plan);

/// Writes the cleaned copy of `image` at `path` in the format its name asks for: as a
/// new file, or in place of the regular file there (the save panel asked first) unless
/// that is `protectedPath`, the source image. False, with nothing changed, when rendering
/// or writing fails.
bool writeCleanedImageFile(const QImage &image, const RedactionPlan &plan, const QString &path,
                           const QString &protectedPath);

} // namespace velmora
