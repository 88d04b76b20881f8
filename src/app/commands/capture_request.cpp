#include "app/commands/capture_request.h"

#include "app/commands/command_bus.h"
#include "app/commands/command_names.h"

#include <QLoggingCategory>

namespace velmora {

namespace {
Q_LOGGING_CATEGORY(lcCommands, "com.orlwick.kavri.commands")
}

void postCaptureRequest(VelmoraCaptureMode mode)
{
    CommandBus::instance().post(commands::velmoraCaptureRequested, QVariant::fromValue(rawValue(mode)));
}

QMetaObject::Connection observeCaptureRequests(QObject *context, std::function<void(VelmoraCaptureMode)> handler)
{
    return CommandBus::instance().observe(
        commands::velmoraCaptureRequested, context,
        [handler = std::move(handler)](const QVariant &object, const QVariantMap &) {
            const auto mode = object.typeId() == QMetaType::QString
                ? fromRawValue<VelmoraCaptureMode>(object.toString())
                : std::nullopt;
            if (!mode) {
                qCWarning(lcCommands) << "Capture request without a capture mode:" << object;
                return;
            }
            handler(*mode);
        });
}

} // namespace velmora
