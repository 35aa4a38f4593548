// The host's own lookup window (mnuDataLookUp) over base data: what it shows under the field's
// filter, and what it does with a choice it does not show.
#include <gtest/gtest.h>

#include "host/bill_form.h"
#include "tests/support/session_fixture.h"

namespace velaqm {
namespace {

// The quality accident's routing: a lookup into t_Routing whose filter no plug-in sets.
constexpr int kClass = 1001909;

class LookupWindowTest : public testing::SessionTest {
  protected:
    void Choose(std::vector<std::string> numbers) {
        session->QueueChoice(
            {.kind = host::WindowChoice::Kind::Bills, .billNumbers = std::move(numbers)});
    }
};

TEST_F(LookupWindowTest, TheWindowShowsTheRecordsUnderTheFieldsFilterAndTakesTheChoice) {
    host::BillForm& form = session->OpenNewBill(kClass);
    form.Enter("FRoutingname", 0);
    Choose({"GY02"});
    form.Click("mnuDataLookUp");
    EXPECT_EQ(*form.LastLookupOffer(), (std::vector<std::string>{"GY01", "GY02"}));
    EXPECT_EQ(form.ValueText("FRoutingname", 0), "12");
    EXPECT_EQ(form.DisplayText("FRoutingname", 0), "胶囊工艺");

    form.GetFieldInfoByKey("FRoutingname", "", 0)->SetItem("FFilter", "FNumber <> 'GY02'");
    Choose({"GY02"});
    form.Click("mnuDataLookUp");
    EXPECT_EQ(*form.LastLookupOffer(), std::vector<std::string>{"GY01"});
    EXPECT_EQ(session->TakeProblems(),
              std::vector<std::string>{"the lookup of FRoutingname shows no record GY02"});
    EXPECT_EQ(form.ValueText("FRoutingname", 0), "12") << "a refused choice changes nothing";
}

TEST_F(LookupWindowTest, OnlyALookupIntoBaseDataOpensTheWindow) {
    host::BillForm& form = session->OpenNewBill(kClass);
    form.Click("mnuDataLookUp");
    form.Enter("FNote", 0);
    form.Click("mnuDataLookUp");
    EXPECT_FALSE(form.LastLookupOffer().has_value());
    EXPECT_TRUE(session->TakeProblems().empty()) << "no window asked for a choice";

    form.Enter("FWorkPrc", 0);
    form.Click("mnuDataLookUp");
    EXPECT_EQ(session->TakeProblems().size(), 1u) << "a window with no choice queued";
    EXPECT_EQ(form.ValueText("FWorkPrc", 0), "");
}

}  // namespace
}  // namespace velaqm
