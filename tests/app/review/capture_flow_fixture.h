#pragma once

#include "app/review/capture_flow.h"

#include "review_fixture.h"
#include "support/event_loop.h"
#include "support/fake_capture_tool.h"
#include "support/image_bytes.h"
#include "support/recording_notification_center.h"

#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace velmora::test {

// The capture flow over the review fixture: a capture tool of the test's own that
// writes a known screenshot (or does what the test says), the fake scan engine whose
// answer the test gives, and the stored output settings the test sets.
class CaptureFlowTest : public ReviewFixture
{
protected:
    CaptureFlowTest()
    {
        screenshotPath = m_dir.filePath(QStringLiteral("screenshot.png"));
        writeBytes(screenshotPath, encodedPng(screenshot));
    }

    /// A tool that writes the screenshot and succeeds.
    QByteArray writesScreenshot() const { return "cp '" + screenshotPath.toUtf8() + "' \"$last\""; }

    /// Builds the flow over a tool running `toolBody`.
    CaptureFlow &flowWith(const QByteArray &toolBody, bool accessGranted = true)
    {
        tool = std::make_unique<FakeCaptureTool>(toolBody);
        flow = std::make_unique<CaptureFlow>(
            controller.intake(), CaptureFlowEnvironment{ScreenCaptureService(tool->tool(accessGranted)),
                                               {*settings, clipboard, clock, guard.monitorPlan(), autoCleanUndo, notifications,
                                                [this] { return isActive; }},
                                               [this] { ++broughtForward; },
                                               [this](const std::function<void()> &open,
                                                      const std::function<void()> &wait) {
                                                   (reviewMayBeReplaced ? open : wait)();
                                               }});
        return *flow;
    }

    /// Waits for the tool to end and the scan to start, then answers the scan; a capture
    /// opened for review is on screen afterwards.
    void finishScan(const QList<Detection> &visual)
    {
        ASSERT_TRUE(waitUntil([&] { return engine.callCount() > m_answeredScans; }, "the capture's scan to start"));
        ++m_answeredScans;
        engine.lastCall().finish(visual);
        drainEvents();
        finishAutoOutput();
        drainScans();
    }
    /// Waits for AutoClean's cleaned copy, made off the main thread, and delivers it.
    void finishAutoOutput()
    {
        flow->autoOutput().waitForFinished();
        drainEvents();
    }
    /// Waits until the capture has ended, whichever way.
    bool waitForEnding()
    {
        return waitUntil([&] { return !state().captureTask.has_value(); }, "the capture to end");
    }

    void storeOutput(const char *mode, const char *safety)
    {
        settings->setValue(Setting::captureOutputModeID, QString::fromLatin1(mode));
        settings->setValue(Setting::captureOutputSafetyModeID, QString::fromLatin1(safety));
    }

    /// A finding AutoClean may mask without asking, over the left half of the top half.
    static Detection sureFinding()
    {
        Detection detection = makeFinding({0.0, 0.5, 0.5, 0.5});
        detection.confidence = 0.95;
        return detection;
    }
    /// A finding that needs review (its confidence is low); each `index` has a box of its own.
    static Detection unsureFinding(int index = 0)
    {
        Detection detection = makeFinding({0.5, 0.1 * index, 0.5, 0.05});
        detection.confidence = 0.5;
        return detection;
    }

    QImage screenshot = plainImage(230, 80, 60);
    QString screenshotPath;
    std::unique_ptr<FakeCaptureTool> tool;
    std::unique_ptr<CaptureFlow> flow;
    int broughtForward = 0;
    /// Whether the window lets a capture replace the review on screen, or makes it wait.
    bool reviewMayBeReplaced = true;
    RecordingNotificationCenter notifications;
    bool isActive = true; ///< Whether Velmora is the application in front.

private:
    QTemporaryDir m_dir;
    int m_answeredScans = 0;
};

} // namespace velmora::test
