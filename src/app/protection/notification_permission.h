#pragma once

#include "core/support/raw_enum.h"

#include <optional>

namespace velmora {

/// Whether Velmora may show desktop notifications. The desktop's notification
/// service has no permission of its own: a service that answers is `authorized`,
/// none is `denied`; the other two come only from the UI automation switch.
enum class NotificationPermission { notDetermined, denied, authorized, provisional };

/// Authorized and provisional allow posting.
bool allowsPosting(NotificationPermission permission);

/// The permission UI automation asks for: with VELMORA_UI_TEST_MODE "1", the state named
/// exactly by VELMORA_UI_NOTIFICATION_AUTHORIZATION_STATUS; otherwise none.
std::optional<NotificationPermission> uiTestNotificationAuthorizationStatus();

} // namespace velmora

VELMORA_RAW_ENUM(velmora::NotificationPermission,
    {velmora::NotificationPermission::notDetermined, "notDetermined"},
    {velmora::NotificationPermission::denied, "denied"},
    {velmora::NotificationPermission::authorized, "authorized"},
    {velmora::NotificationPermission::provisional, "provisional"});
