#include "app/protection/notification_center.h"

namespace velmora {

namespace {

class NoNotificationCenter : public NotificationCenter
{
public:
    void setCategories(const QList<NotificationCategory> &) override {}
    void setResponseHandler(ResponseHandler) override {}
    void fetchPermission(std::function<void(NotificationPermission)> completion) override
    {
        completion(NotificationPermission::denied);
    }
    void requestAuthorization(std::function<void(bool)> completion) override { completion(false); }
    void add(const NotificationRequest &) override {}
    void remove(const QString &) override {}
};

} // namespace

NotificationCenter &NotificationCenter::none()
{
    static NoNotificationCenter center;
    return center;
}

} // namespace velmora
