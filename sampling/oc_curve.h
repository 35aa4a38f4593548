// The operating characteristic of a single sampling plan: how likely a lot of a given quality is
// to be accepted by n, Ac and Re. Percent nonconforming follows the binomial distribution (the
// hypergeometric one when the sample is the whole lot or more than a tenth of it), nonconformities
// per hundred units the Poisson distribution.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace velaqm {

enum class OcModel { Binomial, Poisson, Hypergeometric };
std::string_view OcModelName(OcModel model);

// AQLs above 10 are nonconformities per hundred units; up to 10, percent nonconforming.
inline constexpr double kLargestPercentAql = 10;

struct OcPlan {
    std::int64_t lot = 0;  // the lot size
    int n = 0;             // the sample size, at most the lot
    int ac = 0;            // accepted with at most Ac nonconforming (or nonconformities)
    OcModel model = OcModel::Binomial;
};

// The model of a plan for the lot at the AQL.
OcModel ChooseOcModel(double aql, std::int64_t lot, int n);

// The probability of acceptance at the quality p, in percent nonconforming (or nonconformities
// per hundred units): 1 at p = 0, falling to 0.
double AcceptanceProbability(const OcPlan& plan, double pPercent);

// The quality accepted with the given probability (0.95: the producer's risk point; 0.10: the
// consumer's), found to better than 1e-9 percent; nullopt when no quality in the model's range
// is accepted that often or that rarely.
std::optional<double> QualityAcceptedWith(const OcPlan& plan, double probability);

struct OcPoint {
    double p = 0;  // percent, or per hundred units
    double pa = 0;
};
// Where acceptance has all but ended: the quality accepted with probability 0.001, or the end of
// the model's range when no quality is accepted that rarely.
double AcceptanceEnd(const OcPlan& plan);

// The smallest of 1, 2, 2.5 and 5 times a power of ten that covers `span` in at most `steps`
// steps: the step of a table or of an axis's ticks.
double RoundStep(double span, int steps);

// Pa at p = 0, step, 2 step, ... up to the first multiple of the step at or beyond `end` (never
// beyond every unit nonconforming).
std::vector<OcPoint> OcCurve(const OcPlan& plan, double step, double end);

}  // namespace velaqm
