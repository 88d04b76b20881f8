#pragma once

#include <QString>

namespace velmora {

// What Velmora asks of the desktop beyond its own windows. Neither call waits for the
// desktop: each starts its work and returns at once.
class DesktopServices
{
public:
    virtual ~DesktopServices() = default;

    /// Shows the file (or folder) selected in the file manager, else opens the folder
    /// that holds it. Nothing happens when the path no longer exists.
    virtual void revealInFileManager(const QString &path) = 0;
    /// Opens the desktop's notification settings; nothing happens when it has none.
    virtual void openNotificationSettings() = 0;

    /// A desktop that does nothing, for where none can be reached.
    static DesktopServices &none();
};

} // namespace velmora
