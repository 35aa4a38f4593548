#include "inspection/quality_standard_rules.h"

#include <gtest/gtest.h>

#include <limits>

namespace velaqm {
namespace {

TEST(TargetCells, ATargetBecomesEveryLimitWithNoTolerance) {
    const std::vector<CellText> five = {{"FUpperLimitQty", "5"},  {"FLowerLimitQty", "5"},
                                        {"FUpperLimit", "5"},     {"FLowerLimit", "5"},
                                        {"FLowerTolerance", "0"}, {"FUpperTolerance", "0"}};
    EXPECT_EQ(TargetCells(5), five);
    const struct {
        double target;
        std::string limit;
    } cases[] = {
        {2.5, "2.5"},
        {-0.75, "-0.75"},
        {0.1 + 0.2, "0.3"},
        {99.5, "99.5"},
        {1234567.125, "1234567.125"},
    };
    for (const auto& c : cases) {
        const std::vector<CellText> cells = TargetCells(c.target);
        ASSERT_EQ(cells.size(), 6u) << c.target;
        for (std::size_t i = 0; i < 4; ++i)
            EXPECT_EQ(cells[i].text, c.limit) << c.target << " " << cells[i].key;
    }
}

TEST(TargetCells, ATargetOfZeroWritesNothing) {
    EXPECT_TRUE(TargetCells(0).empty());
    EXPECT_TRUE(TargetCells(-0.0).empty());
    EXPECT_FALSE(TargetCells(std::numeric_limits<double>::denorm_min()).empty());
}

TEST(ChangeRule, FieldsAreKnownInAnyLetterCase) {
    const struct {
        std::string_view key;
        ChangeRule rule;
    } cases[] = {
        {"FQCSchemeNo", ChangeRule::kSchemeCheck},
        {"fqcschemeno", ChangeRule::kSchemeCheck},
        {"FQCITEMID", ChangeRule::kRowRule},
        {"FTargetQty", ChangeRule::kTargetRule},
        {"ftargetqty", ChangeRule::kTargetRule},
        {"FTarget", ChangeRule::kNone},
        {"FAnalysisMethodID", ChangeRule::kNone},
        {"FQCSchemeNo ", ChangeRule::kNone},
        {"", ChangeRule::kNone},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ChangeRuleOf(c.key), c.rule) << "'" << c.key << "'";
}

TEST(SchemeNumber, BlanksAroundAreDroppedAndNothingLeftIsNotLookedUp) {
    EXPECT_EQ(SchemeNumberToCheck("  FA-001 "), "FA-001");
    EXPECT_EQ(SchemeNumberToCheck("FA 001"), "FA 001");
    EXPECT_EQ(SchemeNumberToCheck("方案一"), "方案一");
    EXPECT_EQ(SchemeNumberToCheck(""), std::nullopt);
    EXPECT_EQ(SchemeNumberToCheck("    "), std::nullopt);
}

TEST(SchemeNumber, TheFilterQuotesWhateverWasTyped) {
    EXPECT_EQ(SchemeFilter("FA-001"), "FBillNo = 'FA-001'");
    EXPECT_EQ(SchemeFilter("x' OR '1'='1"), "FBillNo = 'x'' OR ''1''=''1'");
    EXPECT_EQ(SchemeFilter("O'Neil 方案"), "FBillNo = 'O''Neil 方案'");
    EXPECT_EQ(SchemeFilter("'; DROP TABLE icqcscheme; --"),
              "FBillNo = '''; DROP TABLE icqcscheme; --'");
}

TEST(LoadState, EditingLocksTheSchemeAndAuditOrAnotherUserHidesOrRefreshes) {
    const struct {
        int billStatus;
        bool mutex;
        double checker;
        LoadState state;
    } cases[] = {
        {2, true, 0, {true, false, false}},   {2, true, 1, {true, true, false}},
        {2, false, 0, {true, true, true}},    {1, true, 0, {false, false, false}},
        {0, true, 0, {false, false, true}},   {0, true, 16394, {false, true, true}},
        {-1, true, 0, {false, false, false}}, {-1, false, 0, {false, true, true}},
        {2, true, 0.5, {true, true, false}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(LoadStateOf(c.billStatus, c.mutex, c.checker), c.state)
            << c.billStatus << " " << c.mutex << " " << c.checker;
}

TEST(SchemeLookUp, OnlyTheHolderOfAnUnauditedBillIsOffered) {
    EXPECT_TRUE(OffersSchemeLookUp(true, 0));
    EXPECT_FALSE(OffersSchemeLookUp(true, 1));
    EXPECT_FALSE(OffersSchemeLookUp(false, 0));
    EXPECT_FALSE(OffersSchemeLookUp(true, -1)) << "only an empty checker counts as unaudited";
}

}  // namespace
}  // namespace velaqm
