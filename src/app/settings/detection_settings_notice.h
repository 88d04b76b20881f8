#pragma once

#include <QByteArray>
#include <QVariantMap>

#include <optional>

namespace velmora {

class StoredSettings;

/// The user information of velmoraCustomDetectionSettingsDidChange: the five stored
/// detection settings under their keys, the category preferences' data replaced by
/// `preferencesOverride` when one is given.
QVariantMap detectionSettingsUserInfo(const StoredSettings &settings,
                                      const std::optional<QByteArray> &preferencesOverride = std::nullopt);

/// Posts velmoraCustomDetectionSettingsDidChange with that user information.
void postDetectionSettingsChange(const StoredSettings &settings,
                                 const std::optional<QByteArray> &preferencesOverride = std::nullopt);

} // namespace velmora
