#pragma once

#include "core/settings/detection_settings.h"

#include <QMetaObject>
#include <QObject>

#include <functional>
#include <optional>

namespace velmora {

/// Tells the review that the detection settings changed: posts
/// velmoraCustomDetectionSettingsDidChange with the five values in its user info
/// (under their settings keys), or with none, meaning "read them from the store".
void postCustomDetectionSettingsChange(const std::optional<DetectionSettingsValues> &values);

/// Calls `handler` with the values of every such notice posted while `context` lives:
/// nothing for a notice without user info; otherwise the five values, a missing one
/// or one of the wrong type read as empty.
QMetaObject::Connection observeCustomDetectionSettingsChanges(
    QObject *context, std::function<void(const std::optional<DetectionSettingsValues> &)> handler);

} // namespace velmora
