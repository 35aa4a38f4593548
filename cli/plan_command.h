// `velaqm plan`: the sampling plan of a lot, read from the code-letter tables, and what it does:
// its operating characteristic, as a table, as JSON or as an SVG chart.
#pragma once

#include <filesystem>
#include <optional>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "cli/oc_chart.h"
#include "cli/scenario_run.h"
#include "sampling/oc_curve.h"
#include "sampling/sampling_plan.h"

namespace velaqm::cli {

struct PlanArguments {
    std::string lot;  // as typed
    std::string level;
    std::string strictness;
    std::string aql;
    bool json = false;
    std::optional<std::filesystem::path> svg;
};

// An argument the command cannot take; the message names it and the values it accepts.
struct PlanArgumentError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// The curve runs from p = 0 to where acceptance has all but ended: in the table and the JSON in at
// most kTableSteps round steps; drawn in kChartSteps steps along an axis of at most kChartTicks
// round ticks.
inline constexpr int kTableSteps = 20;
inline constexpr int kChartTicks = 10;
inline constexpr int kChartSteps = 200;

struct PlanReport {
    std::int64_t lot = 0;
    std::string level;       // the inspection level's record number
    std::string strictness;  // the strictness record number
    std::string aql;         // the AQL record number
    LotPlan lotPlan;
    // The rest only when the tables hold a plan.
    OcPlan oc;
    double paAtAql = 0;
    std::optional<double> p95;  // the producer's risk point
    std::optional<double> p10;  // the consumer's risk point
    double acceptanceEnd = 0;   // where acceptance has all but ended
    std::vector<OcPoint> curve;
};

// Works out the plan and its operating characteristic; the platform must be a session on a
// database with the sampling tables. Throws PlanArgumentError for an argument it cannot take.
PlanReport MakePlanReport(const PlanArguments& arguments);

// The report as text in the session's language.
void WritePlanText(const PlanReport& report, std::ostream& out);
// The report as one JSON object (p in percent, or per hundred units above AQL 10).
void WritePlanJson(const PlanReport& report, std::ostream& out);
// The chart of the report's plan, captions in the session's language.
OcChart PlanChart(const PlanReport& report);

// The whole command on a session of the settings' database (a fresh copy of the seed unless
// --db names one). Throws PlanArgumentError for bad arguments, std::runtime_error when the chart
// cannot be written, std::exception when the database cannot be used.
int RunPlan(const PlanArguments& arguments, const RunSettings& settings, std::ostream& out);

}  // namespace velaqm::cli
