#include "inspection/watch_log_rules.h"

#include <gtest/gtest.h>

#include <vector>

namespace velaqm {
namespace {

using Kind = ObservationProblem::Kind;

TEST(ObservationDate, MayNotLieBeforeTheSamplingDay) {
    const Date sampled(2026, 12, 1, 15, 30);
    const struct {
        std::optional<Date> watched;
        std::optional<Date> sampled;
        bool accepted;
    } cases[] = {
        {Date(2026, 12, 1), Date(2026, 12, 1), true},
        {Date(2026, 12, 2), Date(2026, 12, 1), true},
        {Date(2026, 11, 30), Date(2026, 12, 1), false},
        // The sampling time of day does not make the same day's observation early.
        {Date(2026, 12, 1, 8, 0), sampled, true},
        {Date(2026, 11, 30, 23, 59), sampled, false},
        {std::nullopt, Date(2026, 12, 1), false},
        {std::nullopt, std::nullopt, false},
        {Date(2026, 12, 1), std::nullopt, true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ObservationDateAccepted(c.watched, c.sampled), c.accepted)
            << (c.watched ? c.watched->ToString() : "none") << " against "
            << (c.sampled ? c.sampled->ToString() : "none");
}

TEST(ObservationRows, EachRowNeedsItsCheckItemAndAnObservedValue) {
    const struct {
        const char* what;
        std::vector<ObservationRow> rows;
        std::optional<ObservationProblem> problem;
    } cases[] = {
        {"no rows", {}, std::nullopt},
        {"the grade alone", {{1, "2", "14", ""}}, std::nullopt},
        {"the quantity alone", {{1, "2", "", "99.5"}}, std::nullopt},
        {"a quantity of nought is a value", {{1, "2", "", "0"}}, std::nullopt},
        {"neither value", {{1, "2", "", ""}}, ObservationProblem{Kind::kNoObservedValue, 1}},
        {"blanks are no value",
         {{1, "2", " ", "  "}},
         ObservationProblem{Kind::kNoObservedValue, 1}},
        {"no check item", {{1, "", "14", ""}}, ObservationProblem{Kind::kNoCheckItem, 1}},
        // The check item is reported before the value of the same row.
        {"neither item nor value", {{1, "", "", ""}}, ObservationProblem{Kind::kNoCheckItem, 1}},
        {"the first row refused wins",
         {{1, "2", "14", ""}, {2, "3", "", ""}, {3, "", "", ""}},
         ObservationProblem{Kind::kNoObservedValue, 2}},
        // A row below empty grid rows keeps its own row number.
        {"a row below a gap",
         {{1, "2", "14", ""}, {4, "3", "", ""}},
         ObservationProblem{Kind::kNoObservedValue, 4}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FirstRowProblem(c.rows), c.problem) << c.what;
}

}  // namespace
}  // namespace velaqm
