#include "core/support/pending_file.h"

#include "core/support/file_permissions.h"
#include "core/support/log_categories.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/file.h>
#include <sys/stat.h>

namespace velmora {

namespace {

/// Tries at a fresh temporary name before giving up.
constexpr int temporaryNameAttempts = 100;

const QByteArray temporaryPrefix = QByteArrayLiteral(".velmora-");
const QByteArray temporarySuffix = QByteArrayLiteral(".part");

/// A hidden name of no image type: neither the folder watch nor a listing takes the
/// bytes on their way for a file.
QByteArray temporaryFileName()
{
    return temporaryPrefix + QByteArray::number(QRandomGenerator::global()->generate64(), 16) + temporarySuffix;
}

bool isTemporaryFileName(const QByteArray &name)
{
    if (!name.startsWith(temporaryPrefix) || !name.endsWith(temporarySuffix))
        return false;
    const QByteArray number = name.chopped(temporarySuffix.size()).sliced(temporaryPrefix.size());
    const auto isHexDigit = [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); };
    return !number.isEmpty() && number.size() <= 16 && std::all_of(number.begin(), number.end(), isHexDigit);
}

/// Whether `name` in `folder` is the file open as `file` itself, not a link to it nor
/// anything put in its place.
bool holdsFile(int folder, const char *name, int file)
{
    struct stat named {};
    struct stat opened {};
    return ::fstatat(folder, name, &named, AT_SYMLINK_NOFOLLOW) == 0 && ::fstat(file, &opened) == 0
           && named.st_dev == opened.st_dev && named.st_ino == opened.st_ino;
}

/// A new temporary file, locked so that no other writer takes it for a leftover while
/// it is written. The lock goes only with the last descriptor of the open file: `held`
/// keeps it once `file` is written and closed, until the file has its name.
struct TemporaryFile
{
    QByteArray name;
    FileDescriptor file;
    FileDescriptor held;
};

/// A new temporary file in `folder`; nothing when the folder cannot take one.
std::optional<TemporaryFile> createTemporaryFile(int folder)
{
    for (int attempt = 0; attempt < temporaryNameAttempts; ++attempt) {
        TemporaryFile created{temporaryFileName(), {}, {}};
        const char *name = created.name.constData();
        created.file =
            FileDescriptor(::openat(folder, name, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
        if (!created.file.isOpen() && errno != EEXIST)
            return std::nullopt;
        // Another writer may take a file for a leftover between its creation and its lock,
        // and remove it; one that locks none (a file system without locks) removes none.
        const int fd = created.file.fd();
        if (!created.file.isOpen() || (::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK)
            || !holdsFile(folder, name, fd))
            continue;
        created.held = FileDescriptor(::fcntl(fd, F_DUPFD_CLOEXEC, 0));
        if (created.held.isOpen())
            return created;
        ::unlinkat(folder, name, 0);
        return std::nullopt;
    }
    errno = EEXIST;
    return std::nullopt;
}

/// Removes the temporary files that writers killed on the way left in `folder`: this
/// user's, locked by no writer still running.
void removeAbandonedTemporaryFiles(int folder)
{
    const std::unique_ptr<DIR, int (*)(DIR *)> listing(::fdopendir(::dup(folder)), ::closedir);
    if (!listing)
        return;
    ::rewinddir(listing.get());
    while (const dirent *entry = ::readdir(listing.get())) {
        const QByteArray name(entry->d_name);
        if (!isTemporaryFileName(name))
            continue;
        const FileDescriptor file(::openat(folder, name.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
        struct stat left {};
        if (!file.isOpen() || ::fstat(file.fd(), &left) != 0 || !S_ISREG(left.st_mode) || left.st_uid != ::geteuid()
            || ::flock(file.fd(), LOCK_EX | LOCK_NB) != 0 || !holdsFile(folder, name.constData(), file.fd()))
            continue;
        if (::unlinkat(folder, name.constData(), 0) == 0)
            qCInfo(lcFiles) << "Removed the unfinished file" << QFile::decodeName(name);
    }
}

} // namespace

std::optional<PendingFile> PendingFile::create(const QString &path, ExistingEntry existing)
{
    const QFileInfo info(path);
    const QByteArray name = QFile::encodeName(info.fileName());
    FileDescriptor folder(::open(QFile::encodeName(info.path()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (name.isEmpty() || !folder.isOpen()) {
        qCWarning(lcFiles) << "Cannot write" << path << ": no folder to write into";
        return std::nullopt;
    }
    // New files get the usual permissions; a replaced one keeps its own.
    std::optional<mode_t> replacedPermissions;
    struct stat entry {};
    if (::fstatat(folder.fd(), name.constData(), &entry, AT_SYMLINK_NOFOLLOW) == 0) {
        if (existing == ExistingEntry::keep || !S_ISREG(entry.st_mode)) {
            qCWarning(lcFiles) << "Will not write" << path << ": the name is taken";
            return std::nullopt;
        }
        replacedPermissions = entry.st_mode & 07777;
    }
    if (std::optional<TemporaryFile> temporary = createTemporaryFile(folder.fd())) {
        removeAbandonedTemporaryFiles(folder.fd());
        PendingFile pending(path, std::move(folder), name, std::move(temporary->name), std::move(temporary->file),
                            std::move(temporary->held), existing);
        if (!replacedPermissions || keepPermissionsWherePossible(pending.m_file.fd(), *replacedPermissions))
            return pending;
    }
    qCWarning(lcFiles) << "Cannot write" << path << ":" << qt_error_string(errno);
    return std::nullopt;
}

PendingFile::PendingFile(QString path, FileDescriptor folder, QByteArray name, QByteArray temporaryName,
                         FileDescriptor file, FileDescriptor held, ExistingEntry existing)
    : m_path(std::move(path))
    , m_folder(std::move(folder))
    , m_name(std::move(name))
    , m_temporaryName(std::move(temporaryName))
    , m_file(std::move(file))
    , m_held(std::move(held))
    , m_existing(existing)
{
}

PendingFile::~PendingFile()
{
    // Whatever someone put under the temporary name meanwhile is not ours to remove.
    if (!m_temporaryName.isEmpty() && holdsFile(m_folder.fd(), m_temporaryName.constData(), m_held.fd()))
        ::unlinkat(m_folder.fd(), m_temporaryName.constData(), 0);
}

bool PendingFile::publish(const QByteArray &bytes)
{
    // A full disk may show only at the sync or the close, never to be left unread.
    if (m_temporaryName.isEmpty() || !writeAll(bytes) || ::fsync(m_file.fd()) != 0 || !m_file.close()
        || !moveToName()) {
        qCWarning(lcFiles) << "Cannot write" << m_path << ":" << qt_error_string(errno);
        return false;
    }
    m_temporaryName.clear();
    // Someone who can write to the folder may have put something else under the
    // temporary name before it moved, or under the name since: then what the name holds
    // is not what was written, and is not ours to remove.
    if (!holdsFile(m_folder.fd(), m_name.constData(), m_held.fd())) {
        qCWarning(lcFiles) << "Cannot write" << m_path << ": something else took the file's place";
        return false;
    }
    return true;
}

bool PendingFile::writeAll(const QByteArray &bytes)
{
    for (qsizetype written = 0; written < bytes.size();) {
        const ssize_t count = ::write(m_file.fd(), bytes.constData() + written, size_t(bytes.size() - written));
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            return false;
        written += count;
    }
    return true;
}

bool PendingFile::moveToName()
{
    const int folder = m_folder.fd();
    const char *from = m_temporaryName.constData();
    const char *to = m_name.constData();
    // Renaming replaces the entry itself, a link included, and never what a link names.
    if (m_existing == ExistingEntry::replace)
        return ::renameat(folder, from, folder, to) == 0;
    if (::renameat2(folder, from, folder, to, RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    // A file system that cannot refuse to replace in a rename, nor make a second link
    // (FAT and exFAT through FUSE): the name is claimed with an empty file of our own,
    // which fails on any name taken, and the rename replaces only that.
    const FileDescriptor claim(::openat(folder, to, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (!claim.isOpen())
        return false;
    if (::renameat(folder, from, folder, to) == 0)
        return true;
    const int error = errno;
    if (holdsFile(folder, to, claim.fd()))
        ::unlinkat(folder, to, 0);
    errno = error;
    return false;
}

bool writeWholeFile(const QString &path, const QByteArray &bytes, ExistingEntry existing)
{
    std::optional<PendingFile> file = PendingFile::create(path, existing);
    return file && file->publish(bytes);
}

} // namespace velmora
