#include "core/detection/core_error.h"
#include "core/detection/norm_rect.h"

#include <QFuture>
#include <QtConcurrent/QtConcurrentRun>
#include <gtest/gtest.h>

using namespace velmora;

namespace {

struct PairRow {
    const char *name;
    NormRect a;
    NormRect b;
    NormRect united;
    NormRect intersected;
    bool intersects;
};

class NormRectPairTest : public ::testing::TestWithParam<PairRow> {};

TEST_P(NormRectPairTest, UnionAndIntersectionFollowTheRectangleRules)
{
    const PairRow &row = GetParam();
    EXPECT_EQ(row.a.united(row.b), row.united);
    EXPECT_EQ(row.b.united(row.a), row.united);
    EXPECT_EQ(row.a.intersected(row.b), row.intersected);
    EXPECT_EQ(row.a.intersects(row.b), row.intersects);
    EXPECT_EQ(row.b.intersects(row.a), row.intersects);
}

INSTANTIATE_TEST_SUITE_P(Pairs, NormRectPairTest, ::testing::Values(
    PairRow{"overlapping", {0, 0, 0.5, 0.5}, {0.25, 0.25, 0.5, 0.5}, {0, 0, 0.75, 0.75}, {0.25, 0.25, 0.25, 0.25}, true},
    PairRow{"disjoint", {0, 0, 0.25, 0.25}, {0.5, 0.5, 0.25, 0.25}, {0, 0, 0.75, 0.75}, NormRect::null(), false},
    // Touching edges meet in a rectangle of zero width, which is empty: they do not intersect.
    PairRow{"touching", {0, 0, 0.25, 0.5}, {0.25, 0, 0.25, 0.5}, {0, 0, 0.5, 0.5}, {0.25, 0, 0, 0.5}, false},
    PairRow{"nullIsTheUnionsIdentity", NormRect::null(), {0.5, 0.25, -0.25, 0.25}, {0.25, 0.25, 0.25, 0.25},
            NormRect::null(), false},
    // An empty rectangle is not null: it still widens a union to its point.
    PairRow{"emptyWidensTheUnion", {0.75, 0.75, 0, 0}, {0, 0, 0.25, 0.25}, {0, 0, 0.75, 0.75}, NormRect::null(),
            false},
    PairRow{"negativeSizesAreStandardised", {0.5, 0.5, -0.25, -0.25}, {0.25, 0.25, 0.5, 0.5},
            {0.25, 0.25, 0.5, 0.5}, {0.25, 0.25, 0.25, 0.25}, true}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(NormRectTest, AccessorsWorkOnTheStandardisedRectangle)
{
    const NormRect flipped{0.5, 0.5, -0.25, -0.5};
    EXPECT_EQ(flipped.minX(), 0.25);
    EXPECT_EQ(flipped.maxY(), 0.5);
    EXPECT_EQ(flipped.standardWidth(), 0.25);
    EXPECT_EQ(flipped.area(), 0.125);
    EXPECT_EQ(flipped.standardized(), (NormRect{0.25, 0, 0.25, 0.5}));
    // Equality compares the raw fields: the same area written two ways is not equal.
    EXPECT_NE(flipped, flipped.standardized());
}

TEST(NormRectTest, NullAndInfinite)
{
    EXPECT_TRUE(NormRect::null().isNull());
    EXPECT_TRUE(NormRect::null().isEmpty());
    EXPECT_EQ(NormRect::null().area(), 0);
    EXPECT_FALSE(NormRect().isNull());
    EXPECT_TRUE(NormRect().isEmpty());
    EXPECT_TRUE(NormRect::infinite().isInfinite());
    EXPECT_EQ(NormRect::infinite().intersected({0.125, 0.25, 0.5, 0.25}), (NormRect{0.125, 0.25, 0.5, 0.25}));
    EXPECT_EQ(NormRect::null().offsetBy(0.1, 0.1), NormRect::null());
    EXPECT_EQ((NormRect{0.1, 0.1, 0.2, 0.2}).insetBy(0.2, 0), NormRect::null());
}

TEST(NormRectTest, ContainsMinEdgesButNotMaxEdges)
{
    const NormRect box{0.25, 0.25, 0.5, 0.5};
    EXPECT_TRUE(box.contains({0.25, 0.25}));
    EXPECT_FALSE(box.contains({0.75, 0.5}));
    EXPECT_FALSE(box.contains({0.5, 0.75}));
    EXPECT_FALSE((NormRect{0.25, 0.25, 0, 0.5}).contains({0.25, 0.5}));
}

TEST(VelmoraCoreExceptionTest, CarriesItsCaseAcrossAFuture)
{
    QFuture<int> future = QtConcurrent::run([]() -> int {
        throw VelmoraCoreException(VelmoraCoreError::textRecognitionFailed);
    });
    try {
        future.waitForFinished();
        FAIL() << "the exception did not cross the future";
    } catch (const VelmoraCoreException &exception) {
        EXPECT_EQ(exception.error(), VelmoraCoreError::textRecognitionFailed);
    }
}

} // namespace
