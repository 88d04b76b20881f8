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

/// Writes `bytes` as a new file at `path`. Never replaces anything that exists there
/// (the name is claimed exclusively first) and leaves nothing behind when any step
/// fails: the bytes reach the name only through an atomic rename once all are written.
bool writeNewFile(const QString &path, const QByteArray &bytes);

/// Replaces the regular file at `path` with `bytes`, atomically: the new bytes are
/// written beside it and renamed over it, so the file is always either the old or the
/// new one. Refuses, touching nothing, when `path` is a symbolic link, not a regular
/// file, or the same file as `protectedPath` (the source image).
bool replaceFile(const QString &path, const QByteArray &bytes, const QString &protectedPath);

/// Writes the cleaned copy of `image` at `path` in the format its name asks for: as a
/// new file, or in place of the regular file there (the save panel asked first) unless
/// that is `protectedPath`, the source image. False, with nothing changed, when rendering
/// or writing fails.
bool writeCleanedImageFile(const QImage &image, const RedactionPlan &plan, const QString &path,
                           const QString &protectedPath);

} // namespace velmora
