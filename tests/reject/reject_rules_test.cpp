// The reject bill's rules by tables of accepted and refused inputs: the quantity conversion, the
// receipt to look up, the proposal statement and the defect check.
#include "reject/reject_rules.h"

#include <gtest/gtest.h>

#include <string>

#include "frame/convert.h"
#include "frame/reject_strategy.h"

namespace velaqm {
namespace {

Variant Dec(std::string_view text) {
    return Variant(*Decimal::Parse(text));
}

TEST(RejectRules, MyCDecTakesNumbersExactlyAndEverythingElseAsZero) {
    const struct {
        Variant value;
        std::string expected;
    } cases[] = {
        {Variant(), "0"},
        {Variant(kNull), "0"},
        {Variant("abc"), "0"},
        {Variant(""), "0"},
        {Variant(" 12.5 "), "12.5"},
        {Variant("-3"), "-3"},
        {Variant(0.1), "0.1"},
        {Variant(true), "-1"},
        {Variant("0.12345678901234567890123"), "0.12345678901234567890123"},
        {Variant("1e400"), "0"},  // beyond a double: not a number at all
        {Variant("1e30"), "0"},   // a number, but beyond the decimal type
        {Variant("'; DROP TABLE ICQCBill; --"), "0"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MyCDec(c.value).ToString(), c.expected) << Text(c.value);
}

TEST(RejectRules, OnlyAPositiveWholeReceiptIdIsLookedUp) {
    const struct {
        Variant value;
        std::optional<std::int32_t> expected;
    } cases[] = {
        {Variant(41), 41},
        {Variant("41"), 41},
        {Variant(40.6), 41},
        {Variant(), std::nullopt},  // empty is 0
        {Variant(kNull), std::nullopt},
        {Variant("abc"), std::nullopt},
        {Variant("41; delete from POInStock"), std::nullopt},
        {Variant(0), std::nullopt},
        {Variant(-7), std::nullopt},
        {Variant(3e9), std::nullopt},  // beyond a Long
    };
    for (const auto& c : cases)
        EXPECT_EQ(RequestedReceipt(c.value), c.expected) << Text(c.value);
}

TEST(RejectRules, TheProposalStatementIsTheReceiptRowJoinedToItsInspection) {
    EXPECT_EQ(RejectQtyStatement(41, 7),
              " select (case when w1.FNotPassQty - isnull((u1.FAuxNotPassQty-u1.FAuxCommitQty),0) "
              "< 0 then w1.FNotPassQty \r\n"
              " else isnull((u1.FAuxNotPassQty-u1.FAuxCommitQty),0) end) as FRejectQtyTmp \r\n"
              " from POInStockEntry u1 inner join POInStock v1\r\n"
              " on v1.FInterID=u1.FInterID and  v1.FTranType=702 AND v1.FCancellation=0 inner "
              "join ICQCBill w1\r\n"
              " on w1.FInStockInterID = u1.FInterID and w1.FSerialID = u1.FEntryID and "
              "w1.FCancellation=0 and \r\n"
              " v1.finterid =41  and w1.finterid = 7");
    EXPECT_EQ(RequestBillNoStatement(41), "select FBillNo from POInStock where FInterID=41");
}

TEST(RejectRules, OnlyAPositiveProposalReplacesTheRejectQuantity) {
    EXPECT_TRUE(ReplacesRejectQty(Dec("0.001")));
    EXPECT_TRUE(ReplacesRejectQty(Variant(25)));
    EXPECT_FALSE(ReplacesRejectQty(Variant(0)));
    EXPECT_FALSE(ReplacesRejectQty(Variant(-4)));
    EXPECT_FALSE(ReplacesRejectQty(Variant(kNull)));
}

TEST(RejectRules, EveryRowWithADefectHandlingCountsWhereverItStands) {
    const std::vector<DefectRow> rows = {
        {Variant(5), Variant(2)}, {Variant(7), Variant(3)},
        {Variant(0), Variant(4)},  // no handling: its quantity is not counted
        {Variant(9), Variant(1)},  // below the empty row, and still counted
        {Variant(), Variant(8)},  {Variant("x"), Variant(8)},
    };
    EXPECT_EQ(DefectTotal(rows).ToString(), "6");
    EXPECT_TRUE(DefectsAddUp(Variant(6), rows));
    EXPECT_FALSE(DefectsAddUp(Variant(5), rows));
}

TEST(RejectRules, TheDefectCheckComparesExactly) {
    const struct {
        Variant rejectQty;
        std::vector<DefectRow> rows;
        bool addsUp;
    } cases[] = {
        {Variant(), {}, true},  // empty is 0, and no row counts
        {Variant("abc"), {}, true},
        {Variant(0), {{Variant(1), Variant()}}, true},
        {Dec("0.3"), {{Variant(1), Dec("0.1")}, {Variant(2), Dec("0.2")}}, true},
        {Variant(0.3), {{Variant(1), Variant(0.1)}, {Variant(2), Variant(0.2)}}, true},
        {Dec("0.3"), {{Variant(1), Dec("0.1")}, {Variant(2), Dec("0.2000000001")}}, false},
        {Variant(5), {{Variant(1), Variant(7)}, {Variant(2), Variant(-2)}}, true},
        {Variant(5), {{Variant(1), Variant("five")}}, false},
    };
    int index = 0;
    for (const auto& c : cases)
        EXPECT_EQ(DefectsAddUp(c.rejectQty, c.rows), c.addsUp) << index++;
}

}  // namespace
}  // namespace velaqm
