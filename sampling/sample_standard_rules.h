// The sampling standard's rules that need no host: what each sampling method allows, the order
// of lot sizes, and the checks before a save. The plug-in reads the bill into these values and
// acts on the answers.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "billops/audit_state.h"

namespace velaqm {

// The sampling methods (QMAInfo internal IDs of class type 1001302).
inline constexpr int kMethodSamplingTable = 4;
inline constexpr int kMethodFormula = 5;
inline constexpr int kMethodSingleRow = 6;
inline constexpr int kMethodCodeLetter = 50;

// The standard's own tool, which edits a row's sample-size formula.
inline constexpr std::string_view kFormulaTool = "mnuFormular";

// The lot size of the one row of the single-row method, and of the open range of the code-letter
// table (written into the grid as its digits).
inline constexpr std::int64_t kOpenLotSize = 999999999999;
inline constexpr int kMaxRows = 500;

// Which fields a method lets the user edit (true: enabled), for the fields the method decides.
struct MethodFields {
    bool swatchCode = false;
    bool levelStrictnessAql = false;  // FQCLevelID, FYGDID, FAQLID together
    bool sampQty = true;
    bool formula = false;

    friend bool operator==(const MethodFields&, const MethodFields&) = default;
};

// What a sampling method makes of the form. A change of method sets the form up from it, and a
// load or copy restores its field states from it: this table is where a method's form is decided.
struct MethodForm {
    MethodFields fields;
    // The lock property of the code-letter column FSwatchCode. A load or copy leaves it as it is
    // for a method without one; a change of method unlocks it unless it is to be locked.
    std::optional<bool> swatchCodeLocked;
    int maxRows = kMaxRows;
    // One row whose lot size is the open lot size, its cell locked.
    bool lotSizeFixed = false;
    bool rowTools = true;      // mnuEditAddRow and mnuEditDelRow shown
    bool formulaTool = false;  // mnuFormular enabled
    // The entry column a change of method empties, besides the lot sizes.
    std::string_view clearedColumn = "FFormula";
    // A change of method fills the default inspection level and strictness, and then the
    // code-letter rows for that level.
    bool defaultPlan = false;
    bool codeLetterRows = false;

    friend bool operator==(const MethodForm&, const MethodForm&) = default;
};

// The form of a method; nullopt for a method the standard does not know.
std::optional<MethodForm> MethodFormOf(int method);

// The menu-state rule after a load, copy or new bill: the row, save, lookup and formula tools by
// the audit state and the method, the red and blue bill tools hidden, and the audit tools by the
// mode value.
ToolSettings StandardMenuState(const BillFacts& bill, int method);

// One entry row as the save checks read it: numbers as the host's numeric reading gives them.
struct StandardRow {
    double lotSize = 0;
    std::string formula;
    std::optional<double> sampQty;  // nullopt: the cell is empty
    double acQty = 0;
    double reQty = 0;
};

// The rows counted as filled: those whose lot size is not 0.
int FilledRowCount(const std::vector<StandardRow>& rows);

// A row whose lot size does not rise above the row before it (row numbers from 1); rows 1 and
// rows with lot size 0 pass.
bool LotSizeOutOfOrder(int row, double previousLotSize, double lotSize);

// What the save checks refuse, with the row it concerns (0 for the head).
struct SaveProblem {
    enum class Kind {
        kNoLevel,
        kNoStrictness,
        kNoAql,
        kLotSizeOrder,
        kNoFormula,
        kSampleNegative,
        kSampleAboveLot,
        kSampleBelowAcceptance,
        kSampleBelowRejection,
    };
    Kind kind;
    int row = 0;

    friend bool operator==(const SaveProblem&, const SaveProblem&) = default;
};

// The head values the checks read, as numbers.
struct StandardHead {
    int method = 0;
    double level = 0;
    double strictness = 0;
    double aql = 0;
};

// The first problem of the save checks, in their order, or nullopt when the bill may be saved.
// An empty sample quantity counts as 0 (the plug-in writes the 0 into the row).
std::optional<SaveProblem> FirstSaveProblem(const StandardHead& head,
                                            const std::vector<StandardRow>& rows);

// How many rows the sample-quantity checks went through (each of them has an empty sample
// quantity stored as 0): none for the formula and code-letter methods or when a check before
// them refused the save, up to the refused row when one of them did, else every filled row.
int RowsThroughSampleChecks(int method, int filledRows, const std::optional<SaveProblem>& problem);

}  // namespace velaqm
