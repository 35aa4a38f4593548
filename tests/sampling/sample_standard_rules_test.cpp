// The sampling standard's rules as tables: which methods have a form, the menu state, the
// lot-size order and the save checks in their order.
#include "sampling/sample_standard_rules.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "billops/bill_tools.h"
#include "tests/support/tool_settings.h"

namespace velaqm {
namespace {

using Kind = SaveProblem::Kind;

// The forms of the known methods are checked through the host, where they are met.
TEST(SampleStandardRulesTest, OnlyTheFourMethodsHaveAForm) {
    for (int method : {kMethodSamplingTable, kMethodFormula, kMethodSingleRow, kMethodCodeLetter})
        EXPECT_TRUE(MethodFormOf(method)) << "method " << method;
    for (int unknown : {0, 7, 49, -4})
        EXPECT_FALSE(MethodFormOf(unknown)) << "method " << unknown << " keeps the common form";
}

using testing::Setting;

TEST(SampleStandardRulesTest, TheMenuStateFollowsTheAuditStateTheMethodAndTheMode) {
    const BillFacts editable{.mode = bill_mode::kExisting, .heldHere = true, .checker = 0};
    struct Case {
        const char* name;
        BillFacts bill;
        int method;
        std::optional<bool> addRowVisible, saveEnabled, formulaEnabled, checkEnabled, checkVisible;
    };
    const Case cases[] = {
        {"an editable table standard", editable, kMethodSamplingTable, true, true, false, true,
         std::nullopt},
        {"the formula method offers its tool", editable, kMethodFormula, true, true, true, true,
         std::nullopt},
        {"the single row has no row tools", editable, kMethodSingleRow, false, true, false, true,
         std::nullopt},
        {"an unknown method keeps the row tools", editable, 7, true, true, false, true,
         std::nullopt},
        {"an audited bill",
         {.mode = bill_mode::kExisting, .checker = 16394},
         kMethodFormula,
         false,
         false,
         false,
         true,
         std::nullopt},
        {"held by another user",
         {.mode = bill_mode::kExisting, .heldHere = false},
         kMethodSamplingTable,
         false,
         false,
         false,
         false,
         false},
        {"a new bill",
         {.mode = bill_mode::kNew},
         kMethodSamplingTable,
         true,
         true,
         false,
         false,
         std::nullopt},
        {"opened for viewing",
         {.mode = bill_mode::kNone},
         kMethodSamplingTable,
         true,
         true,
         false,
         false,
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ToolSettings settings = StandardMenuState(c.bill, c.method);
        EXPECT_EQ(Setting(settings, "mnuEditAddRow", kVisible), c.addRowVisible);
        EXPECT_EQ(Setting(settings, "mnuFileSave", kEnabled), c.saveEnabled);
        EXPECT_EQ(Setting(settings, kFormulaTool, kEnabled), c.formulaEnabled);
        EXPECT_EQ(Setting(settings, "mnuEditCheck", kEnabled), c.checkEnabled);
        EXPECT_EQ(Setting(settings, "mnuEditCheck", kVisible), c.checkVisible);
        EXPECT_EQ(Setting(settings, "mnuDataRedBill", kVisible), false);
    }
}

TEST(SampleStandardRulesTest, LotSizesMustRise) {
    struct Case {
        int row;
        double previous, current;
        bool outOfOrder;
    };
    const Case cases[] = {
        {1, 100, 50, false},                        // the first row has nothing before it
        {2, 100, 150, false}, {2, 100, 100, true},  // equal is not greater
        {3, 100, 99, true},   {2, 100, 0, false},   // an empty row is not checked
        {2, 0, 5, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LotSizeOutOfOrder(c.row, c.previous, c.current), c.outOfOrder)
            << c.row << ": " << c.previous << " then " << c.current;
}

StandardRow Row(double lot, std::optional<double> sample, double ac = 0, double re = 0,
                std::string formula = "") {
    return {lot, std::move(formula), sample, ac, re};
}

TEST(SampleStandardRulesTest, SaveChecksStopAtTheFirstProblemInTheirOrder) {
    const StandardHead table{kMethodSamplingTable, 8, 1, 30};
    const StandardHead formula{kMethodFormula, 0, 0, 0};
    const StandardHead single{kMethodSingleRow, 0, 0, 0};
    const StandardHead codeLetter{kMethodCodeLetter, 8, 1, 30};
    struct Case {
        const char* what;
        StandardHead head;
        std::vector<StandardRow> rows;
        std::optional<SaveProblem> problem;
    };
    const Case cases[] = {
        {"table method without level", {4, 0, 1, 30}, {}, SaveProblem{Kind::kNoLevel}},
        {"without strictness", {4, 8, 0, 30}, {}, SaveProblem{Kind::kNoStrictness}},
        {"without AQL", {4, 8, 1, 0}, {}, SaveProblem{Kind::kNoAql}},
        {"head before rows", {4, 0, 0, 0}, {Row(10, -1)}, SaveProblem{Kind::kNoLevel}},
        {"other methods need no head", single, {Row(kOpenLotSize, 5)}, std::nullopt},
        {"one row skips the order check", table, {Row(100, 5)}, std::nullopt},
        {"equal lot sizes", table, {Row(100, 5), Row(100, 5)}, SaveProblem{Kind::kLotSizeOrder, 2}},
        {"order before samples",
         table,
         {Row(100, -1), Row(50, 5)},
         SaveProblem{Kind::kLotSizeOrder, 2}},
        {"negative sample", table, {Row(100, -1)}, SaveProblem{Kind::kSampleNegative, 1}},
        {"sample above lot",
         table,
         {Row(100, 5), Row(200, 201)},
         SaveProblem{Kind::kSampleAboveLot, 2}},
        {"sample equal to lot", table, {Row(100, 100)}, std::nullopt},
        {"below acceptance",
         table,
         {Row(100, 4, 5, 6)},
         SaveProblem{Kind::kSampleBelowAcceptance, 1}},
        {"equal to acceptance, below rejection",
         table,
         {Row(100, 5, 5, 6)},
         SaveProblem{Kind::kSampleBelowRejection, 1}},
        {"equal to rejection", table, {Row(100, 6, 5, 6)}, std::nullopt},
        {"empty sample counts as 0",
         table,
         {Row(100, std::nullopt, 1, 2)},
         SaveProblem{Kind::kSampleBelowAcceptance, 1}},
        {"a row of lot size 0 is not filled", table, {Row(100, 5), Row(0, -1)}, std::nullopt},
        {"formula of blanks",
         formula,
         {Row(10, std::nullopt, 0, 0, "n*2"), Row(20, -1, 9, 9, "  ")},
         SaveProblem{Kind::kNoFormula, 2}},
        {"formula method checks no samples", formula, {Row(10, -1, 9, 9, "n")}, std::nullopt},
        {"single row up to the open lot size", single, {Row(kOpenLotSize, 1e11)}, std::nullopt},
        {"code-letter rows are not checked", codeLetter, {Row(8, 13, 9, 9)}, std::nullopt},
        {"code-letter rows keep their order",
         codeLetter,
         {Row(8, 2), Row(8, 3)},
         SaveProblem{Kind::kLotSizeOrder, 2}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FirstSaveProblem(c.head, c.rows), c.problem) << c.what;
}

TEST(SampleStandardRulesTest, EmptySamplesBecomeZeroOnlyInTheRowsTheSampleChecksRead) {
    const SaveProblem noAql{Kind::kNoAql};
    const SaveProblem order{Kind::kLotSizeOrder, 3};
    const SaveProblem sample{Kind::kSampleAboveLot, 2};
    struct Case {
        int method;
        std::optional<SaveProblem> problem;
        int rows;
    };
    const Case cases[] = {
        {kMethodSamplingTable, std::nullopt, 5}, {kMethodSamplingTable, noAql, 0},
        {kMethodSamplingTable, order, 0},        {kMethodSamplingTable, sample, 2},
        {kMethodSingleRow, std::nullopt, 5},     {7, std::nullopt, 5},
        {kMethodFormula, std::nullopt, 0},       {kMethodCodeLetter, std::nullopt, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RowsThroughSampleChecks(c.method, 5, c.problem), c.rows) << c.method;
}

}  // namespace
}  // namespace velaqm
