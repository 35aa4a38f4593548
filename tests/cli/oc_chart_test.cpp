// The SVG chart of an operating characteristic: round ticks, every curve point inside the plot,
// marks only where the axis reaches, text that cannot break the document.
#include "cli/oc_chart.h"

#include <gtest/gtest.h>

#include <regex>
#include <tuple>

namespace velaqm::cli {
namespace {

int Count(const std::string& text, const std::string& piece) {
    int count = 0;
    for (auto at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 1))
        ++count;
    return count;
}

TEST(OcChart, AxisTicksAreTheMultiplesOfTheStep) {
    const std::vector<std::tuple<double, double, std::vector<double>>> cases = {
        {10, 1, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}},
        {2.5, 0.5, {0, 0.5, 1, 1.5, 2, 2.5}},
        {14, 2, {0, 2, 4, 6, 8, 10, 12, 14}},
        {0.3, 0.1, {0, 0.1, 0.2, 0.3}},  // 3 x 0.1 is a hair above 0.3
        {250, 50, {0, 50, 100, 150, 200, 250}},
    };
    for (const auto& [end, step, ticks] : cases) {
        const std::vector<double> actual = AxisTicks(end, step);
        ASSERT_EQ(actual.size(), ticks.size()) << end;
        for (std::size_t i = 0; i < ticks.size(); ++i)
            EXPECT_NEAR(actual[i], ticks[i], 1e-12) << end << " tick " << i;
    }
    EXPECT_EQ(AxisTicks(10, 0), std::vector<double>{0});
    EXPECT_EQ(AxisTicks(10, -1), std::vector<double>{0});
}

OcChart Chart() {
    OcChart chart;
    chart.title = "OC curve: letter J, n = 80, Ac = 2, Re = 3";
    chart.subtitle = "lot 1000 <II> & \"normal\"";
    chart.xCaption = "不合格品百分数 p (%)";
    chart.yCaption = "Pa";
    for (int i = 0; i <= 20; ++i)
        chart.curve.push_back({i * 0.5, 1 - i / 20.0});
    chart.tick = 1;
    chart.aql = ChartMark{1, 0.9, "AQL 1.0: Pa = 0.9534"};
    chart.points = {
        {1.03, 0.95, "p95 = 1.030%"}, {6.5, 0.1, "p10 = 6.516%"}, {12, 0.05, "beyond the axis"}};
    return chart;
}

TEST(OcChart, TheDocumentHoldsTheCurveTheMarksAndTheCaptions) {
    const std::string svg = OcChartSvg(Chart());
    EXPECT_TRUE(svg.starts_with("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg "));
    EXPECT_TRUE(svg.ends_with("</svg>\n"));
    EXPECT_EQ(Count(svg, "<svg"), 1);
    EXPECT_EQ(Count(svg, "<polyline"), 1);
    EXPECT_EQ(Count(svg, "<circle"), 3) << "the AQL and the two risk points within the axis";
    EXPECT_EQ(Count(svg, "beyond the axis"), 0);
    EXPECT_NE(svg.find(">p95 = 1.030%</text>"), std::string::npos);
    EXPECT_NE(svg.find(">不合格品百分数 p (%)</text>"), std::string::npos);
    EXPECT_NE(svg.find(">lot 1000 &lt;II&gt; &amp; &quot;normal&quot;</text>"), std::string::npos)
        << "text is escaped";
    EXPECT_EQ(svg.find("<script"), std::string::npos);

    // Every point of the curve, from (0, 1) at the top left to the end of the axis at the bottom
    // right, inside the plot area.
    const std::smatch points = [&] {
        std::smatch match;
        std::regex_search(svg, match, std::regex("points=\"([^\"]*)\""));
        return match;
    }();
    ASSERT_FALSE(points.empty());
    const std::string list = points[1];
    EXPECT_EQ(Count(list, ","), 21);
    EXPECT_TRUE(list.starts_with("72.00,72.00 ")) << list.substr(0, 20);
    EXPECT_TRUE(list.ends_with(" 692.00,416.00")) << list;
}

TEST(OcChart, ACurveOfOnePointStillMakesADocument) {
    OcChart chart;
    chart.curve = {{0, 1}};
    const std::string svg = OcChartSvg(chart);
    EXPECT_TRUE(svg.ends_with("</svg>\n"));
    EXPECT_EQ(svg.find("nan"), std::string::npos);
    EXPECT_EQ(svg.find("inf"), std::string::npos);
}

}  // namespace
}  // namespace velaqm::cli
