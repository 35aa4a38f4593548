#include "supplier/item_supply_rules.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "frame/convert.h"
#include "frame/decimal.h"

namespace velaqm {
namespace {

TEST(OrderShares, OnlyAnExactHundredPasses) {
    const std::optional<std::string_view> pass;
    const std::string_view under = "订货比例之和不能小于100";
    const std::string_view over = "订货比例之和不能大于100";
    const struct {
        std::vector<Variant> shares;
        std::optional<std::string_view> refusal;
    } cases[] = {
        {{60, 40}, pass},
        {{100}, pass},
        {{Variant("60"), Variant(39.5)}, under},
        {{60, 41}, over},
        {{Variant(33.3), Variant(33.3), Variant(33.4)}, pass},
        {{Variant(0.1), Variant(0.2), Variant(99.7)}, pass},
        {{Variant(Decimal::Parse("99.9999999999999999999999").value()),
          Variant(Decimal::Parse("0.0000000000000000000001").value())},
         pass},
        {{Variant(Decimal::Parse("99.9999999999999999999999").value())}, under},
        {{Variant(100), Variant(), Variant(""), Variant(kNull)}, pass},
        {{Variant(150), Variant(-50)}, pass},
        {{}, under},
        {{Variant("100.000000000000000000001")}, over},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(OrderShareRefusal(cases[i].shares), cases[i].refusal) << "case " << i;
}

TEST(CheckModes, OnlyTheModeWithoutInspectionNamesNoScheme) {
    EXPECT_TRUE(NeedsNoScheme(352));
    EXPECT_TRUE(NeedsNoScheme("352"));
    EXPECT_FALSE(NeedsNoScheme(351));
    EXPECT_FALSE(NeedsNoScheme(Variant()));
    EXPECT_FALSE(NeedsNoScheme("3520"));
}

TEST(Schemes, ARowWithoutASchemeIsNotLookedUp) {
    EXPECT_EQ(SchemeToCheck(Variant()), std::nullopt);
    EXPECT_EQ(SchemeToCheck(""), std::nullopt);
    EXPECT_EQ(SchemeToCheck(0), std::nullopt);
    EXPECT_EQ(SchemeToCheck("abc"), std::nullopt);
    ASSERT_TRUE(SchemeToCheck("3"));
    EXPECT_EQ(Text(*SchemeToCheck("3")), "3");
    EXPECT_EQ(Text(*SchemeToCheck(2.5)), "2");
}

}  // namespace
}  // namespace velaqm
