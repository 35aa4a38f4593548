// The substitute's class info, bill lookup and data access, and the list-selection control's
// filters over the head (v1) and entries (u1) of the seed's source bills.
#include "host/lookup_components.h"

#include <gtest/gtest.h>

#include "billops/list_selection.h"
#include "frame/convert.h"
#include "frame/host_error.h"
#include "frame/host_services.h"
#include "frame/platform.h"
#include "tests/support/session_fixture.h"

namespace velaqm {
namespace {

using host::WindowChoice;

class LookupComponentsTest : public testing::SessionTest {
  protected:
    // The latest form entry of the transcript that holds `part`.
    std::string LastForm(std::string_view part = "") {
        for (auto it = session->Log().Entries().rbegin(); it != session->Log().Entries().rend();
             ++it)
            if (it->kind == host::EntryKind::Form && it->text.find(part) != std::string::npos)
                return it->text;
        return "";
    }
    // "id/entry" of each selected row.
    static std::string Rows(const Variant& selected) {
        std::string text;
        const VectorPtr rows = selected.ObjectAs<Vector>();
        if (!rows) return "none";
        for (const Variant& item : *rows) {
            const DictionaryPtr row = item.ObjectAs<Dictionary>();
            text += (text.empty() ? "" : ",") + Text(row->Item("FInterID"));
            if (row->Exists("FEntryID")) text += "/" + Text(row->Item("FEntryID"));
        }
        return text;
    }
};

TEST_F(LookupComponentsTest, ClassInfoReadsOnlyAnFIDFilter) {
    const auto info = CreateObject<ClassInfo>(progid::kClassInfo);
    EXPECT_EQ(Text(info->GetClassType(" fid = 702 ")->Item("FName")), "外购入库单");
    EXPECT_EQ(Text(info->GetClassType("FID=702")->Item("FTableName")), "POInStock");
    EXPECT_EQ(info->GetClassType("FID=99999")->Count(), 0u);
    EXPECT_THROW(info->GetClassType("FID=702 OR 1=1"), HostError);
    EXPECT_THROW(info->GetClassType("FName='x'"), HostError);
    session->Login({.language = "en"});
    EXPECT_EQ(
        Text(CreateObject<ClassInfo>(progid::kClassInfo)->GetClassType("FID=85")->Item("FName")),
        "Production task");
}

TEST_F(LookupComponentsTest, TheLookupOfAListKeepsToItsTemplateFilter) {
    const auto lookUp = CreateObject<BillLookUp>(progid::kBillLookUp);
    DictionaryPtr page = NewDictionary();
    page->SetItem("FClassID", -704);
    page->SetItem("Filter", "v1.FStatus > 0");
    lookUp->ConnectViewExt(page);
    EXPECT_EQ(LastForm(), "linked bills: 退货检验申请单 THJ000001");
    page->SetItem("FClassID", 424242);
    lookUp->ConnectViewExt(page);
    EXPECT_EQ(LastForm(), "linked bills:  (unknown class 424242)");
}

TEST_F(LookupComponentsTest, ATemplateIsMadeForTheClassItIsSetTo) {
    const auto billTemplate = CreateObject<ClassTemplate>(progid::kClassTemplate);
    EXPECT_EQ(billTemplate->ClassTypeID(), 0);
    EXPECT_THROW(billTemplate->ClassTypeEntry(), HostError);
    billTemplate->SetClassTypeID(702);
    EXPECT_EQ(billTemplate->ClassTypeEntry()->Size(), 2u);
    EXPECT_EQ(Text(billTemplate->ClassType("BillNoField")), "FBillNo");
}

TEST_F(LookupComponentsTest, ListSelectionFiltersNameTheHeadAndTheEntriesByAlias) {
    session->QueueChoice({.kind = WindowChoice::Kind::Bills, .billNumbers = {}, .ids = {2}});
    EXPECT_EQ(Rows(ShowListSelection(702, {}, "v1.FStatus in (1,2) AND v1.FBizType = 12510")), "2");
    EXPECT_NE(LastForm("shows:").find("shows: WIN000001, WIN000002"), std::string::npos)
        << LastForm("shows:");
    // A receipt outside the filter cannot be chosen.
    session->QueueChoice(
        {.kind = WindowChoice::Kind::Bills, .billNumbers = {"WIN000003"}, .ids = {}});
    EXPECT_EQ(Rows(ShowListSelection(702, {}, "v1.FStatus in (1,2)")), "none");
    EXPECT_EQ(session->TakeProblems().size(), 1u);
    // A filter on the entries shows entry rows, and a pick carries them.
    session->QueueChoice(
        {.kind = WindowChoice::Kind::Bills, .billNumbers = {"WIN000001"}, .ids = {}});
    EXPECT_EQ(Rows(ShowListSelection(702, {}, "u1.FQty >= 50 AND POInStockEntry.FItemID = 2")),
              "1/2");
    EXPECT_NE(LastForm("shows:").find("shows: WIN000001/2, WIN000005/1"), std::string::npos)
        << LastForm("shows:");
}

TEST_F(LookupComponentsTest, SourceRowsComeByTargetKeyWithTheTargetsPages) {
    const auto access = CreateObject<DataInfo>(progid::kDataInfo);
    const auto target = CreateObject<ClassTemplate>(progid::kClassTemplate);
    target->SetClassTypeID(702);
    // No link leads to the purchase receipt itself.
    VectorPtr chosen = NewVector();
    chosen->Insert(1);
    EXPECT_THROW(access->GetSelOldBillData("", "FReqBillNo_16", Variant(chosen), Variant(target)),
                 HostError);
    session->Db().ExecuteNative(
        "INSERT INTO ICClassLink (FLinkKey, FSourceClassID, FDestClassTypeID, FDestKey, "
        "FSourceExpr) VALUES ('Copy', 702, 702, 'FBillNo', 'v1.FBillNo || ''/'' || u1.FEntryID')");
    const DictionaryPtr data =
        access->GetSelOldBillData("", "Copy", Variant(chosen), Variant(target))
            .ObjectAs<Dictionary>();
    ASSERT_TRUE(data);
    EXPECT_EQ(WholeNumber(data->Item("PageCount")), 2);
    const DictionaryPtr head = data->Item("Page1").ObjectAs<Dictionary>();
    EXPECT_EQ(head->Item("Fields").ObjectAs<Vector>()->Size(), 4u);
    const RecordsetPtr rows = data->Item("Data").ObjectAs<Recordset>();
    ASSERT_EQ(rows->RecordCount(), 2);
    EXPECT_EQ(Text(rows->Fields("FBillNo")), "WIN000001/1");
    const DictionaryPtr empty =
        access->GetEmptyData(Variant(head), 0, Variant(target)).ObjectAs<Dictionary>();
    EXPECT_TRUE(empty->Exists("FBillNo"));
}

TEST_F(LookupComponentsTest, SchemesAreFoundByTheConditionTheyAreAskedFor) {
    const auto access = CreateObject<DataInfo>(progid::kDataInfo);
    // "FInterID" of each scheme found, in order.
    auto found = [&](std::string_view filter) {
        std::string ids;
        const VectorPtr schemes = access->GetQCSchemeBilldata("", filter);
        for (const Variant& item : *schemes)
            ids += (ids.empty() ? "" : ",") + Text(item.ObjectAs<Dictionary>()->Item("FInterID"));
        return ids;
    };
    EXPECT_EQ(found("FBillNo = 'fa-002 '"), "2") << "the database's comparison of text";
    EXPECT_EQ(found("FBillNo = 'FA-009'"), "");
    EXPECT_EQ(found("FBillNo = 'x'' OR ''1''=''1'"), "");
    EXPECT_EQ(found(" "), "1,2,3,4");
    const VectorPtr scheme = access->GetQCSchemeBilldata("", "FInterID = 1");
    ASSERT_EQ(scheme->Size(), 1u);
    const DictionaryPtr row = scheme->Item(1).ObjectAs<Dictionary>();
    EXPECT_EQ(Text(row->Item("FBillNo")), "FA-001");
    EXPECT_EQ(Text(row->Item("FSchemeName")), "原料对乙酰氨基酚检验方案");
    // SQL Server text runs through the host's dialect; a condition it cannot run is an error.
    EXPECT_EQ(found("ISNULL(FCheckerID, 0) = 0"), "4");
    EXPECT_THROW(access->GetQCSchemeBilldata("", "FNoSuchColumn = 1"), HostError);
}

}  // namespace
}  // namespace velaqm
