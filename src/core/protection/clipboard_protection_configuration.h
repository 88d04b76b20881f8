#pragma once

#include "core/protection/capture_output_modes.h"
#include "core/support/raw_enum.h"

#include <QJsonObject>
#include <QLatin1StringView>
#include <QString>

#include <array>
#include <optional>

namespace velmora {

/// What AutoClean does with a protected clipboard image.
enum class ClipboardProtectionReplacementMode {
    reviewFirst,
    pauseIfUnsure,
    autoCleanEverything,
    askBeforeReplace, ///< Older stored value; behaves as `reviewFirst`.
    autoReplace,      ///< Older stored value; behaves as `pauseIfUnsure`.
};

/// The modes the settings picker offers: the older two are only ever read back.
std::array<ClipboardProtectionReplacementMode, 3> selectableReplacementModes();
VelmoraAutoCleanSafetyMode safetyMode(ClipboardProtectionReplacementMode mode);
/// The title and description of the mode's safety mode.
QString title(ClipboardProtectionReplacementMode mode);
QString description(ClipboardProtectionReplacementMode mode);
/// The selectable mode an older mode behaves as; a selectable mode stays itself.
ClipboardProtectionReplacementMode selectableEquivalent(ClipboardProtectionReplacementMode mode);
/// The mode of a stored raw value, older values read as their equivalent; anything else
/// (absent, misspelt) reads as `pauseIfUnsure`.
ClipboardProtectionReplacementMode storedReplacementMode(const QString &stored);

/// The clipboard guard's switch and replacement mode.
struct ClipboardProtectionConfiguration
{
    bool isEnabled = false;
    ClipboardProtectionReplacementMode replacementMode = ClipboardProtectionReplacementMode::pauseIfUnsure;

    ClipboardProtectionConfiguration() = default;
    /// Stores an older mode as the current mode it behaves like.
    ClipboardProtectionConfiguration(bool enabled, ClipboardProtectionReplacementMode mode);

    QJsonObject toJson() const;
    /// Both keys are required; a wrong type or unknown mode fails. An older mode is kept as read.
    static std::optional<ClipboardProtectionConfiguration> fromJson(const QJsonObject &object);

    friend bool operator==(const ClipboardProtectionConfiguration &, const ClipboardProtectionConfiguration &) = default;
};

} // namespace velmora

VELMORA_RAW_ENUM(velmora::ClipboardProtectionReplacementMode,
    {velmora::ClipboardProtectionReplacementMode::reviewFirst, "reviewFirst"},
    {velmora::ClipboardProtectionReplacementMode::pauseIfUnsure, "pauseIfUnsure"},
    {velmora::ClipboardProtectionReplacementMode::autoCleanEverything, "autoCleanEverything"},
    {velmora::ClipboardProtectionReplacementMode::askBeforeReplace, "askBeforeReplace"},
    {velmora::ClipboardProtectionReplacementMode::autoReplace, "autoReplace"});
