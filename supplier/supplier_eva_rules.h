// The supplier evaluation's rules that need no host: the period proposed for a new evaluation,
// when a supply-quality grade is worked out again, the grade from the supply figures, the total
// score and its result, and the checks before a save.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "frame/date.h"

namespace velaqm {

// The evaluation items' class in QMaInfo, and the number of the supply-quality item.
inline constexpr int kEvaluationItemClass = 1001320;
inline constexpr std::string_view kSupplyQualityItem = "002";
// The evaluation results' class, and the numbers and internal IDs of pass and fail.
inline constexpr int kEvaluationResultClass = 1001314;
struct EvaluationResult {
    std::string_view number;
    std::string_view id;
};
inline constexpr EvaluationResult kPassed{.number = "HG", .id = "14"};
inline constexpr EvaluationResult kFailed{.number = "BHG", .id = "15"};

// A new evaluation covers the year up to its end date.
Date ProposedBegin(const Date& end);

// What a supply-quality grade was worked out for: supplier, item (0: none) and period.
struct SupplyScope {
    std::int32_t supplier = 0;
    std::int32_t item = 0;
    Date begin;
    Date end;

    friend bool operator==(const SupplyScope&, const SupplyScope&) = default;
};

// A grade is worked out again when the row has none ("" or 0) or the scope is not the one the
// last grade was worked out for.
bool GradeDue(std::string_view grade, const SupplyScope& scope,
              const std::optional<SupplyScope>& last);

// The grade from the supplier's rate (the share that passed; below 0: no supply): rate × points;
// none without supply.
std::optional<double> GradeOfRate(double rate, double points);

// The supply figures of one item: the inspected receipts (what passed of what was checked) and
// what was stocked without a receipt, which counts as checked and passed; none where the
// statement found nothing.
struct SupplyFigures {
    std::optional<double> passed;
    std::optional<double> checked;
    std::optional<double> stocked;
};
// points × passed ÷ checked; none when nothing was delivered or nothing checked.
std::optional<double> GradeOfSupply(const SupplyFigures& figures, double points);

// The total of the grades (empty grades count as 0) and whether it reaches the pass mark.
double TotalScore(std::span<const double> grades);
const EvaluationResult& ResultOf(double total, double passMark);

// The checks before a save: both are made, and each failed one has its message.
struct EvaluationHead {
    bool perItem = false;  // the system parameter IsAimAtICItem is "1"
    bool hasItem = false;
    std::optional<Date> begin;
    std::optional<Date> end;
};
std::vector<std::string_view> SaveProblemTexts(const EvaluationHead& head);

// The period of the supply statements: the day of the receipt or order from begin to end.
std::string PeriodClause(const Date& begin, const Date& end);
// The statements of one item's supply figures, for a supplier and an item ID written as whole
// numbers.
std::string InspectedReceiptsSql(std::int32_t supplier, std::int32_t item, std::string_view period);
std::string StockedWithoutReceiptSql(std::int32_t supplier, std::int32_t item,
                                     std::string_view period);

}  // namespace velaqm
