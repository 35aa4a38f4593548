// `velaqm plan` as a user calls it: the plan and its curve as text in both languages, as JSON and
// as a chart, and every argument it cannot take refused with exit status 2.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <regex>

#include "cli/plan_command.h"
#include "tests/support/velaqm_call.h"

namespace velaqm {
namespace {

using testing::Outcome;
using testing::Scratch;
using testing::Velaqm;

// Code letter J at AQL 1.0: Pa falls below 0.001 at 13.25%, so the table runs from 0 to 14%.
constexpr int kTableRows = 15;

std::vector<std::string> Plan(std::vector<std::string> args) {
    args.insert(args.begin(), "plan");
    return args;
}

// The number a key of the JSON object holds; NaN when it holds none.
double JsonNumber(const std::string& json, const std::string& key) {
    std::smatch match;
    if (!std::regex_search(json, match, std::regex("\"" + key + "\":([-0-9.E+]+)")))
        return std::nan("");
    return std::stod(match[1]);
}

TEST(VelaqmPlan, ShowsThePlanItsRiskPointsAndTheCurve) {
    const Outcome en = Velaqm(Plan({"1000", "II", "normal", "1.0", "--lang", "en"}));
    ASSERT_EQ(en.exit, 0) << en.err;
    EXPECT_EQ(en.err, "");
    for (const char* line : {
             "Sampling plan: lot 1000, inspection level II, normal inspection, AQL 1.0\n",
             "Code letter: J\n",
             "Plan: letter J, n = 80, Ac = 2, Re = 3\n",
             "Model: binomial (percent nonconforming)\n",
             "Probability of acceptance at the AQL: Pa = 0.9534\n",
             "(producer's risk point): p95 = 1.030%\n",
             "(consumer's risk point): p10 = 6.516%\n",
             "       p (%)        Pa\n           0    1.0000\n",
         })
        EXPECT_NE(en.out.find(line), std::string::npos) << line << "\nin\n" << en.out;
    EXPECT_EQ(std::count(en.out.begin(), en.out.end(), '\n'), 7 + 1 + 1 + kTableRows) << en.out;

    const Outcome chs = Velaqm(Plan({"1000", "C2", "YGD01", "1"}));
    ASSERT_EQ(chs.exit, 0) << chs.err;
    EXPECT_NE(chs.out.find("抽样方案：批量 1000，检验水平 II，正常检验，AQL 1.0\n"),
              std::string::npos)
        << chs.out;
    EXPECT_NE(chs.out.find("方案：字码 J，n = 80，Ac = 2，Re = 3\n"), std::string::npos);
    EXPECT_NE(chs.out.find("p95 = 1.030%\n"), std::string::npos);
}

TEST(VelaqmPlan, TheModelFollowsTheAqlAndTheShareOfTheLot) {
    const Outcome rate = Velaqm(Plan({"1000", "II", "normal", "65", "--lang=en"}));
    ASSERT_EQ(rate.exit, 0) << rate.err;
    EXPECT_NE(rate.out.find("Model: Poisson (nonconformities per hundred units)"),
              std::string::npos);
    EXPECT_NE(rate.out.find(" per hundred units\n"), std::string::npos);
    EXPECT_NE(rate.out.find("p (per 100 units)"), std::string::npos);

    const Outcome small = Velaqm(Plan({"50", "II", "normal", "1.0", "--json"}));
    ASSERT_EQ(small.exit, 0) << small.err;
    EXPECT_NE(small.out.find("\"letter\":\"D\",\"plan_letter\":\"E\",\"n\":13,\"ac\":0,\"re\":1"),
              std::string::npos)
        << small.out;
    EXPECT_NE(small.out.find("\"model\":\"hypergeometric\""), std::string::npos)
        << "13 of 50 is more than a tenth of the lot";
    // A lot holds whole units: at 1% of 50 units, Pa lies halfway between no nonconforming unit
    // (1) and one (37/50).
    EXPECT_NEAR(JsonNumber(small.out, "pa_at_aql"), 0.87, 1e-12);
}

TEST(VelaqmPlan, JsonHoldsThePlanAndTheWholeCurve) {
    const Outcome json = Velaqm(Plan({"1000", "II", "normal", "0.010", "--json"}));
    ASSERT_EQ(json.exit, 0) << json.err;
    const std::string& out = json.out;
    EXPECT_TRUE(
        out.starts_with("{\"lot\":1000,\"level\":\"C2\",\"strictness\":\"YGD01\","
                        "\"aql\":\"0.010\",\"letter\":\"J\",\"plan_letter\":\"Q\","
                        "\"n\":1000,\"ac\":0,\"re\":1,\"pa_at_aql\":"))
        << out;
    EXPECT_NE(out.find("\"model\":\"hypergeometric\""), std::string::npos)
        << "the arrow leads to 1250 samples: the whole lot of 1000";
    EXPECT_TRUE(out.ends_with("}]}\n"));
    const std::regex point(R"(\{"p":[-0-9.E+]+,"pa":[-0-9.E+]+\})");
    const auto points =
        std::distance(std::sregex_iterator(out.begin(), out.end(), point), std::sregex_iterator());
    EXPECT_EQ(points, 21) << "Pa falls to 0 at 0.1%, one unit of the lot: 20 steps of 0.005%";
    EXPECT_NE(out.find("\"curve\":[{\"p\":0,\"pa\":1},"), std::string::npos);
}

TEST(VelaqmPlan, DrawsTheChartInTheSessionsLanguage) {
    const Scratch scratch;
    const std::string file = (scratch.Dir() / "oc.svg").string();
    const Outcome drawn = Velaqm(Plan({"1000", "II", "normal", "1.0", "--svg", file}));
    ASSERT_EQ(drawn.exit, 0) << drawn.err;
    std::ifstream in(file);
    const std::string svg((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_TRUE(svg.starts_with("<?xml")) << svg.substr(0, 80);
    EXPECT_NE(svg.find(">OC 曲线：字码 J，n = 80，Ac = 2，Re = 3</text>"), std::string::npos);
    EXPECT_NE(svg.find(">AQL 1.0: Pa = 0.9534</text>"), std::string::npos);
    EXPECT_NE(svg.find(">p10 = 6.516%</text>"), std::string::npos);
    EXPECT_NE(drawn.out.find("样本量字码：J"), std::string::npos) << "the text is printed too";

    const Outcome en =
        Velaqm(Plan({"1000", "II", "normal", "1.0", "--svg=" + file, "--lang", "en", "--json"}));
    ASSERT_EQ(en.exit, 0) << en.err;
    std::ifstream again(file);
    const std::string english((std::istreambuf_iterator<char>(again)),
                              std::istreambuf_iterator<char>());
    EXPECT_NE(english.find(">Percent nonconforming p (%)</text>"), std::string::npos);
    EXPECT_TRUE(en.out.starts_with("{")) << "--json and --svg together";
}

TEST(VelaqmPlan, RefusesWhatItCannotTakeNamingTheArgument) {
    const Scratch scratch;
    struct Case {
        std::vector<std::string> args;
        const char* message;
    };
    const Case cases[] = {
        {{"0", "II", "normal", "1.0"}, "LOT must be a whole number of at least 1, not \"0\""},
        {{"-5", "II", "normal", "1.0"}, "LOT must be a whole number of at least 1, not \"-5\""},
        {{"12.5", "II", "normal", "1.0"}, "LOT must be"},
        {{"many", "II", "normal", "1.0"}, "LOT must be"},
        {{"1000", "IV", "normal", "1.0"},
         "LEVEL must be I, II, III, S-1, S-2, S-3 or S-4 (or C1, C2, C3, S1 to S4), not \"IV\""},
        {{"1000", "II", "strict", "1.0"},
         "STRICTNESS must be normal, tightened or reduced (or YGD01 to YGD03), not \"strict\""},
        {{"1000", "II", "normal", "2"}, "AQL must be one of 0.010, 0.015, 0.025,"},
        {{"1000", "II", "normal", "1.0'; DROP TABLE QMAInfo; --"}, "AQL must be one of"},
        {{"1000", "II", "normal"}, "give LOT LEVEL STRICTNESS AQL, four values, not 3"},
        {{"1000", "II", "normal", "1.0", "--chart"}, "unknown option --chart"},
        {{"1000", "II", "normal", "1.0", "--svg"}, "--svg needs a value"},
        {{"1000", "II", "normal", "1.0", "--lang", "fr"}, "--lang takes chs or en"},
        {{"1000", "II", "normal", "1.0", "--db", (scratch.Dir() / "none.db").string()},
         "does not exist"},
        {{"1000", "II", "normal", "1.0", "--svg", (scratch.Dir() / "no/such/oc.svg").string()},
         "cannot write the chart"},
    };
    for (const Case& c : cases) {
        const Outcome refused = Velaqm(Plan(c.args));
        EXPECT_EQ(refused.exit, 2) << c.message;
        EXPECT_EQ(refused.out, "") << c.message;
        EXPECT_NE(refused.err.find("velaqm plan: "), std::string::npos) << refused.err;
        EXPECT_NE(refused.err.find(c.message), std::string::npos) << refused.err;
    }
    EXPECT_EQ(Velaqm(Plan({"1000", "II", "normal", "1.0"})).exit, 0)
        << "the hostile AQL subverted nothing";
}

}  // namespace
}  // namespace velaqm
