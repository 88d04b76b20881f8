#include "core/detection/detector_category_preferences.h"

#include "support/json_text.h"
#include "support/row_name.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <gtest/gtest.h>

using namespace velmora;
using velmora::test::jsonObject;

namespace {

constexpr auto R = RedactionPolicyDisposition::autoRedact;
constexpr auto C = RedactionPolicyDisposition::needsReview;
constexpr auto O = RedactionPolicyDisposition::ignore;

TEST(DetectorCategoryPreferencesTest, DefaultEnablesEverythingWithoutOverrides)
{
    const auto &preferences = DetectorCategoryPreferences::defaultPreferences();
    for (const auto category : allCases<DetectorCategory>()) {
        EXPECT_TRUE(preferences.isEnabled(category));
        EXPECT_EQ(preferences.disposition(category), std::nullopt);
        EXPECT_EQ(preferences.effectiveDisposition(u"Email", category, C), C);
    }
    EXPECT_EQ(preferences.detectorDisposition(u"Email"), std::nullopt);
}

TEST(DetectorCategoryPreferencesTest, IgnoreDispositionSwitchesOffAndAnotherSwitchesOnAgain)
{
    DetectorCategoryPreferences preferences;
    preferences.setDisposition(O, DetectorCategory::faces);
    EXPECT_EQ(preferences.disposition(DetectorCategory::faces), O);
    EXPECT_FALSE(preferences.isEnabled(DetectorCategory::faces));
    EXPECT_TRUE(preferences.disabledCategories.contains(DetectorCategory::faces));

    preferences.setDisposition(C, DetectorCategory::faces);
    EXPECT_TRUE(preferences.isEnabled(DetectorCategory::faces));
    EXPECT_FALSE(preferences.disabledCategories.contains(DetectorCategory::faces));
    EXPECT_EQ(preferences.disposition(DetectorCategory::faces), C);
    EXPECT_EQ(preferences.categoryDispositions(), (CategoryDispositions{{DetectorCategory::faces, C}}));

    preferences.setDisposition(std::nullopt, DetectorCategory::faces);
    EXPECT_EQ(preferences, DetectorCategoryPreferences::defaultPreferences());
}

TEST(DetectorCategoryPreferencesTest, SwitchingOffAndOnAgainRestoresThePreferences)
{
    DetectorCategoryPreferences preferences;
    preferences.setDetectorDisposition(R, QStringLiteral("Phone number"));
    const DetectorCategoryPreferences before = preferences;
    preferences.setEnabled(false, DetectorCategory::emails);
    EXPECT_FALSE(preferences.isEnabled(DetectorCategory::emails));
    EXPECT_EQ(preferences.categoryDispositionsByID.value(QStringLiteral("emails")), O);
    preferences.setEnabled(true, DetectorCategory::emails);
    EXPECT_EQ(preferences, before);
}

TEST(DetectorCategoryPreferencesTest, SwitchingOnKeepsAnOverrideOtherThanIgnore)
{
    DetectorCategoryPreferences preferences;
    preferences.setDisposition(R, DetectorCategory::cards);
    preferences.disabledCategories.insert(DetectorCategory::cards);
    EXPECT_FALSE(preferences.isEnabled(DetectorCategory::cards));
    EXPECT_EQ(preferences.disposition(DetectorCategory::cards), O);
    preferences.setEnabled(true, DetectorCategory::cards);
    EXPECT_TRUE(preferences.isEnabled(DetectorCategory::cards));
    EXPECT_EQ(preferences.disposition(DetectorCategory::cards), R);
}

TEST(DetectorCategoryPreferencesTest, IgnoreOverrideAloneMeansSwitchedOff)
{
    DetectorCategoryPreferences preferences;
    preferences.categoryDispositionsByID.insert(QStringLiteral("phones"), O);
    EXPECT_FALSE(preferences.isEnabled(DetectorCategory::phones));
    EXPECT_EQ(preferences.disposition(DetectorCategory::phones), O);
}

struct EffectiveRow {
    const char *name;
    DetectorCategoryPreferences preferences;
    RedactionPolicyDisposition expected;
};

class EffectiveDispositionTest : public ::testing::TestWithParam<EffectiveRow> {};

TEST_P(EffectiveDispositionTest, DetectorThenSwitchThenCategoryThenFallback)
{
    EXPECT_EQ(GetParam().preferences.effectiveDisposition(u"Card number", DetectorCategory::cards, C),
              GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Orders, EffectiveDispositionTest, ::testing::Values(
    EffectiveRow{"fallback", {}, C},
    EffectiveRow{"categoryOverride", DetectorCategoryPreferences::make({}, {{DetectorCategory::cards, R}}, {}), R},
    EffectiveRow{"switchedOffBeatsCategoryOverride",
        DetectorCategoryPreferences::make({DetectorCategory::cards}, {{DetectorCategory::cards, R}}, {}), O},
    EffectiveRow{"detectorOverrideBeatsSwitchedOff",
        DetectorCategoryPreferences::make({DetectorCategory::cards}, {}, {{"Card number", R}}), R},
    EffectiveRow{"detectorLabelIsExact",
        DetectorCategoryPreferences::make({}, {}, {{"card number", R}}), C},
    EffectiveRow{"otherCategoryOverrideIrrelevant",
        DetectorCategoryPreferences::make({DetectorCategory::emails}, {{DetectorCategory::phones, R}}, {}), C}),
    test::rowName);

TEST(DetectorCategoryPreferencesTest, DetectorDispositionUsesTheLabelUnchanged)
{
    DetectorCategoryPreferences preferences;
    preferences.setDetectorDisposition(O, QStringLiteral(" Email"));
    EXPECT_EQ(preferences.detectorDisposition(u" Email"), O);
    EXPECT_EQ(preferences.detectorDisposition(u"Email"), std::nullopt);
    preferences.setDetectorDisposition(std::nullopt, QStringLiteral(" Email"));
    EXPECT_TRUE(preferences.detectorDispositionsByLabel.isEmpty());
}

TEST(DetectorCategoryPreferencesTest, UnknownCategoryKeysAreCarriedButNeverRead)
{
    const auto decoded = DetectorCategoryPreferences::fromJson(
        jsonObject(R"({"categoryDispositionsByID": {"holograms": "autoRedact", "faces": "needsReview"}})"));
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->categoryDispositions(), (CategoryDispositions{{DetectorCategory::faces, C}}));
    EXPECT_EQ(decoded->categoryDispositionsByID.size(), 2);
    EXPECT_EQ(DetectorCategoryPreferences::fromJson(decoded->toJson()), decoded);
}

TEST(DetectorCategoryPreferencesTest, EncodesAllThreeKeysAndRoundTrips)
{
    const auto preferences = DetectorCategoryPreferences::make(
        {DetectorCategory::faces, DetectorCategory::emails}, {{DetectorCategory::cards, R}, {DetectorCategory::faces, O}},
        {{"Slack token", C}});
    const QJsonObject encoded = DetectorCategoryPreferences::defaultPreferences().toJson();
    EXPECT_EQ(encoded.keys(),
              (QStringList{"categoryDispositionsByID", "detectorDispositionsByLabel", "disabledCategories"}));
    const QByteArray bytes = QJsonDocument(preferences.toJson()).toJson();
    EXPECT_EQ(DetectorCategoryPreferences::fromJson(QJsonDocument::fromJson(bytes).object()), preferences);
    EXPECT_EQ(DetectorCategoryPreferences::fromJson(encoded), DetectorCategoryPreferences::defaultPreferences());
}

class CategoryPreferencesDecodeTest : public ::testing::TestWithParam<test::JsonDecodeRow> {};

TEST_P(CategoryPreferencesDecodeTest, DecodesOptionalKeysAndRejectsWrongForms)
{
    EXPECT_EQ(DetectorCategoryPreferences::fromJson(jsonObject(GetParam().json)).has_value(), GetParam().decodes);
}

INSTANTIATE_TEST_SUITE_P(Documents, CategoryPreferencesDecodeTest, ::testing::Values(
    test::JsonDecodeRow{"emptyObject", "{}", true},
    test::JsonDecodeRow{"nullKeys", R"({"disabledCategories": null, "categoryDispositionsByID": null,
                               "detectorDispositionsByLabel": null})", true},
    test::JsonDecodeRow{"unknownTopLevelKey", R"({"future": 1})", true},
    test::JsonDecodeRow{"duplicateDisabledCategory", R"({"disabledCategories": ["faces", "faces"]})", true},
    test::JsonDecodeRow{"unknownCategory", R"({"disabledCategories": ["holograms"]})", false},
    test::JsonDecodeRow{"categoryInOtherCase", R"({"disabledCategories": ["Faces"]})", false},
    test::JsonDecodeRow{"disabledIsString", R"({"disabledCategories": "faces"})", false},
    test::JsonDecodeRow{"disabledHoldsNumber", R"({"disabledCategories": [1]})", false},
    test::JsonDecodeRow{"unknownCategoryDisposition", R"({"categoryDispositionsByID": {"faces": "off"}})", false},
    test::JsonDecodeRow{"unknownDetectorDisposition", R"({"detectorDispositionsByLabel": {"Email": "Redact"}})", false},
    test::JsonDecodeRow{"detectorMapIsArray", R"({"detectorDispositionsByLabel": []})", false}),
    test::rowName);

TEST(DetectorCategoryPreferencesTest, EmptyObjectDecodesToTheDefault)
{
    EXPECT_EQ(DetectorCategoryPreferences::fromJson(jsonObject("{}")), DetectorCategoryPreferences::defaultPreferences());
    EXPECT_FALSE(DetectorCategoryPreferences::fromJson(QJsonValue(QJsonArray())).has_value());
}

} // namespace
