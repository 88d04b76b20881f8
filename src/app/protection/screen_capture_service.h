#pragma once

#include "core/protection/capture_error.h"
#include "core/protection/capture_mode.h"
#include "core/support/task_handle.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <variant>

namespace velmora {

/// The capture's task was cancelled before the tool ended; no file is left behind.
struct CaptureCancelled
{
    friend bool operator==(const CaptureCancelled &, const CaptureCancelled &) = default;
};

/// The path of the temporary PNG (the caller owns and removes it), or why there is none.
using CaptureOutcome = std::variant<QString, VelmoraCaptureError, CaptureCancelled>;

/// The capture tool and what surrounds it. The desktop's is maim on PATH; tests give
/// a tool of their own, a temporary folder of their own and the access answers.
struct ScreenCaptureTool
{
    QString executablePath; ///< Empty: there is no tool.
    std::function<bool()> preflightAccess;
    /// Asked only when the preflight says no.
    std::function<bool()> requestAccess;
    QString temporaryFolder;

    /// maim found on PATH while the application runs on an X11 display (else no
    /// tool); X11 has no screen capture permission, so access is always granted.
    static ScreenCaptureTool forThisDesktop();
};

// Takes one screenshot through the capture tool, which does the choosing (the whole
// screen, a clicked window, a dragged area) and writes a temporary PNG. The tool's
// output goes to the null device. A non-zero exit is a cancelled selection (maim
// exits 1 for that and for real failures alike), and whatever it wrote is removed.
// Cancelling the capture's task terminates the tool; the process object lives on
// until the tool has ended, so a running process is never destroyed.
class ScreenCaptureService
{
public:
    explicit ScreenCaptureService(ScreenCaptureTool tool);

    /// The tool's arguments for a mode, before the output path.
    static QStringList arguments(VelmoraCaptureMode mode);
    /// A new "velmora-capture-<mode>-<UUID>.png" in the temporary folder.
    QString temporaryFilePath(VelmoraCaptureMode mode) const;

    /// Starts a capture. `done` is called once, from the event loop on `context`'s
    /// thread, unless `context` is gone by then.
    void capture(VelmoraCaptureMode mode, const TaskHandle &task, QObject *context,
                 std::function<void(CaptureOutcome)> done) const;

private:
    ScreenCaptureTool m_tool;
};

} // namespace velmora
