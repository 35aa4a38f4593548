// The operating characteristic by tables of values computed independently (exact binomial,
// Poisson and hypergeometric sums in rational arithmetic), including the published figures of
// code letter J at normal inspection, AQL 1.0.
#include "sampling/oc_curve.h"

#include <gtest/gtest.h>

#include <tuple>

namespace velaqm {
namespace {

TEST(OcCurve, AcceptanceMatchesExactSums) {
    const struct {
        OcPlan plan;
        double p;
        double pa;
    } cases[] = {
        {{1000, 80, 2, OcModel::Binomial}, 1, 0.9534468142640679},  // J, AQL 1.0: Pa 0.9534
        {{100000, 2000, 30, OcModel::Binomial}, 1, 0.9869406641811989},
        {{1000, 80, 2, OcModel::Poisson}, 1, 0.9525774039285098},
        {{50, 13, 1, OcModel::Hypergeometric}, 4, 0.9363265306122449},  // 2 of 50 nonconforming
        {{50, 13, 1, OcModel::Hypergeometric}, 2, 1},
        {{50, 13, 1, OcModel::Hypergeometric}, 3, (1 + 0.9363265306122449) / 2},  // between counts
        {{1000, 80, 2, OcModel::Binomial}, 0, 1},
        {{1000, 80, 2, OcModel::Binomial}, 100, 0},
        {{1000, 80, 2, OcModel::Binomial}, -5, 1},
        {{10, 2, 2, OcModel::Binomial}, 60, 1},  // Ac reaches the sample: always accepted
    };
    int index = 0;
    for (const auto& c : cases)
        EXPECT_NEAR(AcceptanceProbability(c.plan, c.p), c.pa, 1e-12) << index++;
}

TEST(OcCurve, RiskPointsAreWhereTheCurveCrossesTheirProbabilities) {
    const OcPlan letterJ{1000, 80, 2, OcModel::Binomial};
    EXPECT_NEAR(*QualityAcceptedWith(letterJ, 0.95), 1.0297801360077685, 1e-8);
    EXPECT_NEAR(*QualityAcceptedWith(letterJ, 0.10), 6.5159666991629726, 1e-8);
    const OcPlan perHundred{1000, 80, 2, OcModel::Poisson};
    EXPECT_NEAR(AcceptanceProbability(perHundred, *QualityAcceptedWith(perHundred, 0.10)), 0.10,
                1e-9);
    EXPECT_FALSE(QualityAcceptedWith({10, 2, 2, OcModel::Binomial}, 0.95))
        << "a plan that accepts every lot has no risk point";
}

TEST(OcCurve, TheModelFollowsTheAqlAndTheShareOfTheLotSampled) {
    EXPECT_EQ(ChooseOcModel(1.0, 1000, 80), OcModel::Binomial);
    EXPECT_EQ(ChooseOcModel(10, 1000, 80), OcModel::Binomial);
    EXPECT_EQ(ChooseOcModel(15, 1000, 80), OcModel::Poisson);
    EXPECT_EQ(ChooseOcModel(1.0, 500, 80), OcModel::Hypergeometric);  // more than a tenth
    EXPECT_EQ(ChooseOcModel(1.0, 800, 80), OcModel::Binomial);        // exactly a tenth
    EXPECT_EQ(ChooseOcModel(1.0, 5, 5), OcModel::Hypergeometric);     // the whole lot
}

TEST(OcCurve, StepsAreRoundNumbers) {
    const std::vector<std::tuple<double, int, double>> cases = {
        {13.25, 20, 1},    {13.25, 10, 2}, {10, 20, 0.5}, {10.01, 20, 1}, {2286.8, 20, 200},
        {0.41, 20, 0.025}, {45, 20, 2.5},  {100, 10, 10}, {0, 20, 1},     {-3, 20, 1},
    };
    for (const auto& [span, steps, step] : cases)
        EXPECT_DOUBLE_EQ(RoundStep(span, steps), step) << span << " in " << steps;
}

TEST(OcCurve, TheCurveFallsFromOneToTheEndOfAcceptance) {
    const OcPlan plan{1000, 80, 2, OcModel::Binomial};
    EXPECT_NEAR(AcceptanceEnd(plan), 13.2523, 1e-4) << "Pa 0.001";
    const std::vector<OcPoint> curve = OcCurve(plan, 1, AcceptanceEnd(plan));
    ASSERT_EQ(curve.size(), 15u) << "0% to 14%, the first step past the end";
    EXPECT_EQ(curve.front().p, 0);
    EXPECT_EQ(curve.front().pa, 1);
    EXPECT_EQ(curve.back().p, 14);
    EXPECT_LT(curve.back().pa, 0.001);
    EXPECT_GT(curve[13].pa, 0.001);
    for (std::size_t i = 1; i < curve.size(); ++i)
        EXPECT_LT(curve[i].pa, curve[i - 1].pa) << i;

    // A plan that accepts until nearly every unit is nonconforming ends at 100%, not beyond.
    const OcPlan lenient{10, 2, 1, OcModel::Binomial};
    EXPECT_EQ(OcCurve(lenient, 30, AcceptanceEnd(lenient)).back().p, 100);
    // A rate has no such end.
    const OcPlan rate{1000, 3, 44, OcModel::Poisson};
    EXPECT_NEAR(AcceptanceEnd(rate), 2286.8, 0.1);
    EXPECT_EQ(OcCurve(rate, 200, AcceptanceEnd(rate)).back().p, 2400);
    EXPECT_TRUE(OcCurve(rate, 0, 100).empty());
}

}  // namespace
}  // namespace velaqm
