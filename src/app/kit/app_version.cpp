#include "app/kit/app_version.h"

#ifndef VELMORA_VERSION
#define VELMORA_VERSION ""
#endif
#ifndef VELMORA_BUILD_NUMBER
#define VELMORA_BUILD_NUMBER ""
#endif

namespace velmora {

QString appVersionString(const QString &shortVersion, const QString &build)
{
    const QString version = shortVersion.isEmpty() ? QStringLiteral("0.0.0") : shortVersion;
    const QString number = build.isEmpty() ? QStringLiteral("0") : build;
    return version + QStringLiteral(" (") + number + QLatin1Char(')');
}

QString appVersionString()
{
    return appVersionString(QStringLiteral(VELMORA_VERSION), QStringLiteral(VELMORA_BUILD_NUMBER));
}

} // namespace velmora
