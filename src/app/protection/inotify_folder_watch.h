#pragma once

#include <QString>

#include <memory>

namespace velmora {

/// What one batch of change notices on a watched folder said.
struct FolderEvents
{
    bool write = false;          ///< An entry appeared, went, was written or changed its attributes.
    bool deleteOrRename = false; ///< The folder itself was deleted, moved or renamed, or its volume went.

    friend bool operator==(const FolderEvents &, const FolderEvents &) = default;
};

// The kernel's change notices for one folder: a non-blocking inotify descriptor with
// one watch on the folder. The descriptor is closed when this goes away, and only then.
class InotifyFolderWatch
{
public:
    /// Watches the folder, or nothing when it is missing, not a folder or not readable.
    static std::unique_ptr<InotifyFolderWatch> open(const QString &folderPath);
    ~InotifyFolderWatch();
    InotifyFolderWatch(const InotifyFolderWatch &) = delete;
    InotifyFolderWatch &operator=(const InotifyFolderWatch &) = delete;

    /// The descriptor to wait on for readability.
    int descriptor() const { return m_descriptor; }
    /// Reads every notice queued so far; nothing queued gives no events.
    FolderEvents readEvents();

private:
    explicit InotifyFolderWatch(int descriptor) : m_descriptor(descriptor) {}

    int m_descriptor = -1;
};

} // namespace velmora
