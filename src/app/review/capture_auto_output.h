#pragma once

#include "core/protection/autoclean_output_settings.h"
#include "core/protection/capture_mode.h"
#include "core/protection/capture_output_modes.h"
#include "core/redaction/redaction_plan.h"

#include <QByteArray>
#include <QImage>

#include <functional>
#include <optional>

namespace velmora {

class ClipboardAccess;
class Clock;
class NotificationCenter;
class ReviewIntake;
class StoredSettings;

/// What AutoClean of a capture reaches beyond the review.
struct CaptureAutoOutputEnvironment
{
    StoredSettings &settings;
    ClipboardAccess &clipboard;
    Clock &clock;
    /// Where the receipt goes while Velmora is not in front.
    NotificationCenter &notifications;
    std::function<bool()> isApplicationActive;
};

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
// undoable for a while, leaves a receipt (the banner while Velmora is in front, else a
// desktop notification) and a history record. A failure has changed
// nothing that anyone could lose: the caller then opens the capture for review.
class CaptureAutoOutput
{
public:
    CaptureAutoOutput(ReviewIntake &review, CaptureAutoOutputEnvironment environment);

    /// Nothing on success, else why it did not happen.
    std::optional<CaptureAutoOutputError> run(const ScannedCapture &capture, VelmoraCaptureOutputMode outputMode);

private:
    /// Writes the PNG into the output folder under a new name; the file's path.
    std::variant<QString, CaptureAutoOutputError> save(const QByteArray &png, VelmoraCaptureMode mode);

    ReviewIntake &m_review;
    CaptureAutoOutputEnvironment m_environment;
};

} // namespace velmora
