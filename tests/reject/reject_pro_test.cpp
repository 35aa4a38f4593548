// The reject processing bill in the substitute host: how the frame drives its strategy, and the
// common strategy's reads of header values no form would let a person type.
#include "reject/reject_pro.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "frame/host_error.h"
#include "host/bill_form.h"
#include "reject/com_reject_co.h"
#include "reject/po_reject_co.h"
#include "tests/support/session_fixture.h"

namespace velaqm {
namespace {

constexpr int kClass = CRejectPro::kClassTypeID;

// A strategy that writes down every call it receives.
class RecordingStrategy final : public IRejectCO {
  public:
    explicit RecordingStrategy(std::vector<std::string>& calls) : m_calls(calls) {}
    void Show(const Variant&) override { m_calls.emplace_back("Show"); }
    void SetRequestBillNo() override { m_calls.emplace_back("SetRequestBillNo"); }
    void Dispose() override { m_calls.emplace_back("Dispose"); }
    void MenuBarClick(const ToolPtr& tool, bool&) override {
        m_calls.push_back("MenuBarClick " + tool->Name());
    }
    void MenuBarInitialize(const MenuBarPtr&) override {
        m_calls.emplace_back("MenuBarInitialize");
    }
    void BeforeSave(bool&) override { m_calls.emplace_back("BeforeSave"); }
    void BeforLoadBillFillData() override { m_calls.emplace_back("BeforLoadBillFillData"); }
    void GetRejectQty() override { m_calls.emplace_back("GetRejectQty"); }

