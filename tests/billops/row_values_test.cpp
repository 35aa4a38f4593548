// The repeated-entry rules: which other row already holds a value, and whether any two do.
#include "billops/row_values.h"

#include <gtest/gtest.h>

namespace velaqm {
namespace {

TEST(RowValues, TheFirstOtherRowHoldingTheValueIsNamed) {
    const std::vector<std::string> rows{"12", "", "7", "12", "x"};
    const struct {
        int row;
        std::string_view value;
        std::optional<int> holder;
    } cases[] = {
        {1, "12", 4},  // the changed row itself does not count
        {4, "12", 1},
        {3, "7", std::nullopt},
        {6, "7", 3},               // a row past the last
        {2, "", std::nullopt},     // an empty value is never repeated
        {5, "X", std::nullopt},    // exact text: letter case counts
        {5, "12 ", std::nullopt},  // and so do blanks
    };
    for (const auto& c : cases)
        EXPECT_EQ(OtherRowHolding(rows, c.row, c.value), c.holder)
            << "row " << c.row << " value '" << c.value << "'";
}

TEST(RowValues, ARepeatIsTwoEqualValuesWhereverTheyStand) {
    using Rows = std::vector<std::string>;
    EXPECT_FALSE(HasRepeatedValue(Rows{}));
    EXPECT_FALSE(HasRepeatedValue(Rows{"1", "", "", "2"}));
    EXPECT_FALSE(HasRepeatedValue(Rows{"a", "A"}));
    EXPECT_TRUE(HasRepeatedValue(Rows{"1", "", "", "1"}));
    EXPECT_TRUE(HasRepeatedValue(Rows{"3", "1", "2", "4", "5", "6", "6"}));
}

}  // namespace
}  // namespace velaqm
