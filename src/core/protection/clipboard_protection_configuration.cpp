#include "core/protection/clipboard_protection_configuration.h"

namespace velmora {

namespace {

const auto enabledJsonKey = QStringLiteral("isEnabled");
const auto replacementModeJsonKey = QStringLiteral("replacementMode");

} // namespace

std::array<ClipboardProtectionReplacementMode, 3> selectableReplacementModes()
{
    return {ClipboardProtectionReplacementMode::reviewFirst, ClipboardProtectionReplacementMode::pauseIfUnsure,
            ClipboardProtectionReplacementMode::autoCleanEverything};
}

VelmoraAutoCleanSafetyMode safetyMode(ClipboardProtectionReplacementMode mode)
{
    switch (mode) {
    case ClipboardProtectionReplacementMode::reviewFirst:
    case ClipboardProtectionReplacementMode::askBeforeReplace:
        return VelmoraAutoCleanSafetyMode::reviewFirst;
    case ClipboardProtectionReplacementMode::pauseIfUnsure:
    case ClipboardProtectionReplacementMode::autoReplace:
        return VelmoraAutoCleanSafetyMode::pauseIfUnsure;
    case ClipboardProtectionReplacementMode::autoCleanEverything:
        return VelmoraAutoCleanSafetyMode::autoCleanEverything;
    }
    return VelmoraAutoCleanSafetyMode::pauseIfUnsure;
}

ClipboardProtectionReplacementMode selectableEquivalent(ClipboardProtectionReplacementMode mode)
{
    switch (safetyMode(mode)) {
    case VelmoraAutoCleanSafetyMode::reviewFirst:
        return ClipboardProtectionReplacementMode::reviewFirst;
    case VelmoraAutoCleanSafetyMode::pauseIfUnsure:
        return ClipboardProtectionReplacementMode::pauseIfUnsure;
    case VelmoraAutoCleanSafetyMode::autoCleanEverything:
        return ClipboardProtectionReplacementMode::autoCleanEverything;
    }
    return ClipboardProtectionReplacementMode::pauseIfUnsure;
}

ClipboardProtectionReplacementMode storedReplacementMode(const QString &stored)
{
    const auto mode = fromRawValue<ClipboardProtectionReplacementMode>(stored);
    return mode ? selectableEquivalent(*mode) : ClipboardProtectionReplacementMode::pauseIfUnsure;
}

QString title(ClipboardProtectionReplacementMode mode)
{
    return title(safetyMode(mode));
}

QString description(ClipboardProtectionReplacementMode mode)
{
    return description(safetyMode(mode));
}

ClipboardProtectionConfiguration::ClipboardProtectionConfiguration(bool enabled,
                                                                   ClipboardProtectionReplacementMode mode)
    : isEnabled(enabled), replacementMode(selectableEquivalent(mode))
{
}

QJsonObject ClipboardProtectionConfiguration::toJson() const
{
    return {{enabledJsonKey, isEnabled}, {replacementModeJsonKey, rawValue(replacementMode)}};
}

std::optional<ClipboardProtectionConfiguration> ClipboardProtectionConfiguration::fromJson(const QJsonObject &object)
{
    const QJsonValue enabled = object.value(enabledJsonKey);
    const QJsonValue mode = object.value(replacementModeJsonKey);
    if (!enabled.isBool() || !mode.isString())
        return std::nullopt;
    const auto replacementMode = fromRawValue<ClipboardProtectionReplacementMode>(mode.toString());
    if (!replacementMode)
        return std::nullopt;
    ClipboardProtectionConfiguration configuration;
    configuration.isEnabled = enabled.toBool();
    configuration.replacementMode = *replacementMode;
    return configuration;
}

} // namespace velmora
