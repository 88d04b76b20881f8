#include "app/review/batch_export_folder.h"

#include "app/kit/log_categories.h"
#include "app/review/output_naming.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velmora {

namespace {

/// Enough numbered names for any real folder; past that something else is wrong.
constexpr int batchFolderAttemptLimit = 10000;
/// Tries at a fresh random work folder name before giving up.
constexpr int workFolderAttemptLimit = 100;

enum class Move { moved, nameTaken, failed };

/// Moves the files of the folder `from` into `to`, a new empty folder made for them,
/// where a plain rename replaces nothing, then removes `from`. All or none: when one
/// fails, the files moved go, and so does `to`.
bool moveFilesInto(const QString &from, const QString &to)
{
    const QDir source(from);
    QDir target(to);
    const QDir::Filters files = QDir::Files | QDir::Hidden | QDir::System;
    for (const QString &name : source.entryList(files)) {
        if (::rename(QFile::encodeName(source.filePath(name)).constData(),
                     QFile::encodeName(target.filePath(name)).constData()) != 0) {
            const int error = errno;
            for (const QString &moved : target.entryList(files))
                target.remove(moved);
            QDir().rmdir(to);
            errno = error;
            return false;
        }
    }
    QDir().rmdir(from);
    return true;
}

/// Moves `from` to the free name `to` in the same folder, never replacing what is
/// there: in one step where the file system can refuse to replace in a rename or
/// rename a folder over an empty one.
Move moveToFreeName(const QString &from, const QString &to)
{
    const QByteArray source = QFile::encodeName(from);
    const QByteArray target = QFile::encodeName(to);
    if (::renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) == 0)
        return Move::moved;
    if (errno == EEXIST)
        return Move::nameTaken;
    if (errno != EINVAL && errno != ENOSYS)
        return Move::failed;
    // A file system that cannot refuse to replace: claim the name with a folder of our
    // own first (creating one fails on any name already taken); a rename replaces an
    // empty folder, and refuses one that someone filled meanwhile.
    if (::mkdir(target.constData(), 0777) != 0)
        return errno == EEXIST ? Move::nameTaken : Move::failed;
    if (::rename(source.constData(), target.constData()) == 0)
        return Move::moved;
    const int error = errno;
    // One that will not rename a folder over another (FAT through FUSE, whose driver
    // also loses what a folder holds when it renames it): the files move one by one
    // into the claimed folder, which is ours.
    if (error == EPERM)
        return moveFilesInto(from, to) ? Move::moved : Move::failed;
    // Filled meanwhile, the claimed folder is someone else's now.
    if (error == ENOTEMPTY || error == EEXIST)
        return Move::nameTaken;
    ::rmdir(target.constData());
    errno = error;
    return Move::failed;
}

QString workFolderPrefix()
{
    return QStringLiteral(".%1 (incomplete) ").arg(batchExportFolderBaseName);
}

/// The folder at `path`, open and locked for one export; not open when it cannot be
/// opened as a folder or another export holds it.
FileDescriptor holdFolder(const QString &path)
{
    FileDescriptor folder(::open(QFile::encodeName(path).constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (folder.isOpen() && ::flock(folder.fd(), LOCK_EX | LOCK_NB) != 0)
        return {};
    return folder;
}

bool modifiedBefore(const struct stat &a, const struct stat &b)
{
    if (a.st_mtim.tv_sec != b.st_mtim.tv_sec)
        return a.st_mtim.tv_sec < b.st_mtim.tv_sec;
    return a.st_mtim.tv_nsec < b.st_mtim.tv_nsec;
}

/// Removes the work folders in `parent` that exports killed on the way left behind:
/// those last changed before `current` was made and held by no export still running.
/// Only files go, and the folder once they are gone; a folder holding more stays.
void removeAbandonedWorkFolders(const QDir &parent, const FileDescriptor &current)
{
    struct stat started {};
    if (::fstat(current.fd(), &started) != 0)
        return;
    const QString prefix = workFolderPrefix();
    for (const QString &name : parent.entryList(QDir::Dirs | QDir::Hidden | QDir::NoSymLinks | QDir::NoDotAndDotDot)) {
        if (!name.startsWith(prefix))
            continue;
        const QString path = parent.filePath(name);
        const FileDescriptor folder = holdFolder(path);
        struct stat left {};
        if (!folder.isOpen() || ::fstat(folder.fd(), &left) != 0 || !modifiedBefore(left, started))
            continue;
        for (const QString &file : QDir(path).entryList(QDir::Files | QDir::Hidden | QDir::System))
            ::unlinkat(folder.fd(), QFile::encodeName(file).constData(), 0);
        if (parent.rmdir(name))
            qCInfo(lcOutput) << "Removed the unfinished batch export" << path;
    }
}

} // namespace

std::optional<BatchExportWorkFolder> BatchExportWorkFolder::create(const QString &parentPath)
{
    if (!QFileInfo(parentPath).isDir()) {
        qCWarning(lcOutput) << "Batch export folder" << parentPath << "is not a folder";
        return std::nullopt;
    }
    const QDir parent(parentPath);
    for (int attempt = 0; attempt < workFolderAttemptLimit; ++attempt) {
        const QString name = workFolderPrefix() + QStringLiteral("%1").arg(QRandomGenerator::global()->generate(), 8, 16,
                                                                           QLatin1Char('0'));
        if (parent.mkdir(name)) {
            FileDescriptor held = holdFolder(parent.filePath(name));
            if (!held.isOpen()) {
                parent.rmdir(name);
                break;
            }
            removeAbandonedWorkFolders(parent, held);
            return BatchExportWorkFolder(parent.filePath(name), std::move(held));
        }
        if (!QFileInfo(parent.filePath(name)).isSymLink() && !QFileInfo::exists(parent.filePath(name)))
            break;
    }
    qCWarning(lcOutput) << "Cannot create a batch export folder in" << parentPath;
    return std::nullopt;
}

BatchExportWorkFolder::BatchExportWorkFolder(QString path, FileDescriptor held)
    : m_path(std::move(path)), m_held(std::move(held))
{
}

std::optional<QString> publishBatchExportFolder(const QString &workFolder)
{
    const QDir parent = QFileInfo(workFolder).dir();
    for (int attempt = 1; attempt <= batchFolderAttemptLimit; ++attempt) {
        const QString path = parent.filePath(batchExportFolderName(attempt));
        switch (moveToFreeName(workFolder, path)) {
        case Move::moved:
            return path;
        case Move::nameTaken:
            continue;
        case Move::failed:
            qCWarning(lcOutput) << "Cannot name the batch export folder" << path << ":" << qt_error_string(errno);
            return std::nullopt;
        }
    }
    return std::nullopt;
}

} // namespace velmora
