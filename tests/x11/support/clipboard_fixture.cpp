#include "clipboard_fixture.h"

#include "support/event_loop.h"

namespace velmora::test {

ClipboardFixture::ClipboardFixture() = default;

void ClipboardFixture::startGuard(bool enabled, const QString &replacementMode)
{
    m_settings->setValue(Setting::isClipboardProtectionEnabled, enabled);
    if (!replacementMode.isEmpty())
        m_settings->setValue(Setting::clipboardReplacementModeID, replacementMode);
    m_guard.start([this](const ClipboardImageCandidate &candidate) {
        m_candidates.append(candidate);
        m_candidateTimes.append(m_start.msecsTo(m_clock.now()));
    });
}

void ClipboardFixture::advancePolls(int polls)
{
    for (int i = 0; i < polls; ++i) {
        m_clock.advance(ClipboardProtectionController::pollInterval);
        ASSERT_TRUE(waitUntil([&] { return !m_guard.isReadingClipboard(); }, "the clipboard's owner to answer"));
    }
}

void ClipboardFixture::waitForForeignChange(const std::function<bool()> &offer)
{
    const qint64 before = m_clipboard.changeCount();
    ASSERT_TRUE(offer());
    // Qt learns of another client's ownership through an X event: wait for it to arrive.
    ASSERT_TRUE(waitUntil([&] { return m_clipboard.changeCount() > before; }, "Qt to see the clipboard change"));
}

QImage ClipboardFixture::testImage(const QColor &colour, int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    for (int x = 0; x < width; x += 4)
        image.setPixelColor(x, height / 2, Qt::black);
    return image;
}

} // namespace velmora::test
