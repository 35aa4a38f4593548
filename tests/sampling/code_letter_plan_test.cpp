// The code-letter method: the plan batch's text, the pieces it is built from, and the rows and
// Ac/Re a sampling standard gets in the substitute host.
#include "sampling/code_letter_plan.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "frame/host_error.h"
#include "host/bill_form.h"
#include "sampling/sample_standard.h"
#include "tests/support/session_fixture.h"

namespace velaqm {
namespace {

TEST(CodeLetterPlanTest, ColumnNamesComeFromTheHeadNumbers) {
    EXPECT_EQ(AqlToken("1.0"), "1_0");
    EXPECT_EQ(AqlToken("0.010"), "0_010");
    EXPECT_EQ(AqlToken("10"), "10");
    for (const char* level : {"C1", "C2", "C3", "S1", "S2", "S3", "S4"})
        EXPECT_EQ(LetterColumn(level), std::string("F") + level);
    for (const char* level : {"", "c2", "S5", "C2 "})
        EXPECT_EQ(LetterColumn(level), "") << level;
}

TEST(CodeLetterPlanTest, TheWholeLotIsInspectedWhenItIsSmallerThanTheSample) {
    EXPECT_EQ(SampleQuantity(8, 13), 8);
    EXPECT_EQ(SampleQuantity(13, 13), 13);
    EXPECT_EQ(SampleQuantity(500, 50), 50);
    EXPECT_EQ(SampleQuantity(std::nullopt, 1250), 1250) << "the open range is never capped";
    EXPECT_EQ(SampleQuantity(std::nullopt, 99999999), kOpenRangeCap);
}

TEST(CodeLetterPlanTest, NothingUnsafeIsSplicedIn) {
    EXPECT_THROW(CodeLetterPlanSql("C2", "YGD01", "1;DROP TABLE QM105E"), HostError);
    const std::string quoted = CodeLetterPlanSql("C2", "O'Brien", "1_0");
    EXPECT_NE(quoted.find("q.FYGD='O''Brien'"), std::string::npos);
}

class CodeLetterStandardTest : public testing::SessionTest {
  protected:
    struct Row {
        std::string lot, letter, sample, ac, re;
    };
    static Row RowOf(host::BillForm& form, int row) {
        return {form.ValueText("FLotSize", row), form.ValueText("FSwatchCode", row),
                form.ValueText("FSampQty", row), form.ValueText("FAcQty1", row),
                form.ValueText("FReQty1", row)};
    }
    static void ExpectRow(host::BillForm& form, int row, const Row& expected) {
        const Row found = RowOf(form, row);
        EXPECT_EQ(found.lot, expected.lot) << "row " << row;
        EXPECT_EQ(found.letter, expected.letter) << "row " << row;
        EXPECT_EQ(found.sample, expected.sample) << "row " << row;
        EXPECT_EQ(found.ac, expected.ac) << "row " << row;
        EXPECT_EQ(found.re, expected.re) << "row " << row;
    }
};

TEST_F(CodeLetterStandardTest, TheRowsAndPlansFollowLevelStrictnessAndAql) {
    host::BillForm& form = session->OpenNewBill(SampleStandard::kClassTypeID);
    form.Edit("FSampMethodID", 0, "M50");
    EXPECT_EQ(form.RowsWithData(), 15);
    ExpectRow(form, 1, {"8", "A", "", "", ""});
    ExpectRow(form, 15, {"999999999999", "Q", "", "", ""});

    form.Edit("FAQLID", 0, "1.0");
    ExpectRow(form, 1, {"8", "A", "8", "0", "1"});     // ↓ to E (13): the whole lot of 8
    ExpectRow(form, 6, {"150", "F", "13", "0", "1"});  // ↑ to E
    ExpectRow(form, 7, {"280", "G", "50", "1", "2"});  // ↓ to H
    ExpectRow(form, 15, {"999999999999", "Q", "1250", "21", "22"});

    form.Edit("FYGDID", 0, "YGD02");  // tightened: the rows stay, the plans change
    EXPECT_EQ(form.RowsWithData(), 15);
    ExpectRow(form, 9, {"1200", "J", "80", "1", "2"});
    ExpectRow(form, 15, {"999999999999", "Q", "1250", "18", "19"});

    form.Edit("FQCLevelID", 0, "S1");  // a new level generates new rows first
    EXPECT_EQ(form.RowsWithData(), 15);
    ExpectRow(form, 1, {"8", "A", "8", "0", "1"});               // ↓ to F (20), capped
    ExpectRow(form, 15, {"999999999999", "D", "20", "0", "1"});  // ↓ to F
}

TEST_F(CodeLetterStandardTest, TheRefreshIsTracedUnderItsTag) {
    const std::filesystem::path trace =
        std::filesystem::temp_directory_path() / ("velaqm-trace-" + std::to_string(getpid()));
    std::filesystem::remove(trace);
    UseTraceFile(trace);
    host::BillForm& form = session->OpenNewBill(SampleStandard::kClassTypeID);
    form.Edit("FSampMethodID", 0, "M50");
    form.Edit("FAQLID", 0, "1.0");
    session.reset();  // closes the trace
    std::ifstream in(trace);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_NE(text.find("VelaQMBillEvent.SampleStandard.RefreshAcRe"), std::string::npos) << text;
    std::filesystem::remove(trace);
}

}  // namespace
}  // namespace velaqm
