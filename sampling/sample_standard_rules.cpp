#include "sampling/sample_standard_rules.h"

#include <algorithm>

#include "frame/text_util.h"

namespace velaqm {

MethodFields MethodFieldStates(int method) {
    switch (method) {
        case kMethodSamplingTable:
            return {.levelStrictnessAql = true};
        case kMethodFormula:
            return {.sampQty = false, .formula = true};
        case kMethodSingleRow:
            return {};
        case kMethodCodeLetter:
            return {.swatchCode = true, .levelStrictnessAql = true};
        default:
            return {};
    }
}

int MaxRowsOf(int method) {
    return method == kMethodSingleRow ? 1 : kMaxRows;
}

int FilledRowCount(const std::vector<StandardRow>& rows) {
    int filled = 0;
    for (const StandardRow& row : rows)
        if (row.lotSize != 0) ++filled;
    return filled;
}

bool LotSizeOutOfOrder(int row, double previousLotSize, double lotSize) {
    return row > 1 && lotSize != 0 && !(lotSize > previousLotSize);
}

namespace {

using Kind = SaveProblem::Kind;

std::optional<SaveProblem> HeadProblem(const StandardHead& head) {
    if (head.method != kMethodSamplingTable) return std::nullopt;
    if (head.level == 0) return SaveProblem{Kind::kNoLevel};
    if (head.strictness == 0) return SaveProblem{Kind::kNoStrictness};
    if (head.aql == 0) return SaveProblem{Kind::kNoAql};
    return std::nullopt;
}

std::optional<SaveProblem> RowProblem(int method, int number, const StandardRow& row) {
    if (method == kMethodFormula) {
        if (Trim(row.formula).empty()) return SaveProblem{Kind::kNoFormula, number};
        return std::nullopt;
    }
    if (method == kMethodCodeLetter) return std::nullopt;
    const double sample = row.sampQty.value_or(0);
    if (sample < 0) return SaveProblem{Kind::kSampleNegative, number};
    if (sample > row.lotSize) return SaveProblem{Kind::kSampleAboveLot, number};
    if (sample < row.acQty) return SaveProblem{Kind::kSampleBelowAcceptance, number};
    if (sample < row.reQty) return SaveProblem{Kind::kSampleBelowRejection, number};
    return std::nullopt;
}

}  // namespace

std::optional<SaveProblem> FirstSaveProblem(const StandardHead& head,
                                            const std::vector<StandardRow>& rows) {
    if (auto problem = HeadProblem(head)) return problem;
    const int filled = std::min(FilledRowCount(rows), static_cast<int>(rows.size()));
    if (filled > 1) {
        for (int row = 2; row <= filled; ++row)
            if (LotSizeOutOfOrder(row, rows[row - 2].lotSize, rows[row - 1].lotSize))
                return SaveProblem{Kind::kLotSizeOrder, row};
    }
    // The formula method checks only its formulas; the code-letter method's rows are generated.
    for (int row = 1; row <= filled; ++row)
        if (auto problem = RowProblem(head.method, row, rows[row - 1])) return problem;
    return std::nullopt;
}

int RowsThroughSampleChecks(int method, int filledRows, const std::optional<SaveProblem>& problem) {
    if (method == kMethodFormula || method == kMethodCodeLetter) return 0;
    if (!problem) return filledRows;
    switch (problem->kind) {
        case SaveProblem::Kind::kSampleNegative:
        case SaveProblem::Kind::kSampleAboveLot:
        case SaveProblem::Kind::kSampleBelowAcceptance:
        case SaveProblem::Kind::kSampleBelowRejection:
            return problem->row;
        default:
            return 0;
    }
}

}  // namespace velaqm
