#include "app/commands/capture_request.h"
#include "app/commands/command_bus.h"
#include "app/commands/command_names.h"
#include "app/commands/detection_settings_notice.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

TEST(CommandBusTest, DeliversOnlyTheObservedName)
{
    QObject context;
    QVariant received;
    int calls = 0;
    CommandBus::instance().observe(QStringLiteral("velmoraUndoManualEdit"), &context,
                                   [&](const QVariant &object, const QVariantMap &) {
                                       received = object;
                                       ++calls;
                                   });
    CommandBus::instance().post(QStringLiteral("velmoraRedoManualEdit"));
    CommandBus::instance().post(QStringLiteral("velmoraUndoManualEdit"), 7);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(received.toInt(), 7);
}

// Commands that carry a payload travel through their typed post and observe pair:
// what one side posts, the other receives as it was posted.

class CaptureRequestPayload : public ::testing::TestWithParam<VelmoraCaptureMode>
{
};

TEST_P(CaptureRequestPayload, TheObserverGetsThePostedMode)
{
    QObject context;
    QList<VelmoraCaptureMode> received;
    observeCaptureRequests(&context, [&](VelmoraCaptureMode mode) { received << mode; });
    postCaptureRequest(GetParam());
    EXPECT_EQ(received, QList<VelmoraCaptureMode>{GetParam()});
}

INSTANTIATE_TEST_SUITE_P(Modes, CaptureRequestPayload,
                         ::testing::Values(VelmoraCaptureMode::screen, VelmoraCaptureMode::window,
                                           VelmoraCaptureMode::area),
                         [](const auto &info) { return rawValue(info.param).toStdString(); });

TEST(CaptureRequestPayloadTest, ARequestWithoutAModeIsDropped)
{
    QObject context;
    int received = 0;
    observeCaptureRequests(&context, [&](VelmoraCaptureMode) { ++received; });
    CommandBus::instance().post(commands::velmoraCaptureRequested, QStringLiteral("everything"));
    CommandBus::instance().post(commands::velmoraCaptureRequested);
    EXPECT_EQ(received, 0);
}

TEST(CaptureRequestPayloadTest, TheObserverStopsWithItsContext)
{
    int received = 0;
    {
        QObject context;
        observeCaptureRequests(&context, [&](VelmoraCaptureMode) { ++received; });
    }
    postCaptureRequest(VelmoraCaptureMode::area);
    EXPECT_EQ(received, 0);
}

class DetectionSettingsNotice : public ::testing::Test
{
protected:
    DetectionSettingsNotice()
    {
        observeCustomDetectionSettingsChanges(&m_context, [this](const std::optional<DetectionSettingsValues> &values) {
            received.push_back(values);
        });
    }

    std::vector<std::optional<DetectionSettingsValues>> received;

private:
    QObject m_context;
};

TEST_F(DetectionSettingsNotice, CarriesTheFiveValues)
{
    const DetectionSettingsValues values{QStringLiteral("Orion\nVega"), QStringLiteral("INV-\\d+"),
                                         QStringLiteral("ok@example.com"), QStringLiteral("strict"),
                                         QByteArray(R"({"faces":false})")};
    postCustomDetectionSettingsChange(values);
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0], values);
}

TEST_F(DetectionSettingsNotice, WithoutValuesMeansReadTheStore)
{
    postCustomDetectionSettingsChange(std::nullopt);
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0], std::nullopt);
}

TEST_F(DetectionSettingsNotice, AValueOfTheWrongTypeReadsAsEmpty)
{
    CommandBus::instance().post(commands::velmoraCustomDetectionSettingsDidChange, {},
                                {{"customDetectionTerms", QStringLiteral("Orion")},
                                 {"customDetectionAllowlist", 42},
                                 {"velmoraDetectorCategoryPreferences", QStringLiteral("{}")}});
    ASSERT_EQ(received.size(), 1u);
    ASSERT_TRUE(received[0]);
    EXPECT_EQ(received[0]->customTermsText, "Orion");
    EXPECT_EQ(received[0]->allowlistText, "");
    EXPECT_EQ(received[0]->customRegexesText, "") << "missing";
    EXPECT_EQ(received[0]->detectorCategoryPreferencesData, "");
}

} // namespace
} // namespace velmora
