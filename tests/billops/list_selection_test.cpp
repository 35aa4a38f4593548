// The list-selection form and ShowListSelection, on the substitute host's list control: what
// the control is given, and what the user's pick, exit or close box hands back.
#include "billops/list_selection.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "frame/convert.h"
#include "frame/host_services.h"
#include "host/db/sqlite.h"
#include "tests/support/session_fixture.h"

namespace velaqm {
namespace {

namespace fs = std::filesystem;
using host::WindowChoice;
using testing::SessionTest;

constexpr int kServiceLogList = 1001910;

TEST(ListBaseInfoTest, ReadsConnectionUserAndNameFromThePropertyString) {
    struct Case {
        const char* props;
        const char* expected;
    };
    const Case cases[] = {
        {"ConnectString={Provider=X;Data Source=a.db};UserID=16394;UserName=morgan;Language=chs",
         "Provider=X;Data Source=a.db|16394|morgan"},
        {"ConnectString={Provider=X};UserID=7;Language=chs", "Provider=X|7|"},  // no name
        {"UserName=lee;UserID=12", "|12|lee"},  // no braces; the last entry runs to the end
        {"ConnectString={P};UserID=abc;UserName=", "P|0|"},    // no number reads as 0
        {"ConnectString={open;UserID=3", "open;UserID=3|3|"},  // an open brace runs to the end
        {"", "|0|"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ListBaseInfo(c.props), c.expected) << c.props;
}

class ListSelectionTest : public SessionTest {
  protected:
    void SetUp() override {
        SessionTest::SetUp();
        if (HasFatalFailure()) return;  // no session to work with: fail, do not crash
        session->Db().Execute(
            "INSERT INTO QMClientServiceLog (FID, FBillNo, FCustomer) VALUES "
            "(1, 'KF000001', 'Acme'), (2, 'KF000002', 'Borealis'), (3, 'KF000003', 'Acme')");
    }

    void Choose(WindowChoice::Kind kind, std::vector<std::string> bills = {}) {
        session->QueueChoice({.kind = kind, .billNumbers = std::move(bills)});
    }

    // The bill numbers of a selection.
    static std::vector<std::string> Numbers(const Variant& selected) {
        std::vector<std::string> numbers;
        const auto rows = selected.ObjectAs<Vector>();
        if (!rows) return numbers;
        for (std::size_t i = 1; i <= rows->Size(); ++i)
            numbers.push_back(Text(rows->Item(i).ObjectAs<Dictionary>()->Item("FBillNo")));
        return numbers;
    }

    std::vector<std::string> Problems() { return session->TakeProblems(); }
};

TEST_F(ListSelectionTest, APickedBillComesBackWithItsInternalId) {
    Choose(WindowChoice::Kind::Bills, {"KF000002"});
    const Variant selected = ShowListSelection(kServiceLogList, {}, "");
    ASSERT_EQ(Numbers(selected), std::vector<std::string>{"KF000002"});
    EXPECT_EQ(
        WholeNumber(selected.ObjectAs<Vector>()->Item(1).ObjectAs<Dictionary>()->Item("FInterID")),
        2);
    EXPECT_TRUE(Problems().empty());
}

TEST_F(ListSelectionTest, ExitAndTheCloseBoxReturnNothing) {
    Choose(WindowChoice::Kind::Exit);
    EXPECT_TRUE(ShowListSelection(kServiceLogList, {}, "").IsEmpty());
    Choose(WindowChoice::Kind::Close);
    EXPECT_TRUE(ShowListSelection(kServiceLogList, {}, "").IsEmpty());
    EXPECT_TRUE(Problems().empty());

    const auto form = ListSelectionForm::Load();
    form->SetListID(kServiceLogList);
    form->InitData();
    Choose(WindowChoice::Kind::Close);
    form->ShowModal();
    EXPECT_EQ(form->GetListRs().ObjectAs<Recordset>()->RecordCount(), 0)
        << "the close box has the control close its list";
}

TEST_F(ListSelectionTest, TheFilterAndTheSelectionModeLimitWhatCanBePicked) {
    Choose(WindowChoice::Kind::Bills, {"KF000002"});
    EXPECT_TRUE(ShowListSelection(kServiceLogList, {}, "FCustomer = 'Acme'").IsEmpty());
    EXPECT_EQ(Problems(), std::vector<std::string>{"the list does not show the bill KF000002"});

    Choose(WindowChoice::Kind::Bills, {"KF000001", "KF000003"});
    EXPECT_TRUE(ShowListSelection(kServiceLogList, {}, "").IsEmpty()) << "one bill only";
    EXPECT_EQ(Problems().size(), 1U);

    Choose(WindowChoice::Kind::Bills, {"KF000001", "KF000003"});
    const Variant both =
        ShowListSelection(kServiceLogList, {.tool = "", .multiSelect = 1}, "FCustomer = 'Acme'");
    EXPECT_EQ(Numbers(both), (std::vector<std::string>{"KF000001", "KF000003"}));
}

TEST_F(ListSelectionTest, AWindowNobodyAnswersIsClosedAndNoted) {
    EXPECT_TRUE(ShowListSelection(kServiceLogList, {}, "").IsEmpty());
    const auto problems = Problems();
    ASSERT_EQ(problems.size(), 1U);
    EXPECT_NE(problems[0].find("asked for a choice and none was given"), std::string::npos);
}

TEST_F(ListSelectionTest, TheLoadedFormNamesItsListAndHoldsItsRowsUntilAPick) {
    const auto form = ListSelectionForm::Load();
    form->SetListID(kServiceLogList);
    form->SetFilter("FID > 1");
    form->InitData();
    EXPECT_EQ(form->Caption(), "客户服务记录序时薄");
    EXPECT_FALSE(form->OK()) << "nothing is picked yet";
    const auto rows = form->GetListRs().ObjectAs<Recordset>();
    ASSERT_TRUE(rows);
    EXPECT_EQ(rows->RecordCount(), 2) << "the filter holds back bill 1";

    Choose(WindowChoice::Kind::Bills, {"KF000003"});
    form->ShowModal();
    EXPECT_TRUE(form->OK());
    EXPECT_EQ(Numbers(form->Selected()), std::vector<std::string>{"KF000003"});
}

TEST_F(ListSelectionTest, AListThatCannotBeLoadedStillLetsTheUserLeave) {
    const auto form = ListSelectionForm::Load();
    form->SetListID(999);
    form->InitData();
    EXPECT_EQ(form->Caption(), "");

    Choose(WindowChoice::Kind::Exit);
    form->ShowModal();
    EXPECT_FALSE(form->OK());

    form->SetListID(kServiceLogList);
    form->SetFilter("no such column = 1");
    form->InitData();
    EXPECT_EQ(form->Caption(), "") << "a filter the database refuses loads nothing";
}

TEST_F(ListSelectionTest, TheControlLogsOnWithTheLoginAndTheSwitchDatabase) {
    const auto listShown = [&] {
        for (const auto& entry : session->Log().Entries())
            if (entry.text.starts_with("list \"")) return entry.text;
        return std::string();
    };
    Choose(WindowChoice::Kind::Exit);
    ShowListSelection(kServiceLogList, {.tool = "mnuFileNeedFilter", .multiSelect = 0}, "");
    EXPECT_NE(listShown().find("|16394|morgan; local none; show 2; select flag 1"),
              std::string::npos)
        << listShown();

    const fs::path folder = fs::temp_directory_path() / ("velaqm-list-" + std::to_string(getpid()));
    fs::create_directories(folder);
    host::Connection(folder / "ErpSwitch.sss", host::OpenMode::kCreate);
    UseClientDirectory(folder);
    Choose(WindowChoice::Kind::Exit);
    ShowListSelection(kServiceLogList, {}, "");
    const std::string shown = listShown();
    EXPECT_NE(shown.find("; local Provider=Microsoft.Jet.OLEDB.4.0;"), std::string::npos) << shown;
    EXPECT_NE(shown.find(folder.string() + "\\ErpSwitch.sss;"), std::string::npos) << shown;
    fs::remove_all(folder);
}

}  // namespace
}  // namespace velaqm
