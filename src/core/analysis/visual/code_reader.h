#pragma once

#include "core/support/task_handle.h"

#include <QImage>
#include <QList>
#include <QRect>
#include <QString>

namespace velmora {

/// One QR code or barcode found in an image.
struct CodeSighting
{
    QString symbology; ///< The reader's format name ("QRCode", "MicroQRCode", "EAN-13", "Code128", ...).
    QRect bounds;      ///< The whole symbol in pixels, origin top-left.

    friend bool operator==(const CodeSighting &, const CodeSighting &) = default;
};

/// Reads every QR code and barcode of every format in a Grayscale8 image, dark on
/// light and light on dark, each symbol once. Stateless and thread-safe: every call
/// uses readers of its own. Throws VelmoraCoreException(visualDetectionFailed) when
/// the reader fails. Once `task` is cancelled no further read starts and the codes
/// read so far are returned.
QList<CodeSighting> readCodes(const QImage &grey, const TaskHandle &task = {});

} // namespace velmora
