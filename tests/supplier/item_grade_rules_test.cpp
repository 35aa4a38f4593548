#include "supplier/item_grade_rules.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace velaqm {
namespace {

TEST(GradeProducts, AProductIsNeitherTheMainItemNorEnteredTwice) {
    const std::vector<std::string> rows = {"5", "1", "5", "6", ""};
    const struct {
        std::string_view mainItem;
        int row;
        ProductRefusal refusal;
    } cases[] = {
        {"1", 2, ProductRefusal::kMainItem}, {"1", 1, ProductRefusal::kRepeated},
        {"1", 3, ProductRefusal::kRepeated}, {"1", 4, ProductRefusal::kNone},
        {"", 2, ProductRefusal::kNone},      {"0", 2, ProductRefusal::kNone},
        {"5", 1, ProductRefusal::kMainItem}, {"1", 5, ProductRefusal::kNone},
        {"1", 0, ProductRefusal::kNone},     {"1", 6, ProductRefusal::kNone},
    };
    for (const auto& c : cases)
        EXPECT_EQ(GradeProductRefusal(c.mainItem, rows, c.row), c.refusal)
            << "main " << c.mainItem << " row " << c.row;
}

TEST(Grades, AGradeOccursOnceAmongTheMainItemAndItsRows) {
    const std::vector<std::string> rows = {"A", "B", "B"};
    EXPECT_TRUE(GradeRepeated("A", "A", {rows.begin(), 1}, 0));
    EXPECT_TRUE(GradeRepeated("B", "", rows, 3));
    EXPECT_TRUE(GradeRepeated("B", "A", rows, 0));
    EXPECT_TRUE(GradeRepeated("A", "A", std::vector<std::string>{"A"}, 1));
    EXPECT_FALSE(GradeRepeated("A", "", std::vector<std::string>{"A"}, 1));
    EXPECT_FALSE(GradeRepeated("C", "A", rows, 0));
    EXPECT_FALSE(GradeRepeated("C", "A", rows, 2));
    EXPECT_FALSE(GradeRepeated("A ", "A", std::vector<std::string>{"A"}, 0));
    EXPECT_FALSE(GradeRepeated("  ", "  ", std::vector<std::string>{"  ", "  "}, 1));
    EXPECT_FALSE(GradeRepeated("", "", rows, 0));
}

TEST(Grades, TheFirstRowNamingTheMainItemIsFound) {
    const std::vector<std::string> rows = {"2", "", "1", "1"};
    EXPECT_EQ(FirstRowNamingMainItem("1", rows), 3);
    EXPECT_EQ(FirstRowNamingMainItem("2", rows), 1);
    EXPECT_EQ(FirstRowNamingMainItem("7", rows), 0);
    EXPECT_EQ(FirstRowNamingMainItem("", rows), 0);
    EXPECT_EQ(FirstRowNamingMainItem("0", std::vector<std::string>{"0"}), 0);
}

TEST(UnitGroups, EverySetUnitOutsideTheGroupIsNamedByItsRow) {
    const std::vector<std::int64_t> group = {1, 2};
    const struct {
        std::vector<std::int64_t> units;
        std::vector<int> rows;
    } cases[] = {
        {{1, 2, 1}, {}}, {{3, 1, 4}, {1, 3}}, {{0, 0, 3}, {3}}, {{}, {}}, {{-1}, {1}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(RowsOutsideUnitGroup(c.units, group), c.rows);
    EXPECT_EQ(RowsOutsideUnitGroup(std::vector<std::int64_t>{1, 0}, {}), std::vector<int>{1});
}

}  // namespace
}  // namespace velaqm
