#pragma once

#include <QObject>
#include <QString>
#include <QVariant>
#include <QVariantMap>

#include <functional>

namespace velmora {

// The app-wide command notifications: one bus per process. Posting delivers at once,
// on the posting (main) thread, to every observer of the name.
class CommandBus : public QObject
{
    Q_OBJECT
public:
    using Handler = std::function<void(const QVariant &object, const QVariantMap &userInfo)>;

    static CommandBus &instance();

    void post(const QString &name, const QVariant &object = {}, const QVariantMap &userInfo = {});
    /// Calls `handler` for every post of `name` while `context` lives.
    QMetaObject::Connection observe(const QString &name, QObject *context, Handler handler);

signals:
    void posted(const QString &name, const QVariant &object, const QVariantMap &userInfo);
};

} // namespace velmora
