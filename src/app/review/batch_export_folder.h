#pragma once

#include <QString>

#include <optional>

namespace velmora {

/// Creates the hidden folder a batch export is written into, inside `parentPath`, under
/// a name of its own that says it is incomplete; its path, or nothing when it could not
/// be created. Only a finished export is given its visible name.
std::optional<QString> createBatchExportWorkFolder(const QString &parentPath);

/// Gives the finished work folder the first free batch export name in its parent
/// ("Velmora Cleaned", "Velmora Cleaned 2", ...) in one step, so the folder appears
/// whole or not at all. Never replaces anything there, not even an empty folder that
/// took the name meanwhile. The new path, or nothing when the folder could not be moved.
std::optional<QString> publishBatchExportFolder(const QString &workFolder);

} // namespace velmora
