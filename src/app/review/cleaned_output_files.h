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

/// Writes `bytes` as a new file at `path`. Never replaces anything that exists there
/// (the name is claimed exclusively first) and leaves nothing behind when any step
/// fails: the bytes reach the name only through an atomic rename once all are written.
bool writeNewFile(const QString &path, const QByteArray &bytes);

/// Creates the first free batch export folder ("Velmora Cleaned", "Velmora Cleaned 2",
/// ...) inside `parentPath`; its path, or nothing when no folder could be created.
std::optional<QString> createBatchExportFolder(const QString &parentPath);

} // namespace velmora
