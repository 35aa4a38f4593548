// Linked bills of one bill in a list, shown in the host's bill lookup.
#include "billops/linked_bills.h"

#include <gtest/gtest.h>

#include "frame/convert.h"
#include "host/list_form.h"
#include "tests/billops/source_bill_fixture.h"

namespace velaqm {
namespace {

class LinkedBillsTest : public testing::SourceBillTest {
  protected:
    void SetUp() override {
        SourceBillTest::SetUp();
        session->Db().ExecuteNative(
            "INSERT INTO TestSampHead (FID, FBillNo, FReqBillID, FReqBillNo) VALUES "
            "(1, 'TS0001', 1, 'WIN000001'), (2, 'TS0002', 0, ''), (3, 'TS0003', 2, 'x''y')");
    }
    host::ListForm& ListWith(const std::vector<std::string>& billNos) {
        host::ListForm& list = session->OpenList(kTarget);
        std::vector<host::ListForm::Selection> rows;
        for (const auto& billNo : billNos)
            rows.push_back({billNo, 0});
        list.Select(rows);
        return list;
    }
    // The receipts linked by internal ID (through their list) and by number (their class).
    static VectorPtr Links() {
        VectorPtr links = NewVector();
        const auto add = [&](const char* field, int classId, const char* sourceFilter) {
            DictionaryPtr link = NewDictionary();
            link->SetItem("FieldName", field);
            link->SetItem("FClassID", classId);
            link->SetItem("FSourFilter", sourceFilter);
            links->Insert(Variant(link));
        };
        add("FReqBillID", -702, "v1.FInterID");
        add("FReqBillNo", 702, "POInStock.FBillNo");
        return links;
    }
    std::string LastForm() {
        for (auto it = session->Log().Entries().rbegin(); it != session->Log().Entries().rend();
             ++it)
            if (it->kind == host::EntryKind::Form) return it->text;
        return "";
    }
};

TEST_F(LinkedBillsTest, OnlyOneSelectedBillHasLinks) {
    ShowLinkedBills(ListWith({}), Links());
    EXPECT_EQ(NextMessage(), "不能选择多张单据，请重新选择！");
    ShowLinkedBills(ListWith({"TS0001", "TS0003"}), Links());
    EXPECT_EQ(NextMessage(), "不能选择多张单据，请重新选择！");
    ShowLinkedBills(ListWith({"TS0002"}), Links());
    EXPECT_EQ(NextMessage(), "无关联单据信息！");
    EXPECT_EQ(session->Log().Messages().back().flags, kMsgInformation);
}

TEST_F(LinkedBillsTest, EachLinkWithAValueIsAPageOfTheLookup) {
    const VectorPtr links = Links();
    ShowLinkedBills(ListWith({"TS0001"}), links);
    EXPECT_EQ(NextMessage(), "");
    EXPECT_EQ(LastForm(), "linked bills: 外购入库单 WIN000001; 外购入库单 WIN000001");
    const DictionaryPtr first = links->Item(1).ObjectAs<Dictionary>();
    EXPECT_EQ(Text(first->Item("FName")), "外购入库单");
    const DictionaryPtr filter = first->Item("Filter").ObjectAs<Dictionary>();
    EXPECT_EQ(Text(filter->Item("FilterString")), "v1.FInterID=1");
    EXPECT_EQ(Text(filter->Item("SelectPage")), ",1,2,");

    // A text link is quoted.
    ShowLinkedBills(ListWith({"TS0003"}), links);
    EXPECT_EQ(LastForm(), "linked bills: 外购入库单 WIN000002; 外购入库单 (no bill)");
    EXPECT_EQ(
        Text(links->Item(2).ObjectAs<Dictionary>()->Item("Filter").ObjectAs<Dictionary>()->Item(
            "FilterString")),
        "POInStock.FBillNo='x''y'");
}

TEST_F(LinkedBillsTest, TheLookupTakesTheCallersOwnPageList) {
    DictionaryPtr pages = NewDictionary();
    DictionaryPtr page = NewDictionary();
    page->SetItem("FClassID", -601);
    page->SetItem("FName", "工序计划");
    page->SetItem("SelectPage", ",1,2,");
    page->SetItem("FilterString", "u1.FIsOut = 1059");
    page->SetItem("HeadSort", "");
    page->SetItem("EntrySort", "");
    pages->SetItem("1", Variant(page));
    OpenBillLookUp(kTarget, pages);
    EXPECT_EQ(LastForm(), "linked bills: 工序计划 GXJH000001, GXJH000002");
    EXPECT_EQ(Text(GetClassTypeInfo(kTarget)->Item("FName")), "取样测试");
    EXPECT_EQ(GetClassTypeInfo(123456)->Count(), 0u);
}

}  // namespace
}  // namespace velaqm
