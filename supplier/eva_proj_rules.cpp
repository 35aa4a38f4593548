#include "supplier/eva_proj_rules.h"

namespace velaqm {

std::optional<WeightProblem> FirstWeightProblem(std::span<const WeightRow> rows) {
    Decimal total;
    for (const WeightRow& row : rows) {
        if (row.item.empty()) continue;
        if (!row.weight || row.weight->IsZero() || row.weight->IsNegative())
            return WeightProblem::kNotPositive;
        total += *row.weight;
    }
    if (total != Decimal(100)) return WeightProblem::kNotWhole;
    return std::nullopt;
}

std::string_view WeightProblemText(WeightProblem problem) {
    switch (problem) {
        case WeightProblem::kNotPositive:
            return "权重必须大于0，请更正！";
        case WeightProblem::kNotWhole:
            return "权重之和必须等于100%，请更正！";
    }
    return "";
}

double ShareOfWeight(double totalMark, double weight) {
    return totalMark * weight / 100;
}

}  // namespace velaqm
