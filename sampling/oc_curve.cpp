#include "sampling/oc_curve.h"

#include <algorithm>
#include <cmath>

namespace velaqm {

namespace {

constexpr double kPercent = 100;
constexpr double kCurveEnd = 0.001;   // acceptance has all but ended below this
constexpr double kLargestRate = 1e6;  // nonconformities per hundred units searched up to
constexpr double kPrecision = 1e-9;   // of a risk point, in percent
constexpr int kMaxBisections = 200;

// A sum of positive terms that keeps the low-order bits each addition would drop.
class ExactSum {
  public:
    void Add(double term) {
        const double total = m_sum + term;
        m_carry +=
            std::abs(m_sum) >= std::abs(term) ? (m_sum - total) + term : (term - total) + m_sum;
        m_sum = total;
    }
    double Value() const { return m_sum + m_carry; }

  private:
    double m_sum = 0;
    double m_carry = 0;
};

double LogChoose(double n, double k) {
    return std::lgamma(n + 1) - std::lgamma(k + 1) - std::lgamma(n - k + 1);
}

double Probability(double value) {
    return std::clamp(value, 0.0, 1.0);
}

// P(at most ac of n nonconforming) for a share p of nonconforming units.
double Binomial(int n, int ac, double p) {
    if (ac >= n || p <= 0) return 1;
    if (p >= 1) return 0;
    const double logP = std::log(p);
    const double logQ = std::log1p(-p);
    ExactSum sum;
    for (int d = 0; d <= ac; ++d)
        sum.Add(std::exp(LogChoose(n, d) + d * logP + (n - d) * logQ));
    return Probability(sum.Value());
}

// P(at most ac nonconformities) when n units carry lambda of them on average.
double Poisson(int ac, double lambda) {
    if (lambda <= 0) return 1;
    const double logLambda = std::log(lambda);
    ExactSum sum;
    for (int d = 0; d <= ac; ++d)
        sum.Add(std::exp(-lambda + d * logLambda - std::lgamma(d + 1.0)));
    return Probability(sum.Value());
}

// P(at most ac nonconforming in a sample of n) from a lot of `lot` units of which `defective` are
// nonconforming, drawn without replacement.
double Hypergeometric(std::int64_t lot, int n, int ac, std::int64_t defective) {
    const auto lotSize = static_cast<double>(lot);
    const auto bad = static_cast<double>(defective);
    const std::int64_t first = std::max<std::int64_t>(0, n - (lot - defective));
    const std::int64_t last = std::min<std::int64_t>({ac, defective, n});
    if (first > last) return 0;
    const double logAll = LogChoose(lotSize, n);
    ExactSum sum;
    for (std::int64_t d = first; d <= last; ++d) {
        const auto drawn = static_cast<double>(d);
        sum.Add(std::exp(LogChoose(bad, drawn) + LogChoose(lotSize - bad, n - drawn) - logAll));
    }
    return Probability(sum.Value());
}

// The largest quality the model covers: every unit nonconforming, or a rate no plan accepts.
double ModelEnd(const OcPlan& plan) {
    return plan.model == OcModel::Poisson ? kLargestRate : kPercent;
}

}  // namespace

std::string_view OcModelName(OcModel model) {
    switch (model) {
        case OcModel::Binomial:
            return "binomial";
        case OcModel::Poisson:
            return "poisson";
        case OcModel::Hypergeometric:
            return "hypergeometric";
    }
    return "";
}

OcModel ChooseOcModel(double aql, std::int64_t lot, int n) {
    if (aql > kLargestPercentAql) return OcModel::Poisson;
    if (n >= lot || n * std::int64_t{10} > lot) return OcModel::Hypergeometric;
    return OcModel::Binomial;
}

double AcceptanceProbability(const OcPlan& plan, double pPercent) {
    const double p = std::max(pPercent, 0.0);
    switch (plan.model) {
        case OcModel::Binomial:
            return Binomial(plan.n, plan.ac, p / kPercent);
        case OcModel::Poisson:
            return Poisson(plan.ac, plan.n * p / kPercent);
        case OcModel::Hypergeometric: {
            // The lot holds whole units: between two counts of nonconforming units the curve is
            // drawn straight, so that it stays continuous in p.
            const double defective =
                std::min(p, kPercent) / kPercent * static_cast<double>(plan.lot);
            const auto below = static_cast<std::int64_t>(std::floor(defective));
            const double low = Hypergeometric(plan.lot, plan.n, plan.ac, below);
            if (defective == static_cast<double>(below)) return low;
            const double high = Hypergeometric(plan.lot, plan.n, plan.ac, below + 1);
            return low + (high - low) * (defective - static_cast<double>(below));
        }
    }
    return 0;
}

std::optional<double> QualityAcceptedWith(const OcPlan& plan, double probability) {
    double low = 0;
    double high = plan.model == OcModel::Poisson ? 1.0 : ModelEnd(plan);
    while (AcceptanceProbability(plan, high) >= probability) {
        if (high >= ModelEnd(plan)) return std::nullopt;
        high = std::min(high * 2, ModelEnd(plan));
    }
    if (AcceptanceProbability(plan, low) < probability) return std::nullopt;
    for (int i = 0; i < kMaxBisections && high - low > kPrecision; ++i) {
        const double middle = (low + high) / 2;
        (AcceptanceProbability(plan, middle) >= probability ? low : high) = middle;
    }
    return (low + high) / 2;
}

double AcceptanceEnd(const OcPlan& plan) {
    return QualityAcceptedWith(plan, kCurveEnd).value_or(ModelEnd(plan));
}

double RoundStep(double span, int steps) {
    if (!(span > 0) || !std::isfinite(span) || steps < 1) return 1;
    const double least = span / steps;
    const double power = std::pow(10.0, std::floor(std::log10(least)));
    for (double step : {1.0, 2.0, 2.5, 5.0})
        // A hair of tolerance, so that a span of exactly 20 steps of 0.5 takes 0.5.
        if (step * power * (1 + 1e-12) >= least) return step * power;
    return 10 * power;
}

std::vector<OcPoint> OcCurve(const OcPlan& plan, double step, double end) {
    std::vector<OcPoint> curve;
    if (!(step > 0)) return curve;
    const double last = std::min(end, ModelEnd(plan));
    for (int i = 0;; ++i) {
        const double p = std::min(step * i, ModelEnd(plan));
        curve.push_back({p, AcceptanceProbability(plan, p)});
        if (p >= last * (1 - 1e-12)) break;
    }
    return curve;
}

}  // namespace velaqm
