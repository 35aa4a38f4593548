#include "inspection/quality_accident_rules.h"

#include <gtest/gtest.h>

#include "frame/convert.h"

namespace velaqm {
namespace {

std::string OperationsOf(std::string_view routing) {
    return "FInterID in (SELECT FOperID FROM t_routingoper  WHERE FInterID= " +
           std::string(routing) + ")";
}

TEST(WorkProcessFilter, NoRoutingLiftsTheFilter) {
    EXPECT_EQ(WorkProcessFilter(Variant()), "");
    EXPECT_EQ(WorkProcessFilter(Variant(NullValue{})), "");
    EXPECT_EQ(WorkProcessFilter(Variant("")), "");
}

TEST(WorkProcessFilter, ARoutingNamesItsWholeInternalId) {
    const struct {
        Variant routing;
        std::string id;
    } cases[] = {
        {Variant(12), "12"},   {Variant("12"), "12"},
        {Variant(" 7 "), "7"}, {Variant(12.5), "12"},
        {Variant(13.5), "14"}, {Variant(0), "0"},
        {Variant(-3), "-3"},   {Variant(2147483647), "2147483647"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(WorkProcessFilter(c.routing), OperationsOf(c.id)) << Text(c.routing);
}

// Text that is no number, or a number no routing ID can be, names routing 0: no operation.
TEST(WorkProcessFilter, AnUnreadableRoutingOffersNoOperation) {
    for (const char* routing : {"x' OR '1'='1", "12abc", "12) OR (1=1", "  ", "工艺", "2147483648",
                                "1e300", "-2147483649"})
        EXPECT_EQ(WorkProcessFilter(Variant(routing)), OperationsOf("0")) << routing;
    EXPECT_EQ(WorkProcessFilter(Variant(1e12)), OperationsOf("0"));
}

}  // namespace
}  // namespace velaqm
