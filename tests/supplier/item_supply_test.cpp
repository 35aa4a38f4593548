// The item supply in the substitute host: what the scenarios cannot show well, item IDs that are
// no whole numbers and the checks whose reads fail.
#include "supplier/item_supply.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "frame/collections.h"
#include "host/bill_form.h"
#include "tests/support/session_fixture.h"

namespace velaqm {
namespace {

constexpr int kClass = cItemSupply::kClassTypeID;
constexpr std::string_view kComponentError = "调用中间层组件出现错误！";
constexpr std::string_view kCheckError = "[物料来源关系]检查出错，原因：";

class ItemSupplyTest : public testing::SessionTest {
  protected:
    // A second plug-in on the open form, whose public check a test calls as the host would.
    template <class P>
    std::unique_ptr<P> PluginOn(host::BillForm& form) {
        auto plugin = std::make_unique<P>();
        plugin->Show(Variant(std::static_pointer_cast<BillEvent>(form.shared_from_this())));
        return plugin;
    }
    static void SetHead(host::BillForm& form, std::string_view key, const Variant& value) {
        form.GetDataFld(form.GetFieldInfoByKey(key, "", 0), 0)->SetItem("FFLD", value);
    }
    static void SetCell(host::BillForm& form, std::string_view key, int row, const Variant& value) {
        form.GetDataFld(form.GetFieldInfoByKey(key, "", 0), row)->SetItem("FFLD", value);
    }
    // The last statement the plug-ins issued.
    std::string LastSql() const {
        const auto& entries = session->Log().Entries();
        for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry)
            if (entry->kind == host::EntryKind::Sql) return entry->text;
        return "";
    }
};

TEST_F(ItemSupplyTest, AnItemIsLookedUpByItsWholeNumberWhateverTheBillHolds) {
    session->Db().Execute("insert into QMItemSupplyInfo (FID, FItemID) values (1, 1)");
    session->Db().Execute("insert into QMItemGrade (FID, FItemID) values (1, 4)");
    host::BillForm& form = session->OpenNewBill(kClass);
    const auto supply = PluginOn<cItemSupply>(form);
    const struct {
        Variant item;
        std::string sql;
        bool recorded;
    } cases[] = {
        {Variant("1 or 1=1"), "select * from QMItemSupplyInfo where fitemid= 1", true},
        {Variant("0 or 1=1"), "select * from QMItemSupplyInfo where fitemid= 0", false},
        {Variant("x'; delete from QMItemSupplyInfo; --"),
         "select * from QMItemSupplyInfo where fitemid= 0", false},
        {Variant(1.5), "select * from QMItemSupplyInfo where fitemid= 2", false},
        {Variant(), "select * from QMItemSupplyInfo where fitemid= 0", false},
    };
    for (const auto& c : cases) {
        SetHead(form, "FItemID", c.item);
        EXPECT_EQ(supply->CheckItemUniq(), c.recorded) << Text(c.item);
        EXPECT_EQ(LastSql(), c.sql) << Text(c.item);
        if (c.recorded) {
            EXPECT_EQ(NextMessage(), "已存在此物料来源关系定义，不能重复录入!");
        }
        EXPECT_EQ(NextMessage(), "") << Text(c.item);
    }
    EXPECT_EQ(Query("select count(*) from QMItemSupplyInfo"), "1");
}

TEST_F(ItemSupplyTest, AnItemThatCannotBeCheckedIsNeverSaved) {
    host::BillForm& form = session->OpenNewBill(kClass);
    form.Edit("FItemID", 0, "01.001");
    form.Edit("FSupplyID", 1, "S001");
    form.Edit("FOrderPercent", 1, "100");
    // An item beyond any whole number the check can write.
    auto supply = PluginOn<cItemSupply>(form);
    SetHead(form, "FItemID", Variant("1e30"));
    EXPECT_TRUE(supply->CheckItemUniq());
    EXPECT_EQ(NextMessage(), kComponentError);
    supply.reset();  // the form's own plug-in checks the save

    form.Edit("FItemID", 0, "01.001");
    session->Db().Execute("alter table QMItemSupplyInfo rename column FItemID to FItem");
    EXPECT_FALSE(form.Save());
    EXPECT_EQ(NextMessage(), kComponentError);
    EXPECT_EQ(NextMessage(), "");
    EXPECT_EQ(Query("select count(*) from QMItemSupplyInfoEntry"), "0");
}

TEST_F(ItemSupplyTest, SharesThatCannotBeAddedRefuseTheSaveWithTheReason) {
    host::BillForm& form = session->OpenNewBill(kClass);
    form.Edit("FItemID", 0, "01.001");
    form.Edit("FSupplyID", 1, "S001");
    SetCell(form, "FOrderPercent", 1, Variant("1e40"));
    EXPECT_FALSE(form.Save());
    EXPECT_EQ(NextMessage().rfind(kCheckError, 0), 0u);
    EXPECT_EQ(Query("select count(*) from QMItemSupplyInfo"), "0");
}

TEST_F(ItemSupplyTest, ASchemeCheckThatCannotReadTheSchemesTellsWhyAndKeepsTheScheme) {
    host::BillForm& form = session->OpenNewBill(kClass);
    session->Db().Execute("alter table icqcscheme rename column FIsValid to FReleased");
    form.Edit("FProjectID", 1, "FA-001");
    const std::string message = NextMessage();
    EXPECT_EQ(message.rfind(kCheckError, 0), 0u) << message;
    EXPECT_GT(message.size(), kCheckError.size());
    EXPECT_EQ(form.ValueText("FProjectID", 1), "1");
}

}  // namespace
}  // namespace velaqm
