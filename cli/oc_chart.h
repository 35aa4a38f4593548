// The operating characteristic curve as a standalone SVG chart: the probability of acceptance
// over the quality of the lot, with the AQL and the two risk points marked.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "sampling/oc_curve.h"

namespace velaqm::cli {

struct ChartMark {
    double p = 0;
    double pa = 0;
    std::string label;
};

struct OcChart {
    std::string title;
    std::string subtitle;
    std::string xCaption;
    std::string yCaption;
    // From p = 0 to the end of the horizontal axis, p rising.
    std::vector<OcPoint> curve;
    double tick = 1;                // between the ticks of the horizontal axis
    std::optional<ChartMark> aql;   // drawn as a line up to the curve
    std::vector<ChartMark> points;  // drawn as dots with guides to both axes
};

// The chart as an SVG document of its own (UTF-8, no scripts, no outside references). Marks
// beyond the horizontal axis are left out.
std::string OcChartSvg(const OcChart& chart);

// Where the ticks of an axis from 0 to `end` stand: every multiple of `step` up to it.
std::vector<double> AxisTicks(double end, double step);

}  // namespace velaqm::cli
