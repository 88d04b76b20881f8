#include "app/commands/command_bus.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

// What one side posts, the other receives as it was posted; a post whose payload
// cannot be read is dropped.
class CommandBusTest : public ::testing::Test
{
protected:
    CommandBus bus;
    QObject context;
};

TEST_F(CommandBusTest, DeliversOnlyTheObservedCommandUnderItsName)
{
    int calls = 0;
    bus.observe(commands::velmoraShowHelpCenter, &context, [&] { ++calls; });
    QStringList names;
    QObject::connect(&bus, &CommandBus::posted, &context, [&](const QString &name) { names << name; });
    bus.post(commands::velmoraShowOnboarding);
    bus.post(commands::velmoraShowHelpCenter);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(names, (QStringList{"velmoraShowOnboarding", "velmoraShowHelpCenter"}));
}

TEST_F(CommandBusTest, TheObserverStopsWithItsContext)
{
    int received = 0;
    {
        QObject shortLived;
        bus.observe(commands::velmoraCaptureRequested, &shortLived, [&](VelmoraCaptureMode) { ++received; });
    }
    bus.post(commands::velmoraCaptureRequested, VelmoraCaptureMode::area);
    EXPECT_EQ(received, 0);
}

class CaptureRequestPayload : public CommandBusTest, public ::testing::WithParamInterface<VelmoraCaptureMode>
{
};

TEST_P(CaptureRequestPayload, TravelsAsTheModesRawValue)
{
    QList<VelmoraCaptureMode> received;
    bus.observe(commands::velmoraCaptureRequested, &context, [&](VelmoraCaptureMode mode) { received << mode; });
    QVariant object;
    QObject::connect(&bus, &CommandBus::posted, &context,
                     [&](const QString &, const QVariant &posted) { object = posted; });
    bus.post(commands::velmoraCaptureRequested, GetParam());
    EXPECT_EQ(received, QList<VelmoraCaptureMode>{GetParam()});
    EXPECT_EQ(object, QVariant(rawValue(GetParam())));
}

INSTANTIATE_TEST_SUITE_P(Modes, CaptureRequestPayload,
                         ::testing::Values(VelmoraCaptureMode::screen, VelmoraCaptureMode::window,
                                           VelmoraCaptureMode::area),
                         [](const auto &info) { return rawValue(info.param).toStdString(); });

TEST_F(CommandBusTest, ACaptureRequestWithoutAModeIsDropped)
{
    int received = 0;
    bus.observe(commands::velmoraCaptureRequested, &context, [&](VelmoraCaptureMode) { ++received; });
    emit bus.posted(QStringLiteral("velmoraCaptureRequested"), QStringLiteral("everything"), {});
    emit bus.posted(QStringLiteral("velmoraCaptureRequested"), {}, {});
    EXPECT_EQ(received, 0);
}

class DetectionSettingsNotice : public CommandBusTest
{
protected:
    DetectionSettingsNotice()
    {
        bus.observe(commands::velmoraCustomDetectionSettingsDidChange, &context,
                    [this](const std::optional<DetectionSettingsValues> &values) { received.push_back(values); });
        QObject::connect(&bus, &CommandBus::posted, &context,
                         [this](const QString &, const QVariant &, const QVariantMap &info) { userInfo = info; });
    }

    std::vector<std::optional<DetectionSettingsValues>> received;
    QVariantMap userInfo;
};

TEST_F(DetectionSettingsNotice, CarriesTheFiveValuesUnderTheirSettingsKeys)
{
    const DetectionSettingsValues values{QStringLiteral("Orion\nVega"), QStringLiteral("INV-\\d+"),
                                         QStringLiteral("ok@example.com"), QStringLiteral("strict"),
                                         QByteArray(R"({"faces":false})")};
    bus.post(commands::velmoraCustomDetectionSettingsDidChange, std::optional(values));
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0], values);
    EXPECT_EQ(userInfo.keys(), (QStringList{"customDetectionAllowlist", "customDetectionRegexes",
                                            "customDetectionTerms",
                                            "redactionPolicyPreset", "velmoraDetectorCategoryPreferences"}));
}

TEST_F(DetectionSettingsNotice, WithoutValuesMeansReadTheStore)
{
    bus.post(commands::velmoraCustomDetectionSettingsDidChange, std::optional<DetectionSettingsValues>());
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0], std::nullopt);
    EXPECT_TRUE(userInfo.isEmpty());
}

TEST_F(DetectionSettingsNotice, AValueOfTheWrongTypeReadsAsEmpty)
{
    emit bus.posted(QStringLiteral("velmoraCustomDetectionSettingsDidChange"), {},
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
