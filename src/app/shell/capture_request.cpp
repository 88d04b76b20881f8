#include "app/shell/capture_request.h"

#include "app/shell/command_bus.h"
#include "app/shell/command_names.h"

namespace velmora {

void postCaptureRequest(VelmoraCaptureMode mode)
{
    CommandBus::instance().post(commands::velmoraCaptureRequested, QVariant::fromValue(rawValue(mode)));
}

} // namespace velmora
