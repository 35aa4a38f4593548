#include "sampling/sample_standard_rules.h"

#include <algorithm>

#include "billops/bill_tools.h"
#include "frame/text_util.h"

namespace velaqm {

namespace {

struct MethodEntry {
    int method;
    MethodForm form;
};

// Every member spelled out: each row is read on its own when a method's form is in question.
constexpr MethodEntry kMethodForms[] = {
    {kMethodSamplingTable,
     {.fields =
          {.swatchCode = false, .levelStrictnessAql = true, .sampQty = true, .formula = false},
      .swatchCodeLocked = false,
      .maxRows = kMaxRows,
      .lotSizeFixed = false,
      .rowTools = true,
      .formulaTool = false,
      .clearedColumn = "FFormula",
      .defaultPlan = true,
      .codeLetterRows = false}},
    {kMethodFormula,
     {.fields =
          {.swatchCode = false, .levelStrictnessAql = false, .sampQty = false, .formula = true},
      .swatchCodeLocked = std::nullopt,
      .maxRows = kMaxRows,
      .lotSizeFixed = false,
      .rowTools = true,
      .formulaTool = true,
      .clearedColumn = "FSampQty",
      .defaultPlan = false,
      .codeLetterRows = false}},
    {kMethodSingleRow,
     {.fields =
          {.swatchCode = false, .levelStrictnessAql = false, .sampQty = true, .formula = false},
      .swatchCodeLocked = std::nullopt,
      .maxRows = 1,
      .lotSizeFixed = true,
      .rowTools = false,
      .formulaTool = false,
      .clearedColumn = "FFormula",
      .defaultPlan = false,
      .codeLetterRows = false}},
    {kMethodCodeLetter,
     {.fields = {.swatchCode = true, .levelStrictnessAql = true, .sampQty = true, .formula = false},
      .swatchCodeLocked = true,
      .maxRows = kMaxRows,
      .lotSizeFixed = false,
      .rowTools = true,
      .formulaTool = false,
      .clearedColumn = "FFormula",
      .defaultPlan = true,
      .codeLetterRows = true}},
};

}  // namespace

std::optional<MethodForm> MethodFormOf(int method) {
    for (const MethodEntry& entry : kMethodForms)
        if (entry.method == method) return entry.form;
    return std::nullopt;
}

ToolSettings StandardMenuState(const BillFacts& bill, int method) {
    const std::optional<MethodForm> form = MethodFormOf(method);
    ToolSettings settings;
    if (IsReadOnly(bill)) {
        for (std::string_view key : tool::kRowTools)
            settings.push_back({key, kVisible, false});
        for (std::string_view key : {tool::kFileSave, tool::kDataLookUp, kFormulaTool})
            settings.push_back({key, kEnabled, false});
    } else {
        const bool rowTools = !form || form->rowTools;
        settings.push_back({tool::kAddRow, kVisible, rowTools});
        settings.push_back({tool::kDelRow, kVisible, rowTools});
        settings.push_back({tool::kFileSave, kEnabled, true});
        settings.push_back({tool::kDataLookUp, kEnabled, true});
        settings.push_back({kFormulaTool, kEnabled, form && form->formulaTool});
    }
    settings.push_back({"mnuDataRedBill", kVisible, false});
    settings.push_back({"mnuDataBlueBill", kVisible, false});

    if (bill.mode == bill_mode::kNew) {
        settings.push_back({tool::kUnCheck, kEnabled, false});
        settings.push_back({tool::kCheck, kEnabled, false});
    } else if (!OffersAuditTools(bill)) {
        for (std::string_view key : {tool::kUnCheck, tool::kCheck}) {
            settings.push_back({key, kEnabled, false});
            settings.push_back({key, kVisible, false});
        }
    } else {
        settings.push_back({tool::kUnCheck, kEnabled, true});
        settings.push_back({tool::kCheck, kEnabled, true});
    }
    return settings;
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
