#include "supplier/supplier_eva_rules.h"

#include <cstdio>

namespace velaqm {

namespace {

constexpr int kDaysOfYear = 365;
constexpr std::string_view kLineEnd = "\r\n";

std::string DayText(const Date& day) {
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", day.Year(), day.Month(), day.Day());
    return text;
}

}  // namespace

Date ProposedBegin(const Date& end) {
    return end.AddDays(-kDaysOfYear);
}

bool GradeDue(std::string_view grade, const SupplyScope& scope,
              const std::optional<SupplyScope>& last) {
    return grade.empty() || grade == "0" || !last || *last != scope;
}

std::optional<double> GradeOfRate(double rate, double points) {
    if (rate < 0) return std::nullopt;
    return rate * points;
}

std::optional<double> GradeOfSupply(const SupplyFigures& figures, double points) {
    if (!figures.checked && !figures.stocked) return std::nullopt;
    const double stocked = figures.stocked.value_or(0);
    const double checked = figures.checked.value_or(0) + stocked;
    const double passed = figures.passed.value_or(0) + stocked;
    if (checked == 0) return std::nullopt;
    return points * passed / checked;
}

double TotalScore(std::span<const double> grades) {
    double total = 0;
    for (double grade : grades)
        total += grade;
    return total;
}

const EvaluationResult& ResultOf(double total, double passMark) {
    return passMark <= total ? kPassed : kFailed;
}

std::vector<std::string_view> SaveProblemTexts(const EvaluationHead& head) {
    std::vector<std::string_view> problems;
    if (head.perItem && !head.hasItem)
        problems.push_back("系统参数评估针对单个物料选中，必须选择或填入物料！");
    if (head.begin && head.end && *head.end < *head.begin)
        problems.push_back("考核开始日期不能大于结束日期,请更正！");
    return problems;
}

std::string PeriodClause(const Date& begin, const Date& end) {
    return " AND convert(datetime,convert(varchar(30),t2.FDate,111)) >='" + DayText(begin) + "'" +
           std::string(kLineEnd) + " AND convert(datetime,convert(varchar(30),t2.FDate,111)) <='" +
           DayText(end) + "'" + std::string(kLineEnd);
}

std::string InspectedReceiptsSql(std::int32_t supplier, std::int32_t item,
                                 std::string_view period) {
    const std::string crlf(kLineEnd);
    return "select sum(t1.FQtyPass + t1.FConPassQty) as PassQty,sum(t1.FQCheckQty) as CheckQty" +
           crlf + "from POInStockentry t1 INNER JOIN" + crlf +
           "POInStock t2 on t1.FInterID=t2.FInterID and t2.FTranType=702 " + crlf +
           "INNER JOIN POOrderEntry t3 on t1.FSourceInterID = t3.FInterID AND t1.FSourceEntryID "
           "= t3.FEntryID AND t1.FItemID=t3.FItemID" +
           crlf +
           "INNER JOIN POOrder t4 on t4.FInterID = t3.FInterID AND t4.FTranType = 71 AND "
           "t4.FSupplyID = t2.FSupplyID" +
           crlf + "WHERE t1.FQCheckQty > 0 AND t1.FSourceTranType = 71 AND t2.FSupplyID = " +
           std::to_string(supplier) + " And t1.FItemID = " + std::to_string(item) + " " + crlf +
           std::string(period);
}

std::string StockedWithoutReceiptSql(std::int32_t supplier, std::int32_t item,
                                     std::string_view period) {
    const std::string crlf(kLineEnd);
    return "select sum(t1.FStockQty) as CheckQty from POOrderEntry t1 INNER JOIN" + crlf +
           "POOrder t2 on t2.FInterID=t1.FinterID and t2.FTranType=71 and t2.FCheckerID >0" + crlf +
           "LEFT JOIN POInStockentry t3 on t3.FSourceInterID = t1.FInterID AND "
           "t3.FSourceEntryID = t1.FEntryID" +
           crlf + "Where t2.FSupplyID = " + std::to_string(supplier) +
           " And t1.FItemID = " + std::to_string(item) + crlf +
           "AND t1.FStockQty > 0 AND t3.FInterID IS NULL" + crlf + std::string(period);
}

}  // namespace velaqm
