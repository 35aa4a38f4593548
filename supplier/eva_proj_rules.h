// The supplier evaluation project's rules that need no host: the share of the total mark an
// item's weight gives, and the checks of the weights before a save.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "frame/decimal.h"

namespace velaqm {

// An entry row as the weight checks read it: the item's value and the weight, none when empty.
struct WeightRow {
    std::string item;
    std::optional<Decimal> weight;
};

enum class WeightProblem {
    kNotPositive,  // an item without a weight, or with one of 0 or less
    kNotWhole,     // the weights of the items do not add up to exactly 100
};

// The first problem of the weights: rows without an item do not count; the others are added in
// exact decimals, so that 33.3 + 33.3 + 33.4 is 100.
std::optional<WeightProblem> FirstWeightProblem(std::span<const WeightRow> rows);
// The message of a problem, before translation.
std::string_view WeightProblemText(WeightProblem problem);

// An item's share of the total mark: total × weight ÷ 100, not rounded.
double ShareOfWeight(double totalMark, double weight);

}  // namespace velaqm
