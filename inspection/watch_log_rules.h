// The observation log's rules that need no host: the observation date against the sampling date,
// and the checks of the entry rows before a save.
#pragma once

#include <optional>
#include <span>
#include <string>

#include "frame/date.h"

namespace velaqm {

// The observation date may not lie before the day the sample was taken (times of day do not
// count). A log without an observation date is refused; one whose sample has no sampling date
// has nothing to compare with and passes.
bool ObservationDateAccepted(const std::optional<Date>& watched,
                             const std::optional<Date>& sampled);

// One entry row that holds data, as the save checks read it, with its row number in the grid.
struct ObservationRow {
    int row = 0;
    std::string checkItem{};
    std::string valueId{};
    std::string valueQty{};
};

struct ObservationProblem {
    enum class Kind {
        kNoCheckItem,      // a row without its check item
        kNoObservedValue,  // neither the chosen grade nor the quantity was entered
    };
    Kind kind;
    int row = 0;

    friend bool operator==(const ObservationProblem&, const ObservationProblem&) = default;
};

// The first row refused, in grid order; every row counts, wherever it stands among empty ones.
// Blanks alone are no value.
std::optional<ObservationProblem> FirstRowProblem(std::span<const ObservationRow> rows);

}  // namespace velaqm
