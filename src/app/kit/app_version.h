#pragma once

#include <QString>

namespace velmora {

/// The short version, a blank and the build number in parentheses ("1.0.0 (1)"),
/// with the fall-backs "0.0.0" and "0".
QString appVersionString();
QString appVersionString(const QString &shortVersion, const QString &build);

} // namespace velmora
