#include "sampling/sampling_log_rules.h"

#include <algorithm>

#include "frame/text_util.h"

namespace velaqm {

namespace {

using namespace sample_type;

// The source-bill lookup of FReqBillNo for the sample types whose source is a bill of that class.
LookupSetting RequestLookup(int classId, std::string_view table, std::string_view filter) {
    return {.key = "FReqBillNo", .classId = classId, .table = table, .filter = filter};
}

constexpr std::string_view kOpenRequests = "v1.FStatus in (1,2)";

std::string_view TrimTrailing(std::string_view text) {
    const std::size_t end = text.find_last_not_of(' ');
    return end == std::string_view::npos ? std::string_view() : text.substr(0, end + 1);
}

}  // namespace

SampleTypeForm SampleTypeFormOf(int sampleType) {
    //                                 ManTask WorkOrd Proc   WCentre Vendor WH     SP     Shop Req
    switch (sampleType) {
        case kPurchaseReceipt:
            return {.enabled = {false, false, false, false, true, false, false, false, true},
                    .clearedLookups = {"FReqBillNo"},
                    .lookups = {RequestLookup(702, "poinstock",
                                              "v1.FStatus in (1,2) AND v1.FBizType = 12510")}};
        case kProcess:
            return {.enabled = {true, true, true, true, false, false, false, true, true},
                    .manTaskLocked = false,
                    .clearedLookups = {"FManTaskNo", "FWorkOrderNo"},
                    .lookups = {{.key = "FManTaskNo", .classId = 36, .lookupType = 100},
                                {.key = "FWorkOrderNo",
                                 .filter = " u1.FStatus  = 1 and u1.FIsOut = 1059 "}}};
        case kOutsourcedProcess:
            return {.enabled = {true, true, true, false, true, false, false, false, false},
                    .manTaskLocked = true,
                    .clearedLookups = {"FManTaskNo", "FWorkOrderNo"},
                    .lookups = {{.key = "FManTaskNo", .classId = 0, .lookupType = 0},
                                {.key = "FWorkOrderNo",
                                 .filter = " u1.FStatus  = 1 and u1.FIsOut = 1058"}}};
        case kInspectionRequest:
            return {.enabled = {false, false, false, false, false, false, false, true, true},
                    .clearedLookups = {"FReqBillNo"},
                    .lookups = {RequestLookup(701, "qmicmockrequest", kOpenRequests)}};
        case kOutsourcedReceipt:
            return {.enabled = {false, false, false, false, true, false, false, false, true},
                    .clearedLookups = {"FReqBillNo"},
                    .lookups = {RequestLookup(702, "poinstock",
                                              "v1.FStatus in (1,2) AND v1.FBizType = 12511")}};
        case kReturn:
            return {.enabled = {false, false, false, false, false, false, false, false, true},
                    .clearedLookups = {"FReqBillNo"},
                    .lookups = {RequestLookup(704, "QMSaleCkRequest", kOpenRequests)}};
        default:
            break;
    }
    SampleTypeForm form{.enabled = {false, false, false, false, true, true, true, true, true},
                        .clearedLookups = {"FReqBillNo"}};
    if (sampleType == kDelivery)
        form.lookups = {RequestLookup(705, "QMSaleCkRequest", kOpenRequests)};
    else if (sampleType < kFirst || sampleType > kLast)
        // A sample type the rules do not know: a source lookup that points nowhere.
        form.lookups = {{.key = "FReqBillNo", .classId = 0, .table = "", .lookupType = 100}};
    return form;
}

std::string SourceLinkKey(std::string_view fieldKey, int sampleType) {
    if (sampleType == kProcess || sampleType == kOutsourcedProcess) return std::string(fieldKey);
    const int linked = sampleType == kOutsourcedReceipt ? kPurchaseReceipt : sampleType;
    return std::string(fieldKey) + "_" + std::to_string(linked);
}

bool SameSampleNumber(std::string_view a, std::string_view b) {
    return EqualsNoCase(TrimTrailing(a), TrimTrailing(b));
}

std::optional<SampleProblem> RepeatedSampleNumber(std::span<const SampleRow> rows) {
    for (auto at = rows.begin(); at != rows.end(); ++at) {
        if (at->sampleNo.empty()) continue;
        const bool seen = std::any_of(rows.begin(), at, [&](const SampleRow& earlier) {
            return !earlier.sampleNo.empty() && SameSampleNumber(earlier.sampleNo, at->sampleNo);
        });
        if (seen) return SampleProblem{SampleProblem::Kind::kNumberRepeated, at->row, at->sampleNo};
    }
    return std::nullopt;
}

std::optional<SampleProblem> RowRefused(const SampleRow& row, int sampleType, const Date& today) {
    using Kind = SampleProblem::Kind;
    auto problem = [&](Kind kind) { return SampleProblem{kind, row.row, row.sampleNo}; };
    if (row.keepUntil && row.keepUntil->DatePart() < today.DatePart())
        return problem(Kind::kKeptTooShort);
    if (sampleType == kProcess) {
        if (row.process.empty()) return problem(Kind::kNoProcess);
        if (row.workCentre.empty()) return problem(Kind::kNoWorkCentre);
    } else if (sampleType == kOutsourcedProcess) {
        if (row.process.empty()) return problem(Kind::kNoOutsourcedProcess);
        if (row.vendor.empty()) return problem(Kind::kNoVendor);
    }
    return std::nullopt;
}

std::optional<int> RowHoldingNumber(std::span<const SampleRow> rows, int changedRow,
                                    std::string_view sampleNo) {
    if (sampleNo.empty()) return std::nullopt;
    for (const SampleRow& other : rows)
        if (other.row != changedRow && !other.sampleNo.empty() &&
            SameSampleNumber(other.sampleNo, sampleNo))
            return other.row;
    return std::nullopt;
}

}  // namespace velaqm
