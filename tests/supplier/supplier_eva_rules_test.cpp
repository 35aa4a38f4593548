// The supplier evaluation's rules: the proposed period, when a supply grade is due, the grade
// from a rate or from an item's supply, the result of a total, the save checks and the exact
// text of the supply statements.
#include "supplier/supplier_eva_rules.h"

#include <gtest/gtest.h>

namespace velaqm {
namespace {

TEST(SupplierEvaRules, ANewEvaluationCoversTheYearUpToItsEnd) {
    EXPECT_EQ(ProposedBegin(Date(2026, 12, 7)), Date(2025, 12, 7));
    // 365 days, whatever the leap years in between.
    EXPECT_EQ(ProposedBegin(Date(2024, 12, 31)), Date(2024, 1, 1));
}

TEST(SupplierEvaRules, AGradeIsDueWithoutOneOrForAnotherScope) {
    const SupplyScope scope{
        .supplier = 1, .item = 0, .begin = Date(2026, 1, 1), .end = Date(2026, 12, 31)};
    SupplyScope otherEnd = scope;
    otherEnd.end = Date(2026, 12, 30);
    SupplyScope otherItem = scope;
    otherItem.item = 4;
    EXPECT_TRUE(GradeDue("", scope, scope));
    EXPECT_TRUE(GradeDue("0", scope, scope));
    EXPECT_FALSE(GradeDue("18.5", scope, scope));
    EXPECT_TRUE(GradeDue("18.5", scope, std::nullopt));
    EXPECT_TRUE(GradeDue("18.5", scope, otherEnd));
    EXPECT_TRUE(GradeDue("18.5", scope, otherItem));
}

TEST(SupplierEvaRules, WithoutSupplyThereIsNoGradeRatherThanANegativeOne) {
    EXPECT_DOUBLE_EQ(*GradeOfRate(0.95, 40), 38);
    EXPECT_DOUBLE_EQ(*GradeOfRate(0, 40), 0);
    EXPECT_EQ(GradeOfRate(-1, 40), std::nullopt);
    // A row of no points still has supply to speak of.
    EXPECT_DOUBLE_EQ(*GradeOfRate(0.5, 0), 0);

    // 95 passed of 100 checked, and 5 stocked without a receipt: 20 × 100 ÷ 105.
    EXPECT_DOUBLE_EQ(*GradeOfSupply({.passed = 95, .checked = 100, .stocked = 5}, 20),
                     20.0 * 100 / 105);
    EXPECT_DOUBLE_EQ(*GradeOfSupply({.passed = 90, .checked = 100, .stocked = {}}, 20), 18);
    EXPECT_DOUBLE_EQ(*GradeOfSupply({.passed = {}, .checked = {}, .stocked = 7}, 20), 20);
    EXPECT_EQ(GradeOfSupply({}, 20), std::nullopt);
    // Checked quantities that cancel out are no supply, not a division by zero.
    EXPECT_EQ(GradeOfSupply({.passed = 0, .checked = 0, .stocked = {}}, 20), std::nullopt);
}

TEST(SupplierEvaRules, TheTotalPassesFromThePassMarkUp) {
    const double grades[] = {18.5, 30, 0};
    const double total = TotalScore(grades);
    EXPECT_DOUBLE_EQ(total, 48.5);
    EXPECT_EQ(ResultOf(total, 48).number, "HG");
    EXPECT_EQ(ResultOf(total, 48.5).number, "HG");
    EXPECT_EQ(ResultOf(total, 49).number, "BHG");
    EXPECT_EQ(ResultOf(total, 49).id, "15");
}

TEST(SupplierEvaRules, BothSaveChecksAreMadeAndAPeriodWithoutDatesIsNotCompared) {
    const Date first(2009, 9, 30);
    const Date second(2009, 10, 1);
    using Texts = std::vector<std::string_view>;
    const std::string_view noItem = "系统参数评估针对单个物料选中，必须选择或填入物料！";
    const std::string_view reversed = "考核开始日期不能大于结束日期,请更正！";
    EXPECT_EQ(SaveProblemTexts({.perItem = true, .hasItem = false, .begin = second, .end = first}),
              (Texts{noItem, reversed}));
    EXPECT_EQ(SaveProblemTexts({.perItem = true, .hasItem = true, .begin = first, .end = second}),
              Texts{});
    EXPECT_EQ(SaveProblemTexts({.perItem = false, .hasItem = false, .begin = first, .end = first}),
              Texts{});
    EXPECT_EQ(SaveProblemTexts({.perItem = false, .hasItem = false, .begin = second, .end = {}}),
              Texts{});
}

TEST(SupplierEvaRules, TheSupplyStatementsKeepTheirWordingWithTheNumbersWrittenSafely) {
    const std::string period = PeriodClause(Date(2026, 1, 1), Date(2026, 12, 31));
    EXPECT_EQ(period,
              " AND convert(datetime,convert(varchar(30),t2.FDate,111)) >='2026-01-01'\r\n"
              " AND convert(datetime,convert(varchar(30),t2.FDate,111)) <='2026-12-31'\r\n");
    const std::string stocked = StockedWithoutReceiptSql(2, 4, period);
    EXPECT_EQ(stocked.substr(0, stocked.find(period)),
              "select sum(t1.FStockQty) as CheckQty from POOrderEntry t1 INNER JOIN\r\n"
              "POOrder t2 on t2.FInterID=t1.FinterID and t2.FTranType=71 and t2.FCheckerID >0\r\n"
              "LEFT JOIN POInStockentry t3 on t3.FSourceInterID = t1.FInterID AND "
              "t3.FSourceEntryID = t1.FEntryID\r\n"
              "Where t2.FSupplyID = 2 And t1.FItemID = 4\r\n"
              "AND t1.FStockQty > 0 AND t3.FInterID IS NULL\r\n");
    const std::string received = InspectedReceiptsSql(-7, 2147483647, period);
    EXPECT_NE(received.find("AND t2.FSupplyID = -7 And t1.FItemID = 2147483647 \r\n" + period),
              std::string::npos);
}

}  // namespace
}  // namespace velaqm
