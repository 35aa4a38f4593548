#include "host/parts/recordset.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "frame/host_error.h"
#include "tests/support/host_error_of.h"

namespace velaqm::host {
namespace {

using velaqm::testing::HostErrorOf;

// Rows built value by value: GCC 12 under the sanitizers misreads initializer lists of Variants.
template <class... Values>
std::vector<Variant> Row(Values... values) {
    std::vector<Variant> row;
    (row.emplace_back(values), ...);
    return row;
}

ResultRows Result(std::vector<std::string> columns, std::vector<std::vector<Variant>> rows) {
    return ResultRows{std::move(columns), std::move(rows)};
}

HostRecordset TwoBills() {
    std::vector<std::vector<Variant>> rows;
    rows.push_back(Row(16394, "QS001"));
    rows.push_back(Row(kNull, "QS002"));
    return HostRecordset(Result({"FCheckerID", "FBillNo"}, std::move(rows)));
}

TEST(HostRecordset, AnEmptyResultIsAtBothEndsWithNoCurrentRecord) {
    HostRecordset empty({"FID"}, {});
    EXPECT_EQ(empty.State(), Recordset::kStateOpen);
    EXPECT_TRUE(empty.Eof());
    EXPECT_TRUE(empty.Bof());
    EXPECT_EQ(empty.RecordCount(), 0);
    EXPECT_TRUE(empty.HasField("fid"));
    EXPECT_EQ(HostErrorOf([&] { empty.Fields("FID"); }).Number(), kErrNoCurrentRecord);
    EXPECT_EQ(HostErrorOf([&] { empty.MoveFirst(); }).Number(), kErrNoCurrentRecord);
    EXPECT_EQ(HostErrorOf([&] { empty.MoveNext(); }).Number(), kErrNoCurrentRecord);
}

TEST(HostRecordset, WalksTheRowsAndReadsFieldsByNameInAnyCaseOrByIndex) {
    HostRecordset rs = TwoBills();
    EXPECT_FALSE(rs.Bof());
    EXPECT_FALSE(rs.Eof());
    EXPECT_EQ(rs.RecordCount(), 2);
    EXPECT_EQ(rs.FieldCount(), 2);
    EXPECT_EQ(rs.FieldName(1), "FBillNo");
    EXPECT_EQ(rs.Fields("fcheckerid").AsLong(), 16394);
    EXPECT_EQ(rs.Fields(1).AsString(), "QS001");

    rs.MoveNext();
    EXPECT_FALSE(rs.Eof());
    EXPECT_FALSE(rs.Bof());
    EXPECT_TRUE(rs.Fields("FCheckerID").IsNull());
    EXPECT_EQ(rs.Fields("FBILLNO").AsString(), "QS002");

    rs.MoveNext();
    EXPECT_TRUE(rs.Eof());
    EXPECT_FALSE(rs.Bof());
    EXPECT_EQ(HostErrorOf([&] { rs.Fields("FBillNo"); }).Number(), kErrNoCurrentRecord);
    EXPECT_EQ(HostErrorOf([&] { rs.MoveNext(); }).Number(), kErrNoCurrentRecord);

    rs.MoveFirst();
    EXPECT_EQ(rs.Fields("FBillNo").AsString(), "QS001");
}

TEST(HostRecordset, UnknownFieldsAreRefusedWithoutMovingTheRecord) {
    HostRecordset rs = TwoBills();
    EXPECT_FALSE(rs.HasField("FName"));
    EXPECT_EQ(HostErrorOf([&] { rs.Fields("FName"); }).Number(), kErrItemNotFound);
    EXPECT_EQ(HostErrorOf([&] { rs.Fields(2); }).Number(), kErrItemNotFound);
    EXPECT_EQ(HostErrorOf([&] { rs.Fields(-1); }).Number(), kErrItemNotFound);
    EXPECT_EQ(HostErrorOf([&] { rs.FieldName(2); }).Number(), kErrItemNotFound);
    EXPECT_EQ(rs.Fields("FBillNo").AsString(), "QS001");
}

TEST(HostRecordset, EveryReadAfterCloseIsRefusedAsADOClosedObject) {
    HostRecordset rs = TwoBills();
    rs.Close();
    EXPECT_EQ(rs.State(), Recordset::kStateClosed);

    const std::vector<std::pair<const char*, std::function<void()>>> reads = {
        {"Eof", [&] { rs.Eof(); }},
        {"Bof", [&] { rs.Bof(); }},
        {"RecordCount", [&] { rs.RecordCount(); }},
        {"FieldCount", [&] { rs.FieldCount(); }},
        {"FieldName", [&] { rs.FieldName(0); }},
        {"Fields by name", [&] { rs.Fields("FBillNo"); }},
        {"Fields by index", [&] { rs.Fields(0); }},
        {"HasField", [&] { rs.HasField("FBillNo"); }},
        {"MoveFirst", [&] { rs.MoveFirst(); }},
        {"MoveNext", [&] { rs.MoveNext(); }},
        {"Close", [&] { rs.Close(); }},
    };
    for (const auto& [name, read] : reads) {
        SCOPED_TRACE(name);
        const HostError error = HostErrorOf(read);
        EXPECT_EQ(error.Number(), kErrObjectClosed);
        EXPECT_EQ(error.Description(), "Operation is not allowed when the object is closed.");
    }
}

TEST(HostRecordset, RefusesRowsOfTheWrongWidth) {
    std::vector<std::vector<Variant>> rows;
    rows.push_back(Row(1, "a"));
    rows.push_back(Row(2));
    EXPECT_THROW(HostRecordset(Result({"FID", "FName"}, std::move(rows))), std::invalid_argument);
}

}  // namespace
}  // namespace velaqm::host
