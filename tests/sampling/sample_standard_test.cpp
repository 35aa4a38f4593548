// The sampling standard in the substitute host: the method setup, the menu and field states, the
// checks while editing and before saving, formula editing and the clean-up after a save.
#include "sampling/sample_standard.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "billops/audit_tools.h"
#include "host/bill_form.h"
#include "tests/support/session_fixture.h"

namespace velaqm {
namespace {

constexpr int kClass = SampleStandard::kClassTypeID;

class SampleStandardTest : public testing::SessionTest {
  protected:
    host::BillForm& NewStandard(std::string_view method) {
        host::BillForm& form = session->OpenNewBill(kClass);
        form.Edit("FSampMethodID", 0, method);
        return form;
    }
    static bool Visible(host::BillForm& form, std::string_view key) {
        return form.ToolState(key).Visible();
    }
    static bool Enabled(host::BillForm& form, std::string_view key) {
        return form.ToolState(key).Enabled();
    }
};

TEST_F(SampleStandardTest, ANewStandardOffersTheFormulaToolDisabledAndNoTableFields) {
    host::BillForm& form = session->OpenNewBill(kClass);
    EXPECT_FALSE(Enabled(form, "mnuFormular"));
    EXPECT_EQ(form.ToolState("mnuFormular").Caption(), "公式");
    EXPECT_TRUE(Visible(form, tool::kCheck));
    EXPECT_FALSE(Enabled(form, tool::kCheck)) << "a new bill cannot be audited yet";
    EXPECT_FALSE(Visible(form, "mnuDataRedBill"));
    for (std::string_view key : {"FSwatchCode", "FQCLevelID", "FYGDID", "FAQLID"})
        EXPECT_FALSE(form.FieldEnabled(key)) << key;
    EXPECT_FALSE(form.BillLocked());
}

TEST_F(SampleStandardTest, TheCodeLetterMethodFillsTheDefaultLevelAndStrictness) {
    host::BillForm& form = NewStandard("M50");
    EXPECT_EQ(form.DisplayText("FQCLevelID", 0), "一般检验水平II");
    EXPECT_EQ(form.ValueText("FQCLevelID", 0), "8");
    EXPECT_EQ(form.DisplayText("FYGDID", 0), "正常检验");
    EXPECT_EQ(form.ValueText("FYGDID", 0), "1");
    for (std::string_view key : {"FSwatchCode", "FQCLevelID", "FYGDID", "FAQLID"})
        EXPECT_TRUE(form.FieldEnabled(key)) << key;
    EXPECT_FALSE(form.FieldEnabled("FFormula"));
}

TEST_F(SampleStandardTest, EachMethodSetsItsFieldsRowsAndTools) {
    host::BillForm& formula = NewStandard("M05");
    EXPECT_TRUE(Enabled(formula, "mnuFormular"));
    EXPECT_TRUE(formula.FieldEnabled("FFormula"));
    EXPECT_FALSE(formula.FieldEnabled("FSampQty"));
    EXPECT_EQ(formula.DisplayText("FYGDID", 0), "") << "no default strictness";
    session->CloseForm();

    host::BillForm& single = NewStandard("M06");
    EXPECT_EQ(single.ValueText("FLotSize", 1), "999999999999");
    EXPECT_TRUE(single.CellLocked("FLotSize", 1));
    EXPECT_FALSE(Visible(single, tool::kAddRow));
    EXPECT_FALSE(Visible(single, tool::kDelRow));
    EXPECT_FALSE(Enabled(single, "mnuFormular"));
    session->CloseForm();

    host::BillForm& table = NewStandard("M04");
    EXPECT_TRUE(Visible(table, tool::kAddRow));
    EXPECT_TRUE(table.FieldEnabled("FQCLevelID"));
    EXPECT_FALSE(table.FieldEnabled("FSwatchCode"));
    EXPECT_EQ(table.DisplayText("FQCLevelID", 0), "一般检验水平II");
}

// What a method makes of the form, as the user meets it.
struct MethodFormSeen {
    bool swatchCode, level, strictness, aql, sampQty, formula;
    bool swatchCodeLocked, lotSizeLocked, addRow, delRow, formulaTool;

