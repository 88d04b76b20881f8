#pragma once

#include "app/protection/clipboard_protection_controller.h"
#include "app/protection/system_clipboard.h"
#include "support/image_bytes.h"
#include "support/manual_clock.h"
#include "support/temp_settings.h"

#include <QByteArray>
#include <QColor>
#include <QDateTime>
#include <QImage>
#include <QList>

#include <gtest/gtest.h>

namespace velmora::test {

// The real clipboard of the X server, a clipboard guard over it on a manual clock, and
// the candidates the guard hands over.
class ClipboardFixture : public ::testing::Test
{
protected:
    ClipboardFixture();

    /// Stores the guard's switch and (unless empty) its replacement mode, then starts it.
    void startGuard(bool enabled = true, const QString &replacementMode = QStringLiteral("pauseIfUnsure"));
    /// Advances the clock by `polls` poll intervals, each once the clipboard's owner
    /// answered what the poll before asked.
    void advancePolls(int polls);
    /// Runs `offer` (which makes another client own the clipboard) and waits until Qt has seen the change.
    void waitForForeignChange(const std::function<bool()> &offer);

    static QImage testImage(const QColor &colour, int width = 48, int height = 32);

    ManualClock m_clock;
    SystemClipboard m_clipboard{m_clock};
    TempSettings m_settings;
    ClipboardProtectionController m_guard{m_clipboard, *m_settings, m_clock};
    QList<ClipboardImageCandidate> m_candidates;
    const QDateTime m_start = m_clock.now();
    QList<qint64> m_candidateTimes; ///< Milliseconds since the fixture began, per candidate.
};

} // namespace velmora::test
