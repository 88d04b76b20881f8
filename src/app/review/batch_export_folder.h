#pragma once

#include "core/support/file_descriptor.h"

#include <QString>

#include <optional>

namespace velmora {

// The hidden folder a batch export is written into, under a name of its own that says
// it is incomplete; only a finished export is given its visible name. Held by its
// export: while the value lives no other export takes the folder for a leftover.
class BatchExportWorkFolder
{
public:
    /// Creates one inside `parentPath`, then removes the work folders there that older
    /// exports, killed on the way, left behind; nothing when it could not be created.
    static std::optional<BatchExportWorkFolder> create(const QString &parentPath);

    const QString &path() const { return m_path; }

private:
    BatchExportWorkFolder(QString path, FileDescriptor held);

    QString m_path;
    FileDescriptor m_held; ///< The folder, open and locked.
};

/// Gives the finished work folder the first free batch export name in its parent
/// ("Velmora Cleaned", "Velmora Cleaned 2", ...) in one step, so the folder appears
/// whole or not at all (on a file system that will not rename a folder over an empty
/// one, FAT through FUSE, its files move one by one into a new folder of that name).
/// Never replaces anything there, not even an empty folder that took the name
/// meanwhile. The new path, or nothing when the folder could not be moved.
std::optional<QString> publishBatchExportFolder(const QString &workFolder);

} // namespace velmora
