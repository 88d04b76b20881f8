#include "core/analysis/repairs/address_repair.h"

#include "support/read_characters.h"
#include "support/row_name.h"

#include <gtest/gtest.h>

using namespace velmora;
using velmora::test::charactersOf;
using velmora::test::textOf;

namespace {

struct AddressRow {
    const char *name;
    QString read;
    QString doubtful;   ///< the character offering the alternatives (its first occurrence)
    double confidence;  ///< Tesseract's certainty of it
    QList<SymbolChoice> alternatives;
    QString repaired;
};

class AddressRepairTest : public ::testing::TestWithParam<AddressRow> {};

TEST_P(AddressRepairTest, MendsOnlyWhatNoAddressHolds)
{
    const AddressRow &row = GetParam();
    const qsizetype at = row.read.indexOf(row.doubtful);
    QList<ReadCharacter> characters = charactersOf(row.read, at, row.alternatives);
    // charactersOf drops the blanks: find the doubtful character among the others.
    characters[at - row.read.left(at).count(u' ')].confidence = row.confidence;
    const int replaced = repairAddressRuns(characters);
    EXPECT_EQ(textOf(characters), row.repaired);
    EXPECT_EQ(replaced, row.read == row.repaired ? 0 : 1);
}

const QList<SymbolChoice> atSignLikely{{QStringLiteral("@"), 0.81}};

INSTANTIATE_TEST_SUITE_P(Rows, AddressRepairTest, ::testing::Values(
    AddressRow{"atSignReadAsCapitalG", QStringLiteral("3358,Sven Berg,elena.smithGexample.org,active"), QStringLiteral("G"), 0.94,
               atSignLikely, QStringLiteral("3358,Sven Berg,elena.smith@example.org,active")},
    AddressRow{"atSignReadAsSmallFAfterAnotherChoice", QStringLiteral("3161b37,Priya Khan,noah.garciafacme.io,+1 820"), QStringLiteral("f"), 0.97,
               {{QStringLiteral("#"), 0.76}, {QStringLiteral("@"), 0.67}}, QStringLiteral("3161b37,Priya Khan,noah.garcia@acme.io,+1 820")},
    AddressRow{"atSignInAngleBrackets", QStringLiteral("Author: Priya Khan <maria_silvaGexample.org>"), QStringLiteral("G"), 0.98,
               atSignLikely, QStringLiteral("Author: Priya Khan <maria_silva@example.org>")},
    AddressRow{"accentedLetterInLocalPart", QStringLiteral("<ana.kowalski\u00E9@umbrella-corp.com>"), QStringLiteral("\u00E9"), 0.92,
               {{QStringLiteral("6"), 0.55}, {QStringLiteral("f"), 0.55}}, QStringLiteral("<ana.kowalski6@umbrella-corp.com>")},
    AddressRow{"markInLocalPart", QStringLiteral("by elena_silva?7@mail.example.co.uk"), QStringLiteral("?"), 0.93,
               {{QStringLiteral("7"), 0.86}}, QStringLiteral("by elena_silva77@mail.example.co.uk")},
    AddressRow{"hyphenOfDomainReadAsTilde", QStringLiteral("SUPPORT_EMAIL=fokafor@acme~corp.com"), QStringLiteral("~"), 0.94, {},
               QStringLiteral("SUPPORT_EMAIL=fokafor@acme-corp.com")},
    // Rows that must stay as read.
    AddressRow{"tildeOfHomeAfterHostStays", QStringLiteral("deploy@build.example.com:~/shop"), QStringLiteral("~"), 0.94, {},
               QStringLiteral("deploy@build.example.com:~/shop")},
    AddressRow{"sureLookAlikeStays", QStringLiteral("mail.Gexample.org"), QStringLiteral("G"), 0.995, atSignLikely,
               QStringLiteral("mail.Gexample.org")},
    AddressRow{"unlikelyAtSignStays", QStringLiteral("elena.smithGexample.org"), QStringLiteral("G"), 0.94, {{QStringLiteral("@"), 0.05}},
               QStringLiteral("elena.smithGexample.org")},
    AddressRow{"addressWithItsAtSignStays", QStringLiteral("maria.doe@example.com"), QStringLiteral("e"), 0.9, atSignLikely,
               QStringLiteral("maria.doe@example.com")},
    AddressRow{"singleLetterLabelStays", QStringLiteral("see wiki.example.org"), QStringLiteral("k"), 0.9, atSignLikely,
               QStringLiteral("see wiki.example.org")},
    AddressRow{"noDomainAfterStays", QStringLiteral("AKIAIZL6KGZHSG7JKO"), QStringLiteral("G"), 0.9, atSignLikely,
               QStringLiteral("AKIAIZL6KGZHSG7JKO")},
    AddressRow{"tokenAfterDotStays", QStringLiteral("eyJhbGciOiJIUzI1NiJ9.eyJzdWIi"), QStringLiteral("c"), 0.9, atSignLikely,
               QStringLiteral("eyJhbGciOiJIUzI1NiJ9.eyJzdWIi")},
    AddressRow{"accentedNameReadSurelyStays", QStringLiteral("jos\u00E9.garcia@example.com"), QStringLiteral("\u00E9"), 0.995,
               {{QStringLiteral("e"), 0.3}}, QStringLiteral("jos\u00E9.garcia@example.com")},
    AddressRow{"accentedWordBeforeAddressStays", QStringLiteral("caf\u00E9,jane@example.com"), QStringLiteral("\u00E9"), 0.9,
               {{QStringLiteral("e"), 0.6}}, QStringLiteral("caf\u00E9,jane@example.com")},
    AddressRow{"questionBeforeAddressStays", QStringLiteral("who? jane@example.com"), QStringLiteral("?"), 0.9,
               {{QStringLiteral("7"), 0.6}}, QStringLiteral("who? jane@example.com")}),
    test::rowName);

struct DomainRow {
    const char *name;
    QString text; ///< what follows an "@"
    bool domain;
};

class AddressDomainTest : public ::testing::TestWithParam<DomainRow> {};

TEST_P(AddressDomainTest, TellsADomainFromTheRestOfAToken)
{
    const DomainRow &row = GetParam();
    const QList<ReadCharacter> characters = charactersOf(row.text);
    EXPECT_EQ(beginsAddressDomain(characters, 0, characters.size() - 1), row.domain);
}

INSTANTIATE_TEST_SUITE_P(Rows, AddressDomainTest, ::testing::Values(
    DomainRow{"endOfRun", QStringLiteral("umbrella-corp.com"), true},
    DomainRow{"commaBeforeMoreCells", QStringLiteral("globex.net,+1"), true},
    DomainRow{"closingBracket", QStringLiteral("globex.net>"), true},
    DomainRow{"portOfUrl", QStringLiteral("db.internal.acme-corp.com:5432/orders"), true},
    DomainRow{"pathOfUrl", QStringLiteral("github.com/team"), true},
    DomainRow{"fullStopOfSentence", QStringLiteral("example.com."), true},
    DomainRow{"strayUnderscoreAtEnd", QStringLiteral("example.com_"), true},
    DomainRow{"noDot", QStringLiteral("7JKO"), false},
    DomainRow{"digitsInLastLabel", QStringLiteral("iJIUzI1NiJ9.eyJzdWIi0"), false},
    DomainRow{"capitalsInsideLastLabel", QStringLiteral("iOiJIUzI1NiJ9.eyJzdWIi"), false},
    DomainRow{"capitalLetters", QStringLiteral("EXAMPLE.COM"), true},
    DomainRow{"underscoreInsideToken", QStringLiteral("ykW.kh_rj1h"), false},
    DomainRow{"nothing", QStringLiteral("_ykWkhrj1h"), false}),
    test::rowName);

} // namespace
