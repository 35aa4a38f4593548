// The handlers' error policies, Show's sorting of host objects, and SQL values that stay values.
#include "frame/error_policy.h"

#include <gtest/gtest.h>

#include "frame/plugin_show.h"
#include "frame/sql_text.h"
#include "host/bill_form.h"
#include "tests/support/session_fixture.h"

namespace velaqm {
namespace {

using ErrorPolicyTest = testing::SessionTest;

TEST_F(ErrorPolicyTest, EachPolicyDoesWhatItsNameSays) {
    const HostError failure(424, "VelaConnection.Appconnection", "Object required");
    int after = 0;
    TrapSilently([&] {
        throw failure;
        ++after;  // never reached: the handler ends
    });
    EXPECT_EQ(after, 0);
    EXPECT_EQ(Err().number, 424);
    EXPECT_EQ(NextMessage(), "") << "nothing is shown";

    TrapAndShow("[质量标准]保存出错，原因：", [&] { throw failure; });
    EXPECT_EQ(NextMessage(), "[质量标准]保存出错，原因：Object required");

    ResumeNext([&] { throw std::runtime_error("boom"); });
    ++after;  // the handler goes on
    EXPECT_EQ(after, 1);
    EXPECT_EQ(Err().description, "boom");
    EXPECT_EQ(ResumeNextOr([]() -> int { throw std::runtime_error("x"); }, 7), 7);
    ClearErr();
    EXPECT_EQ(AsHostError(std::runtime_error("plain")).Number(), kErrUnexpected);
}

TEST_F(ErrorPolicyTest, ShowSortsHostObjectsByTypeName) {
    host::BillForm& form = session->OpenNewBill(1001910);
    const Variant bill(std::static_pointer_cast<BillEvent>(form.shared_from_this()));
    EXPECT_TRUE(SortBillOrList(bill).bill);
    EXPECT_FALSE(SortBillOrList(bill).list);
    const auto nothing = SortBillOrList(Variant::Nothing());
    EXPECT_FALSE(nothing.bill || nothing.list);
    const auto other = SortBillOrList(Variant(NewDictionary()));
    EXPECT_FALSE(other.bill || other.list) << "any other object is ignored";
    EXPECT_FALSE(SortBillOrList(Variant("text")).bill);
}

TEST(SqlTextTest, ValuesBecomeLiteralsAndNamesMustBeNames) {
    EXPECT_EQ(SqlText("O'Brien';DROP TABLE t_User;--"), "'O''Brien'';DROP TABLE t_User;--'");
    EXPECT_EQ(SqlText("质量"), "'质量'");
    EXPECT_EQ(SqlNumber(Variant("12abc")), "12");
    EXPECT_EQ(SqlNumber(Variant("1;DROP TABLE x")), "1");
    EXPECT_EQ(SqlNumber(Variant(0.1)), "0.1");
    EXPECT_EQ(SqlWhole(Variant("2.5")), "2");
    EXPECT_EQ(SqlWhole(Variant()), "0");
    EXPECT_EQ(SqlDate(*Date::Parse("2009-9-30")), "'2009-09-30 00:00:00'");
    EXPECT_EQ(SqlName("QMClientServiceLog"), "QMClientServiceLog");
    EXPECT_EQ(SqlName("dbo.t_User"), "dbo.t_User");
    EXPECT_EQ(SqlName("#Standard"), "#Standard");
    for (std::string_view bad : {"", "1abc", "a b", "a;DROP", "x'--", "a..b", "a.", "[a]"})
        EXPECT_THROW(SqlName(bad), HostError) << bad;
}

TEST(SqlTextTest, ATemplateTakesEachValueAtItsPlaceHolderOnce) {
    EXPECT_EQ(SqlFormat("where FID=%1 and FNumber=%2", {"7", SqlText("C'2")}),
              "where FID=7 and FNumber='C''2'");
    // A value's own "%2" is not read again as a place-holder.
    EXPECT_EQ(SqlFormat("%2 or %1", {SqlText("%2"), "x"}), "x or '%2'");
    EXPECT_EQ(SqlFormat("FName LIKE '%a%' AND 100% = %", {}), "FName LIKE '%a%' AND 100% = %");
    EXPECT_THROW(SqlFormat("FID=%3", {"1", "2"}), HostError) << "no value for a place-holder";
}

}  // namespace
}  // namespace velaqm
