#include "app/review/capture_texts.h"
#include "app/review/review_controller.h"
#include "app/shell/capture_request.h"
#include "app/shell/velmora_app.h"
#include "app/window/content_view.h"
#include "app/window/main_window.h"

#include "support/scoped_environment.h"
#include "support/temp_settings.h"

#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

namespace velmora::test {
namespace {

MainWindow *visibleMainWindow()
{
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (auto *window = qobject_cast<MainWindow *>(widget); window && window->isVisible())
            return window;
    }
    return nullptr;
}

// With the window closed, a capture from the tray gets a window of its own, which comes
// forward once the capture ends in review or, as here without a capture tool, fails.
TEST(VelmoraAppTest, ACaptureRequestWithoutAWindowGetsOne)
{
    ScopedEnvironmentVariable testMode{"VELMORA_UI_TEST_MODE", "1"};
    ScopedEnvironmentVariable location{"VELMORA_UI_INSTALL_LOCATION_OVERRIDE", "/usr/bin/velmora"};
    TempSettings settings;
    VelmoraApp app(*settings);
    ASSERT_EQ(visibleMainWindow(), nullptr);

    postCaptureRequest(VelmoraCaptureMode::screen);
    ASSERT_TRUE(QTest::qWaitFor([] { return visibleMainWindow() != nullptr; }, 5000));
    EXPECT_EQ(visibleMainWindow()->contentView()->controller().state().errorText, CaptureText::failedError);
}

} // namespace
} // namespace velmora::test
