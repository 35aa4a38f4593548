#include "inspection/check_item_rules.h"

#include <gtest/gtest.h>

#include "frame/convert.h"

namespace velaqm {
namespace {

TEST(QtyDecimalOf, TheQuantitativeAnalysisKeepsTwoPlacesAnyOtherNumberNone) {
    const struct {
        Variant method;
        std::int16_t places;
    } cases[] = {
        {Variant(10), 2},   {Variant("10"), 2},  {Variant(" 10 "), 2}, {Variant(10.0), 2},
        {Variant(20), 0},   {Variant(3), 0},     {Variant(0), 0},      {Variant(-10), 0},
        {Variant(10.5), 0}, {Variant("1e1"), 2}, {Variant(true), 0},
    };
    for (const auto& c : cases) {
        const auto places = QtyDecimalOf(c.method);
        ASSERT_TRUE(places.has_value()) << Text(c.method);
        EXPECT_EQ(*places, c.places) << Text(c.method);
    }
}

TEST(QtyDecimalOf, AMethodThatIsNoNumberChangesNothing) {
    for (const Variant& method :
         {Variant(), Variant(kNull), Variant(""), Variant("abc"), Variant("10abc"), Variant("  ")})
        EXPECT_FALSE(QtyDecimalOf(method).has_value()) << Text(method);
}

TEST(ItemDialogData, TheDialogReadsParentGroupIdAndNameInThatOrder) {
    const auto data =
        ItemDialogData({.id = 7, .number = "JC07", .parentNumber = "JC", .name = "酸度"});
    ASSERT_EQ(data.size(), 4u);
    const char* keys[] = {"FParentNumber", "FGroupNumber", "FItemID", "FName"};
    const char* values[] = {"JC", "JC07", "7", "酸度"};
    for (std::size_t i = 0; i < data.size(); ++i) {
        EXPECT_EQ(data[i].key, keys[i]);
        EXPECT_EQ(Text(data[i].value), values[i]) << keys[i];
    }
    EXPECT_EQ(data[2].value.Type(), VarType::Long) << "the ID travels as a 32-bit integer";
}

}  // namespace
}  // namespace velaqm
