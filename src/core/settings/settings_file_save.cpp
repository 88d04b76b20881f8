#include "core/settings/settings_file_save.h"

#include "core/support/file_descriptor.h"
#include "core/support/file_permissions.h"
#include "core/support/log_categories.h"
#include "core/support/own_leftovers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velmora {

namespace {

/// As many links in a row as the kernel follows before it gives up.
constexpr int maximumLinkHops = 40;
/// Tries at a fresh hidden name before giving up.
constexpr int hiddenNameAttempts = 100;
/// Roles of the hidden files beside the settings file, each with the length of its random
/// tag: a save's file on its way and its check copy, and the backup older versions kept
/// during a save.
struct HiddenRole
{
    const char *name;
    int tagLength = 16;
};
constexpr HiddenRole hiddenRoles[] = {{"saving"}, {"check"}, {"kept", 8}};

SettingsSaveFailure failureOf(int error)
{
    switch (error) {
    case ENOSPC:
    case EDQUOT:
    case EFBIG: return SettingsSaveFailure::diskFull;
    case EROFS:
    case EACCES:
    case EPERM: return SettingsSaveFailure::folderReadOnly;
    default: return SettingsSaveFailure::other;
    }
}

/// The file `path` names: links are followed to their end, so that a save replaces the
/// file and a link stays a link. A link to nowhere names the file a save makes.
QString linkedFile(const QString &path)
{
    QString file = QFileInfo(path).absoluteFilePath();
    for (int hop = 0; hop < maximumLinkHops; ++hop) {
        const QFileInfo entry(file);
        if (!entry.isSymLink())
            break;
        file = entry.symLinkTarget();
    }
    return file;
}

/// The names of the hidden files of `role` beside `file`: its own, and those QSettings
/// makes beside it while it writes it (a lock file, and, where the folder takes no unnamed
/// file, a temporary one ending in six letters or digits).
LeftoverNameForm hiddenForm(const QString &file, const HiddenRole &role)
{
    return {'.' + QFile::encodeName(QFileInfo(file).fileName()) + '.' + role.name + '-',
            {QByteArray(), QByteArrayLiteral(".lock"), QByteArrayLiteral(".??????")},
            role.tagLength};
}

// A hidden file beside the settings file, on its way to replacing it: removed when it
// goes, unless it took the settings file's name.
class HiddenSibling
{
public:
    explicit HiddenSibling(QString file) : m_file(std::move(file)) {}
    ~HiddenSibling()
    {
        if (!m_name.isEmpty())
            ::unlink(QFile::encodeName(m_name).constData());
    }
    HiddenSibling(const HiddenSibling &) = delete;
    HiddenSibling &operator=(const HiddenSibling &) = delete;

    QString name() const { return m_name; }

