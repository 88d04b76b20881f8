#pragma once

#include "support/process_waits.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace velmora::test {

/// Where a test writes: the machine's own disk, or a stick's file system mounted through
/// FUSE, as a desktop without a kernel driver for it mounts one: no hard links, and no
/// rename that refuses to replace (RENAME_NOREPLACE).
enum class TestFileSystem { local, fatThroughFuse, exfatThroughFuse };

// An empty folder on that file system: for FAT and exFAT, an image in a temporary
// folder, formatted and mounted (exFAT from a loop device) for the folder's lifetime.
// That needs the tools scripts/install-deps installs and the right to mount; where the
// machine lacks any of them, path() is empty.
class TestFileSystemFolder
{
public:
    explicit TestFileSystemFolder(TestFileSystem fileSystem)
    {
        const QString image = m_scratch.filePath(QStringLiteral("stick.img"));
        const QString mounted = m_scratch.filePath(QStringLiteral("mounted"));
        QFile imageFile(image);
        if (fileSystem == TestFileSystem::local)
            m_path = m_scratch.path();
        else if (imageFile.open(QIODevice::WriteOnly) && imageFile.resize(32 << 20) && QDir().mkdir(mounted)
                 && (fileSystem == TestFileSystem::fatThroughFuse
                         ? run({"mkfs.vfat", image}) && run({"fusefat", "-o", "rw+", image, mounted})
                         : run({"mkfs.exfat", image}) && run({"mount", "-t", "exfat-fuse", "-o", "loop", image, mounted})))
            m_path = mounted;
    }
    ~TestFileSystemFolder()
    {
        if (!m_path.isEmpty() && m_path != m_scratch.path())
            run({"umount", m_path});
    }
    TestFileSystemFolder(const TestFileSystemFolder &) = delete;
    TestFileSystemFolder &operator=(const TestFileSystemFolder &) = delete;

    const QString &path() const { return m_path; }

private:
    /// Runs the tool `command` begins with, found also where only root's path looks, quietly.
    static bool run(QStringList command)
    {
        QProcess process;
        process.setProgram(QStandardPaths::findExecutable(command.takeFirst(), {"/usr/sbin", "/usr/bin", "/sbin"}));
        process.setArguments(command);
        process.setStandardOutputFile(QProcess::nullDevice());
        process.setStandardErrorFile(QProcess::nullDevice());
        process.start();
        return waitUntilEnded(process) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    }

    QTemporaryDir m_scratch;
    QString m_path;
};

} // namespace velmora::test
