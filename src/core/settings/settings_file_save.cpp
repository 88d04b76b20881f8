#include "core/settings/settings_file_save.h"

#include "core/support/log_categories.h"

#include <QFile>
#include <QMap>
#include <QRandomGenerator>
#include <QScopeGuard>
#include <QSettings>

#include <cerrno>
#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

namespace velmora {

namespace {

using SettingsValues = QMap<QString, QVariant>;

/// A hidden name beside the file at `path`, for a second link to it.
QByteArray siblingName(const QByteArray &path, const char *role)
{
    const qsizetype slash = path.lastIndexOf('/');
    return path.left(slash + 1) + '.' + path.mid(slash + 1) + '.' + role + '-'
           + QByteArray::number(QRandomGenerator::global()->generate(), 16);
}

/// What `settings` hold for their own file, without the system-wide ones.
SettingsValues ownValues(QSettings &settings)
{
    const bool fallbacks = settings.fallbacksEnabled();
    settings.setFallbacksEnabled(false);
    SettingsValues values;
    for (const QString &key : settings.allKeys())
        values.insert(key, settings.value(key));
    settings.setFallbacksEnabled(fallbacks);
    return values;
}

/// Whether the file at `path` reads back as exactly `values`. A file system that has no
/// second names for a file cannot tell: there a regular file is taken as written.
bool readsBack(const SettingsValues &values, const QByteArray &path, QSettings::Format format)
{
    struct stat entry {};
    if (::lstat(path.constData(), &entry) != 0)
        return errno == ENOENT && values.isEmpty();
    if (!S_ISREG(entry.st_mode))
        return false;
    // QSettings keeps one parsed copy per file name: only another name reads the disk.
    const QByteArray readName = siblingName(path, "check");
    if (::link(path.constData(), readName.constData()) != 0)
        return errno != ENOSPC && errno != EDQUOT;
    const auto removeReadName = qScopeGuard([&] { ::unlink(readName.constData()); });
    const QSettings written(QFile::decodeName(readName), format);
    if (written.status() != QSettings::NoError || written.allKeys().size() != values.size())
        return false;
    for (auto value = values.cbegin(); value != values.cend(); ++value) {
        // Flags held as such read back as text: compared as the text both stand for.
        if (written.value(value.key()).toString() != value->toString())
            return false;
    }
    return true;
}

/// Makes `settings`, which take `values` for saved, read the file that was put back and
/// hold `values` over it as changes not yet saved.
void holdAsUnsaved(QSettings &settings, const SettingsValues &values)
{
    settings.sync();
    for (const QString &key : ownValues(settings).keys()) {
        if (!values.contains(key))
            settings.remove(key);
    }
    for (auto value = values.cbegin(); value != values.cend(); ++value)
        settings.setValue(value.key(), *value);
}

} // namespace

bool saveSettingsFile(QSettings &settings, UnsavedChanges unsaved)
{
    const QByteArray path = QFile::encodeName(settings.fileName());
    struct stat before {};
    const bool existed = ::lstat(path.constData(), &before) == 0;
    const QByteArray kept = siblingName(path, "kept");
    const bool keptOld = existed && ::link(path.constData(), kept.constData()) == 0;
    const auto removeKept = qScopeGuard([&] {
        if (keptOld)
            ::unlink(kept.constData());
    });

    // status() cannot tell: once an error is met it says so after every later save.
    settings.sync();
    const SettingsValues values = ownValues(settings);
    if (readsBack(values, path, settings.format()))
        return true;
    qCWarning(lcFiles) << "Cannot save the settings to" << settings.fileName();
    // A save QSettings saw fail left the file alone and its changes pending; one it did
    // not see put a new file in place and took the changes for saved.
    struct stat after {};
    if (::lstat(path.constData(), &after) != 0 || (existed && after.st_ino == before.st_ino && after.st_dev == before.st_dev))
        return false;
    if (keptOld)
        ::rename(kept.constData(), path.constData());
    else if (!existed)
        ::unlink(path.constData());
    if (unsaved == UnsavedChanges::keep)
        holdAsUnsaved(settings, values);
    return false;
}

} // namespace velmora
