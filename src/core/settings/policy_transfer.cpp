#include "core/settings/policy_transfer.h"

#include "core/settings/detection_settings.h"
#include "core/settings/stored_settings.h"
#include "core/support/pending_file.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>

namespace velmora {

QString matchingPresetID(const RedactionPolicyConfiguration &configuration)
{
    for (const RedactionPolicyPreset &preset : RedactionPolicyCatalog::presets()) {
        if (RedactionPolicyConfiguration::fromPreset(preset.id).dispositionsByPolicyID
            == configuration.dispositionsByPolicyID)
            return rawValue(preset.id);
    }
    return {};
}

VelmoraPortableSettings exportedPolicySettings(const StoredSettings &settings, const QString &appVersion)
{
    VelmoraPortableSettings policy;
    policy.schemaVersion = VelmoraPortableSettings::currentSchemaVersion;
    policy.appVersion = appVersion;
    policy.source = storedPolicySource(settings.value(Setting::policySourceID));
    policy.lock = storedPolicyLock(settings);
    policy.customConfiguration = storedCustomConfiguration(settings);
    policy.policyPresetID = fromRawValue<RedactionPolicyPresetID>(settings.value(Setting::policyPresetID));
    return policy;
}

void storeImportedPolicySettings(StoredSettings &settings, const VelmoraPortableSettings &imported)
{
    const CustomDetectionConfiguration &configuration = imported.customConfiguration;
    const QChar lineFeed(u'\n');
    settings.setValue(Setting::customTermsText, configuration.terms.join(lineFeed));
    settings.setValue(Setting::customRegexesText, configuration.regexes.join(lineFeed));
    settings.setValue(Setting::allowlistText, configuration.allowlist.join(lineFeed));
    settings.setValue(Setting::detectorCategoryPreferencesData,
                      QJsonDocument(configuration.detectorCategoryPreferences.toJson()).toJson(QJsonDocument::Compact));
    settings.setValue(Setting::policyPresetID, imported.policyPresetID
                                                   ? rawValue(*imported.policyPresetID)
                                                   : matchingPresetID(configuration.policyConfiguration));
    settings.setValue(Setting::policySourceID,
                      rawValue(imported.source == PolicySource::managed ? PolicySource::managed : PolicySource::imported));
    settings.setValue(Setting::policyLockData, imported.lock.storedData());
}

bool exportPolicySettingsFile(const StoredSettings &settings, const QString &path, const QString &appVersion)
{
    // The save panel asked before a file there is replaced.
    return writeWholeFile(path, exportedPolicySettings(settings, appVersion).encoded(), ExistingEntry::replace);
}

bool importPolicySettingsFile(StoredSettings &settings, const QString &path)
{
    // Only a regular file: a pipe or a device would block the read or never end.
    if (!QFileInfo(path).isFile())
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    // One byte past the maximum is enough to know a file is too large.
    const QByteArray data = file.read(VelmoraPortableSettings::maximumFileSize + 1);
    if (file.error() != QFileDevice::NoError)
        return false;
    const std::optional<VelmoraPortableSettings> policy = VelmoraPortableSettings::decode(data);
    if (!policy)
        return false;
    storeImportedPolicySettings(settings, *policy);
    return true;
}

} // namespace velmora