    static MethodFormSeen Of(host::BillForm& form) {
        return {form.FieldEnabled("FSwatchCode"),
                form.FieldEnabled("FQCLevelID"),
                form.FieldEnabled("FYGDID"),
                form.FieldEnabled("FAQLID"),
                form.FieldEnabled("FSampQty"),
                form.FieldEnabled("FFormula"),
                form.FieldLocked("FSwatchCode"),
                form.CellLocked("FLotSize", 1),
                form.ToolState(tool::kAddRow).Visible(),
                form.ToolState(tool::kDelRow).Visible(),
                form.ToolState("mnuFormular").Enabled()};
    }
    friend bool operator==(const MethodFormSeen&, const MethodFormSeen&) = default;
};

// A change of method sets the form up, a load restores it: the user must meet the same form.
TEST_F(SampleStandardTest, AMethodsFormIsTheSameWhenChosenAndWhenLoaded) {
    const std::pair<int, const char*> methods[] = {{4, "M04"}, {5, "M05"}, {6, "M06"}, {50, "M50"}};
    for (const auto& [method, number] : methods) {
        SCOPED_TRACE(number);
        const std::string id = std::to_string(100 + method);
        session->Db().Execute("INSERT INTO QMSampStd (FID, FBillNo, FSampMethodID) VALUES (" + id +
                              ", 'CY" + id + "', " + std::to_string(method) + ")");
        session->Db().Execute("INSERT INTO QMSampStdEntry (FID, FEntryID, FLotSize) VALUES (" + id +
                              ", 1, 999999999999)");
        const MethodFormSeen chosen = MethodFormSeen::Of(NewStandard(number));
        session->CloseForm();
        const MethodFormSeen loaded =
            MethodFormSeen::Of(session->OpenBill(kClass, 100 + method, false));
        session->CloseForm();
        EXPECT_TRUE(chosen == loaded);
    }
}

TEST_F(SampleStandardTest, ALookupTakesTheRecordOfItsOwnKind) {
    // An AQL record numbered like an inspection level must not be taken for the level.
    session->Db().Execute(
        "INSERT INTO QMAInfo (FID, FNumber, FName, FClassTypeID) VALUES (93, 'C2', 'C2', 1001303)");
    host::BillForm& form = NewStandard("M04");
    form.Edit("FQCLevelID", 0, "C2");
    EXPECT_EQ(form.ValueText("FQCLevelID", 0), "8");
    form.Edit("FAQLID", 0, "C2");
    EXPECT_EQ(form.ValueText("FAQLID", 0), "93");
}

TEST_F(SampleStandardTest, AStoredStandardOpensWithTheFieldsOfItsMethod) {
    host::BillForm& formula = NewStandard("M05");
    formula.Edit("FLotSize", 1, "50");
    formula.Edit("FFormula", 1, "N/10");
    ASSERT_TRUE(formula.Save());
    session->CloseForm();
    host::BillForm& reopened = session->OpenBill(kClass, 1, false);
    EXPECT_TRUE(reopened.FieldEnabled("FFormula"));
    EXPECT_FALSE(reopened.FieldEnabled("FSampQty"));
    EXPECT_FALSE(reopened.FieldEnabled("FQCLevelID"));
    EXPECT_TRUE(Enabled(reopened, "mnuFormular"));
    session->CloseForm();

    host::BillForm& single = NewStandard("M06");
    single.Edit("FSampQty", 1, "5");
    ASSERT_TRUE(single.Save());
    session->CloseForm();
    host::BillForm& singleReopened = session->OpenBill(kClass, 2, false);
    EXPECT_TRUE(singleReopened.CellLocked("FLotSize", 1));
    EXPECT_FALSE(Visible(singleReopened, tool::kAddRow));
}

TEST_F(SampleStandardTest, ALotSizeThatDoesNotRiseIsRefusedWhileEditing) {
    host::BillForm& form = NewStandard("M04");
    form.Edit("FLotSize", 1, "100");
    form.Edit("FLotSize", 2, "100");
    EXPECT_EQ(NextMessage(), "第2行的[批量]应大于第1行的[批量],请重新检查输入！");
    EXPECT_EQ(form.ValueText("FLotSize", 2), "") << "the change is cancelled";
    form.Edit("FLotSize", 2, "200");
    EXPECT_EQ(NextMessage(), "");
}

TEST_F(SampleStandardTest, SaveChecksShowTheFirstProblem) {
    host::BillForm& form = NewStandard("M04");
    form.Edit("FLotSize", 1, "100");
    form.Edit("FSampQty", 1, "120");
    EXPECT_FALSE(form.Save());
    EXPECT_EQ(NextMessage(), "按抽样表时，[AQL]不能为空!");
    EXPECT_EQ(session->Log().Messages().back().flags, 64);

    form.Edit("FAQLID", 0, "1.0");
    EXPECT_FALSE(form.Save());
    EXPECT_EQ(NextMessage(), "第1行的[样本数]不能大于[批量大小]，请检查输入!");

    form.Edit("FSampQty", 1, "20");
    EXPECT_TRUE(form.Save());
    EXPECT_EQ(NextMessage(), "");
}

TEST_F(SampleStandardTest, AFormulaIsEditedOnlyFromTheGrid) {
    host::BillForm& form = NewStandard("M05");
    form.Edit("FLotSize", 1, "50");
    form.Edit("FFormula", 1, "n/10");

    form.FocusHead();
    form.Click("mnuFormular");
    EXPECT_EQ(form.ValueText("FFormula", 1), "n/10") << "not from the head";

    form.FocusGrid(1);
    session->QueueFormula(std::optional<std::string>("ROUND(n*0.1,0)+\"件\""));
    form.Click("mnuFormular");
    EXPECT_EQ(form.ValueText("FFormula", 1), "ROUND(n*0.1,0)+\"件\"");

    session->QueueFormula(std::nullopt);
    form.Click("mnuFormular");
    EXPECT_EQ(form.ValueText("FFormula", 1), "ROUND(n*0.1,0)+\"件\"") << "cancel keeps it";
}

TEST_F(SampleStandardTest, ACodeLetterStandardRefusesRowCommands) {
    const auto rows = [](host::BillForm& form) {
        return form.BillData()->Item("Page2").ObjectAs<Vector>()->Size();
    };
    host::BillForm& form = NewStandard("M50");
    ASSERT_EQ(rows(form), 15u);
    for (std::string_view command : {tool::kAddRow, tool::kDelRow, tool::kCopyRow})
        form.ChooseMenu(command);
    EXPECT_EQ(rows(form), 15u);
    session->CloseForm();

    host::BillForm& table = NewStandard("M04");
    table.Edit("FLotSize", 1, "10");
    table.ChooseMenu(tool::kAddRow);
    EXPECT_EQ(rows(table), 2u) << "other methods add rows";
}

}  // namespace
}  // namespace velaqm
