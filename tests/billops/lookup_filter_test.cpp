// Lookup filters: finding the place-holders, the literal and mode rule, and expansion over the
// fields of an open bill.
#include "billops/lookup_filter.h"

#include <map>

#include <gtest/gtest.h>

#include "host/bill_form.h"
#include "tests/billops/source_bill_fixture.h"

namespace velaqm {
namespace {

TEST(ExtractFieldCallsTest, FindsEachPlaceHolderInOrderWhateverItsLetterCase) {
    struct Case {
        const char* filter;
        std::vector<std::string> calls;
    };
    const Case cases[] = {
        {"", {}},
        {"FStatus = 1", {}},
        {"FItemID = GetFldValue(FItemID,0)", {"GetFldValue(FItemID,0)"}},
        {"a=getfldvalue(A, 1) and b=GETFLDVALUE(B,0) or c=GetFldValue(A, 1)",
         {"getfldvalue(A, 1)", "GETFLDVALUE(B,0)", "GetFldValue(A, 1)"}},
        // An unclosed place-holder is none.
        {"x = GetFldValue(FItemID,0", {}},
        {"GetFldValue()", {"GetFldValue()"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ExtractFieldCalls(c.filter), c.calls) << c.filter;
}

TEST(FieldLiteralTest, LiteralAndModeDecideWhatThePlaceHolderBecomes) {
    struct Case {
        int valueType;
        Variant raw;
        int mode;
        std::optional<std::string> text;
    };
    const Case cases[] = {
        // Numbers: filled unless 0.
        {56, Variant(12), 0, "12"},
        {106, Variant("3.50"), 1, "3.5"},
        {104, Variant(""), 0, "0 or 1=1"},
        {48, Variant("0"), 1, std::nullopt},
        {52, Variant(), 2, "0"},
        // Dates: quoted year/month/day, NULL when empty or not a date.
        {61, Variant("2009-09-30 08:15:00"), 0, "'2009/09/30'"},
        {189, Variant(Date(2010, 1, 2)), 1, "'2010/01/02'"},
        {61, Variant(" "), 0, "NULL or 1=1"},
        {61, Variant("someday"), 1, std::nullopt},
        {189, Variant(""), 7, "NULL"},
        // Text: trimmed and quoted with its quotes doubled.
        {200, Variant("  B01 "), 0, "'B01'"},
        {131, Variant("x' OR '1'='1"), 0, "'x'' OR ''1''=''1'"},
        {200, Variant(""), 0, "'' or 1=1"},
        {3, Variant(""), 1, std::nullopt},
    };
    for (const Case& c : cases) {
        const FieldLiteral literal = MakeFieldLiteral(ValueKindOf(c.valueType), c.raw);
        EXPECT_EQ(PlaceholderText(literal, c.mode), c.text)
            << c.valueType << " " << Text(c.raw) << " mode " << c.mode;
    }
}

TEST(ExpandFilterTextTest, ReplacesEveryOccurrenceDropsOrSelectsNothing) {
    const std::map<std::string, FieldReading> fields{
        {"FItemID", {56, Variant(7)}},
        {"FEmpty", {56, Variant("")}},
        {"FBatch", {200, Variant("B1")}},
        {"FDate", {61, Variant("2009-01-05")}},
        {"FTrick", {200, Variant("GetFldValue(FItemID,0)")}},
    };
    const FieldReader read = [&](std::string_view key) -> std::optional<FieldReading> {
        const auto found = fields.find(std::string(key));
        return found == fields.end() ? std::nullopt : std::optional(found->second);
    };
    struct Case {
        const char* filter;
        const char* expanded;
    };
    const Case cases[] = {
        {"  FStatus = 1 ", "FStatus = 1"},
        {"   ", ""},
        {"FItemID = GetFldValue(FItemID,0) AND v1.FItemID = getfldvalue(FItemID,0)",
         "FItemID = 7 AND v1.FItemID = 7"},
        {"FItemID = GetFldValue(FEmpty,0)", "FItemID = 0 or 1=1"},
        {"FItemID = GetFldValue(FEmpty,1) AND FBatchNo = GetFldValue(FBatch,0)", ""},
        {"FDate >= GetFldValue(FDate, 0)", "FDate >= '2009/01/05'"},
        // A value holding place-holder text stays a quoted literal.
        {"FNote = GetFldValue(FTrick,0) AND FItemID = GetFldValue(FItemID,0)",
         "FNote = 'GetFldValue(FItemID,0)' AND FItemID = 7"},
        // A place-holder that names no field, or has no mode, selects nothing.
        {"FItemID = GetFldValue(FNoSuch,0)", "1=0"},
        {"FItemID = GetFldValue(FItemID)", "1=0"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ExpandFilterText(c.filter, read), c.expanded) << c.filter;
}

class ExpandFilterTest : public testing::SourceBillTest {};

TEST_F(ExpandFilterTest, ReadsTheHeadFieldsOfTheOpenBill) {
    host::BillForm& bill = OpenTarget();
    bill.SetValueByKey("FSupplyID", 2, -1);
    bill.SetValueByKey("FDate", "2009-09-03", -1);
    DictionaryPtr lookup = ReqBillLookup(
        "v1.FSupplyID = GetFldValue(FSupplyID,0) AND v1.FBillNo = GetFldValue(FReqBillNo,1)");
    EXPECT_EQ(ExpandFilter(lookup, bill), "");

    lookup->SetItem("FFilter",
                    "v1.FSupplyID = GetFldValue(FSupplyID,0) AND v1.FDate <= "
                    "GetFldValue(FDate,0) AND v1.FBillNo = GetFldValue(FReqBillNo,0)");
    EXPECT_EQ(ExpandFilter(lookup, bill),
              "v1.FSupplyID = 2 AND v1.FDate <= '2009/09/03' AND v1.FBillNo = '' or 1=1");
    // An entry field has no value in the head: its place-holder selects nothing.
    lookup->SetItem("FFilter", "u1.FBatchNo = GetFldValue(FBatchNo,0)");
    EXPECT_EQ(ExpandFilter(lookup, bill), "1=0");
    EXPECT_EQ(Text(GetFieldValue(bill, "FSupplyID", 0)), "2");
    EXPECT_TRUE(GetFieldValue(bill, "FSupplyID", -1).IsEmpty());
}

}  // namespace
}  // namespace velaqm
