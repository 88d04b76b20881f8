#pragma once

#include "core/settings/settings_save_failure.h"

#include <QMap>
#include <QSettings>
#include <QString>
#include <QVariant>

#include <optional>

namespace velmora {

using SettingsValues = QMap<QString, QVariant>;

/// Everything one save writes: this process's values, taken at one moment, and the file's
/// values they grew from.
struct SettingsSnapshot
{
    QString path; ///< The settings path; a symbolic link there is saved through to its file.
    QSettings::Format format = QSettings::IniFormat;
    SettingsValues values;
    /// What the file held when this process last read or saved it: `values` differ from it
    /// only by this process's own changes.
    SettingsValues fileValues;
};

/// A setting someone else changed in the settings file (an editor, a dotfiles checkout):
/// what the snapshot held under its key, and what the file holds now; nothing for absent.
struct OutsideSettingChange
{
    std::optional<QVariant> held;
    std::optional<QVariant> found;
};

/// What one save did: why it failed, or what the file holds now that it landed.
struct SettingsSaveResult
{
    std::optional<SettingsSaveFailure> failure;
    SettingsValues fileValues; ///< Once landed: the snapshot's own changes over the file as it was.
    QMap<QString, OutsideSettingChange> outsideChanges; ///< Once landed: by key.
};

/// What `settings` hold for their own file, without what system-wide files add.
SettingsValues ownSettingsValues(QSettings &settings);
/// The value under `key`; nothing where there is none.
std::optional<QVariant> settingValue(const SettingsValues &values, const QString &key);
/// Whether two values stand for the same setting: a flag held as such and read back from
/// the file as text are the same.
bool isSameSettingValue(const std::optional<QVariant> &one, const std::optional<QVariant> &other);

/// Writes this process's own changes in `snapshot` over the settings file as it is now,
/// whole, or leaves the file as it was; QSettings' own sync merges so too: changes made to
/// the file since this process last read or saved it (an editor, a dotfiles checkout) stay
/// under every key this process did not change, and the result says which they were.
/// QSettings writes the values (so the file keeps its format) to a hidden file beside the
/// file the path names, which starts as a copy of it; that file is synced and read back
/// under another name, and only then takes the settings file's name. QSettings alone
/// cannot promise that: Qt 6.4 writes through a buffered save file whose commit ignores a
/// failed flush, so a full disk leaves the file cut short while status() says NoError. A
/// settings path that is a symbolic link (dotfiles kept elsewhere) stays one: the file
/// it names is replaced. Waits for the disk: for the settings' writer thread.
SettingsSaveResult saveSettingsFile(const SettingsSnapshot &snapshot);

/// Removes the hidden files that saves killed part-way left beside the settings file at
/// `path` (each a whole or partial older copy), those of older versions included: names
/// of the exact forms saves give them, held by the user's own files (see own_leftovers.h).
/// Only while no save of the file is under way.
void removeSettingsLeftovers(const QString &path);

} // namespace velmora
