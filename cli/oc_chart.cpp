#include "cli/oc_chart.h"

#include <cmath>
#include <cstdio>
#include <sstream>

#include "frame/convert.h"

namespace velaqm::cli {

namespace {

constexpr double kWidth = 720;
constexpr double kHeight = 480;
constexpr double kLeft = 72;  // room for the vertical axis's labels and caption
constexpr double kRight = 28;
constexpr double kTop = 72;     // room for the title and the subtitle
constexpr double kBottom = 64;  // room for the horizontal axis's labels and caption
constexpr double kPlotWidth = kWidth - kLeft - kRight;
constexpr double kPlotHeight = kHeight - kTop - kBottom;
constexpr int kPaTicks = 10;
constexpr double kTickLength = 5;

constexpr const char* kCurveColour = "#1f5fa8";
constexpr const char* kAqlColour = "#2e7d32";
constexpr const char* kRiskColour = "#c62828";

std::string Coordinate(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", value);
    return text;
}

std::string Escaped(std::string_view text) {
    std::string escaped;
    for (const char c : text) {
        switch (c) {
            case '&':
                escaped += "&amp;";
                break;
            case '<':
                escaped += "&lt;";
                break;
            case '>':
                escaped += "&gt;";
                break;
            case '"':
                escaped += "&quot;";
                break;
            default:
                escaped += c;
        }
    }
    return escaped;
}

// Plot coordinates of a quality and a probability of acceptance.
class Scale {
  public:
    explicit Scale(double pEnd) : m_pEnd(pEnd > 0 ? pEnd : 1) {}
    double X(double p) const { return kLeft + p / m_pEnd * kPlotWidth; }
    static double Y(double pa) { return kTop + (1 - pa) * kPlotHeight; }
    bool Holds(double p) const { return p >= 0 && p <= m_pEnd; }

