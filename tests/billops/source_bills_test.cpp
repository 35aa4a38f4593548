// Source bills: the bills a typed request number stands for, and the rows a bill is filled with
// from the chosen source bills, over the seed's purchase receipts and work orders.
#include "billops/source_bills.h"

#include <gtest/gtest.h>

#include "billops/bill_values.h"
#include "frame/convert.h"
#include "host/bill_form.h"
#include "tests/billops/source_bill_fixture.h"

namespace velaqm {
namespace {

class FindSourceBillsTest : public testing::SourceBillTest {
  protected:
    // The request number's value dictionary after typing `number`.
    DictionaryPtr Typed(host::BillForm& bill, const std::string& number) {
        DictionaryPtr value = BillValues(bill).Data("FReqBillNo");
        value->SetItem("FFLD", number);
        value->SetItem("FFND", number);
        value->SetItem("FDSP", number);
        return value;
    }
    // "id/entry" of each row found, joined by ",".
    static std::string Rows(const VectorPtr& rows) {
        std::string text;
        if (!rows) return "none";
        for (const Variant& item : *rows) {
            const DictionaryPtr row = item.ObjectAs<Dictionary>();
            text += (text.empty() ? "" : ",") + Text(row->Item("FInterID"));
            if (row->Exists("FEntryID")) text += "/" + Text(row->Item("FEntryID"));
        }
        return text;
    }
};

TEST_F(FindSourceBillsTest, ATypedNumberFindsEachEntryOfItsBillWithinTheFilter) {
    host::BillForm& bill = OpenTarget();
    bill.SetValueByKey("FSupplyID", 1, -1);
    const auto lookup = ReqBillLookup("v1.FSupplyID = GetFldValue(FSupplyID,0)");
    EXPECT_EQ(Rows(FindSourceBills(bill, lookup, Typed(bill, "WIN000001"))), "1/1,1/2");
    // Receipt 2 is of supplier 2.
    const DictionaryPtr value = Typed(bill, "win000002");
    EXPECT_EQ(Rows(FindSourceBills(bill, lookup, value)), "none");
    EXPECT_EQ(Text(value->Item("FFLD")) + Text(value->Item("FFND")) + Text(value->Item("FDSP")),
              "");
    EXPECT_EQ(WholeNumber(value->Item("FModify")), 1);
    EXPECT_EQ(bill.DisplayText("FReqBillNo", 0), "");
}

TEST_F(FindSourceBillsTest, TheListTemplateFilterKeepsDeliveryAndReturnRequestsApart) {
    host::BillForm& bill = OpenTarget();
    const auto delivery = ReqBillLookup("", 705);
    EXPECT_EQ(Rows(FindSourceBills(bill, delivery, Typed(bill, "FHJ000002"))), "2/1");
    EXPECT_EQ(Rows(FindSourceBills(bill, delivery, Typed(bill, "THJ000001"))), "none");
    EXPECT_EQ(Rows(FindSourceBills(bill, ReqBillLookup("", 704), Typed(bill, "THJ000001"))), "3/1");
}

TEST_F(FindSourceBillsTest, AWorkOrderIsFoundByItsOperationsOwnInternalIDs) {
    host::BillForm& bill = OpenTarget();
    auto lookup = ReqBillLookup("u1.FIsOut = 1058", 601);
    EXPECT_EQ(Rows(FindSourceBills(bill, lookup, Typed(bill, "GXJH000001"))), "102/2");
    // A production task has no entries.
    lookup = ReqBillLookup("", 36);
    EXPECT_EQ(Rows(FindSourceBills(bill, lookup, Typed(bill, "WORK000003"))), "3");
}

TEST_F(FindSourceBillsTest, HostileMissingOrOtherLookupsFindNothingAndNeverFail) {
    host::BillForm& bill = OpenTarget();
    const std::string receipts = Query("select count(*) from POInStock");
    EXPECT_EQ(Rows(FindSourceBills(bill, ReqBillLookup(""), Typed(bill, "x' OR '1'='1"))), "none");
    EXPECT_EQ(Query("select count(*) from POInStock"), receipts);

    session->Db().ExecuteNative("DROP TABLE POInStockEntry");
    DictionaryPtr value = Typed(bill, "WIN000001");
    EXPECT_EQ(Rows(FindSourceBills(bill, ReqBillLookup(""), value)), "none");
    EXPECT_EQ(Text(value->Item("FFND")), "");

    auto lookup = ReqBillLookup("");
    lookup->SetItem("FFNDFieldName", "v1.FNoSuchColumn");
    EXPECT_EQ(Rows(FindSourceBills(bill, lookup, Typed(bill, "WIN000003"))), "none");

    // Only a lookup into another bill searches; the typed value stays.
    lookup->SetItem("FLookUpType", 1);
    value = Typed(bill, "WIN000003");
    EXPECT_EQ(FindSourceBills(bill, lookup, value), nullptr);
    EXPECT_EQ(Text(value->Item("FFND")), "WIN000003");
}

TEST(SourceBillStatementTest, EachListHasItsStatement) {
    EXPECT_EQ(SourceBillStatement(702, "POInStock", "POInStockEntry", "v1.FBillNo= 'A'"),
              "SELECT v1.FInterID,u1.FEntryID FROM POInStock v1, POInStockEntry u1  WHERE "
              "v1.FInterID=u1.FinterID AND v1.FBillNo= 'A'");
    EXPECT_EQ(SourceBillStatement(36, "ICMO", "", "v1.FBillNo= 'A'"),
              "SELECT v1.FInterID FROM ICMO v1 WHERE v1.FBillNo= 'A'");
    EXPECT_EQ(SourceBillStatement(601, "SHWorkBill", "SHWorkBillEntry", "c"),
              " SELECT u1.FWBInterID as FInterID,u1.FEntryID FROM SHWorkBill v1, "
              "SHWorkBillEntry u1, icmo t3 \r\n WHERE v1.FInterID=u1.FinterID AND "
              "v1.FICMOInterId = t3.FInterID AND  \r\nc");
}

class FillFromSourceBillsTest : public testing::SourceBillTest {
  protected:
    static VectorPtr Chosen(std::initializer_list<std::pair<int, int>> rows) {
        VectorPtr chosen = NewVector();
        for (const auto& [id, entry] : rows) {
            DictionaryPtr row = NewDictionary();
            row->SetItem("FInterID", id);
            if (entry) row->SetItem("FEntryID", entry);
            chosen->Insert(Variant(row));
        }
        return chosen;
    }
    static std::string Value(const DictionaryPtr& row, const char* key) {
        const DictionaryPtr value = row->Item(key).ObjectAs<Dictionary>();
        return value ? Text(value->Item("FFLD")) : "(none)";
    }
    static DictionaryPtr EntryRow(const DictionaryPtr& result, int row) {
        return result->Item("Page2").ObjectAs<Vector>()->Item(row).ObjectAs<Dictionary>();
    }
};

TEST_F(FillFromSourceBillsTest, TheHeadTakesTheFirstSourceRowAndEachEntryARow) {
    host::BillForm& bill = OpenTarget();
    const DictionaryPtr result =
        FillFromSourceBills(bill, "TestLink", Chosen({{1, 0}, {3, 1}}), nullptr, nullptr, "");
    const DictionaryPtr head = result->Item("Page1").ObjectAs<Dictionary>();
    ASSERT_TRUE(head);
    EXPECT_EQ(Value(head, "FReqBillNo"), "WIN000001");
    EXPECT_EQ(Value(head, "FReqBillID"), "1");
    EXPECT_EQ(Value(head, "FSupplyID"), "1");
    EXPECT_EQ(Value(head, "FDate"), "");
    EXPECT_EQ(WholeNumber(head->Item("FReqBillNo").ObjectAs<Dictionary>()->Item("FModify")), 1);
    EXPECT_EQ(WholeNumber(head->Item("FDate").ObjectAs<Dictionary>()->Item("FModify")), 0);

    ASSERT_EQ(result->Item("Page2").ObjectAs<Vector>()->Size(), 3u);
    EXPECT_EQ(Value(EntryRow(result, 1), "FBatchNo"), "B0901");
    EXPECT_EQ(Value(EntryRow(result, 2), "FItemID"), "2");
    EXPECT_EQ(Value(EntryRow(result, 3), "FQty"), "30");
}

TEST_F(FillFromSourceBillsTest, APageFilterAndAGivenHeadAreKept) {
    host::BillForm& bill = OpenTarget();
    DictionaryPtr result = NewDictionary();
    DictionaryPtr head = NewDictionary();
    result->SetItem("Page1", Variant(head));
    // By source class instead of link key; only the head page.
    FillFromSourceBills(bill, 702, Chosen({{2, 1}}), nullptr, result, "1");
    EXPECT_EQ(result->Item("Page1").ObjectAs<Dictionary>(), head);
    EXPECT_EQ(Value(head, "FReqBillNo"), "WIN000002");
    EXPECT_FALSE(result->Exists("Page2"));

    // Nothing chosen fills nothing.
    const DictionaryPtr none =
        FillFromSourceBills(bill, "TestLink", Chosen({}), nullptr, nullptr, "");
    EXPECT_EQ(none->Count(), 0u);
}

}  // namespace
}  // namespace velaqm
