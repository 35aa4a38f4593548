// The quality accident in the substitute host: the routing filter as the host's lookup receives
// it, whatever the routing field holds.
#include "inspection/quality_accident.h"

#include <gtest/gtest.h>

#include "host/bill_form.h"
#include "tests/support/session_fixture.h"

namespace velaqm {
namespace {

constexpr int kClass = QMAccident::kClassTypeID;
constexpr std::string_view kFilterOfRouting =
    "FInterID in (SELECT FOperID FROM t_routingoper  WHERE FInterID= ";

class QMAccidentTest : public testing::SessionTest {
  protected:
    // The filter the plug-in left in the work process's field info on entering it.
    static std::string FilterOnEntry(host::BillForm& form) {
        form.Enter("FWorkPrc", 0);
        return Text(form.GetFieldInfoByKey("FWorkPrc", "", 0)->Item("FFilter"));
    }
};

TEST_F(QMAccidentTest, EnteringTheWorkProcessFiltersTheHostsLookupByTheRouting) {
    host::BillForm& form = session->OpenNewBill(kClass);
    EXPECT_EQ(FilterOnEntry(form), "");
    form.Edit("FRoutingname", 0, "id:12");
    EXPECT_EQ(FilterOnEntry(form), std::string(kFilterOfRouting) + "12)");
    EXPECT_EQ(form.ValueText("FWorkPrc", 0), "") << "entering alone changes no value";
    form.Edit("FRoutingname", 0, "");
    EXPECT_EQ(FilterOnEntry(form), "");
    EXPECT_TRUE(session->TakeProblems().empty());
}

// Values written behind the form's back are never spliced: each names routing 0, which has no
// operations, and the host's lookup runs the filter without error.
TEST_F(QMAccidentTest, ARoutingThatIsNoInternalIdNamesNoRouting) {
    for (const char* stored : {"x'' OR ''1''=''1", "0) OR (1=1", "1e300", "12abc"}) {
        session->Db().Execute(std::string("UPDATE QMAccident SET FRoutingname = '") + stored +
                              "' WHERE FID = 1");
        host::BillForm& form = session->OpenBill(kClass, 1, false);
        EXPECT_EQ(FilterOnEntry(form), std::string(kFilterOfRouting) + "0)") << stored;
        session->QueueChoice({.kind = host::WindowChoice::Kind::Exit, .billNumbers = {}});
        form.Click("mnuDataLookUp");
        ASSERT_TRUE(form.LastLookupOffer().has_value()) << stored;
        EXPECT_TRUE(form.LastLookupOffer()->empty()) << stored;
        EXPECT_EQ(NextMessage(), "") << stored;
    }
}

TEST_F(QMAccidentTest, ABillHeldElsewhereKeepsItsLookupDisabledOnEveryField) {
    session->Db().Execute("INSERT INTO t_BillMutex VALUES (1001909, 1, 16395)");
    host::BillForm& form = session->OpenBill(kClass, 1, false);
    for (const char* key : {"FDate", "FNote", "FWorkPrc"}) {
        form.SetBarStatus("mnuDataLookUp", "Enabled", true);
        form.Enter(key, 0);
        EXPECT_FALSE(form.ToolState("mnuDataLookUp").Enabled()) << key;
    }
}

}  // namespace
}  // namespace velaqm
