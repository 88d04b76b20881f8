#pragma once

#include <QString>
#include <QTemporaryDir>

namespace velmora::test {

/// Where a test writes: a folder on the machine's own disk, or on a stick's file system.
enum class TestFileSystem {
    local,
    fatThroughFuse,   ///< FAT, mounted through fusefat.
    exfatThroughFuse, ///< exFAT, mounted through exfat-fuse from a loop device.
};

// An empty folder on the file system a test asks for. FAT and exFAT come as a desktop
// mounts a stick without a kernel driver for it, through FUSE: no hard links, no
// symbolic links, and no rename that refuses to replace (RENAME_NOREPLACE). They are
// made in an image file and mounted for the folder's lifetime; that needs the formatting
// tools, the FUSE drivers and the right to mount (and, for exFAT, a loop device). Where
// the machine lacks any of them there is no folder, and `missing` says why.
class TestFileSystemFolder
{
public:
    explicit TestFileSystemFolder(TestFileSystem fileSystem);
    ~TestFileSystemFolder();
    TestFileSystemFolder(const TestFileSystemFolder &) = delete;
    TestFileSystemFolder &operator=(const TestFileSystemFolder &) = delete;

    /// Empty while the folder is there.
    const QString &missing() const { return m_missing; }
    QString path() const;
    QString filePath(const QString &name) const { return path() + u'/' + name; }

private:
    bool mount(TestFileSystem fileSystem);

    QTemporaryDir m_scratch;
    bool m_mounted = false;
    QString m_loopDevice;
    QString m_missing;
};

} // namespace velmora::test
