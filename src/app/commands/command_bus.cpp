#include "app/commands/command_bus.h"

#include "app/kit/log_categories.h"

namespace velmora {

QMetaObject::Connection CommandBus::observeMessages(QLatin1StringView name, QObject *context,
                                                    std::function<bool(const CommandMessage &)> deliver)
{
    return connect(this, &CommandBus::posted, context,
                   [wanted = QString(name), deliver = std::move(deliver)](
                       const QString &posted, const QVariant &object, const QVariantMap &userInfo) {
                       if (posted == wanted && !deliver({object, userInfo}))
                           qCWarning(lcCommands) << "Dropped" << posted << "whose payload cannot be read:" << object
                                                 << userInfo;
                   },
                   Qt::DirectConnection);
}

} // namespace velmora
