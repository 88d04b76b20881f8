#pragma once

#include "app/review/review_image_source.h"
#include "app/review/screen_bitmap.h"
#include "core/detection/core_error.h"

#include <QFuture>
#include <QImage>
#include <QObject>

#include <functional>
#include <optional>
#include <utility>
#include <variant>

namespace velmora {

class ClipboardAccess;
struct ClipboardImageOffer;
struct ReviewIntakeImage;

// Reads the one image a paste, a drop of image bytes or a flow outside the review hands
// over (its encoded bytes, its file, or what the clipboard offers) off the main thread
// (the clipboard's owner is asked on it, and answers when it will),
// and hands the source and the decoded image back on the main thread. One at a time: starting another one or
// cancelling drops the result of the one before, and nothing is handed back once the
// owner is gone. Owned by the review controller.
class IntakeImport : public QObject
{
    Q_OBJECT
public:
    using Ready = std::function<void(const ReviewImageSource &source, const ScreenBitmap &bitmap)>;
    using Failed = std::function<void(VelmoraCoreError error)>;

    explicit IntakeImport(QObject *parent = nullptr);

    /// Drops the running read, if any, and starts this one.
    void start(const ReviewIntakeImage &image, Ready onReady, Failed onFailed);
    /// Drops the running read, if any, and reads what the clipboard offers as an image,
    /// without waiting for the application that owns it: `onOffer` runs once it answered.
    void readClipboard(ClipboardAccess &clipboard, std::function<void(const ClipboardImageOffer &offer)> onOffer);
    /// Whether the clipboard's owner is being asked for what it offers.
    bool isReadingClipboard() const { return m_clipboardRead.has_value(); }
    /// The same as start for the image a clipboard offers: its bytes, or a file it names,
    /// which is read with the importer's checks (invalidImageData when none passes).
    void start(const ClipboardImageOffer &offer, Ready onReady, Failed onFailed);
    /// Nothing more is handed over.
    void cancel();
    /// The running (or last) read, for whoever must wait until it is done.
    QFuture<void> future() const { return m_future; }

    using Imported = std::pair<ReviewImageSource, ScreenBitmap>;
    /// What a read gives: the source and its decoded bitmap, or why the image could not be read.
    using Outcome = std::variant<Imported, VelmoraCoreError>;

private:
    void watch(const QFuture<Outcome> &future, Ready onReady, Failed onFailed);

    QFuture<void> m_future;
    /// Counts the reads started or cancelled: a result of an older one is dropped.
    quint64 m_generation = 0;
    /// The generation of the clipboard read under way.
    std::optional<quint64> m_clipboardRead;
};

} // namespace velmora
