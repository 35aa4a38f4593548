// The subsystem a supplier-quality log entry is written under decides its code, and only
// purchasing and quality write one.
#include "supplier/supplier_log.h"

#include <gtest/gtest.h>

namespace velaqm {
namespace {

TEST(SupplierLog, OnlyPurchasingAndQualityHaveACode) {
    constexpr LogCodes codes{.purchasing = "K206029", .quality = "QM008002"};
    const struct {
        const char* subId;
        std::string_view code;
    } cases[] = {
        {"cg", "K206029"}, {"CG", "K206029"}, {"qm", "QM008002"}, {"Qm", "QM008002"},
        {"", ""},          {"ic", ""},        {"cg ", ""},        {"qmx", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(LogCodeFor(c.subId, codes), c.code) << '"' << c.subId << '"';
}

}  // namespace
}  // namespace velaqm
