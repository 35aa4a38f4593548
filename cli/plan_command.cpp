#include "cli/plan_command.h"

#include <cmath>
#include <cstdio>
#include <fstream>

#include "cli/echo.h"
#include "frame/convert.h"
#include "frame/messages.h"
#include "host/session.h"
#include "host/trace_log.h"

namespace velaqm::cli {

namespace {

// A typed value as the messages repeat it: quoted, so that an empty one shows.
std::string Quoted(std::string_view typed) {
    return '"' + Echo(typed) + '"';
}

constexpr double kProducersRisk = 0.95;
constexpr double kConsumersRisk = 0.10;

std::int64_t RequireLot(const std::string& typed) {
    if (auto lot = LotSizeOf(typed)) return *lot;
    throw PlanArgumentError("LOT must be a whole number of at least 1, not " + Quoted(typed));
}

std::string RequireLevel(const std::string& typed) {
    if (auto level = InspectionLevelNumber(typed)) return *level;
    throw PlanArgumentError(
        "LEVEL must be I, II, III, S-1, S-2, S-3 or S-4 (or C1, C2, C3, S1 to "
        "S4), not " +
        Quoted(typed));
}

std::string RequireStrictness(const std::string& typed) {
    if (auto strictness = StrictnessNumber(typed)) return *strictness;
    throw PlanArgumentError(
        "STRICTNESS must be normal, tightened or reduced (or YGD01 to YGD03), not " +
        Quoted(typed));
}

std::string RequireAql(const std::string& typed) {
    const std::vector<std::string> aqls = AqlNumbers();
    if (auto aql = MatchAql(typed, aqls)) return *aql;
    std::string accepted;
    for (const std::string& aql : aqls)
        accepted += (accepted.empty() ? "" : ", ") + aql;
    throw PlanArgumentError("AQL must be one of " + accepted + ", not " + Quoted(typed));
}

double AqlValue(const PlanReport& report) {
    return NumberValue(Variant(report.aql));
}

bool PerHundredUnits(const PlanReport& report) {
    return report.oc.model == OcModel::Poisson;
}

// Four significant digits, trailing zeros kept: 1.030, 6.516, 0.004103, 1250.
std::string FourDigits(double value) {
    const int magnitude = value > 0 ? static_cast<int>(std::floor(std::log10(value))) : 0;
    const int decimals = std::max(0, 3 - magnitude);
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

std::string Probability(double pa) {
    char text[32];
    std::snprintf(text, sizeof text, "%.4f", pa);
    return text;
}

// A quality with its unit, in the session's language.
std::string Quality(const PlanReport& report, std::optional<double> p) {
    if (!p) return LoadCVString("无");
    if (PerHundredUnits(report)) return FormatCVString("每百单位 %1 个", {FourDigits(*p)});
    return FourDigits(*p) + "%";
}

std::string StrictnessName(std::string_view number) {
    if (number == "YGD02") return LoadCVString("加严检验");
    if (number == "YGD03") return LoadCVString("放宽检验");
    return LoadCVString("正常检验");
}

std::string ModelName(OcModel model) {
    switch (model) {
        case OcModel::Binomial:
            return LoadCVString("二项分布（不合格品百分数）");
        case OcModel::Poisson:
            return LoadCVString("泊松分布（每百单位不合格数）");
        case OcModel::Hypergeometric:
            return LoadCVString("超几何分布（不合格品百分数，不放回抽样）");
    }
    return "";
}

// "批量 1000，检验水平 II，正常检验，AQL 1.0" in the session's language.
std::string Request(const PlanReport& report) {
    return FormatCVString("批量 %1，检验水平 %2，%3，AQL %4",
                          {std::to_string(report.lot), StandardLevelName(report.level),
                           StrictnessName(report.strictness), report.aql});
}

std::string PlanLine(const SingleSamplingPlan& plan) {
    return FormatCVString(
        "字码 %1，n = %2，Ac = %3，Re = %4",
        {plan.letter, std::to_string(plan.n), std::to_string(plan.ac), std::to_string(plan.re)});
}

// The text right-aligned in `width` columns, a character beyond ASCII taking two (the table's
// heading may be Chinese).
std::string PadLeft(std::string_view text, std::size_t width) {
    std::size_t columns = 0;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) ++columns;
        if (byte >= 0xC0) columns += 2;  // the first byte of a wider character
    }
    return std::string(width > columns ? width - columns : 0, ' ') + std::string(text);
}

std::string Json(std::optional<double> value) {
    return value ? FormatDouble(*value) : "null";
}

void WriteChart(const PlanReport& report, const std::filesystem::path& file) {
    std::ofstream svg(file, std::ios::binary | std::ios::trunc);
    svg << OcChartSvg(PlanChart(report));
    svg.close();
    if (!svg) throw std::runtime_error("cannot write the chart " + Echo(file.string()));
}

}  // namespace

