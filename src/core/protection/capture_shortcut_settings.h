#pragma once

#include "core/protection/capture_mode.h"
#include "core/settings/settings_table.h"

#include <QByteArray>
#include <QList>
#include <QSet>
#include <QString>

#include <optional>
#include <utility>

namespace velmora {

class StoredSettings;

enum class VelmoraCaptureShortcutModifier { control, option, shift };

/// The key combinations a capture mode can be given.
enum class VelmoraCaptureShortcutChoice {
    disabled, optionShift1, optionShift2, optionShift3, controlOption1, controlOption2, controlOption3,
};

struct CaptureShortcutChoiceInfo
{
    QString title;       ///< "Alt-Shift-1"
    QList<VelmoraCaptureShortcutModifier> modifiers;
    QString keyEquivalent; ///< The digit; empty for disabled.
    std::optional<int> keyCode;
    std::optional<QString> symbolTitle; ///< "Alt+Shift+1"
};

CaptureShortcutChoiceInfo captureShortcutChoiceInfo(VelmoraCaptureShortcutChoice choice);
VelmoraCaptureShortcutChoice defaultCaptureShortcutChoice(VelmoraCaptureMode mode);
/// An exact raw value gives its choice; anything else (absent, a title) the mode's default.
VelmoraCaptureShortcutChoice parseCaptureShortcutChoice(const std::optional<QString> &text, VelmoraCaptureMode mode);

/// The stored setting of the mode's shortcut slot.
const TextSetting &captureShortcutSetting(VelmoraCaptureMode mode);

// Which key combination starts each kind of capture.
struct VelmoraCaptureShortcutSettings
{
    VelmoraCaptureShortcutChoice area = VelmoraCaptureShortcutChoice::disabled;
    VelmoraCaptureShortcutChoice window = VelmoraCaptureShortcutChoice::disabled;
    VelmoraCaptureShortcutChoice screen = VelmoraCaptureShortcutChoice::disabled;

    /// The stored settings' defaults.
    static VelmoraCaptureShortcutSettings defaults();
    static VelmoraCaptureShortcutSettings fromTexts(const std::optional<QString> &area,
                                                    const std::optional<QString> &window,
                                                    const std::optional<QString> &screen);
    static VelmoraCaptureShortcutSettings current(const StoredSettings &settings);

    VelmoraCaptureShortcutChoice choice(VelmoraCaptureMode mode) const;
    void setChoice(VelmoraCaptureMode mode, VelmoraCaptureShortcutChoice choice);
    /// (mode, choice) for every slot that is not disabled, in the order screen, window, area.
    QList<std::pair<VelmoraCaptureMode, VelmoraCaptureShortcutChoice>> enabledAssignments() const;
    /// Choices that more than one enabled slot uses.
    QSet<VelmoraCaptureShortcutChoice> duplicateChoices() const;
    bool hasConflicts() const { return !duplicateChoices().isEmpty(); }

    QByteArray encode() const;
    static std::optional<VelmoraCaptureShortcutSettings> decode(const QByteArray &json);

    friend bool operator==(const VelmoraCaptureShortcutSettings &, const VelmoraCaptureShortcutSettings &) = default;
};

} // namespace velmora

VELMORA_RAW_ENUM(velmora::VelmoraCaptureShortcutModifier,
    {velmora::VelmoraCaptureShortcutModifier::control, "control"},
    {velmora::VelmoraCaptureShortcutModifier::option, "option"},
    {velmora::VelmoraCaptureShortcutModifier::shift, "shift"});

VELMORA_RAW_ENUM(velmora::VelmoraCaptureShortcutChoice,
    {velmora::VelmoraCaptureShortcutChoice::disabled, "disabled"},
    {velmora::VelmoraCaptureShortcutChoice::optionShift1, "optionShift1"},
    {velmora::VelmoraCaptureShortcutChoice::optionShift2, "optionShift2"},
    {velmora::VelmoraCaptureShortcutChoice::optionShift3, "optionShift3"},
    {velmora::VelmoraCaptureShortcutChoice::controlOption1, "controlOption1"},
    {velmora::VelmoraCaptureShortcutChoice::controlOption2, "controlOption2"},
    {velmora::VelmoraCaptureShortcutChoice::controlOption3, "controlOption3"});
