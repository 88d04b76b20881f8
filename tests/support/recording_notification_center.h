#pragma once

#include "app/protection/notification_center.h"

#include <optional>

namespace velmora::test {

// A notification center that answers at once with the permission the test sets and
// keeps what it was asked, for the permission rules that a real service cannot show
// (undecided, provisional).
class RecordingNotificationCenter : public NotificationCenter
{
public:
    NotificationPermission permission = NotificationPermission::authorized;
    bool grantsAuthorization = true;

    QList<NotificationRequest> added;
    int authorizationRequests = 0;
    QList<NotificationCategory> categories;
    ResponseHandler responseHandler;

    void setCategories(const QList<NotificationCategory> &newCategories) override { categories = newCategories; }
    void setResponseHandler(ResponseHandler handler) override { responseHandler = std::move(handler); }
    void fetchPermission(std::function<void(NotificationPermission)> completion) override { completion(permission); }
    void requestAuthorization(std::function<void(bool)> completion) override
    {
        ++authorizationRequests;
        completion(grantsAuthorization);
    }
    void add(const NotificationRequest &request) override { added.append(request); }
};

} // namespace velmora::test
