#include "test_file_system.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include <optional>

namespace velmora::test {

namespace {

/// Room for a few small files and folders.
constexpr qint64 imageBytes = 32LL * 1024 * 1024;
constexpr int commandMilliseconds = 30'000;

/// Runs a tool from PATH or the system folders; its output, or nothing when it is not
/// there or fails.
std::optional<QByteArray> run(const QString &tool, const QStringList &arguments)
{
    QString program = QStandardPaths::findExecutable(tool);
    if (program.isEmpty())
        program = QStandardPaths::findExecutable(tool, {QStringLiteral("/usr/sbin"), QStringLiteral("/sbin")});
    if (program.isEmpty())
        return std::nullopt;
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(commandMilliseconds) || process.exitStatus() != QProcess::NormalExit
        || process.exitCode() != 0)
        return std::nullopt;
    return process.readAllStandardOutput();
}

} // namespace

TestFileSystemFolder::TestFileSystemFolder(TestFileSystem fileSystem)
{
    if (!m_scratch.isValid())
        m_missing = QStringLiteral("no temporary folder");
    else if (fileSystem != TestFileSystem::local && !mount(fileSystem) && m_missing.isEmpty())
        m_missing = QStringLiteral("could not mount it here (fusefat, exfat-fuse, the right to mount)");
}

TestFileSystemFolder::~TestFileSystemFolder()
{
    if (m_mounted && !run(QStringLiteral("fusermount"), {QStringLiteral("-u"), path()}))
        run(QStringLiteral("fusermount"), {QStringLiteral("-u"), QStringLiteral("-z"), path()});
    if (!m_loopDevice.isEmpty())
        run(QStringLiteral("losetup"), {QStringLiteral("-d"), m_loopDevice});
}

QString TestFileSystemFolder::path() const
{
    return m_mounted ? m_scratch.filePath(QStringLiteral("mounted")) : m_scratch.path();
}

bool TestFileSystemFolder::mount(TestFileSystem fileSystem)
{
    const bool fat = fileSystem == TestFileSystem::fatThroughFuse;
    const QString image = m_scratch.filePath(QStringLiteral("stick.img"));
    const QString mountPoint = m_scratch.filePath(QStringLiteral("mounted"));
    QFile imageFile(image);
    if (!QFileInfo::exists(QStringLiteral("/dev/fuse")) || !imageFile.open(QIODevice::WriteOnly)
        || !imageFile.resize(imageBytes) || !QDir().mkdir(mountPoint)) {
        m_missing = QStringLiteral("no FUSE device, or no room for the image");
        return false;
    }
    imageFile.close();
    if (!run(fat ? QStringLiteral("mkfs.vfat") : QStringLiteral("mkfs.exfat"), {image})) {
        m_missing = QStringLiteral("no formatting tool (dosfstools, exfatprogs)");
        return false;
    }
    if (fat) {
        const QStringList arguments{QStringLiteral("-o"), QStringLiteral("rw+"), image, mountPoint};
        m_mounted = run(QStringLiteral("fusefat"), arguments).has_value();
        return m_mounted;
    }
    // exfat-fuse reads only block devices.
    const std::optional<QByteArray> device =
        run(QStringLiteral("losetup"), {QStringLiteral("-f"), QStringLiteral("--show"), image});
    if (!device) {
        m_missing = QStringLiteral("no loop device");
        return false;
    }
    m_loopDevice = QString::fromLocal8Bit(device->trimmed());
    m_mounted = run(QStringLiteral("mount.exfat-fuse"), {m_loopDevice, mountPoint}).has_value();
    return m_mounted;
}

} // namespace velmora::test
