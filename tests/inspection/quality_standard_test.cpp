// The quality standard in the substitute host: what the scenarios cannot show well, hostile
// scheme numbers, the cell settings of the rows a scheme fills, and the handlers whose failures
// go back to the host or stay inside a rule.
#include "inspection/quality_standard.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "host/bill_form.h"
#include "inspection/quality_standard_rules.h"
#include "tests/support/session_fixture.h"

namespace velaqm {
namespace {

constexpr int kClass = QualityStandard::kClassTypeID;
constexpr std::string_view kUnknownScheme = "对不起，你输入的质检方案单号不存在，请检查重新输入！";

class QualityStandardTest : public testing::SessionTest {
  protected:
    void DropField(std::string_view key) {
        session->Db().Execute(
            "delete from ICClassTableInfo where FClassTypeID = 1001902 and FKey = '" +
            std::string(key) + "'");
    }
    // The settings of the eight value columns of a row, when they are all the same.
    static std::optional<int> RowSetting(host::BillForm& form, int row) {
        const std::optional<int> first = form.CellSetting(kValueColumns[0], row);
        for (std::string_view key : kValueColumns)
            if (form.CellSetting(key, row) != first) return -99;
        return first;
    }
};

TEST_F(QualityStandardTest, HostileSchemeNumbersAreLookedUpExactly) {
    host::BillForm& form = session->OpenNewBill(kClass);
    for (std::string_view typed : {"x' OR '1'='1", "FA-001' --", "FA 001", "方案一",
                                   "'; DROP TABLE icqcscheme; --", "FA-001%"}) {
        form.Edit("FQCSchemeNo", 0, typed);
        EXPECT_EQ(NextMessage(), kUnknownScheme) << typed;
        EXPECT_EQ(form.ValueText("FQCSchemeNo", 0), "") << typed;
        EXPECT_EQ(form.RowsWithData(), 0) << typed;
    }
    EXPECT_EQ(Query("select count(*) from icqcscheme"), "4");

    // The database's own comparison: letter case and blanks around do not matter.
    form.Edit("FQCSchemeNo", 0, "  fa-002 ");
    EXPECT_EQ(NextMessage(), "");
    EXPECT_EQ(form.ValueText("FQCSchemeNo", 0), "FA-002");
    EXPECT_EQ(form.RowsWithData(), 4);

    // A scheme whose number holds a quote and Chinese text is found by exactly that number.
    session->Db().Execute(
        "insert into icqcscheme (FInterID, FBillNo, FStatus) values (9, 'O''Neil 方案', 1)");
    session->Db().Execute(
        "insert into IcqcSchemeEntry (FInterID, FEntryID, FIdentity, FQCItemID, "
        "FAnalysisMethodID, FBaseProperty) values (9, 1, 901, 3, 10, 4)");
    form.Edit("FQCSchemeNo", 0, "O'Neil 方案");
    EXPECT_EQ(NextMessage(), "");
    EXPECT_EQ(form.RowsWithData(), 1);
    EXPECT_EQ(form.DisplayText("FQCItemID", 1), "水分");
}

TEST_F(QualityStandardTest, RowsFilledFromASchemeHaveTheirQuantitativeCellsSetUp) {
    host::BillForm& form = session->OpenNewBill(kClass);
    form.Edit("FQCSchemeNo", 0, "FA-002");
    EXPECT_EQ(RowSetting(form, 1), std::nullopt) << "a qualitative item";
    for (int row : {2, 3, 4})
        EXPECT_EQ(RowSetting(form, row), 2) << row;

    // A row whose item changes is set up again from its own number.
    form.Edit("FBaseProperty", 1, "3");
    form.Edit("FAnalysisMethodID", 1, "01");
    form.Edit("FQCItemID", 1, "JC02");
    EXPECT_EQ(RowSetting(form, 1), 3);
}

TEST_F(QualityStandardTest, ARowRuleThatCannotRunStopsNeitherTheFillNorTheEntry) {
    DropField("FBaseProperty");
    host::BillForm& form = session->OpenNewBill(kClass);
    form.Edit("FQCSchemeNo", 0, "FA-001");
    EXPECT_EQ(NextMessage(), "");
    EXPECT_EQ(form.RowsWithData(), 3);
    EXPECT_EQ(RowSetting(form, 2), std::nullopt);

    // Entering a row still makes it the current field, which the lookup tool asks for.
    form.Enter("FQCItemID", 2);
    form.Enter("FQCSchemeNo", 0);
    session->QueueChoice({.kind = host::WindowChoice::Kind::Bills, .billNumbers = {"FA-004"}});
    form.Click("mnuDataLookUp");
    EXPECT_EQ(form.ValueText("FQCSchemeNo", 0), "FA-004");
    EXPECT_EQ(form.RowsWithData(), 1);
}

TEST_F(QualityStandardTest, ACopyThatCannotBeLockedTellsTheHostWhileANewBillIsSilent) {
    DropField("FCheckerID");
    host::BillForm& form = session->OpenNewBill(kClass);
    EXPECT_EQ(NextMessage(), "") << "the new bill's handler keeps its failure";
    form.Click("mnuEditCopy");
    EXPECT_NE(NextMessage().find("FCheckerID"), std::string::npos);
}

}  // namespace
}  // namespace velaqm
