#include "app/protection/notification_permission.h"

#include <QtGlobal>

namespace velmora {

bool allowsPosting(NotificationPermission permission)
{
    return permission == NotificationPermission::authorized || permission == NotificationPermission::provisional;
}

std::optional<NotificationPermission> uiTestNotificationAuthorizationStatus()
{
    if (qEnvironmentVariable("VELMORA_UI_TEST_MODE") != QLatin1String("1")
        || !qEnvironmentVariableIsSet("VELMORA_UI_NOTIFICATION_AUTHORIZATION_STATUS"))
        return std::nullopt;
    return fromRawValue<NotificationPermission>(qEnvironmentVariable("VELMORA_UI_NOTIFICATION_AUTHORIZATION_STATUS"));
}

} // namespace velmora
