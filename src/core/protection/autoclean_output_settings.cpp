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
        outputMode(settings.value(Setting::captureOutputModeID)).value_or(VelmoraCaptureOutputMode::reviewInVelmora);
    if (const auto safety = fromRawValue<VelmoraAutoCleanSafetyMode>(settings.value(Setting::captureOutputSafetyModeID)))
        return {mode, *safety};
    if (settings.contains(Setting::captureOutputRequiresNoReviewFindings))
        return VelmoraCaptureOutputPolicy::fromLegacy(mode, settings.value(Setting::captureOutputRequiresNoReviewFindings));
    return {mode, VelmoraAutoCleanSafetyMode::pauseIfUnsure};
}

bool AutoCleanOutputCoordinator::storeOutputFolder(StoredSettings &settings, const QString &folderPath)
{
    const QFileInfo folder(folderPath);
    if (folderPath.isEmpty() || !folder.isDir())
        return false;
    const QString path = folder.absoluteFilePath();
    settings.setValue(Setting::captureOutputFolderBookmark, path);
    settings.setValue(Setting::captureOutputFolderDisplayName, folder.fileName());
    settings.setValue(Setting::captureOutputFolderPath, path);
    return true;
}

void AutoCleanOutputCoordinator::clearOutputFolder(StoredSettings &settings)
{
    settings.remove(Setting::captureOutputFolderBookmark);
    settings.remove(Setting::captureOutputFolderDisplayName);
    settings.remove(Setting::captureOutputFolderPath);
}

std::variant<ResolvedCaptureOutputFolder, CaptureAutoOutputError> AutoCleanOutputCoordinator::resolveOutputFolder(
    const StoredSettings &settings)
{
    const QString path = settings.value(Setting::captureOutputFolderBookmark);
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
