#pragma once

#include "core/protection/capture_mode.h"
#include "core/settings/detection_settings.h"

#include <QLatin1StringView>

#include <optional>

namespace velmora {

/// What a command that carries nothing carries.
struct NoPayload
{
    friend bool operator==(NoPayload, NoPayload) = default;
};

/// An app-wide command: its name on the bus and the type of what it carries.
template <typename Payload>
struct Command
{
    QLatin1StringView name;
};

// The app-wide commands, each declared once with what it carries. The menus, the tray,
// the hot keys, the settings window, the review and the notification handler post
// these on the CommandBus instead of calling the windows. How each payload travels is
// written once, in command_payloads.cpp.
namespace commands {

/// Start a capture of the mode: the capture menus, the tray, the empty state, the hot keys.
inline constexpr Command<VelmoraCaptureMode> velmoraCaptureRequested{QLatin1StringView("velmoraCaptureRequested")};
/// The settings window saved the detection settings; nothing means "read them from the
/// store". The main window re-scans the open image.
inline constexpr Command<std::optional<DetectionSettingsValues>> velmoraCustomDetectionSettingsDidChange{
    QLatin1StringView("velmoraCustomDetectionSettingsDidChange")};
/// The re-scan a detection settings change asked for has finished.
inline constexpr Command<NoPayload> velmoraCustomDetectionSettingsRescanCompleted{
    QLatin1StringView("velmoraCustomDetectionSettingsRescanCompleted")};
/// The settings window shows Detection from the top.
inline constexpr Command<NoPayload> velmoraOpenDetectionSettings{QLatin1StringView("velmoraOpenDetectionSettings")};
/// The answer to a watched screenshot's notification: the newest alert opens.
inline constexpr Command<NoPayload> velmoraOpenLatestWatchedScreenshot{
    QLatin1StringView("velmoraOpenLatestWatchedScreenshot")};
inline constexpr Command<NoPayload> velmoraShowHelpCenter{QLatin1StringView("velmoraShowHelpCenter")};
inline constexpr Command<NoPayload> velmoraShowOnboarding{QLatin1StringView("velmoraShowOnboarding")};

} // namespace commands
} // namespace velmora