  private:
    std::vector<std::string>& m_calls;
};

// A plug-in ahead of the reject bill's that cancels every menu-bar click.
class CancellingSink final : public BillEventsSink {
  public:
    void MenuBarClick(const ToolPtr&, bool& cancel) override { cancel = true; }
};

class RejectProTest : public testing::SessionTest {
  protected:
    static Variant BillOf(host::BillForm& form) {
        return Variant(std::static_pointer_cast<BillEvent>(form.shared_from_this()));
    }
    static void SetHead(host::BillForm& form, std::string_view key, const Variant& value) {
        form.GetDataFld(form.GetFieldInfoByKey(key, "", 0), 0)->SetItem("FFLD", value);
    }
    void ChooseInspection(std::string number) {
        session->QueueChoice({host::WindowChoice::Kind::Bills, {std::move(number)}});
    }
    std::string LastSql() const {
        const auto& entries = session->Log().Entries();
        for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry)
            if (entry->kind == host::EntryKind::Sql) return entry->text;
        return "";
    }
    int SqlCount() const {
        int count = 0;
        for (const auto& entry : session->Log().Entries())
            if (entry.kind == host::EntryKind::Sql) ++count;
        return count;
    }
};

TEST_F(RejectProTest, TheStrategySeesOneShowAndOneDisposeAroundEveryOtherCall) {
    std::vector<std::string> calls;
    std::int32_t chosenFor = 0;
    host::BillForm& form = session->OpenNewBill(kClass);
    {
        CRejectPro plugin([&](std::int32_t classTypeId) {
            chosenFor = classTypeId;
            return std::make_unique<RecordingStrategy>(calls);
        });
        plugin.Show(BillOf(form));
        ChooseInspection("IQC000001");
        form.Click("mnuSelectBill");
        form.Edit("FDefectHandlingID", 1, "1");
        form.Edit("FDefectQty", 1, "25");
        form.Click("mnuFileSave");
        form.Click("mnuDataRefesh");
    }
    EXPECT_EQ(chosenFor, kClass);
    const std::vector<std::string> expected = {
        "Show",
        "MenuBarClick mnuSelectBill",
        "GetRejectQty",
        "SetRequestBillNo",  // the quantity first, then the receipt's number
        "MenuBarClick mnuFileSave",
        "BeforeSave",
        "MenuBarClick mnuDataRefesh",
        "BeforLoadBillFillData",
        "Dispose"};
    EXPECT_EQ(calls, expected);
}

TEST_F(RejectProTest, AMenuBarClickAlreadyCancelledNeverReachesTheStrategy) {
    std::vector<std::string> calls;
    host::BillForm& form = session->OpenNewBill(kClass);
    CancellingSink cancelling;
    form.Advise(&cancelling);
    CRejectPro plugin([&](std::int32_t) { return std::make_unique<RecordingStrategy>(calls); });
    plugin.Show(BillOf(form));
    form.Click("mnuFileSave");
    EXPECT_EQ(calls, std::vector<std::string>{"Show"});
    EXPECT_FALSE(form.LastSave().has_value()) << "the host's own save was cancelled too";

    // The purchase-order strategy does not pass a cancelled click on either.
    CPoRejectCO strategy;
    strategy.Show(BillOf(form));
    bool cancel = true;
    strategy.MenuBarClick(form.MenuBar()->Tools()->Item("mnuEditCheck"), cancel);
    EXPECT_EQ(NextMessage(), "");
    form.Unadvise(&cancelling);
}

TEST_F(RejectProTest, OnlyPurchaseOrderRejectBillsGetAStrategyWithRules) {
    EXPECT_NE(dynamic_cast<CPoRejectCO*>(CRejectPro::StrategyFor(kClass).get()), nullptr);
    for (std::int32_t other : {0, -1, 1001801, 1001906}) {
        const std::unique_ptr<IRejectCO> plain = CRejectPro::StrategyFor(other);
        ASSERT_NE(plain, nullptr) << other;
        const IRejectCO& strategy = *plain;
        EXPECT_EQ(typeid(strategy), typeid(IRejectCO)) << other;
    }
}

TEST_F(RejectProTest, ThePurchaseOrderStrategyFailsOutsideShowAndDispose) {
    CPoRejectCO strategy;
    EXPECT_THROW(strategy.GetRejectQty(), HostError);
    host::BillForm& form = session->OpenNewBill(kClass);
    strategy.Show(BillOf(form));
    strategy.SetRequestBillNo();
    strategy.Dispose();
    strategy.Dispose();
    bool cancel = false;
    try {
        strategy.BeforeSave(cancel);
        ADD_FAILURE() << "a disposed strategy has no common strategy to hand on to";
    } catch (const HostError& e) {
        EXPECT_EQ(e.Number(), kErrObjectNotSet);
    }
}

TEST_F(RejectProTest, ACommonStrategyShownNoBillFailsInsideItsTraps) {
    CComRejectCO strategy;
    strategy.GetRejectQty();
    strategy.SetRequestBillNo();
    strategy.BeforLoadBillFillData();
    bool cancel = false;
    strategy.BeforeSave(cancel);
    EXPECT_TRUE(cancel) << "a save the check could not make is refused";
    EXPECT_EQ(NextMessage(), "保存出错，原因：Object variable or With block variable not set");
    EXPECT_EQ(strategy.BillStatusExt(), -1);
}

TEST_F(RejectProTest, HostileReceiptIdsReachTheDatabaseOnlyAsWholeNumbers) {
    host::BillForm& form = session->OpenNewBill(kClass);
    CComRejectCO strategy;
    strategy.Show(BillOf(form));
    const struct {
        Variant receipt;
        std::string proposalEnd;  // how the proposal's statement names the receipt
    } cases[] = {
        {Variant("201 or 1=1"), "v1.finterid =201  and w1.finterid = 0"},
        {Variant("201; delete from POInStock; --"), "v1.finterid =201  and w1.finterid = 0"},
        {Variant("'"), "v1.finterid =0  and w1.finterid = 0"},
        {Variant("二〇一"), "v1.finterid =0  and w1.finterid = 0"},
        {Variant(kNull), "v1.finterid =0  and w1.finterid = 0"},
    };
    for (const auto& c : cases) {
        SetHead(form, "FRequestBillNo", Variant("old"));
        SetHead(form, "FRequestBillID", c.receipt);
        SetHead(form, "FRejectQty", Variant(7));
        const int before = SqlCount();
        strategy.SetRequestBillNo();
        EXPECT_EQ(form.ValueText("FRequestBillNo", 0), "") << Text(c.receipt);
        EXPECT_EQ(SqlCount(), before) << "text is no receipt to look up: " << Text(c.receipt);
        strategy.GetRejectQty();
        const std::string proposal = LastSql();
        EXPECT_EQ(proposal.substr(proposal.size() - c.proposalEnd.size()), c.proposalEnd);
        EXPECT_EQ(form.ValueText("FRejectQty", 0), "7") << Text(c.receipt);
    }
    EXPECT_EQ(Query("select count(*) from POInStock where FInterID >= 201"), "3");
    EXPECT_EQ(NextMessage(), "");
}

TEST_F(RejectProTest, TheProposalIsTracedWithTheResultOfItsWayOut) {
    namespace fs = std::filesystem;
    const fs::path trace =
        fs::temp_directory_path() / ("velaqm-reject-trace-" + std::to_string(getpid()));
    fs::remove(trace);
    UseTraceFile(trace);
    host::BillForm& form = session->OpenNewBill(kClass);
    CComRejectCO strategy;
    strategy.Show(BillOf(form));
    SetHead(form, "FRequestBillID", Variant(201));
    SetHead(form, "fcheckbillid", Variant(1));
    strategy.GetRejectQty();
    EXPECT_EQ(form.ValueText("FRejectQty", 0), "25");
    SetHead(form, "fcheckbillid", Variant(3e9));  // beyond a Long
    strategy.GetRejectQty();
    session.reset();  // closes the trace
    std::ifstream in(trace);
    std::vector<std::string> ends;
    for (std::string line; std::getline(in, line);)
        if (line.find("\"event\":\"end\"") != std::string::npos) ends.push_back(line);
    ASSERT_EQ(ends.size(), 2u);
    EXPECT_NE(ends[0].find("\"result\":0"), std::string::npos) << ends[0];
    EXPECT_NE(ends[1].find("\"result\":1"), std::string::npos) << ends[1];
    fs::remove(trace);
}

}  // namespace
}  // namespace velaqm