    /// Makes it empty: with the permissions of the file it will replace, if there is one,
    /// else with the usual ones.
    bool create(const char *role, std::optional<mode_t> replacedPermissions)
    {
        for (int attempt = 0; attempt < hiddenNameAttempts; ++attempt) {
            const QString name = freshName(role);
            const FileDescriptor made(::open(QFile::encodeName(name).constData(),
                                             O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
            if (made.isOpen()) {
                m_name = name;
                return !replacedPermissions || keepPermissionsWherePossible(made.fd(), *replacedPermissions);
            }
            if (errno != EEXIST)
                return false;
        }
        return false;
    }
    /// Gives it a fresh hidden name of `role`.
    bool rename(const char *role) { return moveTo(freshName(role)); }
    /// Writes what the disk holds of it through to the disk.
    bool sync() const
    {
        const FileDescriptor file(::open(QFile::encodeName(m_name).constData(), O_RDONLY | O_CLOEXEC));
        return file.isOpen() && ::fsync(file.fd()) == 0;
    }
    /// Replaces the settings file with it.
    bool replaceFile()
    {
        if (!moveTo(m_file))
            return false;
        m_name.clear();
        return true;
    }

private:
    QString freshName(const char *role) const
    {
        return QFileInfo(m_file).path() + QLatin1Char('/') + QFile::decodeName(hiddenForm(m_file, {role}).freshName());
    }
    bool moveTo(const QString &name)
    {
        if (::rename(QFile::encodeName(m_name).constData(), QFile::encodeName(name).constData()) != 0)
            return false;
        m_name = name;
        return true;
    }

    QString m_file;
    QString m_name;
};

/// Whether the file `name` reads back as exactly `values`.
bool readsBack(const SettingsValues &values, const QString &name, QSettings::Format format)
{
    const QSettings written(name, format);
    if (written.status() != QSettings::NoError || written.allKeys().size() != values.size())
        return false;
    for (auto value = values.cbegin(); value != values.cend(); ++value) {
        if (!isSameSettingValue(written.value(value.key()), *value))
            return false;
    }
    return true;
}

/// What the file holds now: empty when there is none, nothing when it cannot be read.
std::optional<QByteArray> currentContent(const QString &file)
{
    QFile current(file);
    if (!current.open(QIODevice::ReadOnly))
        return current.exists() ? std::nullopt : std::optional(QByteArray());
    QByteArray content = current.readAll();
    return current.error() == QFileDevice::NoError ? std::optional(std::move(content)) : std::nullopt;
}

/// Writes the snapshot's own changes over `content`, the settings file as it is now, into
/// the new hidden file `saving`; what that holds then, or nothing when a write failed.
/// Where the content tells nothing of the file (it could not be read, or QSettings cannot
/// read it) every value of the snapshot is written, as over no file.
std::optional<SettingsValues> writeOwnChanges(const SettingsSnapshot &snapshot, const QString &saving,
                                              const std::optional<QByteArray> &content)
{
    QFile copy(saving);
    if (content && !(copy.open(QIODevice::WriteOnly) && copy.write(*content) == content->size() && copy.flush()))
        return std::nullopt;
    copy.close();
    const bool isReadable = content && QSettings(saving, snapshot.format).status() == QSettings::NoError;
    if (!isReadable && !QFile::resize(saving, 0))
        return std::nullopt;
    const SettingsValues &base = isReadable ? snapshot.fileValues : SettingsValues();
    QSettings written(saving, snapshot.format);
    QStringList keys = snapshot.values.keys() + base.keys();
    keys.removeDuplicates();
    for (const QString &key : std::as_const(keys)) {
        const std::optional<QVariant> value = settingValue(snapshot.values, key);
        if (isSameSettingValue(value, settingValue(base, key)))
            continue;
        if (value)
            written.setValue(key, *value);
        else
            written.remove(key);
    }
    written.sync();
    if (written.status() != QSettings::NoError)
        return std::nullopt;
    return ownSettingsValues(written);
}

/// Where what the file holds differs from what the snapshot held.
QMap<QString, OutsideSettingChange> outsideChanges(const SettingsValues &held, const SettingsValues &found)
{
    QMap<QString, OutsideSettingChange> changes;
    QStringList keys = held.keys() + found.keys();
    keys.removeDuplicates();
    for (const QString &key : std::as_const(keys)) {
        OutsideSettingChange change{settingValue(held, key), settingValue(found, key)};
        if (!isSameSettingValue(change.held, change.found))
            changes.insert(key, std::move(change));
    }
    return changes;
}

/// A save that failed for `failure`.
SettingsSaveResult failedWith(SettingsSaveFailure failure)
{
    return {failure, {}, {}};
}

SettingsSaveResult saveThrough(const SettingsSnapshot &snapshot, const QString &file)
{
    const QByteArray fileName = QFile::encodeName(file);
    struct stat existing {};
    std::optional<mode_t> replacedPermissions;
    if (::stat(fileName.constData(), &existing) == 0) {
        if (!S_ISREG(existing.st_mode))
            return failedWith(SettingsSaveFailure::other);
        replacedPermissions = existing.st_mode & 07777;
    }
    QDir().mkpath(QFileInfo(file).path());
    const std::optional<QByteArray> content = currentContent(file);
    HiddenSibling saving(file);
    if (!saving.create("saving", replacedPermissions))
        return failedWith(failureOf(errno));
    // The folder took a new file: a write that fails now found no room for its bytes.
    const std::optional<SettingsValues> written = writeOwnChanges(snapshot, saving.name(), content);
    if (!written)
        return failedWith(SettingsSaveFailure::diskFull);
    // QSettings keeps one parsed copy per file name: only another name reads the disk.
    if (!saving.rename("check") || !saving.sync())
        return failedWith(failureOf(errno));
    if (!readsBack(*written, saving.name(), snapshot.format))
        return failedWith(SettingsSaveFailure::diskFull);
    if (!saving.replaceFile())
        return failedWith(failureOf(errno));
    return {std::nullopt, *written, outsideChanges(snapshot.values, *written)};
}

} // namespace

SettingsValues ownSettingsValues(QSettings &settings)
{
    const bool fallbacks = settings.fallbacksEnabled();
    settings.setFallbacksEnabled(false);
    SettingsValues values;
    for (const QString &key : settings.allKeys())
        values.insert(key, settings.value(key));
    settings.setFallbacksEnabled(fallbacks);
    return values;
}

std::optional<QVariant> settingValue(const SettingsValues &values, const QString &key)
{
    const auto value = values.constFind(key);
    return value == values.cend() ? std::nullopt : std::optional(*value);
}

bool isSameSettingValue(const std::optional<QVariant> &one, const std::optional<QVariant> &other)
{
    if (!one || !other)
        return one.has_value() == other.has_value();
    return one->metaType() == other->metaType() ? *one == *other : one->toString() == other->toString();
}

SettingsSaveResult saveSettingsFile(const SettingsSnapshot &snapshot)
{
    const QString file = linkedFile(snapshot.path);
    SettingsSaveResult result = saveThrough(snapshot, file);
    if (result.failure)
        qCWarning(lcFiles) << "Cannot save the settings to" << file << ":" << settingsSaveFailureText(result.failure);
    else if (!result.outsideChanges.isEmpty())
        qCInfo(lcFiles) << "Kept the settings changed in" << file << "since it was last read:"
                        << result.outsideChanges.keys();
    return result;
}

void removeSettingsLeftovers(const QString &path)
{
    // Older versions made theirs beside the settings path, a link included.
    QStringList files{QFileInfo(path).absoluteFilePath()};
    if (const QString file = linkedFile(path); file != files.front())
        files.append(file);
    for (const QString &file : files) {
        const QDir folder = QFileInfo(file).dir();
        for (const QString &name : folder.entryList(QDir::Files | QDir::System | QDir::Hidden)) {
            const QByteArray path = QFile::encodeName(folder.filePath(name));
            for (const HiddenRole &role : hiddenRoles) {
                if (hiddenForm(file, role).matches(QFile::encodeName(name))
                    && isOwnLeftover(AT_FDCWD, path.constData()))
                    ::unlink(path.constData());
            }
        }
    }
}

} // namespace velmora
