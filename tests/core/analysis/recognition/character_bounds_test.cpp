#include "core/analysis/recognition/character_bounds.h"

#include <gtest/gtest.h>

using namespace velmora;

namespace {

// "ab 😀c": a, b, a space (no box), a two-unit emoji, c.
TextBoundsResolver resolver()
{
    return characterBoundsResolver({{{0, 1}, NormRect(0.10, 0.5, 0.05, 0.1)},
                                    {{1, 1}, NormRect(0.15, 0.5, 0.05, 0.1)},
                                    {{3, 2}, NormRect(0.25, 0.48, 0.08, 0.14)},
                                    {{5, 1}, NormRect(0.33, 0.5, 0.05, 0.1)}});
}

TEST(CharacterBoundsTest, OnlySpacesGiveNothing)
{
    EXPECT_FALSE(resolver()(TextRange{2, 1}).has_value());
    EXPECT_FALSE(resolver()(TextRange{0, 0}).has_value());
    EXPECT_FALSE(resolver()(TextRange{9, 3}).has_value());
}

TEST(CharacterBoundsTest, RangeEndingInsideATwoUnitCharacterLeavesItOut)
{
    EXPECT_EQ(resolver()(TextRange{1, 3}), NormRect(0.15, 0.5, 0.05, 0.1));
    EXPECT_FALSE(resolver()(TextRange{4, 1}).has_value());
}

TEST(CharacterBoundsTest, FirstAndLastWordGiveOneBoxSpanningBoth)
{
    const auto box = resolver()(TextRange{0, 6});
    ASSERT_TRUE(box);
    EXPECT_DOUBLE_EQ(box->minX(), 0.10);
    EXPECT_DOUBLE_EQ(box->maxX(), 0.38);
    EXPECT_DOUBLE_EQ(box->minY(), 0.48);
    EXPECT_DOUBLE_EQ(box->maxY(), 0.62);
}

TEST(CharacterBoundsTest, CopiesShareTheCharacters)
{
    const TextBoundsResolver original = resolver();
    const TextBoundsResolver copy = original;
    EXPECT_EQ(copy(TextRange{0, 2}), original(TextRange{0, 2}));
}

} // namespace
