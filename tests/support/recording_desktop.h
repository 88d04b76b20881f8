#pragma once

#include "app/kit/desktop_services.h"

#include <QStringList>

namespace velmora::test {

// A desktop that only remembers what it was asked to show or open.
class RecordingDesktop : public DesktopServices
{
public:
    QStringList revealedPaths;
    int notificationSettingsOpenings = 0;

    void revealInFileManager(const QString &path) override { revealedPaths.append(path); }
    void openNotificationSettings() override { ++notificationSettingsOpenings; }
};

} // namespace velmora::test
