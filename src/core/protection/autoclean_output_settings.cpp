#include "core/protection/autoclean_output_settings.h"

#include "core/settings/stored_settings.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>

namespace velmora {

std::optional<VelmoraCaptureOutputMode> AutoCleanOutputCoordinator::outputMode(const QString &rawValue)
{
    return fromRawValue<VelmoraCaptureOutputMode>(rawValue);
}

VelmoraCaptureOutputPolicy AutoCleanOutputCoordinator::currentPolicy(const StoredSettings &settings)
{
    const VelmoraCaptureOutputMode mode =
        outputMode(settings.string(AutoCleanOutputKeys::outputMode)).value_or(VelmoraCaptureOutputMode::reviewInVelmora);
    if (const auto safety = fromRawValue<VelmoraAutoCleanSafetyMode>(settings.string(AutoCleanOutputKeys::safetyMode)))
        return {mode, *safety};
    if (settings.contains(AutoCleanOutputKeys::requiresNoReviewFindings))
        return VelmoraCaptureOutputPolicy::fromLegacy(mode, settings.boolean(AutoCleanOutputKeys::requiresNoReviewFindings));
    return {mode, VelmoraAutoCleanSafetyMode::pauseIfUnsure};
}

bool AutoCleanOutputCoordinator::storeOutputFolder(StoredSettings &settings, const QString &folderPath)
{
    const QFileInfo folder(folderPath);
    if (folderPath.isEmpty() || !folder.isDir())
        return false;
    const QString path = folder.absoluteFilePath();
    settings.setValue(AutoCleanOutputKeys::folderBookmark, path);
    settings.setValue(AutoCleanOutputKeys::folderDisplayName, folder.fileName());
    settings.setValue(AutoCleanOutputKeys::folderPath, path);
    return true;
}

void AutoCleanOutputCoordinator::clearOutputFolder(StoredSettings &settings)
{
    settings.remove(AutoCleanOutputKeys::folderBookmark);
    settings.remove(AutoCleanOutputKeys::folderDisplayName);
    settings.remove(AutoCleanOutputKeys::folderPath);
}

std::variant<ResolvedCaptureOutputFolder, CaptureAutoOutputError> AutoCleanOutputCoordinator::resolveOutputFolder(
    const StoredSettings &settings)
{
    const QString path = settings.string(AutoCleanOutputKeys::folderBookmark);
    if (path.isEmpty())
        return CaptureAutoOutputError::missingSaveFolder;
    if (!QFileInfo(path).isDir())
        return CaptureAutoOutputError::unresolvableFolder;
    return ResolvedCaptureOutputFolder{path, false};
}

QString captureOutputFileName(const QString &folderPath, VelmoraCaptureMode mode, const QDateTime &date)
{
    const QString stem = QStringLiteral("Velmora-%1-%2-cleaned")
                             .arg(rawValue(mode), QLocale::c().toString(date.toLocalTime(), QStringLiteral("yyyyMMdd-HHmmss")));
    const QDir folder(folderPath);
    QString path = folder.filePath(stem + QStringLiteral(".png"));
    for (int suffix = 2; QFileInfo::exists(path); ++suffix)
        path = folder.filePath(QStringLiteral("%1-%2.png").arg(stem).arg(suffix));
    return path;
}

} // namespace velmora
