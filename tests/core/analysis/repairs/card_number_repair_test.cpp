#include "core/analysis/repairs/card_number_repair.h"

#include "support/read_characters.h"
#include "support/row_name.h"

#include <gtest/gtest.h>

using namespace velmora;
using velmora::test::charactersOf;
using velmora::test::textOf;

namespace {

// Tesseract's other choices for the character at an index of the row's text.
struct Choices {
    qsizetype at;
    QList<SymbolChoice> alternatives;
};

struct CardRow {
    const char *name;
    QString read;
    QList<Choices> choices;
    QString repaired;
    bool failsCheck; ///< as read, before the repair
};

class CardNumberRepairTest : public ::testing::TestWithParam<CardRow> {};

TEST_P(CardNumberRepairTest, MendsOnlyWhatTheGroupsAndTheCheckDigitLeaveNoDoubtAbout)
{
    const CardRow &row = GetParam();
    QList<ReadCharacter> characters = charactersOf(row.read);
    for (const Choices &choice : row.choices)
        characters[row.read.left(choice.at).remove(u' ').size()].alternatives = choice.alternatives;
    EXPECT_EQ(holdsCardFailingItsCheck(characters), row.failsCheck);
    const int replaced = repairCardNumbers(characters);
    EXPECT_EQ(textOf(characters), row.repaired);
    int changed = 0;
    for (qsizetype k = 0; k < row.read.size(); ++k)
        changed += row.read[k] != row.repaired[k];
    EXPECT_EQ(replaced, changed);
}

const QList<SymbolChoice> zeroLikely{{QStringLiteral("0"), 0.76}, {QStringLiteral("8"), 0.45}};
const QList<SymbolChoice> eightLikely{{QStringLiteral("8"), 0.8}};
const QList<SymbolChoice> zeroUnlikely{{QStringLiteral("0"), 0.1}};

INSTANTIATE_TEST_SUITE_P(Rows, CardNumberRepairTest, ::testing::Values(
    CardRow{"checkDigitMendedAfterASetting", QStringLiteral("QA_TEST_CARD=4747-6409-7303-0116"), {{31, zeroLikely}},
            QStringLiteral("QA_TEST_CARD=4747-6409-7303-0110"), true},
    CardRow{"checkDigitMendedInSpacedGroups", QStringLiteral("card 4747 6409 7303 0116 on file"), {{23, zeroLikely}},
            QStringLiteral("card 4747 6409 7303 0110 on file"), true},
    CardRow{"twoChoicesThatPassStay", QStringLiteral("4747-6409-7303-0116"), {{18, zeroLikely}, {5, eightLikely}},
            QStringLiteral("4747-6409-7303-0116"), true},
    CardRow{"choiceFarLessLikelyThanTheDigitStays", QStringLiteral("Card 4830 8549 0833 6141"), {{15, {{QStringLiteral("9"), 0.52}}}},
            QStringLiteral("Card 4830 8549 0833 6141"), true},
    CardRow{"unlikelyChoiceStays", QStringLiteral("4747-6409-7303-0116"), {{18, zeroUnlikely}}, QStringLiteral("4747-6409-7303-0116"), true},
    CardRow{"tildesBetweenGroupsAreDashes", QStringLiteral("5220-3790-6734~4698 3782\u2014822463~10005"), {},
            QStringLiteral("5220-3790-6734-4698 3782-822463-10005"), false},
    CardRow{"passingCardStays", QStringLiteral("4111 1111 1111 1111"), {{0, zeroLikely}}, QStringLiteral("4111 1111 1111 1111"), false},
    CardRow{"phoneNumberIsNoCard", QStringLiteral("+1 415~555~0132 0116-2201"), {{14, zeroLikely}}, QStringLiteral("+1 415~555~0132 0116-2201"), false},
    CardRow{"groupsGluedToAWordAreNoCard", QStringLiteral("id4747-6409-7303-0116 4747-6409-7303-0116x"), {{20, zeroLikely}},
            QStringLiteral("id4747-6409-7303-0116 4747-6409-7303-0116x"), false}),
    test::rowName);

} // namespace