  private:
    double m_pEnd;
};

void Text(std::ostringstream& svg, double x, double y, std::string_view anchor,
          std::string_view text, std::string_view extra = "") {
    svg << "<text x=\"" << Coordinate(x) << "\" y=\"" << Coordinate(y) << "\" text-anchor=\""
        << anchor << '"' << extra << '>' << Escaped(text) << "</text>\n";
}

void Line(std::ostringstream& svg, double x1, double y1, double x2, double y2,
          std::string_view style) {
    svg << "<line x1=\"" << Coordinate(x1) << "\" y1=\"" << Coordinate(y1) << "\" x2=\""
        << Coordinate(x2) << "\" y2=\"" << Coordinate(y2) << "\" " << style << "/>\n";
}

void Axes(std::ostringstream& svg, const OcChart& chart, const Scale& scale, double pEnd) {
    svg << "<g stroke=\"#d0d0d0\" stroke-width=\"1\">\n";
    for (double p : AxisTicks(pEnd, chart.tick))
        Line(svg, scale.X(p), kTop, scale.X(p), kTop + kPlotHeight, "");
    for (int i = 0; i <= kPaTicks; ++i) {
        const double y = Scale::Y(static_cast<double>(i) / kPaTicks);
        Line(svg, kLeft, y, kLeft + kPlotWidth, y, "");
    }
    svg << "</g>\n<g stroke=\"#000\" stroke-width=\"1\">\n";
    Line(svg, kLeft, kTop + kPlotHeight, kLeft + kPlotWidth, kTop + kPlotHeight, "");
    Line(svg, kLeft, kTop, kLeft, kTop + kPlotHeight, "");
    for (double p : AxisTicks(pEnd, chart.tick))
        Line(svg, scale.X(p), kTop + kPlotHeight, scale.X(p), kTop + kPlotHeight + kTickLength, "");
    for (int i = 0; i <= kPaTicks; ++i) {
        const double y = Scale::Y(static_cast<double>(i) / kPaTicks);
        Line(svg, kLeft - kTickLength, y, kLeft, y, "");
    }
    svg << "</g>\n<g font-size=\"12\">\n";
    for (double p : AxisTicks(pEnd, chart.tick))
        Text(svg, scale.X(p), kTop + kPlotHeight + 20, "middle", FormatDouble(p));
    for (int i = 0; i <= kPaTicks; ++i) {
        const double pa = static_cast<double>(i) / kPaTicks;
        char label[8];
        std::snprintf(label, sizeof label, "%.1f", pa);
        Text(svg, kLeft - 9, Scale::Y(pa) + 4, "end", label);
    }
    svg << "</g>\n<g font-size=\"14\">\n";
    Text(svg, kLeft + kPlotWidth / 2, kHeight - 18, "middle", chart.xCaption);
    const double yMiddle = kTop + kPlotHeight / 2;
    Text(svg, 20, yMiddle, "middle", chart.yCaption,
         " transform=\"rotate(-90 20 " + Coordinate(yMiddle) + ")\"");
    svg << "</g>\n";
}

void Curve(std::ostringstream& svg, const OcChart& chart, const Scale& scale) {
    svg << "<polyline fill=\"none\" stroke=\"" << kCurveColour << "\" stroke-width=\"2\" points=\"";
    const char* separator = "";
    for (const OcPoint& point : chart.curve) {
        svg << separator << Coordinate(scale.X(point.p)) << ',' << Coordinate(Scale::Y(point.pa));
        separator = " ";
    }
    svg << "\"/>\n";
}

void Marks(std::ostringstream& svg, const OcChart& chart, const Scale& scale) {
    const std::string dashed = "stroke-dasharray=\"5 4\" stroke-width=\"1.2\" stroke=\"";
    if (chart.aql && scale.Holds(chart.aql->p)) {
        const double x = scale.X(chart.aql->p);
        Line(svg, x, kTop + kPlotHeight, x, Scale::Y(chart.aql->pa), dashed + kAqlColour + "\"");
        svg << "<circle cx=\"" << Coordinate(x) << "\" cy=\"" << Coordinate(Scale::Y(chart.aql->pa))
            << "\" r=\"4\" fill=\"" << kAqlColour << "\"/>\n";
        // At the foot of its line: the producer's risk point usually stands beside the AQL's.
        Text(svg, x + 6, kTop + kPlotHeight - 10, "start", chart.aql->label,
             std::string(" font-size=\"13\" fill=\"") + kAqlColour + "\"");
    }
    for (const ChartMark& mark : chart.points) {
        if (!scale.Holds(mark.p)) continue;
        const double x = scale.X(mark.p);
        const double y = Scale::Y(mark.pa);
        Line(svg, kLeft, y, x, y, dashed + kRiskColour + "\"");
        Line(svg, x, y, x, kTop + kPlotHeight, dashed + kRiskColour + "\"");
        svg << "<circle cx=\"" << Coordinate(x) << "\" cy=\"" << Coordinate(y)
            << "\" r=\"4\" fill=\"" << kRiskColour << "\"/>\n";
        Text(svg, x + 8, y - 8, "start", mark.label,
             std::string(" font-size=\"13\" fill=\"") + kRiskColour + "\"");
    }
}

}  // namespace

std::vector<double> AxisTicks(double end, double step) {
    std::vector<double> ticks{0};
    if (!(step > 0) || !std::isfinite(end)) return ticks;
    // Each tick from its own product, so that no error of adding up gathers along the axis.
    for (int i = 1; step * i <= end * (1 + 1e-12); ++i)
        ticks.push_back(step * i);
    return ticks;
}

std::string OcChartSvg(const OcChart& chart) {
    const double pEnd = chart.curve.empty() ? 1 : chart.curve.back().p;
    const Scale scale(pEnd);
    std::ostringstream svg;
    svg << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << kWidth << "\" height=\""
        << kHeight << "\" viewBox=\"0 0 " << kWidth << ' ' << kHeight
        << "\" font-family=\"sans-serif\">\n"
        << "<rect width=\"100%\" height=\"100%\" fill=\"#fff\"/>\n";
    Text(svg, kWidth / 2, 28, "middle", chart.title, " font-size=\"16\" font-weight=\"bold\"");
    Text(svg, kWidth / 2, 50, "middle", chart.subtitle, " font-size=\"13\"");
    Axes(svg, chart, scale, pEnd);
    Curve(svg, chart, scale);
    Marks(svg, chart, scale);
    svg << "</svg>\n";
    return svg.str();
}

}  // namespace velaqm::cli
