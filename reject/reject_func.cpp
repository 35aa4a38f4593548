#include "reject/reject_func.h"

namespace velaqm {

void CloseRecordset(RecordsetPtr& rs) noexcept {
    try {
        if (rs && rs->State() == Recordset::kStateOpen) rs->Close();
    } catch (...) {  // NOLINT(bugprone-empty-catch): a recordset that will not close is let go
    }
    rs.reset();
}

}  // namespace velaqm
