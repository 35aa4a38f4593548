// The plan of one lot: the names typed for it, the range and the arrow rules, and the plans read
// from the seeded tables through the host's connection.
#include "sampling/sampling_plan.h"

#include <gtest/gtest.h>

#include "frame/host_error.h"
#include "tests/support/session_fixture.h"

namespace velaqm {
namespace {

TEST(SamplingPlanNames, LevelsAndStrictnessAreTheirNumbersOrTheStandardsNames) {
    const std::vector<std::pair<std::string, std::string>> levels = {
        {"C1", "C1"}, {"I", "C1"},   {"ii", "C2"},  {" III ", "C3"}, {"S-1", "S1"},
        {"s2", "S2"}, {"S-3", "S3"}, {"S-4", "S4"}, {"c3", "C3"},
    };
    for (const auto& [typed, number] : levels)
        EXPECT_EQ(InspectionLevelNumber(typed), number) << typed;
    for (const char* typed : {"", "IV", "S5", "S-0", "C 2", "general", "I I"})
        EXPECT_EQ(InspectionLevelNumber(typed), std::nullopt) << typed;

    EXPECT_EQ(StrictnessNumber("normal"), "YGD01");
    EXPECT_EQ(StrictnessNumber("Tightened"), "YGD02");
    EXPECT_EQ(StrictnessNumber("REDUCED"), "YGD03");
    EXPECT_EQ(StrictnessNumber("ygd02"), "YGD02");
    for (const char* typed : {"", "YGD04", "tight", "正常检验"})
        EXPECT_EQ(StrictnessNumber(typed), std::nullopt) << typed;
}

TEST(SamplingPlanNames, ALotIsAWholeNumberOfAtLeastOne) {
    EXPECT_EQ(LotSizeOf("1000"), 1000);
    EXPECT_EQ(LotSizeOf(" 1 "), 1);
    EXPECT_EQ(LotSizeOf("999999999999999"), 999999999999999);
    for (const char* typed : {"", "0", "000", "-5", "+5", "12.5", "1e3", "abc", "12abc", "1 000",
                              "1000000000000000", "99999999999999999999"})
        EXPECT_EQ(LotSizeOf(typed), std::nullopt) << typed;
}

TEST(SamplingPlanNames, AnAqlIsARecordNumberOrItsValue) {
    const std::vector<std::string> aqls = {"0.010", "0.10", "1.0", "10", "1000"};
    EXPECT_EQ(MatchAql("1.0", aqls), "1.0");
    EXPECT_EQ(MatchAql("1", aqls), "1.0");
    EXPECT_EQ(MatchAql("0.01", aqls), "0.010");
    EXPECT_EQ(MatchAql(" .1 ", aqls), "0.10");
    EXPECT_EQ(MatchAql("1000", aqls), "1000");
    for (const char* typed : {"", "2", "1.0%", "abc", "1_0", "'1.0'"})
        EXPECT_EQ(MatchAql(typed, aqls), std::nullopt) << typed;
}

TEST(SamplingPlanRules, ALotBelongsToTheFirstRangeThatReachesIt) {
    // Rows in any order: the open range last in the table but first here.
    const std::vector<PlanRow> rows = {
        {std::nullopt, "R", 2000, 21, 22},
        {500, "H", 50, 1, 2},
        {8, "A", 2, 0, 1},
        {1200, "J", 80, 2, 3},
    };
    const auto letter = [&](std::int64_t lot) {
        const PlanRow* row = RowOfLot(rows, lot);
        return row ? row->letter : "none";
    };
    EXPECT_EQ(letter(1), "A") << "a lot below the first range belongs to it";
    EXPECT_EQ(letter(8), "A");
    EXPECT_EQ(letter(9), "H");
    EXPECT_EQ(letter(1000), "J");
    EXPECT_EQ(letter(1200), "J");
    EXPECT_EQ(letter(1201), "R");
    EXPECT_EQ(letter(999999999999999), "R");
    EXPECT_EQ(RowOfLot({{8, "A", 2, 0, 1}}, 9), nullptr) << "no range reaches the lot";
    EXPECT_EQ(RowOfLot({}, 1), nullptr);
}

TEST(SamplingPlanRules, ArrowsLeadToTheNearestLetterWithAPlan) {
    const std::vector<PlanCell> cells = {
        {"A", "↓"}, {"B", "↓"}, {"C", "0 1"}, {"D", "↑"},
        {"E", "↑"}, {"F", ""},  {"G", "1 2"}, {"H", "↓"},
    };
    EXPECT_EQ(FollowArrows(cells, "A"), "C");
    EXPECT_EQ(FollowArrows(cells, "C"), "C");
    EXPECT_EQ(FollowArrows(cells, "E"), "C");
    EXPECT_EQ(FollowArrows(cells, "F"), "C") << "an empty cell looks up, as an upward arrow";
    EXPECT_EQ(FollowArrows(cells, "G"), "G");
    EXPECT_EQ(FollowArrows(cells, "H"), std::nullopt) << "an arrow that leads off the table";
    EXPECT_EQ(FollowArrows({{"A", "↑"}}, "A"), std::nullopt);
    EXPECT_EQ(FollowArrows(cells, "Z"), std::nullopt);
}

class SamplingPlanTest : public testing::SessionTest {};

std::string Describe(const LotPlan& lot) {
    if (!lot.plan) return lot.letter + ": no plan";
    return lot.letter + " -> " + lot.plan->letter + " n" + std::to_string(lot.plan->n) + " Ac" +
           std::to_string(lot.plan->ac) + " Re" + std::to_string(lot.plan->re);
}

TEST_F(SamplingPlanTest, PlansComeFromTheCodeLetterTables) {
    struct Case {
        std::int64_t lot;
        const char* level;
        const char* strictness;
        const char* aql;
        const char* plan;
    };
    const Case cases[] = {
        {1000, "C2", "YGD01", "1.0", "J -> J n80 Ac2 Re3"},
        {1000, "C2", "YGD01", "0.010", "J -> Q n1000 Ac0 Re1"},  // down to 1250, the whole lot
        {2000, "C2", "YGD01", "0.010", "K -> Q n1250 Ac0 Re1"},
        {1000, "C2", "YGD01", "1000", "J -> B n3 Ac44 Re45"},  // up to B
        {10, "S1", "YGD03", "10", "A -> C n2 Ac0 Re2"},        // reduced A, B and C all sample 2
        {1000, "C2", "YGD03", "10", "J -> J n32 Ac7 Re10"},
        {1000000, "C3", "YGD02", "0.025", "R -> S n3150 Ac1 Re2"},  // the tightened S row
        {1, "C3", "YGD01", "6.5", "B -> A n1 Ac0 Re1"},             // capped by the lot
    };
    for (const Case& c : cases)
        EXPECT_EQ(Describe(ReadLotPlan(c.lot, c.level, c.strictness, c.aql)), c.plan)
            << c.lot << " " << c.level << " " << c.strictness << " " << c.aql;
}

TEST_F(SamplingPlanTest, AnEmptyCellIsNoPlanAndBrokenTablesAreAnError) {
    EXPECT_EQ(AqlNumbers().size(), 26u);
    EXPECT_EQ(AqlNumbers().front(), "0.010");
    EXPECT_EQ(AqlNumbers().back(), "1000");

    session->Db().Execute(
        "UPDATE QM105E SET FAQL_1_0_AC=NULL,FAQL_1_0_RE=NULL WHERE FYGD='YGD02' AND FCode='J'");
    session->Db().Execute(
        "UPDATE QM105ECell SET F1_0_AC_RE='' WHERE FID=(SELECT FID FROM QM105E WHERE "
        "FYGD='YGD02' AND FCode='J')");
    EXPECT_EQ(Describe(ReadLotPlan(1000, "C2", "YGD02", "1.0")), "J: no plan");

    // Sample sizes that fall as letters rise: the batch's arrow finds R, the letters' order Q.
    session->Db().Execute("UPDATE QM105E SET FSample=100 WHERE FYGD='YGD01' AND FCode='R'");
    session->Db().Execute(
        "UPDATE QM105ECell SET F0_010_AC_RE='0 1' WHERE FID=(SELECT FID FROM QM105E WHERE "
        "FYGD='YGD01' AND FCode='R')");
    EXPECT_THROW(ReadLotPlan(1000, "C2", "YGD01", "0.010"), HostError);
    session->Db().Execute("DELETE FROM QMSampleLetter WHERE FUp IS NULL");
    EXPECT_THROW(ReadLotPlan(1000000, "C2", "YGD01", "1.0"), HostError);
}

}  // namespace
}  // namespace velaqm
