// The substitute's class link: the data chosen source bills give a target bill, by the fields
// the catalog links.
#include "host/link_components.h"

#include <gtest/gtest.h>

#include "frame/convert.h"
#include "frame/host_error.h"
#include "frame/host_services.h"
#include "frame/platform.h"
#include "tests/support/session_fixture.h"

namespace velaqm {
namespace {

class ClassLinkTest : public testing::SessionTest {
  protected:
    std::shared_ptr<ClassLink> Link(int sourceClass, int targetClass) {
        auto target = CreateObject<ClassTemplate>(progid::kClassTemplate);
        target->SetClassTypeID(targetClass);
        auto link = CreateObject<ClassLink>(progid::kClassLink);
        link->SetDataSrv(target);
        link->SetSRCClassTypeID(sourceClass);
        return link;
    }
    static VectorPtr Chosen(std::initializer_list<int> ids) {
        VectorPtr rows = NewVector();
        for (int id : ids) {
            DictionaryPtr row = NewDictionary();
            row->SetItem("FInterID", id);
            rows->Insert(Variant(row));
        }
        return rows;
    }
    static std::string Value(const DictionaryPtr& cells, std::string_view key) {
        const auto cell = cells->Item(key).ObjectAs<Dictionary>();
        return cell ? Text(cell->Item("FFLD")) : "(none)";
    }
};

TEST_F(ClassLinkTest, ChosenSourceBillsFillTheHeadOnceAndARowPerSourceRow) {
    const auto link = Link(702, 1001906);
    link->InitLinkTemplate();
    const auto data =
        link->selbills(Variant(), Variant(Chosen({1})), Variant(true)).ObjectAs<Dictionary>();
    ASSERT_TRUE(data);
    const auto head = data->Item("Page1").ObjectAs<Dictionary>();
    EXPECT_EQ(Value(head, "FReqBillNo"), "WIN000001");
    EXPECT_EQ(Value(head, "FReqBillID"), "1");
    EXPECT_EQ(Value(head, "FItemID"), "(none)") << "an entry field stays out of the head";
    const auto rows = data->Item("Page2").ObjectAs<Vector>();
    ASSERT_EQ(rows->Size(), 2u);
    EXPECT_EQ(Value(rows->Item(2).ObjectAs<Dictionary>(), "FBatchNo"), "B0902");
    EXPECT_EQ(NumberValue(head->Item("FReqBillNo").ObjectAs<Dictionary>()->Item("FModify")), 1);
}

TEST_F(ClassLinkTest, ClassesTheCatalogDoesNotLinkAreRefused) {
    const auto link = Link(702, 1001900);
    EXPECT_THROW(link->InitLinkTemplate(), HostError);
    EXPECT_THROW(link->selbills(Variant(), Variant(Chosen({1})), Variant(true)), HostError);
}

TEST_F(ClassLinkTest, NoChosenBillFillsNothing) {
    const auto link = Link(702, 1001906);
    link->InitLinkTemplate();
    const auto data =
        link->selbills(Variant(), Variant(Chosen({})), Variant(true)).ObjectAs<Dictionary>();
    EXPECT_EQ(data->Item("Page1").ObjectAs<Dictionary>()->Count(), 0u);
    EXPECT_EQ(data->Item("Page2").ObjectAs<Vector>()->Size(), 0u);
}

}  // namespace
}  // namespace velaqm
