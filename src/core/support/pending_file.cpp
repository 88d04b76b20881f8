#include "core/support/pending_file.h"

#include "core/support/log_categories.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>

namespace velmora {

namespace {

/// Tries at a fresh temporary name before giving up.
constexpr int temporaryNameAttempts = 100;

/// A hidden name of no image type: neither the folder watch nor a listing takes the
/// bytes on their way for a file.
QByteArray temporaryFileName()
{
    return QByteArrayLiteral(".velmora-") + QByteArray::number(QRandomGenerator::global()->generate64(), 16)
           + QByteArrayLiteral(".part");
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
    for (int attempt = 0; attempt < temporaryNameAttempts; ++attempt) {
        QByteArray temporaryName = temporaryFileName();
        FileDescriptor file(::openat(folder.fd(), temporaryName.constData(),
                                     O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
        if (file.isOpen()) {
            PendingFile pending(path, std::move(folder), name, std::move(temporaryName), std::move(file), existing);
            if (!replacedPermissions || ::fchmod(pending.m_file.fd(), *replacedPermissions) == 0)
                return pending;
            break;
        }
        if (errno != EEXIST)
            break;
    }
    qCWarning(lcFiles) << "Cannot write" << path << ":" << qt_error_string(errno);
    return std::nullopt;
}

PendingFile::PendingFile(QString path, FileDescriptor folder, QByteArray name, QByteArray temporaryName,
                         FileDescriptor file, ExistingEntry existing)
    : m_path(std::move(path))
    , m_folder(std::move(folder))
    , m_name(std::move(name))
    , m_temporaryName(std::move(temporaryName))
    , m_file(std::move(file))
    , m_existing(existing)
{
}

PendingFile::~PendingFile()
{
    if (!m_temporaryName.isEmpty())
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
    // A file system that cannot refuse to replace in a rename: a new link is never made
    // over anything, and the temporary name then goes.
    if (::linkat(folder, from, folder, to, 0) != 0)
        return false;
    ::unlinkat(folder, from, 0);
    return true;
}

bool writeWholeFile(const QString &path, const QByteArray &bytes, ExistingEntry existing)
{
    std::optional<PendingFile> file = PendingFile::create(path, existing);
    return file && file->publish(bytes);
}

} // namespace velmora
