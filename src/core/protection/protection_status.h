#pragma once

#include "core/protection/capture_output_modes.h"
#include "core/support/raw_enum.h"

#include <QList>
#include <QString>

#include <optional>

namespace velmora {

/// The four protections the settings summarise, in the order they are listed.
enum class ScreenshotProtectionRail { velmoraCapture, folderWatch, clipboardGuard, policy };

/// How ready one protection is.
enum class ScreenshotProtectionReadiness { on, off, needsSetup, needsPermission };

QString title(ScreenshotProtectionRail rail);
QString title(ScreenshotProtectionReadiness readiness);

/// A protection that is switched on but does not run: how ready it reads, and the
/// sentence of its controller (or of the window that stopped it) that says why.
struct ProtectionHalt
{
    ScreenshotProtectionReadiness readiness = ScreenshotProtectionReadiness::needsSetup;
    QString detail;

    friend bool operator==(const ProtectionHalt &, const ProtectionHalt &) = default;
};

// A snapshot of what the protection summary depends on.
struct ScreenshotProtectionStatusInput
{
    VelmoraCaptureOutputMode captureOutputMode = VelmoraCaptureOutputMode::reviewInVelmora;
    bool captureSaveFolderSelected = false;
    bool captureShortcutsEnabled = false;
    bool captureNeedsPermission = false; ///< Screen capture is not allowed.
    bool folderWatchEnabled = false;
    bool folderWatchFolderSelected = false;
    bool clipboardGuardEnabled = false;
    QString policyDisplayName; ///< The active preset's title; empty for none.
    bool isPolicyManaged = false;
    /// Set while the watch does not run; it counts only while the watch is switched on
    /// with a folder. Nothing is known before the main window first starts it.
    std::optional<ProtectionHalt> folderWatchHalt;
    /// Set while the guard does not run; it counts only while the guard is switched on.
    std::optional<ProtectionHalt> clipboardGuardHalt;

    friend bool operator==(const ScreenshotProtectionStatusInput &, const ScreenshotProtectionStatusInput &) = default;
};

// One row of the summary: a protection, its readiness and one sentence on what works
// now or what is missing.
struct ScreenshotProtectionStatusItem
{
    ScreenshotProtectionRail rail = ScreenshotProtectionRail::velmoraCapture;
    ScreenshotProtectionReadiness readiness = ScreenshotProtectionReadiness::off;
    QString detail;

    friend bool operator==(const ScreenshotProtectionStatusItem &, const ScreenshotProtectionStatusItem &) = default;
};

// The protection summary of a snapshot; a pure function.
namespace ScreenshotProtectionStatusBuilder {

/// Exactly four items, in rail order.
QList<ScreenshotProtectionStatusItem> items(const ScreenshotProtectionStatusInput &input);

/// A missing permission first, then a saving mode without a folder, else on.
ScreenshotProtectionStatusItem captureItem(const ScreenshotProtectionStatusInput &input);
/// Switched on with a folder: on, unless halted; else what is missing.
ScreenshotProtectionStatusItem folderWatchItem(const ScreenshotProtectionStatusInput &input);
/// Switched on: on, unless halted; else off.
ScreenshotProtectionStatusItem clipboardGuardItem(const ScreenshotProtectionStatusInput &input);
/// Always on: a managed policy first, then the preset's name, else the defaults.
ScreenshotProtectionStatusItem policyItem(const ScreenshotProtectionStatusInput &input);

} // namespace ScreenshotProtectionStatusBuilder

} // namespace velmora

VELMORA_RAW_ENUM(velmora::ScreenshotProtectionRail,
    {velmora::ScreenshotProtectionRail::velmoraCapture, "velmoraCapture"},
    {velmora::ScreenshotProtectionRail::folderWatch, "folderWatch"},
    {velmora::ScreenshotProtectionRail::clipboardGuard, "clipboardGuard"},
    {velmora::ScreenshotProtectionRail::policy, "policy"});
VELMORA_RAW_ENUM(velmora::ScreenshotProtectionReadiness,
    {velmora::ScreenshotProtectionReadiness::on, "on"},
    {velmora::ScreenshotProtectionReadiness::off, "off"},
    {velmora::ScreenshotProtectionReadiness::needsSetup, "needsSetup"},
    {velmora::ScreenshotProtectionReadiness::needsPermission, "needsPermission"});
