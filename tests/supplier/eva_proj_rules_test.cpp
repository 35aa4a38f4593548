// The weights of a supplier evaluation project: each item's weight above 0, all of them adding up
// to exactly 100 in decimals; and the share of the total mark a weight gives.
#include "supplier/eva_proj_rules.h"

#include <gtest/gtest.h>

#include <vector>

namespace velaqm {
namespace {

std::vector<WeightRow> Rows(std::initializer_list<std::pair<const char*, const char*>> rows) {
    std::vector<WeightRow> result;
    for (const auto& [item, weight] : rows)
        result.push_back({item, *weight ? Decimal::Parse(weight) : std::nullopt});
    return result;
}

TEST(EvaProjRules, WeightsOfTheItemsMustBePositiveAndAddUpToExactly100) {
    using enum WeightProblem;
    const struct {
        std::vector<WeightRow> rows;
        std::optional<WeightProblem> problem;
    } cases[] = {
        {Rows({{"1", "30"}, {"2", "30"}, {"3", "40"}}), std::nullopt},
        {Rows({{"1", "33.3"}, {"2", "33.3"}, {"3", "33.4"}}), std::nullopt},
        {Rows({{"1", "33.33"}, {"2", "33.33"}, {"3", "33.34"}}), std::nullopt},
        {Rows({{"1", "100"}}), std::nullopt},
        // Rows without an item do not count, whatever weight they hold.
        {Rows({{"1", "60"}, {"", "25"}, {"", ""}, {"2", "40"}}), std::nullopt},
        {Rows({{"1", "30"}, {"2", "30"}, {"3", "39.99"}}), kNotWhole},
        {Rows({{"1", "30"}, {"2", "30"}, {"3", "40.0000000001"}}), kNotWhole},
        {Rows({}), kNotWhole},
        // An item without a weight, or with 0, is refused even when the rest add up.
        {Rows({{"1", "100"}, {"2", "0"}}), kNotPositive},
        {Rows({{"1", "100"}, {"2", ""}}), kNotPositive},
        {Rows({{"1", "0.00"}, {"2", "100"}}), kNotPositive},
        // So is a negative weight that would make the others add up.
        {Rows({{"1", "60"}, {"2", "50"}, {"3", "-10"}}), kNotPositive},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(FirstWeightProblem(cases[i].rows), cases[i].problem) << "case " << i;
}

TEST(EvaProjRules, AWeightIsItsShareOfTheTotalMarkUnrounded) {
    EXPECT_DOUBLE_EQ(ShareOfWeight(100, 25), 25);
    EXPECT_DOUBLE_EQ(ShareOfWeight(80, 25), 20);
    EXPECT_DOUBLE_EQ(ShareOfWeight(80, 33.3), 26.64);
    EXPECT_DOUBLE_EQ(ShareOfWeight(0, 50), 0);
}

}  // namespace
}  // namespace velaqm
