// The sample destruction record in the substitute host: what the scenarios cannot show well,
// hostile sampling-record numbers, the samples a rejected number takes away, checks that cannot
// be made, the row that must remain, and the trace of the related-bill lookup.
#include "inspection/sample_destroy.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "billops/bill_tools.h"
#include "frame/convert.h"
#include "host/bill_form.h"
#include "host/list_form.h"
#include "tests/support/session_fixture.h"

namespace velaqm {
namespace {

constexpr int kClass = CSampleDestroy::kClassTypeID;

class SampleDestroyTest : public testing::SessionTest {
  protected:
    void SetUp() override {
        SessionTest::SetUp();
        session->SetToday(Date(2026, 12, 7));
    }
    // An audited sampling record with one sample per number; destroyed samples start with "x".
    void AddSamplingRecord(int id, const std::string& billNo,
                           std::initializer_list<const char*> samples, int checker = 16394) {
        Run("insert into qmsampling (FID, FBillNo, FSampleType, FCheckerID) values (" +
            std::to_string(id) + ", " + Literal(billNo) + ", 16, " + std::to_string(checker) + ")");
        int row = 0;
        for (const std::string sample : samples)
            Run("insert into qmsamplingentry (FID, FEntryID, FSampleNO, FDestoryFlag) values (" +
                std::to_string(id) + ", " + std::to_string(++row) + ", " + Literal(sample) + ", " +
                (sample.starts_with("x") ? "1" : "0") + ")");
    }
    void Run(const std::string& sql) { session->Db().Execute(sql); }
    static std::string Literal(const std::string& text) {
        std::string quoted = "'";
        for (char c : text)
            quoted += c == '\'' ? std::string("''") : std::string(1, c);
        return quoted + "'";
    }
    bool Logged(std::string_view text) {
        for (const auto& entry : session->Log().Entries())
            if (entry.text.find(text) != std::string::npos) return true;
        return false;
    }
    // The rows of the bill, their samples joined by ",".
    static std::string Samples(host::BillForm& form) {
        std::string samples;
        for (int row = 1; row <= form.RowsWithData(); ++row)
            samples += (row > 1 ? "," : "") + form.ValueText("FSampleNO_2", row);
        return samples;
    }
};

TEST_F(SampleDestroyTest, HostileNumbersAreLookedUpExactly) {
    AddSamplingRecord(1, "O'Neil-1", {"S-1"});
    AddSamplingRecord(2, "取样-1", {"S-2", "S-3"});
    AddSamplingRecord(3, "  ", {"S-4"});
    host::BillForm& form = session->OpenNewBill(kClass);

    form.Edit("FSampleNO", 0, "o'neil-1");
    EXPECT_EQ(Samples(form), "S-1");
    EXPECT_EQ(form.ValueText("FSampleID", 0), "1");
    form.Edit("FSampleNO", 0, "取样-1");
    EXPECT_EQ(Samples(form), "S-2,S-3");
    EXPECT_EQ(form.ValueText("FSampleNO", 0), "取样-1");

    for (const char* hostile : {"x' OR '1'='1", "' OR FCheckerID<>0 --", "取样", " 取样-1"}) {
        form.Edit("FSampleNO", 0, "取样-1");
        form.Edit("FSampleNO", 0, hostile);
        EXPECT_EQ(form.ValueText("FSampleNO", 0), "") << hostile;
        EXPECT_EQ(Samples(form), "") << hostile;
    }
    // Blanks are a number like any other: the record numbered with blanks is found.
    form.Edit("FSampleNO", 0, "  ");
    EXPECT_EQ(Samples(form), "S-4");
    EXPECT_EQ(NextMessage(), "");
    EXPECT_EQ(Query("select count(*) from qmsamplingentry"), "4");
}

TEST_F(SampleDestroyTest, ANumberThatCannotBeCheckedIsNotKept) {
    AddSamplingRecord(1, "QY-1", {"S-1"});
    host::BillForm& form = session->OpenNewBill(kClass);
    form.Edit("FSampleNO", 0, "QY-1");
    ASSERT_EQ(Samples(form), "S-1");
    Run("alter table qmsamplingentry rename column FDestoryFlag to FGone");

    form.Edit("FSampleNO", 0, "QY-1");
    EXPECT_EQ(form.ValueText("FSampleNO", 0), "");
    EXPECT_EQ(form.RowsWithData(), 0);
}

TEST_F(SampleDestroyTest, TheLastRowIsKeptWhenTheGridDeletesARow) {
    AddSamplingRecord(1, "QY-1", {"S-1", "S-2"});
    host::BillForm& form = session->OpenNewBill(kClass);
    form.Edit("FSampleNO", 0, "QY-1");
    // The toolbar hides the row tools; the grid's own delete command still reaches the plug-in.
    form.SetBarStatus(tool::kDelRow, kVisible, true);
    form.FocusGrid(1);
    form.Click(std::string(tool::kDelRow));
    EXPECT_EQ(NextMessage(), "");
    EXPECT_EQ(Samples(form), "S-2");

    form.Click(std::string(tool::kDelRow));
    EXPECT_EQ(NextMessage(), "不允许删除，必须保留一行.");
    EXPECT_EQ(Samples(form), "S-2");
}

TEST_F(SampleDestroyTest, TheHostsSelectionIsPreparedAndItsSamplesKeepTheirCellsOpen) {
    AddSamplingRecord(1, "QY-1", {"S-1", "S-2"});
    host::BillForm& form = session->OpenNewBill(kClass);
    session->QueueChoice({host::WindowChoice::Kind::Bills, {"QY-1"}});
    form.Click("mnuSelectBill");
    EXPECT_TRUE(Logged("selection mode 2"));
    EXPECT_FALSE(Truth(form.BillData()->Item("AddModel")));
    EXPECT_TRUE(form.BillData()->Exists("AddModel"));
    EXPECT_EQ(Samples(form), "S-1,S-2");
    EXPECT_TRUE(form.FieldLocked("FSampleNO_2"));
    EXPECT_FALSE(form.CellLocked("FDestroyDate", 2));
    EXPECT_FALSE(form.CellLocked("FWitness", 2));
}

class RelatedSamplingRecordTest : public SampleDestroyTest {
  protected:
    void SetUp() override {
        SampleDestroyTest::SetUp();
        m_trace = std::filesystem::temp_directory_path() /
                  ("velaqm-destroy-trace-" + std::to_string(getpid()));
        std::filesystem::remove(m_trace);
        UseTraceFile(m_trace);
        Run("insert into QMSampleDestroy (FID, FBillNo, FSampleID) values (1, 'XH-1', 0), "
            "(2, 'XH-2', 5)");
    }
    void TearDown() override {
        SampleDestroyTest::TearDown();
        std::filesystem::remove(m_trace);
    }
    // The trace's lines with the event, counted.
    int Traced(std::string_view event) {
        std::ifstream in(m_trace);
        int count = 0;
        for (std::string line; std::getline(in, line);)
            if (line.find("\"event\":\"" + std::string(event) + "\"") != std::string::npos) ++count;
        return count;
    }
    std::filesystem::path m_trace;
};

TEST_F(RelatedSamplingRecordTest, EveryLookupIsTracedInAndOutWhateverItFinds) {
    host::ListForm& list = session->OpenList(kClass);
    list.Click("mnuDataViewPrvBill");  // no row selected
    EXPECT_EQ(NextMessage(), "上查没有关联的单据");
    list.Select({{"XH-1", 0}});
    list.Click("mnuDataViewPrvBill");
    EXPECT_EQ(NextMessage(), "上查没有关联的单据");
    // The record is gone since the list was shown.
    list.Select({{"XH-2", 0}});
    Run("delete from QMSampleDestroy where FID = 2");
    list.Click("mnuDataViewPrvBill");
    EXPECT_EQ(NextMessage(), "上查没有关联的单据");
    // A lookup that fails ends silently, and its trace entry is still closed.
    Run("alter table QMSampleDestroy rename column FSampleID to FSourceID");
    list.Click("mnuDataViewPrvBill");
    EXPECT_EQ(NextMessage(), "");
    EXPECT_EQ(Traced("start"), 4);
    EXPECT_EQ(Traced("end"), 4);
}

}  // namespace
}  // namespace velaqm
