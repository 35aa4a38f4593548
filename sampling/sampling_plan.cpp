#include "sampling/sampling_plan.h"

#include <algorithm>
#include <array>
#include <utility>

#include "frame/convert.h"
#include "frame/host_error.h"
#include "frame/host_services.h"
#include "frame/platform.h"
#include "frame/sql_text.h"
#include "frame/text_util.h"
#include "sampling/code_letter_plan.h"

namespace velaqm {

namespace {

// Record number and the standard's name, as the user may type either.
using Alias = std::pair<std::string_view, std::string_view>;
constexpr std::array<Alias, 7> kLevels = {{{"C1", "I"},
                                           {"C2", "II"},
                                           {"C3", "III"},
                                           {"S1", "S-1"},
                                           {"S2", "S-2"},
                                           {"S3", "S-3"},
                                           {"S4", "S-4"}}};
constexpr std::array<Alias, 3> kStrictness = {
    {{"YGD01", "NORMAL"}, {"YGD02", "TIGHTENED"}, {"YGD03", "REDUCED"}}};

constexpr std::string_view kArrowDown = "↓";
constexpr std::string_view kArrowUp = "↑";
constexpr int kAqlClassType = 1001303;
constexpr std::size_t kMaxLotDigits = 15;  // up to the largest lot size a range names

template <std::size_t N>
std::optional<std::string> RecordNumber(const std::array<Alias, N>& aliases,
                                        std::string_view typed) {
    const std::string wanted = UpperAscii(Trim(typed));
    for (const auto& [number, name] : aliases)
        if (wanted == number || wanted == name) return std::string(number);
    return std::nullopt;
}

RecordsetPtr Execute(std::string_view sql) {
    return CreateObject<AppConnection>(progid::kAppConnection)->Execute(sql);
}

std::optional<std::int64_t> OptionalWhole(const Variant& value) {
    if (value.IsNull() || value.IsEmpty()) return std::nullopt;
    return WholeNumber(value);
}

bool IsArrow(std::string_view cell) {
    return cell == kArrowDown || cell == kArrowUp;
}

[[noreturn]] void TablesDisagree(const std::string& what) {
    throw HostError(kErrInvalidCall, "VelaQMBillEvent", "The sampling tables disagree: " + what);
}

std::vector<PlanRow> ReadPlanRows(std::string_view level, std::string_view strictness,
                                  std::string_view aql) {
    const RecordsetPtr plans = Execute(CodeLetterPlanSql(level, strictness, AqlToken(aql)));
    std::vector<PlanRow> rows;
    for (; plans && !plans->Eof(); plans->MoveNext())
        rows.push_back({OptionalWhole(plans->Fields("FLotSize")), Text(plans->Fields("FCode")),
                        OptionalWhole(plans->Fields("FSampleQty")),
                        OptionalWhole(plans->Fields("FACQty")),
                        OptionalWhole(plans->Fields("FREQty"))});
    return rows;
}

// The cells of the AQL's column for the strictness, in letter order, with their sample sizes.
std::vector<PlanCell> ReadCells(std::string_view strictness, std::string_view aql) {
    const std::string cellColumn = SqlName("F" + AqlToken(aql) + "_AC_RE");
    const RecordsetPtr cells =
        Execute("SELECT q.FCode,q.FSample," + cellColumn +
                " AS FCell FROM vw_QM105E vq INNER JOIN QM105E q ON q.FID=vq.FID WHERE q.FYGD=" +
                SqlText(strictness) + " ORDER BY q.FCode");
    std::vector<PlanCell> read;
    for (; cells && !cells->Eof(); cells->MoveNext())
        read.push_back({Text(cells->Fields("FCode")), Text(cells->Fields("FCell")),
                        WholeNumber(cells->Fields("FSample"))});
    return read;
}

// The letter the plan's sample size was taken from, checked against that sample size.
std::string PlanLetterOf(std::string_view strictness, std::string_view aql, std::string_view letter,
                         std::int64_t sample) {
    const std::vector<PlanCell> cells = ReadCells(strictness, aql);
    const std::optional<std::string> planLetter = FollowArrows(cells, letter);
    const auto found = std::find_if(cells.begin(), cells.end(), [&](const PlanCell& cell) {
        return planLetter && cell.letter == *planLetter;
    });
    if (found == cells.end() || found->sample != sample)
        TablesDisagree("the arrow of letter " + std::string(letter) + " leads to no plan of " +
                       std::to_string(sample) + " samples");
    return *planLetter;
}

}  // namespace

std::optional<std::string> InspectionLevelNumber(std::string_view typed) {
    return RecordNumber(kLevels, typed);
}

std::string StandardLevelName(std::string_view number) {
    for (const auto& [record, name] : kLevels)
        if (number == record) return std::string(name);
    return std::string(number);
}

std::optional<std::string> StrictnessNumber(std::string_view typed) {
    return RecordNumber(kStrictness, typed);
}

std::optional<std::int64_t> LotSizeOf(std::string_view typed) {
    const std::string digits = Trim(typed);
    if (digits.empty() || digits.size() > kMaxLotDigits ||
        !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    const std::int64_t lot = std::stoll(digits);
    if (lot < 1) return std::nullopt;
    return lot;
}

std::optional<std::string> MatchAql(std::string_view typed, const std::vector<std::string>& aqls) {
    const std::string wanted = Trim(typed);
    if (const auto exact = std::find(aqls.begin(), aqls.end(), wanted); exact != aqls.end())
        return *exact;
    if (!IsNumeric(Variant(wanted))) return std::nullopt;
    const double value = NumberValue(Variant(wanted));
    for (const std::string& aql : aqls)
        if (NumberValue(Variant(aql)) == value) return aql;
    return std::nullopt;
}

const PlanRow* RowOfLot(const std::vector<PlanRow>& rows, std::int64_t lot) {
    const PlanRow* best = nullptr;
    for (const PlanRow& row : rows) {
        if (row.upperBound && *row.upperBound < lot) continue;
        const bool closer =
            !best || (row.upperBound && (!best->upperBound || *row.upperBound < *best->upperBound));
        if (closer) best = &row;
    }
    return best;
}

std::optional<std::string> FollowArrows(const std::vector<PlanCell>& cells,
                                        std::string_view letter) {
    const auto own = std::find_if(cells.begin(), cells.end(),
                                  [&](const PlanCell& cell) { return cell.letter == letter; });
    if (own == cells.end()) return std::nullopt;
    const auto usable = [](const PlanCell& cell) { return !IsArrow(cell.cell); };
    if (own->cell == kArrowDown) {
        const auto below = std::find_if(own + 1, cells.end(), usable);
        if (below == cells.end()) return std::nullopt;
        return below->letter;
    }
    if (own->cell == kArrowUp || own->cell.empty()) {
        const auto above = std::find_if(std::make_reverse_iterator(own), cells.rend(), usable);
        if (above == cells.rend()) return std::nullopt;
        return above->letter;
    }
    return own->letter;
}

std::vector<std::string> AqlNumbers() {
    const RecordsetPtr aqls =
        Execute("SELECT FNumber FROM QMAInfo WHERE FClassTypeID=" + std::to_string(kAqlClassType) +
                " ORDER BY FID");
    std::vector<std::string> numbers;
    for (; aqls && !aqls->Eof(); aqls->MoveNext())
        numbers.push_back(Text(aqls->Fields("FNumber")));
    return numbers;
}

LotPlan ReadLotPlan(std::int64_t lot, std::string_view level, std::string_view strictness,
                    std::string_view aql) {
    const std::vector<PlanRow> rows = ReadPlanRows(level, strictness, aql);
    const PlanRow* row = RowOfLot(rows, lot);
    if (!row) TablesDisagree("no lot-size range holds " + std::to_string(lot));
    LotPlan plan{.letter = row->letter, .plan = std::nullopt};
    if (!row->sample || !row->ac || !row->re) return plan;
    plan.plan = SingleSamplingPlan{
        .letter = PlanLetterOf(strictness, aql, row->letter, *row->sample),
        .n = SampleQuantity(lot, *row->sample),
        .ac = static_cast<int>(*row->ac),
        .re = static_cast<int>(*row->re),
    };
    return plan;
}

}  // namespace velaqm
