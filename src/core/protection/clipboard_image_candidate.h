#pragma once

#include "core/protection/clipboard_protection_configuration.h"

#include <QByteArray>
#include <QtGlobal>

namespace velmora {

/// One settled clipboard image, handed from the clipboard guard to the clipboard scan.
struct ClipboardImageCandidate
{
    QByteArray data;         ///< The image bytes as read (PNG, TIFF, JPEG or HEIC).
    qint64 changeCount = 0;  ///< The clipboard's change count when it was read.
    ClipboardProtectionReplacementMode replacementMode = ClipboardProtectionReplacementMode::pauseIfUnsure;
    /// Offered with more bytes than an image file may hold: refused unread, `data` is empty.
    bool tooLarge = false;

    friend bool operator==(const ClipboardImageCandidate &, const ClipboardImageCandidate &) = default;
};

} // namespace velmora
