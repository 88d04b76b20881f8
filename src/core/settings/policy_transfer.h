#pragma once

#include "core/settings/portable_settings.h"

#include <QString>

#include <optional>

namespace velmora {

class StoredSettings;

// The portable settings file and the stored settings: what an export writes out and
// what an import stores, and the file itself.

/// The raw value of the first catalogue preset whose policy has exactly these
/// dispositions; empty when none has.
QString matchingPresetID(const RedactionPolicyConfiguration &configuration);

/// The policy of the stored settings as an export writes it: the current schema,
/// `appVersion`, the stored source and lock, the configuration of the stored detection
/// settings, and the stored preset when it is exactly a preset's raw value.
VelmoraPortableSettings exportedPolicySettings(const StoredSettings &settings, const QString &appVersion);

/// Stores an imported policy: the three texts one entry a line, the category
/// preferences, the preset (the file's, else the matching one), the source ("managed"
/// stays, anything else becomes "imported") and the lock. The file's pack dispositions
/// and learned safe rules are not stored.
void storeImportedPolicySettings(StoredSettings &settings, const VelmoraPortableSettings &imported);

/// Writes the exported policy of the stored settings to the file at `path`, whole or
/// not at all, in place of a regular file there; false when nothing was written.
bool exportPolicySettingsFile(const StoredSettings &settings, const QString &path, const QString &appVersion);
/// Stores the policy of the file at `path`; false, with no setting changed, when it is
/// no regular file, cannot be read, is larger than the maximum or does not decode.
bool importPolicySettingsFile(StoredSettings &settings, const QString &path);

} // namespace velmora
