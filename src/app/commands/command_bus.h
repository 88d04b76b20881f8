#pragma once

#include "app/commands/command_names.h"
#include "app/commands/command_payloads.h"

#include <QObject>
#include <QString>

#include <functional>
#include <type_traits>

namespace velmora {

// The app-wide command notifications. The application makes one bus and hands it to
// whoever posts or observes a command. Posting delivers at once, on the posting (main)
// thread, to every observer of the command, with the payload it was posted with.
class CommandBus : public QObject
{
    Q_OBJECT
public:
    template <typename Payload>
    void post(const Command<Payload> &command, const Payload &payload)
    {
        const CommandMessage message = encodeCommandPayload(payload);
        emit posted(QString(command.name), message.object, message.userInfo);
    }
    void post(const Command<NoPayload> &command) { post(command, NoPayload{}); }

    /// Calls `handler` with the payload of every post of `command` while `context` lives.
    /// A post whose payload cannot be read is logged and dropped.
    template <typename Payload>
    QMetaObject::Connection observe(const Command<Payload> &command, QObject *context,
                                    std::type_identity_t<std::function<void(const Payload &)>> handler)
    {
        return observeMessages(command.name, context, [handler = std::move(handler)](const CommandMessage &message) {
            const std::optional<Payload> payload = decodeCommandPayload<Payload>(message);
            if (payload)
                handler(*payload);
            return payload.has_value();
        });
    }
    QMetaObject::Connection observe(const Command<NoPayload> &command, QObject *context, std::function<void()> handler)
    {
        return observe<NoPayload>(command, context, [handler = std::move(handler)](const NoPayload &) { handler(); });
    }

signals:
    /// Every post as it travels: the command's name, its object and its user information.
    void posted(const QString &name, const QVariant &object, const QVariantMap &userInfo);

private:
    /// Hands `deliver` every message posted under `name` while `context` lives; one that
    /// `deliver` could not read (it answers false) is logged.
    QMetaObject::Connection observeMessages(QLatin1StringView name, QObject *context,
                                            std::function<bool(const CommandMessage &)> deliver);
};

} // namespace velmora
