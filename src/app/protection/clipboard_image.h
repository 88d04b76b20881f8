#pragma once

#include <QByteArray>
#include <QStringList>

#include <functional>
#include <optional>

class QObject;

namespace velmora {

class ClipboardAccess;

/// The image formats taken from the clipboard as they are, in order of preference.
const QStringList &clipboardImageTypes();

/// What the clipboard offers as an image, as read on the main thread, where the
/// clipboard lives: nothing is decoded there and no file is opened.
struct ClipboardImageOffer
{
    /// The bytes of the first image format offered that has any (PNG, TIFF, JPEG, HEIC,
    /// under their MIME names or an alias of them).
    QByteArray imageBytes;
    /// Without those, the local files a URI list names whose names give a supported
    /// image type, in order.
    QStringList imageFiles;
    /// An image format was offered with more bytes than an image file may hold: it was
    /// refused unread, as such a file is.
    bool tooLarge = false;

    bool isEmpty() const { return imageBytes.isEmpty() && imageFiles.isEmpty() && !tooLarge; }
};

/// Reads whether the clipboard offers an image format, or a URI list naming a file of an
/// image type, judged by the formats and names alone: no file is opened. Waits for no
/// other application: `done` runs on this thread, at once or once the clipboard's owner
/// answered, unless `context` is gone by then.
void readWhetherClipboardContainsImage(ClipboardAccess &clipboard, QObject *context, std::function<void(bool)> done);

/// Reads what the clipboard offers as an image, waiting for no other application, as
/// readWhetherClipboardContainsImage does.
void readClipboardImageOffer(ClipboardAccess &clipboard, QObject *context,
                             std::function<void(const ClipboardImageOffer &offer)> done);

/// The encoded image of an offer: its bytes, else those of the first file it names
/// that passes the importer's checked read (a regular file within the size limit;
/// nothing else is opened or read). Decoding is the importer's. Files may be large:
/// call it off the main thread.
std::optional<QByteArray> clipboardImageBytes(const ClipboardImageOffer &offer);

} // namespace velmora
