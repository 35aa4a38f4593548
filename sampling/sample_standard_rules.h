// The sampling standard's rules that need no host: what each sampling method allows, the order
// of lot sizes, and the checks before a save. The plug-in reads the bill into these values and
// acts on the answers.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace velaqm {

// The sampling methods (QMAInfo internal IDs of class type 1001302).
inline constexpr int kMethodSamplingTable = 4;
inline constexpr int kMethodFormula = 5;
inline constexpr int kMethodSingleRow = 6;
inline constexpr int kMethodCodeLetter = 50;

// The lot size of the one row of the single-row method, and of the open range of the code-letter
// table.
inline constexpr double kOpenLotSize = 999999999999.0;
inline constexpr int kMaxRows = 500;

// Which fields a method lets the user edit (true: enabled), for the fields the method decides.
struct MethodFields {
    bool swatchCode = false;
    bool levelStrictnessAql = false;  // FQCLevelID, FYGDID, FAQLID together
    bool sampQty = true;
    bool formula = false;
};

// The field states after a load or copy, by method; other methods keep the common ones.
MethodFields MethodFieldStates(int method);
// The most entry rows the method allows.
int MaxRowsOf(int method);

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
