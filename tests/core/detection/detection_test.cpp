#include "core/detection/detection.h"
#include "core/detection/text_observation.h"

#include "support/row_name.h"

#include <gtest/gtest.h>

#include <limits>

using namespace velmora;

namespace {

struct SanitizerRow {
    const char *name;
    NormRect input;
    std::optional<NormRect> expected;
};

class SanitizerTest : public ::testing::TestWithParam<SanitizerRow> {};

TEST_P(SanitizerTest, KeepsBoxesInsideTheImage)
{
    const auto &row = GetParam();
    const auto result = Detection::sanitizedNormalizedBounds(row.input);
    ASSERT_EQ(result.has_value(), row.expected.has_value());
    if (row.expected) {
        EXPECT_NEAR(result->x, row.expected->x, 1e-12);
        EXPECT_NEAR(result->y, row.expected->y, 1e-12);
        EXPECT_NEAR(result->width, row.expected->width, 1e-12);
        EXPECT_NEAR(result->height, row.expected->height, 1e-12);
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, SanitizerTest, ::testing::Values(
    SanitizerRow{"inside", {0.2, 0.3, 0.1, 0.1}, NormRect{0.2, 0.3, 0.1, 0.1}},
    SanitizerRow{"rightEdgeClamped", {0.9, 0.5, 0.2, 0.2}, NormRect{0.9, 0.5, 0.1, 0.2}},
    SanitizerRow{"whollyRight", {1.2, 0.5, 0.3, 0.1}, std::nullopt},
    SanitizerRow{"leftEdgeClamped", {-0.1, 0.4, 0.3, 0.2}, NormRect{0, 0.4, 0.2, 0.2}},
    SanitizerRow{"negativeWidth", {0.5, 0.4, -0.2, 0.1}, NormRect{0.3, 0.4, 0.2, 0.1}},
    SanitizerRow{"zeroWidth", {0.5, 0.4, 0, 0.1}, std::nullopt},
    SanitizerRow{"infinite", NormRect::infinite(), std::nullopt},
    SanitizerRow{"null", NormRect::null(), std::nullopt},
    SanitizerRow{"topEdgeExactlyOne", {0.1, 0.5, 0.2, 0.5}, NormRect{0.1, 0.5, 0.2, 0.5}}),
    test::rowName);

TEST(TextObservationTest, SanitisesBoxAndClampsConfidence)
{
    EXPECT_EQ(TextObservation("a", {1.5, 1.5, 0.2, 0.2}, 0.5).normalizedBounds(), NormRect());
    EXPECT_EQ(TextObservation("a", {0.1, 0.1, 0.2, 0.2}, 1.7).confidence(), 1.0);
    EXPECT_EQ(TextObservation("a", {0.1, 0.1, 0.2, 0.2}, -0.2).confidence(), 0.0);
    EXPECT_EQ(TextObservation("a", {0.1, 0.1, 0.2, 0.2}, std::numeric_limits<double>::quiet_NaN()).confidence(), 0.0);
}

TEST(TextObservationTest, PartBoundsFallBackToTheLine)
{
    const NormRect line{0.1, 0.1, 0.5, 0.1};
    const TextObservation bare("hello", line, 0.9);
    EXPECT_EQ(bare.boundsFor(0, 2), (TextPartBounds{line, DetectionBoundsPrecision::lineFallback}));

    const TextObservation sticking("hello", line, 0.9, [](const TextRange &) { return NormRect{0.9, 0.1, 0.2, 0.1}; });
    const auto clamped = sticking.boundsFor(0, 2);
    EXPECT_EQ(clamped.precision, DetectionBoundsPrecision::tight);
    EXPECT_NEAR(clamped.bounds.width, 0.1, 1e-12);

    const TextObservation outside("hello", line, 0.9, [](const TextRange &) { return NormRect{1.2, 0.1, 0.2, 0.1}; });
    EXPECT_EQ(outside.boundsFor(0, 2), (TextPartBounds{line, DetectionBoundsPrecision::lineFallback}));
}

TEST(TextObservationTest, RangeConfidenceFallsBackToTheLineAndIsClamped)
{
    const NormRect line{0.1, 0.1, 0.5, 0.1};
    EXPECT_EQ(TextObservation("hello", line, 0.7).confidenceFor({0, 2}), 0.7);
    const auto answering = [&line](double answer) {
        return TextObservation("hello", line, 0.7, {}, [answer](const TextRange &range) { return range.location == 0 ? answer : 0.25; });
    };
    EXPECT_EQ(answering(0.95).confidenceFor({0, 2}), 0.95);
    EXPECT_EQ(answering(0.95).confidenceFor({3, 2}), 0.25);
    EXPECT_EQ(answering(1.4).confidenceFor({0, 2}), 1.0);
    EXPECT_EQ(answering(-0.3).confidenceFor({0, 2}), 0.0);
    EXPECT_EQ(answering(std::numeric_limits<double>::quiet_NaN()).confidenceFor({0, 2}), 0.7);
}

TEST(TextObservationTest, EqualityIgnoresTheCallback)
{
    const TextObservation a("x", {0.1, 0.1, 0.2, 0.2}, 0.5);
    const TextObservation b("x", {0.1, 0.1, 0.2, 0.2}, 0.5, [](const TextRange &) { return std::nullopt; });
    EXPECT_EQ(a, b);
}

TEST(DetectionEnumsTest, RawValuesAreCaseSensitive)
{
    EXPECT_EQ(fromRawValue<DetectionSource>(u"naturalLanguage"), DetectionSource::naturalLanguage);
    EXPECT_EQ(fromRawValue<DetectionSource>(u"Vision"), std::nullopt);
    EXPECT_EQ(rawValue(DetectionKind::creditCard), QStringLiteral("creditCard"));
    EXPECT_EQ(allCases<DetectionKind>().size(), 10u);
}

TEST(DetectionTest, DiffersByIdAlone)
{
    Detection a;
    a.id = QUuid::createUuid();
    Detection b = a;
    EXPECT_EQ(a, b);
    b.id = QUuid::createUuid();
    EXPECT_NE(a, b);
    EXPECT_FALSE(a.hasAdjustedBounds());
}

} // namespace
