#include "inspection/watch_log_rules.h"

#include "frame/text_util.h"

namespace velaqm {

bool ObservationDateAccepted(const std::optional<Date>& watched,
                             const std::optional<Date>& sampled) {
    if (!watched) return false;
    if (!sampled) return true;
    return watched->DatePart() >= sampled->DatePart();
}

std::optional<ObservationProblem> FirstRowProblem(std::span<const ObservationRow> rows) {
    using Kind = ObservationProblem::Kind;
    for (const ObservationRow& row : rows) {
        if (TrimView(row.checkItem).empty()) return ObservationProblem{Kind::kNoCheckItem, row.row};
        if (TrimView(row.valueId).empty() && TrimView(row.valueQty).empty())
            return ObservationProblem{Kind::kNoObservedValue, row.row};
    }
    return std::nullopt;
}

}  // namespace velaqm
