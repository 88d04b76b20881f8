#pragma once

#include "app/commands/command_names.h"

#include <QVariant>
#include <QVariantMap>

#include <optional>

namespace velmora {

/// A payload as it travels on the bus: an object and a user information dictionary.
struct CommandMessage
{
    QVariant object;
    QVariantMap userInfo;
};

/// How a payload travels, and back. Each payload type of command_names.h has its pair
/// here; a message that does not hold a payload of the type reads as nothing.
template <typename Payload>
CommandMessage encodeCommandPayload(const Payload &payload);
template <typename Payload>
std::optional<Payload> decodeCommandPayload(const CommandMessage &message);

/// Nothing: no object, no user information.
template <>
CommandMessage encodeCommandPayload(const NoPayload &);
template <>
std::optional<NoPayload> decodeCommandPayload(const CommandMessage &);

/// The mode's raw value as the object; an object that names no mode reads as nothing.
template <>
CommandMessage encodeCommandPayload(const VelmoraCaptureMode &mode);
template <>
std::optional<VelmoraCaptureMode> decodeCommandPayload(const CommandMessage &message);

/// The five values under their settings keys in the user information; none for no
/// values. Read back, a missing value or one of the wrong type is empty.
template <>
CommandMessage encodeCommandPayload(const std::optional<DetectionSettingsValues> &values);
template <>
std::optional<std::optional<DetectionSettingsValues>> decodeCommandPayload(const CommandMessage &message);

} // namespace velmora
