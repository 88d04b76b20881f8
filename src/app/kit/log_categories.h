#pragma once

#include <QLoggingCategory>

namespace velmora {

// The application's log categories, one for each name ("com.orlwick.kavri.NAME"),
// declared here once and defined in log_categories.cpp. Scans log through the engine's
// lcScan (core/support/log_categories.h).
Q_DECLARE_LOGGING_CATEGORY(lcAutoClean)     ///< AutoClean outputs and their undo.
Q_DECLARE_LOGGING_CATEGORY(lcCapture)       ///< The capture tool and the capture flow.
Q_DECLARE_LOGGING_CATEGORY(lcClipboard)     ///< The clipboard guard and clipboard images.
Q_DECLARE_LOGGING_CATEGORY(lcCommands)      ///< The app-wide command bus.
Q_DECLARE_LOGGING_CATEGORY(lcDesktop)       ///< The file manager and the notification settings.
Q_DECLARE_LOGGING_CATEGORY(lcHotKeys)       ///< Global hot-key grabs.
Q_DECLARE_LOGGING_CATEGORY(lcInstall)       ///< The install location and the build's trust.
Q_DECLARE_LOGGING_CATEGORY(lcInstance)      ///< The single running instance.
Q_DECLARE_LOGGING_CATEGORY(lcNotifications) ///< Desktop notifications.
Q_DECLARE_LOGGING_CATEGORY(lcOutput)        ///< Cleaned files written for Export and AutoClean.
Q_DECLARE_LOGGING_CATEGORY(lcShell)         ///< Start-up and termination.
Q_DECLARE_LOGGING_CATEGORY(lcWatch)         ///< The screenshot folder watch.

} // namespace velmora
