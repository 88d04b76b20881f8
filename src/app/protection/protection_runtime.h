#pragma once

#include "core/protection/protection_status.h"

#include <QObject>

#include <optional>

namespace velmora {

class ClipboardProtectionController;
class ScreenshotWatchController;

// How the main window's background protections run, for the settings window, which is
// open on its own (also while the main window is closed): the folder watch and the
// clipboard guard are each halted while they do not run, with the sentence that says
// why. The application owns one for its life; the main window reports into it whenever
// a protection starts or stops. Main thread only.
class ProtectionRuntime : public QObject
{
    Q_OBJECT
public:
    explicit ProtectionRuntime(QObject *parent = nullptr);

    const std::optional<ProtectionHalt> &folderWatchHalt() const { return m_folderWatchHalt; }
    const std::optional<ProtectionHalt> &clipboardGuardHalt() const { return m_clipboardGuardHalt; }

    /// The main window runs its protections: one that does not run needs setting up, as
    /// its controller's sentence says.
    void reportRunning(const ScreenshotWatchController &watch, const ClipboardProtectionController &guard);
    /// The main window has stopped its protections: both wait until it is shown again.
    void reportWindowClosed();

signals:
    void changed();

private:
    void setHalts(std::optional<ProtectionHalt> folderWatch, std::optional<ProtectionHalt> clipboardGuard);

    std::optional<ProtectionHalt> m_folderWatchHalt;
    std::optional<ProtectionHalt> m_clipboardGuardHalt;
};

} // namespace velmora
