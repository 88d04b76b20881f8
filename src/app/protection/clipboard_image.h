#pragma once

#include <QByteArray>
#include <QStringList>

#include <optional>

namespace velmora {

class ClipboardAccess;

/// The image formats taken from the clipboard as they are, in order of preference.
const QStringList &clipboardImageTypes();

/// Whether the clipboard offers one of the image types, or else something that reads
/// as an image: another image format Qt decodes, or a URI list naming an image file.
bool clipboardContainsImage(const ClipboardAccess &clipboard);

/// The bytes of the first image type offered; else the first image the clipboard can
/// be read as, encoded as TIFF; else nothing. The clipboard guard and Paste Image use it.
std::optional<QByteArray> clipboardImageData(const ClipboardAccess &clipboard);

} // namespace velmora
