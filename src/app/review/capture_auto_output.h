#pragma once

#include "core/protection/autoclean_output_settings.h"
#include "core/protection/capture_mode.h"
#include "core/protection/capture_output_modes.h"
#include "core/redaction/redaction_plan.h"

#include <QByteArray>
#include <QImage>

#include <optional>

namespace velmora {

class ClipboardAccess;
class Clock;
class ReviewIntake;
class StoredSettings;

/// A scanned capture on its way out: the bytes it was read from, its bitmap and plan.
struct ScannedCapture
{
    QByteArray encodedBytes;
    QImage image;
    RedactionPlan plan;
    VelmoraCaptureMode mode = VelmoraCaptureMode::screen;
};

// AutoClean of a capture: the flattened cleaned PNG is copied to the clipboard, saved
// into the capture output folder, or both, without opening the review; it stays
// undoable for a while, leaves a receipt and a history record. A failure has changed
// nothing that anyone could lose: the caller then opens the capture for review.
class CaptureAutoOutput
{
public:
    CaptureAutoOutput(ReviewIntake &review, StoredSettings &settings, ClipboardAccess &clipboard, Clock &clock);

    /// Nothing on success, else why it did not happen.
    std::optional<CaptureAutoOutputError> run(const ScannedCapture &capture, VelmoraCaptureOutputMode outputMode);

private:
    /// Writes the PNG into the output folder under a new name; the file's path.
    std::variant<QString, CaptureAutoOutputError> save(const QByteArray &png, VelmoraCaptureMode mode);
    void showReceipt(VelmoraCaptureOutputMode outputMode, const RedactionPlan &plan);

    ReviewIntake &m_review;
    StoredSettings &m_settings;
    ClipboardAccess &m_clipboard;
    Clock &m_clock;
};

} // namespace velmora
