#pragma once

#include "app/protection/notification_center.h"

#include <QList>

#include <functional>
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
    /// Keeps the permission answers in `heldAnswers` until the test gives them.
    bool holdsPermissionAnswers = false;
    QList<std::function<void(NotificationPermission)>> heldAnswers;

    QList<NotificationRequest> added;
    QStringList removed;
    int authorizationRequests = 0;
    QList<NotificationCategory> categories;
    ResponseHandler responseHandler;

    void setCategories(const QList<NotificationCategory> &newCategories) override { categories = newCategories; }
    void setResponseHandler(ResponseHandler handler) override { responseHandler = std::move(handler); }
    void fetchPermission(std::function<void(NotificationPermission)> completion) override
    {
        if (holdsPermissionAnswers)
            heldAnswers.append(std::move(completion));
        else
            completion(permission);
    }
    void requestAuthorization(std::function<void(bool)> completion) override
    {
        ++authorizationRequests;
        completion(grantsAuthorization);
    }
    void add(const NotificationRequest &request) override { added.append(request); }
    void remove(const QString &identifier) override { removed.append(identifier); }
};

} // namespace velmora::test
