// The substitute's supply-quality rate: what passed of what a supplier delivered in a period,
// from the demo year of purchase orders and receipts, and -1 for no supply.
#include <gtest/gtest.h>

#include "frame/host_error.h"
#include "frame/host_services.h"
#include "frame/platform.h"
#include "tests/support/session_fixture.h"

namespace velaqm {
namespace {

class SupplyQualityTest : public testing::SessionTest {
  protected:
    static double Score(int supplier, const Variant& begin, const Variant& end) {
        DictionaryPtr period = NewDictionary();
        period->SetItem("SupID", supplier);
        period->SetItem("BDate", begin);
        period->SetItem("EDate", end);
        return CreateObject<DataUpDate>(progid::kDataUpDate)->score("", period);
    }
};

TEST_F(SupplyQualityTest, TheRateIsWhatPassedOfWhatWasCheckedInThePeriod) {
    const Variant begin(Date(2026, 1, 1));
    const Variant end(Date(2026, 12, 31));
    // 950 + 20 conceded, 1500 and 900 + 30 conceded of 3,500 checked.
    EXPECT_DOUBLE_EQ(Score(1, begin, end), 3400.0 / 3500.0);
    // 500 of 500 received, and 100 stocked without a receipt.
    EXPECT_DOUBLE_EQ(Score(2, begin, end), 1.0);
    // The first and last day of the period count whole.
    EXPECT_DOUBLE_EQ(Score(1, Variant(Date(2026, 6, 25)), Variant(Date(2026, 10, 30))),
                     2430.0 / 2500.0);
    EXPECT_DOUBLE_EQ(Score(3, Variant(Date(2025, 1, 1)), Variant(Date(2025, 12, 31))), 0.95);
}

TEST_F(SupplyQualityTest, NoSupplyIsMinusOneAndABadPeriodAnError) {
    EXPECT_EQ(Score(3, Variant(Date(2026, 1, 1)), Variant(Date(2026, 12, 31))), -1);
    EXPECT_EQ(Score(99, Variant(Date(2026, 1, 1)), Variant(Date(2026, 12, 31))), -1);
    EXPECT_EQ(Score(1, Variant(Date(2026, 12, 31)), Variant(Date(2026, 1, 1))), -1);
    EXPECT_THROW(Score(1, Variant("not a date"), Variant(Date(2026, 12, 31))), HostError);
}

}  // namespace
}  // namespace velaqm
