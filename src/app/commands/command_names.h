#pragma once

#include <QLatin1StringView>

// The app-wide command names. Menus, the tray, hot keys, the settings window and the
// notification handler post these on the CommandBus instead of calling the main window.
namespace velmora::commands {

inline constexpr QLatin1StringView velmoraCaptureRequested{"velmoraCaptureRequested"};
inline constexpr QLatin1StringView velmoraCaptureShortcutSettingsDidChange{"velmoraCaptureShortcutSettingsDidChange"};
inline constexpr QLatin1StringView velmoraClipboardProtectionSettingsDidChange{"velmoraClipboardProtectionSettingsDidChange"};
inline constexpr QLatin1StringView velmoraScreenshotWatchSettingsDidChange{"velmoraScreenshotWatchSettingsDidChange"};
inline constexpr QLatin1StringView velmoraCustomDetectionSettingsDidChange{"velmoraCustomDetectionSettingsDidChange"};
inline constexpr QLatin1StringView velmoraCustomDetectionSettingsRescanCompleted{"velmoraCustomDetectionSettingsRescanCompleted"};
inline constexpr QLatin1StringView velmoraOpenDetectionSettings{"velmoraOpenDetectionSettings"};
inline constexpr QLatin1StringView velmoraOpenLatestWatchedScreenshot{"velmoraOpenLatestWatchedScreenshot"};
inline constexpr QLatin1StringView velmoraShowHelpCenter{"velmoraShowHelpCenter"};
inline constexpr QLatin1StringView velmoraShowOnboarding{"velmoraShowOnboarding"};
inline constexpr QLatin1StringView velmoraCloseCurrentReview{"velmoraCloseCurrentReview"};
inline constexpr QLatin1StringView velmoraImportClipboardImage{"velmoraImportClipboardImage"};
inline constexpr QLatin1StringView velmoraToggleOutputPreview{"velmoraToggleOutputPreview"};
inline constexpr QLatin1StringView velmoraExportCleanedImage{"velmoraExportCleanedImage"};
inline constexpr QLatin1StringView velmoraCopyCleanedImage{"velmoraCopyCleanedImage"};
inline constexpr QLatin1StringView velmoraRedactAllFindings{"velmoraRedactAllFindings"};
inline constexpr QLatin1StringView velmoraMakeAllFindingsVisible{"velmoraMakeAllFindingsVisible"};
inline constexpr QLatin1StringView velmoraDeleteSelectedManualRedaction{"velmoraDeleteSelectedManualRedaction"};
inline constexpr QLatin1StringView velmoraUndoManualEdit{"velmoraUndoManualEdit"};
inline constexpr QLatin1StringView velmoraRedoManualEdit{"velmoraRedoManualEdit"};

/// All twenty names, in the order above.
inline constexpr QLatin1StringView all[] = {
    velmoraCaptureRequested, velmoraCaptureShortcutSettingsDidChange,
    velmoraClipboardProtectionSettingsDidChange, velmoraScreenshotWatchSettingsDidChange,
    velmoraCustomDetectionSettingsDidChange, velmoraCustomDetectionSettingsRescanCompleted,
    velmoraOpenDetectionSettings, velmoraOpenLatestWatchedScreenshot, velmoraShowHelpCenter,
    velmoraShowOnboarding, velmoraCloseCurrentReview, velmoraImportClipboardImage,
    velmoraToggleOutputPreview, velmoraExportCleanedImage, velmoraCopyCleanedImage,
    velmoraRedactAllFindings, velmoraMakeAllFindingsVisible, velmoraDeleteSelectedManualRedaction,
    velmoraUndoManualEdit, velmoraRedoManualEdit,
};

} // namespace velmora::commands
