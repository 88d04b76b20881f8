#include "core/support/pending_file.h"

#include "core/support/file_permissions.h"
#include "core/support/log_categories.h"
#include "core/support/own_leftovers.h"
#include "core/support/write_steps.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>

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

/// A hidden name of no image type: neither the folder watch nor a listing takes the
/// bytes on their way for a file. The second ending is a temporary file's once it has
/// claimed its name (see PendingFile::moveToName): it holds the claimed name's tag.
const LeftoverNameForm temporaryForm{".velmora-", {".part", ".claim-################.part"}};
const QByteArray claimMark = QByteArrayLiteral(".claim-");
const QByteArray temporaryEnding = QByteArrayLiteral(".part");

/// A name's tag in a claiming temporary file's name: the start of its SHA-256.
QByteArray claimTag(const QByteArray &name)
{
    return QCryptographicHash::hash(name, QCryptographicHash::Sha256).first(8).toHex();
}

/// The temporary file's name once it has claimed `name`.
QByteArray claimingName(const QByteArray &temporaryName, const QByteArray &name)
{
    return temporaryName.chopped(temporaryEnding.size()) + claimMark + claimTag(name) + temporaryEnding;
}

/// The tag of the name a temporary file claimed; nothing for one that claimed none.
std::optional<QByteArray> claimedTag(const QByteArray &temporaryName)
{
    const qsizetype mark = temporaryName.lastIndexOf(claimMark);
    if (mark < 0)
        return std::nullopt;
    return temporaryName.sliced(mark + claimMark.size()).chopped(temporaryEnding.size());
}

/// Whether `error`, from the step that gives a written file its name, says that the file
/// system cannot hold that name (its characters or its length): what Linux's own drivers
/// say, and what FAT (EPERM) and exFAT (ENOENT) through FUSE say.
bool refusesName(int error)
{
    return error == EINVAL || error == ENAMETOOLONG || error == EILSEQ || error == EPERM || error == ENOENT;
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
        TemporaryFile created{temporaryForm.freshName(), {}, {}};
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

/// The names in `folder`.
QList<QByteArray> entryNames(int folder)
{
    QList<QByteArray> names;
    const std::unique_ptr<DIR, int (*)(DIR *)> listing(::fdopendir(::dup(folder)), ::closedir);
    if (!listing)
        return names;
    ::rewinddir(listing.get());
    while (const dirent *entry = ::readdir(listing.get()))
        names.append(QByteArray(entry->d_name));
    return names;
}

/// Removes the empty file with which a write killed on the way claimed the name of `tag`,
/// if it is still there and still empty.
void removeAbandonedClaim(int folder, const QList<QByteArray> &names, const QByteArray &tag)
{
    for (const QByteArray &name : names) {
        struct stat claim {};
        if (claimTag(name) != tag || ::fstatat(folder, name.constData(), &claim, AT_SYMLINK_NOFOLLOW) != 0
            || !isOwnLeftover(claim) || claim.st_size != 0)
            continue;
        if (::unlinkat(folder, name.constData(), 0) == 0)
            qCInfo(lcFiles) << "Removed the empty claim of an unfinished file" << QFile::decodeName(name);
    }
}

/// Removes the temporary files that writers killed on the way left in `folder`: this
/// user's own leftovers, locked by no writer still running, and the empty claims of names
/// they left.
void removeAbandonedTemporaryFiles(int folder)
{
    const QList<QByteArray> names = entryNames(folder);
    for (const QByteArray &name : names) {
        // Looked at before it is opened, so that no device or pipe is ever opened.
        if (!temporaryForm.matches(name) || !isOwnLeftover(folder, name.constData()))
            continue;
        const FileDescriptor file(::openat(folder, name.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
        struct stat left {};
        if (!file.isOpen() || ::fstat(file.fd(), &left) != 0 || !isOwnLeftover(left)
            || ::flock(file.fd(), LOCK_EX | LOCK_NB) != 0 || !holdsFile(folder, name.constData(), file.fd()))
            continue;
        // The claim first: a kill in between leaves the temporary file, which says which claim to remove.
        if (const std::optional<QByteArray> tag = claimedTag(name))
            removeAbandonedClaim(folder, names, *tag);
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
    const bool written = !m_temporaryName.isEmpty() && writeAll(bytes) && ::fsync(m_file.fd()) == 0 && m_file.close();
    if (!written || !moveToName()) {
        const int error = errno;
        m_nameRefused = written && refusesName(error);
        qCWarning(lcFiles) << "Cannot write" << m_path << ":" << qt_error_string(error);
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
    // which fails on any name taken, and the rename replaces only that. The temporary
    // file's name says first which name it claims, so that the next write into the folder,
    // should this one be killed before the rename, removes the empty claim with it.
    const QByteArray claiming = claimingName(m_temporaryName, m_name);
    if (::renameat(folder, from, folder, claiming.constData()) != 0)
        return false;
    m_temporaryName = claiming;
    const FileDescriptor claim(::openat(folder, to, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (!claim.isOpen())
        return false;
    reachWriteStep(WriteStep::nameClaimed);
    if (::renameat(folder, claiming.constData(), folder, to) == 0)
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
