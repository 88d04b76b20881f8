#include "app/commands/command_bus.h"

namespace velmora {

CommandBus &CommandBus::instance()
{
    static CommandBus bus;
    return bus;
}

void CommandBus::post(const QString &name, const QVariant &object, const QVariantMap &userInfo)
{
    emit posted(name, object, userInfo);
}

QMetaObject::Connection CommandBus::observe(const QString &name, QObject *context, Handler handler)
{
    return connect(this, &CommandBus::posted, context,
                   [wanted = name, handler = std::move(handler)](
                       const QString &posted, const QVariant &object, const QVariantMap &userInfo) {
                       if (posted == wanted)
                           handler(object, userInfo);
                   },
                   Qt::DirectConnection);
}

} // namespace velmora
