#include "app/kit/log_categories.h"

namespace velmora {

Q_LOGGING_CATEGORY(lcAutoClean, "com.orlwick.kavri.autoclean")
Q_LOGGING_CATEGORY(lcCapture, "com.orlwick.kavri.capture")
Q_LOGGING_CATEGORY(lcClipboard, "com.orlwick.kavri.clipboard")
Q_LOGGING_CATEGORY(lcCommands, "com.orlwick.kavri.commands")
Q_LOGGING_CATEGORY(lcDesktop, "com.orlwick.kavri.desktop")
Q_LOGGING_CATEGORY(lcHotKeys, "com.orlwick.kavri.hotkeys")
Q_LOGGING_CATEGORY(lcInstall, "com.orlwick.kavri.install")
Q_LOGGING_CATEGORY(lcInstance, "com.orlwick.kavri.instance")
Q_LOGGING_CATEGORY(lcNotifications, "com.orlwick.kavri.notifications")
Q_LOGGING_CATEGORY(lcOutput, "com.orlwick.kavri.output")
Q_LOGGING_CATEGORY(lcShell, "com.orlwick.kavri.shell")
Q_LOGGING_CATEGORY(lcWatch, "com.orlwick.kavri.watch")

} // namespace velmora
