// The single sampling plan of one lot: the lot size's code letter for the inspection level, and
// the sample size and Ac/Re of the strictness and AQL, read by the code-letter method's own plan
// batch. The names a person types are turned into the records' numbers first.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velaqm {

// The inspection level's record number ("C1" to "C3", "S1" to "S4") for that number or the
// standard's name ("I", "II", "III", "S-1" to "S-4"), in any case; nullopt for anything else.
std::optional<std::string> InspectionLevelNumber(std::string_view typed);
// The standard's name of an inspection level's record number ("II" for "C2"); the number itself
// when it is none of the seven.
std::string StandardLevelName(std::string_view number);
// The strictness record number ("YGD01" to "YGD03") for that number or "normal", "tightened",
// "reduced", in any case; nullopt for anything else.
std::optional<std::string> StrictnessNumber(std::string_view typed);
// A lot size: a whole number of at least 1, blanks around allowed; nullopt for anything else.
std::optional<std::int64_t> LotSizeOf(std::string_view typed);

// The AQL record whose number is the typed text, or failing that whose value it is ("1" is
// "1.0"); nullopt when none is.
std::optional<std::string> MatchAql(std::string_view typed, const std::vector<std::string>& aqls);

// One row of the plan batch: a lot-size range with its letter and plan.
struct PlanRow {
    std::optional<std::int64_t> upperBound;  // none for the open last range
    std::string letter;
    std::optional<std::int64_t> sample;
    std::optional<std::int64_t> ac;
    std::optional<std::int64_t> re;
};
// The row of the range that holds the lot: the smallest upper bound not below it, else the open
// range; nullptr when there is neither. A lot below the first range belongs to it.
const PlanRow* RowOfLot(const std::vector<PlanRow>& rows, std::int64_t lot);

// One letter's cell in the AQL's column, as the tables print it: "ac re", an arrow or "".
struct PlanCell {
    std::string letter;
    std::string cell;
    std::int64_t sample = 0;  // the letter's sample size
};
// The letter whose plan applies to `letter` after its arrow is followed, as the plan batch
// follows it: from "↓" to the next letter below without an arrow, from "↑" or an empty cell to
// the nearest one above. Cells come in letter order. nullopt when the arrow leads nowhere.
std::optional<std::string> FollowArrows(const std::vector<PlanCell>& cells,
                                        std::string_view letter);

struct SingleSamplingPlan {
    std::string letter;  // the letter whose plan applies, after the arrows
    std::int64_t n = 0;  // the sample size, at most the lot
    int ac = 0;
    int re = 0;
};

struct LotPlan {
    std::string letter;                      // the lot size's code letter
    std::optional<SingleSamplingPlan> plan;  // none where the tables hold no plan
};

// The AQL record numbers in the database, smallest value first.
std::vector<std::string> AqlNumbers();

// The plan of the lot for the level, strictness and AQL record numbers, through the host's
// connection. Throws HostError when the tables cannot be read or disagree with themselves.
LotPlan ReadLotPlan(std::int64_t lot, std::string_view level, std::string_view strictness,
                    std::string_view aql);

}  // namespace velaqm