PlanReport MakePlanReport(const PlanArguments& arguments) {
    PlanReport report;
    report.lot = RequireLot(arguments.lot);
    report.level = RequireLevel(arguments.level);
    report.strictness = RequireStrictness(arguments.strictness);
    report.aql = RequireAql(arguments.aql);
    report.lotPlan = ReadLotPlan(report.lot, report.level, report.strictness, report.aql);
    if (!report.lotPlan.plan) return report;

    const SingleSamplingPlan& plan = *report.lotPlan.plan;
    const auto n = static_cast<int>(plan.n);
    report.oc = {report.lot, n, plan.ac, ChooseOcModel(AqlValue(report), report.lot, n)};
    report.paAtAql = AcceptanceProbability(report.oc, AqlValue(report));
    report.p95 = QualityAcceptedWith(report.oc, kProducersRisk);
    report.p10 = QualityAcceptedWith(report.oc, kConsumersRisk);
    report.acceptanceEnd = AcceptanceEnd(report.oc);
    report.curve =
        OcCurve(report.oc, RoundStep(report.acceptanceEnd, kTableSteps), report.acceptanceEnd);
    return report;
}

void WritePlanText(const PlanReport& report, std::ostream& out) {
    out << FormatCVString("抽样方案：%1", {Request(report)}) << '\n'
        << FormatCVString("样本量字码：%1", {report.lotPlan.letter}) << '\n';
    if (!report.lotPlan.plan) {
        out << FormatCVString("抽样表中没有字码 %1 在此 AQL 的方案。", {report.lotPlan.letter})
            << '\n';
        return;
    }
    out << FormatCVString("方案：%1", {PlanLine(*report.lotPlan.plan)}) << '\n'
        << FormatCVString("模型：%1", {ModelName(report.oc.model)}) << '\n'
        << FormatCVString("AQL 处的接收概率：Pa = %1", {Probability(report.paAtAql)}) << '\n'
        << FormatCVString("95% 接收的质量（生产方风险点）：p95 = %1", {Quality(report, report.p95)})
        << '\n'
        << FormatCVString("10% 接收的质量（使用方风险点）：p10 = %1", {Quality(report, report.p10)})
        << "\n\n";
    const std::string pHeading =
        PerHundredUnits(report) ? LoadCVString("p（每百单位）") : std::string("p (%)");
    out << PadLeft(pHeading, 12) << PadLeft("Pa", 10) << '\n';
    for (const OcPoint& point : report.curve)
        out << PadLeft(FormatDouble(point.p), 12) << PadLeft(Probability(point.pa), 10) << '\n';
}

void WritePlanJson(const PlanReport& report, std::ostream& out) {
    const auto& plan = report.lotPlan.plan;
    out << "{\"lot\":" << report.lot << ",\"level\":" << host::JsonString(report.level)
        << ",\"strictness\":" << host::JsonString(report.strictness)
        << ",\"aql\":" << host::JsonString(report.aql)
        << ",\"letter\":" << host::JsonString(report.lotPlan.letter);
    if (!plan) {
        out << ",\"plan_letter\":null,\"n\":null,\"ac\":null,\"re\":null,\"pa_at_aql\":null,"
               "\"p95\":null,\"p10\":null,\"model\":null,\"curve\":[]}\n";
        return;
    }
    out << ",\"plan_letter\":" << host::JsonString(plan->letter) << ",\"n\":" << plan->n
        << ",\"ac\":" << plan->ac << ",\"re\":" << plan->re
        << ",\"pa_at_aql\":" << FormatDouble(report.paAtAql) << ",\"p95\":" << Json(report.p95)
        << ",\"p10\":" << Json(report.p10)
        << ",\"model\":" << host::JsonString(OcModelName(report.oc.model)) << ",\"curve\":[";
    const char* separator = "";
    for (const OcPoint& point : report.curve) {
        out << separator << "{\"p\":" << FormatDouble(point.p)
            << ",\"pa\":" << FormatDouble(point.pa) << '}';
        separator = ",";
    }
    out << "]}\n";
}

OcChart PlanChart(const PlanReport& report) {
    OcChart chart;
    chart.title = FormatCVString("OC 曲线：%1", {PlanLine(*report.lotPlan.plan)});
    chart.subtitle = Request(report);
    chart.xCaption = PerHundredUnits(report) ? LoadCVString("每百单位不合格数 p")
                                             : LoadCVString("不合格品百分数 p (%)");
    chart.yCaption = LoadCVString("接收概率 Pa");
    chart.tick = RoundStep(report.acceptanceEnd, kChartTicks);
    const double axisEnd = OcCurve(report.oc, chart.tick, report.acceptanceEnd).back().p;
    chart.curve = OcCurve(report.oc, axisEnd / kChartSteps, axisEnd);
    chart.aql = ChartMark{AqlValue(report), report.paAtAql,
                          "AQL " + report.aql + ": Pa = " + Probability(report.paAtAql)};
    if (report.p95)
        chart.points.push_back(
            {*report.p95, kProducersRisk, "p95 = " + Quality(report, report.p95)});
    if (report.p10)
        chart.points.push_back(
            {*report.p10, kConsumersRisk, "p10 = " + Quality(report, report.p10)});
    return chart;
}

int RunPlan(const PlanArguments& arguments, const RunSettings& settings, std::ostream& out) {
    const WorkingDatabase database(settings);
    host::Session session(SessionOptionsFor(settings, database.Path(), nullptr));
    host::LoginInfo login;
    login.language = settings.language;
    session.Login(login);

    const PlanReport report = MakePlanReport(arguments);
    if (arguments.svg && report.lotPlan.plan) WriteChart(report, *arguments.svg);
    if (arguments.json)
        WritePlanJson(report, out);
    else
        WritePlanText(report, out);
    return 0;
}

}  // namespace velaqm::cli
