#pragma once

#include "core/protection/capture_mode.h"
#include "core/protection/capture_output_policy.h"
#include "core/support/raw_enum.h"

#include <QDateTime>
#include <QString>

#include <optional>
#include <variant>

namespace velmora {

class StoredSettings;

/// Why a capture's AutoClean output did not happen.
enum class CaptureAutoOutputError {
    missingSaveFolder,  ///< The output mode asks to save, but no output folder is set.
    unresolvableFolder, ///< An output folder is set, but it no longer exists.
    outputFailed,       ///< The cleaned image could not be made, saved or put on the clipboard.
};

/// The stored output folder, ready to be written into.
struct ResolvedCaptureOutputFolder
{
    QString path;
    /// The folder was stored under another path; always false here, where a folder is
    /// kept by its absolute path and a moved folder no longer resolves.
    bool isStale = false;

    friend bool operator==(const ResolvedCaptureOutputFolder &, const ResolvedCaptureOutputFolder &) = default;
};

// The one place that turns the stored capture output settings into a policy, and that
// stores, clears and resolves the capture output folder. Every call reads the stored
// settings afresh, so a change takes effect with the next capture.
class AutoCleanOutputCoordinator
{
public:
    AutoCleanOutputCoordinator() = delete;

    /// The mode of an exact, case-sensitive raw value; anything else is nothing.
    static std::optional<VelmoraCaptureOutputMode> outputMode(const QString &rawValue);
    /// Unknown or absent values fall back: the mode to review, the safety mode to the
    /// older yes/no key and then to pauseIfUnsure.
    static VelmoraCaptureOutputPolicy currentPolicy(const StoredSettings &settings);
    /// Stores an existing folder (by its absolute path); false, and nothing stored,
    /// for a path that is not an existing folder.
    static bool storeOutputFolder(StoredSettings &settings, const QString &folderPath);
    /// Forgets the folder; the mode and safety keys stay as they are.
    static void clearOutputFolder(StoredSettings &settings);
    /// The stored folder, or why there is none to write into.
    static std::variant<ResolvedCaptureOutputFolder, CaptureAutoOutputError> resolveOutputFolder(
        const StoredSettings &settings);
};

/// The path of a new cleaned capture in `folderPath`:
/// "Velmora-<mode>-yyyyMMdd-HHmmss-cleaned.png" in `date`'s local time with Western
/// digits, made free by "-2", "-3", ... before the extension.
QString captureOutputFileName(const QString &folderPath, VelmoraCaptureMode mode, const QDateTime &date);

} // namespace velmora

VELMORA_RAW_ENUM(velmora::CaptureAutoOutputError,
    {velmora::CaptureAutoOutputError::missingSaveFolder, "missingSaveFolder"},
    {velmora::CaptureAutoOutputError::unresolvableFolder, "unresolvableFolder"},
    {velmora::CaptureAutoOutputError::outputFailed, "outputFailed"});
