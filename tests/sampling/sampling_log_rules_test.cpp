#include "sampling/sampling_log_rules.h"

#include <gtest/gtest.h>

namespace velaqm {
namespace {

using Kind = SampleProblem::Kind;

// The enable switches written as the rule is written: one letter per field of
// kSampleTypeFields, T editable, F read-only.
std::string Switches(const SampleTypeForm& form) {
    std::string letters;
    for (bool enabled : form.enabled)
        letters += enabled ? 'T' : 'F';
    return letters;
}

TEST(SampleTypeForm, EachSampleTypeOpensItsOwnFields) {
    const struct {
        int type;
        std::string switches;
    } cases[] = {
        {16, "FFFFTFFFT"}, {17, "TTTTFFFTT"}, {18, "TTTFTFFFF"}, {19, "FFFFFFFTT"},
        {20, "FFFFTFFFT"}, {21, "FFFFTTTTT"}, {22, "FFFFFFFFT"}, {23, "FFFFTTTTT"},
        {24, "FFFFTTTTT"}, {0, "FFFFTTTTT"},  {99, "FFFFTTTTT"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Switches(SampleTypeFormOf(c.type)), c.switches) << "sample type " << c.type;
}

TEST(SampleTypeForm, ProcessSamplingLocksThePlanOnlyWhenOutsourced) {
    EXPECT_EQ(SampleTypeFormOf(17).manTaskLocked, false);
    EXPECT_EQ(SampleTypeFormOf(18).manTaskLocked, true);
    for (int type : {16, 19, 20, 21, 22, 23, 24})
        EXPECT_FALSE(SampleTypeFormOf(type).manTaskLocked.has_value()) << type;
    // Process sampling keeps its source request; it clears the task and work order instead.
    EXPECT_EQ(SampleTypeFormOf(17).clearedLookups,
              (std::vector<std::string_view>{"FManTaskNo", "FWorkOrderNo"}));
    EXPECT_EQ(SampleTypeFormOf(21).clearedLookups, std::vector<std::string_view>{"FReqBillNo"});
}

TEST(SampleTypeForm, TheSourceLookupFollowsTheSampleType) {
    const struct {
        int type;
        int classId;
        std::string_view table;
        std::string_view filter;
    } cases[] = {
        {16, 702, "poinstock", "v1.FStatus in (1,2) AND v1.FBizType = 12510"},
        {19, 701, "qmicmockrequest", "v1.FStatus in (1,2)"},
        {20, 702, "poinstock", "v1.FStatus in (1,2) AND v1.FBizType = 12511"},
        {21, 705, "QMSaleCkRequest", "v1.FStatus in (1,2)"},
        {22, 704, "QMSaleCkRequest", "v1.FStatus in (1,2)"},
    };
    for (const auto& c : cases) {
        const SampleTypeForm form = SampleTypeFormOf(c.type);
        ASSERT_EQ(form.lookups.size(), 1u) << c.type;
        EXPECT_EQ(form.lookups[0],
                  (LookupSetting{"FReqBillNo", c.classId, c.table, c.filter, std::nullopt}))
            << c.type;
    }
    // The kinds of the base data without a source write no lookup; an unknown kind points the
    // lookup nowhere.
    EXPECT_TRUE(SampleTypeFormOf(23).lookups.empty());
    EXPECT_TRUE(SampleTypeFormOf(24).lookups.empty());
    EXPECT_EQ(SampleTypeFormOf(7).lookups,
              std::vector<LookupSetting>({{"FReqBillNo", 0, "", std::nullopt, 100}}));
}

TEST(SampleTypeForm, ProcessSamplingLooksUpTasksAndOpenWorkOrders) {
    const auto own = SampleTypeFormOf(17).lookups;
    ASSERT_EQ(own.size(), 2u);
    EXPECT_EQ(own[0], (LookupSetting{"FManTaskNo", 36, std::nullopt, std::nullopt, 100}));
    EXPECT_EQ(own[1].filter, " u1.FStatus  = 1 and u1.FIsOut = 1059 ");
    const auto outsourced = SampleTypeFormOf(18).lookups;
    ASSERT_EQ(outsourced.size(), 2u);
    EXPECT_EQ(outsourced[0], (LookupSetting{"FManTaskNo", 0, std::nullopt, std::nullopt, 0}));
    EXPECT_EQ(outsourced[1].filter, " u1.FStatus  = 1 and u1.FIsOut = 1058");
}

TEST(SourceLinkKey, ReceiptsShareOneLinkAndProcessSamplingLinksByField) {
    EXPECT_EQ(SourceLinkKey("FReqBillNo", 16), "FReqBillNo_16");
    EXPECT_EQ(SourceLinkKey("FReqBillNo", 20), "FReqBillNo_16");
    EXPECT_EQ(SourceLinkKey("FReqBillNo", 19), "FReqBillNo_19");
    EXPECT_EQ(SourceLinkKey("FManTaskNo", 17), "FManTaskNo");
    EXPECT_EQ(SourceLinkKey("FWorkOrderNo", 18), "FWorkOrderNo");
}

SampleRow Row(int row, std::string number) {
    return SampleRow{.row = row, .sampleNo = std::move(number)};
}

TEST(SampleNumbers, ARepeatedNumberIsFoundWhereverTheRowsStand) {
    // Row 3 repeats row 1 below an unnumbered row 2: two numbered rows, yet row 3 is checked.
    const std::vector<SampleRow> rows = {Row(1, "S-01"), Row(2, ""), Row(3, "S-01")};
    EXPECT_EQ(RepeatedSampleNumber(rows), (SampleProblem{Kind::kNumberRepeated, 3, "S-01"}));
    EXPECT_EQ(RowHoldingNumber(rows, 3, "S-01"), 1);
    EXPECT_EQ(RowHoldingNumber(rows, 1, "s-01 "), 3);

    const std::vector<SampleRow> distinct = {Row(1, "S-01"), Row(2, ""), Row(3, ""),
                                             Row(4, "S-02")};
    EXPECT_EQ(RepeatedSampleNumber(distinct), std::nullopt);
    EXPECT_EQ(RowHoldingNumber(distinct, 2, "S-03"), std::nullopt);
    EXPECT_EQ(RowHoldingNumber(distinct, 2, ""), std::nullopt);
}

TEST(SampleNumbers, CompareAsTheDatabaseDoes) {
    EXPECT_TRUE(SameSampleNumber("ab-1", "AB-1"));
    EXPECT_TRUE(SameSampleNumber("AB-1  ", "AB-1"));
    EXPECT_FALSE(SameSampleNumber(" AB-1", "AB-1"));
    EXPECT_FALSE(SameSampleNumber("样品1", "样品2"));
    EXPECT_TRUE(SameSampleNumber("样品1", "样品1"));
}

TEST(SampleRowChecks, DeadlineAndProcessFieldsByType) {
    const Date today(2026, 12, 7);
    auto row = [](std::optional<Date> until, std::string process, std::string centre,
                  std::string vendor) {
        return SampleRow{4, "S-4", until, std::move(process), std::move(centre), std::move(vendor)};
    };
    const struct {
        SampleRow row;
        int type;
        std::optional<Kind> refused;
    } cases[] = {
        {row(Date(2026, 12, 7), "", "", ""), 16, std::nullopt},  // today is still in time
        {row(Date(2026, 12, 7, 8, 30), "", "", ""), 16, std::nullopt},
        {row(Date(2026, 12, 6), "", "", ""), 16, Kind::kKeptTooShort},
        {row(std::nullopt, "", "", ""), 16, std::nullopt},
        {row(std::nullopt, "1", "2", ""), 17, std::nullopt},
        {row(std::nullopt, "1", "", ""), 17, Kind::kNoWorkCentre},
        {row(std::nullopt, "", "2", ""), 17, Kind::kNoProcess},
        {row(std::nullopt, "1", "", "3"), 18, std::nullopt},
        {row(std::nullopt, "1", "2", ""), 18, Kind::kNoVendor},
        {row(std::nullopt, "", "", "3"), 18, Kind::kNoOutsourcedProcess},
        {row(std::nullopt, "", "", ""), 19, std::nullopt},              // other types check neither
        {row(Date(2026, 12, 1), "", "", ""), 17, Kind::kKeptTooShort},  // deadline first
    };
    for (const auto& c : cases) {
        const auto problem = RowRefused(c.row, c.type, today);
        EXPECT_EQ(problem ? std::optional(problem->kind) : std::nullopt, c.refused)
            << "type " << c.type << " process '" << c.row.process << "' centre '"
            << c.row.workCentre << "' vendor '" << c.row.vendor << "'";
        if (problem) {
            EXPECT_EQ(problem->row, 4);
        }
    }
}

}  // namespace
}  // namespace velaqm
