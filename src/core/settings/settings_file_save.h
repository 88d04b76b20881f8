#pragma once

#include "core/settings/settings_save_failure.h"

#include <QMap>
#include <QSettings>
#include <QString>
#include <QVariant>

#include <optional>

namespace velmora {

using SettingsValues = QMap<QString, QVariant>;

/// Everything one save writes: the settings file's values, taken at one moment.
struct SettingsSnapshot
{
    QString path; ///< The settings path; a symbolic link there is saved through to its file.
    QSettings::Format format = QSettings::IniFormat;
    SettingsValues values;
};

/// What `settings` hold for their own file, without what system-wide files add.
SettingsValues ownSettingsValues(QSettings &settings);

/// Writes `snapshot` as the settings file, whole, or leaves the file as it was; nothing
/// when it landed, else why not. QSettings writes the values (so the file keeps its
/// format) to a hidden file beside the file the path names; that file is synced and read
/// back under another name, and only then takes the settings file's name. QSettings alone
/// cannot promise that: Qt 6.4 writes through a buffered save file whose commit ignores a
/// failed flush, so a full disk leaves the file cut short while status() says NoError. A
/// settings path that is a symbolic link (dotfiles kept elsewhere) stays one: the file
/// it names is replaced. Waits for the disk: for the settings' writer thread.
std::optional<SettingsSaveFailure> saveSettingsFile(const SettingsSnapshot &snapshot);

/// Removes the hidden files that saves killed part-way left beside the settings file at
/// `path` (each a whole or partial older copy), those of older versions included: names
/// of the exact forms saves give them, held by the user's own files (see own_leftovers.h).
/// Only while no save of the file is under way.
void removeSettingsLeftovers(const QString &path);

} // namespace velmora
