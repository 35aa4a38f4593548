// The sampling record's rules that need no host: what each sample type makes of the form (which
// fields may be edited, where the source-bill lookups point), which class link fills the bill
// from a source, and the checks of the sample rows before a save.
#pragma once

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "frame/date.h"

namespace velaqm {

// The sample types the rules name (internal IDs of the QMAInfo records of class type 1001322).
namespace sample_type {
inline constexpr int kPurchaseReceipt = 16;    // "001", the default
inline constexpr int kProcess = 17;            // sampling at a process step
inline constexpr int kOutsourcedProcess = 18;  // sampling at an outsourced process step
inline constexpr int kInspectionRequest = 19;
inline constexpr int kOutsourcedReceipt = 20;  // shares the purchase receipt's class link
inline constexpr int kDelivery = 21;
inline constexpr int kReturn = 22;
inline constexpr int kFirst = 16;
inline constexpr int kLast = 24;
}  // namespace sample_type

// The fields a sample type switches on and off, in the order they are switched.
inline constexpr std::array<std::string_view, 9> kSampleTypeFields = {
    "FManTaskNo", "FWorkOrderNo", "FWorkProcID", "FWorkCenterID", "FVendorID",
    "FWHID",      "FSPID",        "FWorkShopID", "FReqBillNo"};

// What a sample type writes into the field info of one lookup field; an entry left empty is not
// written. A lookup into a source table also names its ID, text and number columns.
struct LookupSetting {
    std::string_view key{};
    std::optional<int> classId{};
    std::optional<std::string_view> table{};
    std::optional<std::string_view> filter{};
    std::optional<int> lookupType{};

    friend bool operator==(const LookupSetting&, const LookupSetting&) = default;
};

// What a sample type makes of the form.
struct SampleTypeForm {
    // The enable switch of each field of kSampleTypeFields, in that order.
    std::array<bool, kSampleTypeFields.size()> enabled{};
    // The lock property of FManTaskNo, set right after its enable switch.
    std::optional<bool> manTaskLocked{};
    // The lookup fields whose number and text are cleared before the lookups are set.
    std::vector<std::string_view> clearedLookups{};
    std::vector<LookupSetting> lookups{};

    friend bool operator==(const SampleTypeForm&, const SampleTypeForm&) = default;
};

SampleTypeForm SampleTypeFormOf(int sampleType);

// The class link that fills the bill from a source chosen in the lookup field `fieldKey`: process
// sampling links by the field alone, every other type by field and sample type.
std::string SourceLinkKey(std::string_view fieldKey, int sampleType);

// Sample numbers compare as the database compares them: without regard to case, trailing blanks
// ignored.
bool SameSampleNumber(std::string_view a, std::string_view b);

// One entry row, as the save checks read it.
struct SampleRow {
    int row = 0;
    std::string sampleNo{};
    std::optional<Date> keepUntil{};
    std::string process{};
    std::string workCentre{};
    std::string vendor{};
};

struct SampleProblem {
    enum class Kind {
        kNumberStored,    // another sampling record holds the number
        kNumberRepeated,  // an earlier row of this bill holds the number
        kKeptTooShort,    // the storage deadline lies before today
        kNoProcess,       // process sampling without a process
        kNoWorkCentre,    // process sampling without a work centre
        kNoOutsourcedProcess,
        kNoVendor,  // outsourced process sampling without a supplier
    };
    Kind kind;
    int row = 0;
    std::string sampleNo;

    friend bool operator==(const SampleProblem&, const SampleProblem&) = default;
};

// The first row whose sample number an earlier row already holds. Every numbered row counts,
// wherever it stands among unnumbered ones.
std::optional<SampleProblem> RepeatedSampleNumber(std::span<const SampleRow> rows);
// The storage deadline and the process-sampling fields of one row.
std::optional<SampleProblem> RowRefused(const SampleRow& row, int sampleType, const Date& today);
// The other row that already holds `sampleNo`, when a person types it into `changedRow`.
std::optional<int> RowHoldingNumber(std::span<const SampleRow> rows, int changedRow,
                                    std::string_view sampleNo);

}  // namespace velaqm
