#pragma once

#include "core/support/file_descriptor.h"

#include <QString>

#include <optional>

namespace velmora {

/// In a batch export folder whose images are moving in one by one (FAT through FUSE): a
/// file whose name says that it is not complete, until the last image is in.
inline const QString unfinishedBatchExportMark =
    QStringLiteral("Unfinished - export again to the same folder to finish it.txt");

// The hidden folder a batch export is written into, under a name of its own that says
// it is incomplete; only a finished export is given its visible name. Held by its
// export: while the value lives no other export takes the folder for a leftover.
class BatchExportWorkFolder
{
public:
    /// Creates one inside `parentPath`, then settles the work folders there that older
    /// exports, killed on the way, left behind: one that was being published is finished,
    /// another removed. Nothing when it could not be created.
    static std::optional<BatchExportWorkFolder> create(const QString &parentPath);

    const QString &path() const { return m_path; }

private:
    BatchExportWorkFolder(QString path, FileDescriptor held);

    QString m_path;
    FileDescriptor m_held; ///< The folder, open and locked.
};

/// Gives the finished work folder the first free batch export name in its parent
/// ("Velmora Cleaned", "Velmora Cleaned 2", ...) in one step, so the folder appears
/// whole or not at all. Never replaces anything there, not even an empty folder that took
/// the name meanwhile. Where a rename cannot refuse to replace (FAT and exFAT through
/// FUSE), the work folder is first noted as being published, and the name claimed with an
/// empty folder; on FAT, which will not rename a folder over another, its files then move
/// one by one into the claim, which meanwhile holds a file whose name says it is
/// unfinished. An export killed (or a stick pulled out) on the way is finished by the next
/// export into the same parent, never removed. The new path, or nothing when the folder
/// could not be moved.
std::optional<QString> publishBatchExportFolder(const QString &workFolder);

/// Whether the work folder is noted as being published and stopped part-way: it is left
/// for the next export into its parent to finish.
bool isBeingPublished(const QString &workFolder);

} // namespace velmora
