#include "inspection/sample_destroy_rules.h"

#include <gtest/gtest.h>

#include "frame/convert.h"

namespace velaqm {
namespace {

TEST(UndestroyedSamplesQuery, TheNumberIsOneQuotedLiteralWhateverItHolds) {
    const std::string head =
        " select a.FID,a.FClassTypeID,b.FEntryID from qmsampling a inner join qmsamplingentry b "
        "on a.FID=b.FID  where a.FCheckerID<>0 and b.FDestoryFlag=0 AND a.FbillNo= ";
    const struct {
        std::string typed;
        std::string literal;
    } cases[] = {
        {"QY-1", "'QY-1'"},
        {"O'Neil", "'O''Neil'"},
        {"x' OR '1'='1", "'x'' OR ''1''=''1'"},
        {"  ", "'  '"},
        {"取样-1", "'取样-1'"},
        {"'; DROP TABLE qmsampling; --", "'''; DROP TABLE qmsampling; --'"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(UndestroyedSamplesQuery(c.typed), head + c.literal) << c.typed;
}

TEST(NamesSamplingRecord, OnlyTheHeadNumberInAnyCase) {
    for (const char* key : {"FSampleNO", "FSampleNo", "fsampleno"})
        EXPECT_TRUE(NamesSamplingRecord(key)) << key;
    for (const char* key : {"FSampleNO_2", "FSampleNo_2", "FSampleID", "FSampleNO ", ""})
        EXPECT_FALSE(NamesSamplingRecord(key)) << key;
}

TEST(SamplingRecordFilter, NamesTheRecordOnlyWhenThereIsOne) {
    const struct {
        Variant sampleId;
        std::string filter;
    } cases[] = {
        {Variant(12), "QMSampling.FID =12"},
        {Variant(std::string("7")), "QMSampling.FID =7"},
        {Variant(0), ""},
        {Variant(), ""},
        {Variant(kNull), ""},
        {Variant(std::string()), ""},
        {Variant(std::string("x' OR 1=1")), ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SamplingRecordFilter(c.sampleId), c.filter) << Text(c.sampleId);
}

}  // namespace
}  // namespace velaqm
