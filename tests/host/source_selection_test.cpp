// The host's own source-bill selection tool: the plug-in hears of it before the window opens,
// with the source class and the bill's template, and after the bill is filled.
#include <gtest/gtest.h>

#include <string>

#include "frame/host_bill.h"
#include "host/bill_form.h"
#include "tests/support/session_fixture.h"

namespace velaqm {
namespace {

// Writes down the selection events as they come, with the source-bill field at that moment.
class SelectionEvents final : public BillEventsSink {
  public:
    explicit SelectionEvents(host::BillForm& form) : m_form(form) {}
    void BeforeSelBills(int type, const DataSrvPtr& billTemplate, const DictionaryPtr&,
                        std::string&, const DictionaryPtr&) override {
        seen += "before " + std::to_string(type) + " for " +
                std::to_string(billTemplate->ClassTypeID()) + " [" + Source() + "]; ";
    }
    void AfterSelBill(int type) override {
        seen += "after " + std::to_string(type) + " [" + Source() + "]; ";
    }
    std::string seen;

  private:
    std::string Source() { return m_form.ValueText("FReqBillNo", 0); }
    host::BillForm& m_form;
};

class SourceSelectionTest : public testing::SessionTest {};

TEST_F(SourceSelectionTest, ThePluginHearsBeforeTheWindowOpensAndAfterTheBillIsFilled) {
    host::BillForm& form = session->OpenNewBill(1001906);
    SelectionEvents events(form);
    form.Advise(&events);
    session->QueueChoice({host::WindowChoice::Kind::Bills, {"WIN000002"}});
    form.Click("mnuSelectBill");
    EXPECT_EQ(events.seen, "before 702 for 1001906 []; after 702 [WIN000002]; ");

    events.seen.clear();
    session->QueueChoice({host::WindowChoice::Kind::Exit, {}});
    form.Click("mnuSelectBill");
    EXPECT_EQ(events.seen, "before 702 for 1001906 [WIN000002]; ");
    form.Unadvise(&events);
}

}  // namespace
}  // namespace velaqm
