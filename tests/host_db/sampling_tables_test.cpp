// The sampling tables of the seeded database against data/single_sampling_plans.csv, a
// transcription other than the one the seed was made from, with every arrow already followed:
// a slip in the seed's arrows, Ac/Re or letters shows up as a plan the code-letter query gets
// wrong. (scripts/gen_sampling_tables.py writes both files and refuses when they disagree.)
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "frame/convert.h"
#include "host/db/database.h"
#include "sampling/code_letter_plan.h"
#include "tests/support/build_paths.h"

namespace velaqm::host {
namespace {

// The lot-size ranges and their code letters, levels in the order of kLevels.
struct LotRange {
    int low;
    std::optional<int> up;  // none: the open last range
    const char* letters;
};
constexpr const char* kLevels[] = {"S1", "S2", "S3", "S4", "C1", "C2", "C3"};
const LotRange kRanges[] = {
    {2, 8, "AAAAAAB"},          {9, 15, "AAAAABC"},          {16, 25, "AABBBCD"},
    {26, 50, "ABBCCDE"},        {51, 90, "BBCCCEF"},         {91, 150, "BBCDDFG"},
    {151, 280, "BCDEEGH"},      {281, 500, "BCDEFHJ"},       {501, 1200, "CCEFGJK"},
    {1201, 3200, "CDEGHKL"},    {3201, 10000, "CDFGJLM"},    {10001, 35000, "CDFHKMN"},
    {35001, 150000, "DEGJLNP"}, {150001, 500000, "DEGJMPQ"}, {500001, std::nullopt, "DEHKNQR"},
};

struct Strictness {
    const char* ygd;
    const char* name;  // as in the data file
};
const Strictness kStrictness[] = {
    {"YGD01", "normal"}, {"YGD02", "tightened"}, {"YGD03", "reduced"}};

// What the plug-in takes for the lot size of the open range.
constexpr std::int64_t kOpenLot = 9999999;

struct Plan {
    std::int64_t n, ac, re;
};

struct Plans {
    std::vector<std::string> aqls;  // as the tables print them, in table order
    std::map<std::string, Plan> byKey;

    static std::string Key(const std::string& strictness, char code, const std::string& aql) {
        return strictness + "," + code + "," + aql;
    }
};

Plans ReadPlans() {
    const std::filesystem::path file =
        std::filesystem::path(VELAQM_HOST_DB_DATA) / "single_sampling_plans.csv";
    std::ifstream in(file);
    if (!in) throw std::runtime_error("cannot read " + file.string());
    Plans plans;
    std::string line;
    std::getline(in, line);  // header
    while (std::getline(in, line)) {
        std::vector<std::string> f;
        std::stringstream fields(line);
        for (std::string field; std::getline(fields, field, ',');)
            f.push_back(field);
        if (f.size() != 6) throw std::runtime_error("bad line: " + line);
        const std::string& aql = f[2];
        if (f[0] == "normal" && f[1] == "A") plans.aqls.push_back(aql);
        plans.byKey[f[0] + "," + f[1] + "," + aql] = {std::stoll(f[3]), std::stoll(f[4]),
                                                      std::stoll(f[5])};
    }
    return plans;
}

std::string Cell(const Variant& value) {
    return value.IsNull() ? "NULL" : Text(value);
}

std::size_t Column(const ResultSet& result, const std::string& name) {
    for (std::size_t i = 0; i < result.columns.size(); ++i)
        if (result.columns[i] == name) return i;
    throw std::runtime_error("no column " + name);
}

class SamplingTables : public ::testing::Test {
  protected:
    void SetUp() override {
        const auto seeded = velaqm::testing::SeedDatabase();
        ASSERT_TRUE(std::filesystem::exists(seeded)) << "no seeded database at " << seeded;
        db = std::make_unique<Database>(seeded, OpenMode::kReadOnly);
        plans = ReadPlans();
        ASSERT_EQ(plans.aqls.size(), 26u);
    }
    std::unique_ptr<Database> db;
    Plans plans;
};

// Per level, strictness and AQL, one batch; per lot-size range of it, the sample quantity the
// plug-in writes (the whole lot when the sample would not be smaller, the open range counting
// as kOpenLot) and the Ac/Re, against the transcription's plan treated the same way. Rows are
// compared in order: the plug-in pairs them with its grid by position.
TEST_F(SamplingTables, CodeLetterQueryGivesTheStandardPlanForEveryLotLevelStrictnessAndAql) {
    for (std::size_t level = 0; level < std::size(kLevels); ++level) {
        for (const Strictness& strictness : kStrictness) {
            for (const std::string& aql : plans.aqls) {
                const std::string what =
                    std::string(kLevels[level]) + " " + strictness.name + " AQL " + aql;
                SCOPED_TRACE(what);
                std::string expected, actual;
                for (const LotRange& range : kRanges) {
                    const char code = range.letters[level];
                    const auto plan = plans.byKey.find(Plans::Key(strictness.name, code, aql));
                    ASSERT_NE(plan, plans.byKey.end()) << code;
                    const std::int64_t lot = range.up.value_or(kOpenLot);
                    const std::int64_t n = lot < plan->second.n ? lot : plan->second.n;
                    expected += (range.up ? std::to_string(*range.up) : "NULL") + "|" + code + "|" +
                                std::to_string(n) + "|" + std::to_string(plan->second.ac) + "|" +
                                std::to_string(plan->second.re) + "\n";
                }
                ResultSet result;
                try {
                    result = db->Execute(
                        CodeLetterPlanSql(kLevels[level], strictness.ygd, AqlToken(aql)));
                } catch (const std::exception& e) {
                    ADD_FAILURE() << e.what();
                    continue;
                }
                const std::size_t lotCol = Column(result, "FLotSize"),
                                  codeCol = Column(result, "FCode"),
                                  sampleCol = Column(result, "FSampleQty"),
                                  acCol = Column(result, "FACQty"),
                                  reCol = Column(result, "FREQty");
                for (const auto& row : result.rows) {
                    std::string sample = Cell(row[sampleCol]);
                    if (!row[sampleCol].IsNull()) {
                        const std::optional<std::int64_t> lot =
                            row[lotCol].IsNull() ? std::nullopt
                                                 : std::optional(WholeNumber(row[lotCol]));
                        sample = std::to_string(SampleQuantity(lot, WholeNumber(row[sampleCol])));
                    }
                    actual += Cell(row[lotCol]) + "|" + Cell(row[codeCol]) + "|" + sample + "|" +
                              Cell(row[acCol]) + "|" + Cell(row[reCol]) + "\n";
                }
                EXPECT_EQ(actual, expected);
            }
        }
    }
}

// No plan query row shows the lower bounds, so the whole table is checked here.
TEST_F(SamplingTables, LetterTableHoldsTheLotSizeRanges) {
    std::string expected;
    for (std::size_t i = 0; i < std::size(kRanges); ++i) {
        expected += std::to_string(i + 1) + "|" + std::to_string(kRanges[i].low) + "|" +
                    (kRanges[i].up ? std::to_string(*kRanges[i].up) : "NULL");
        for (char code : std::string(kRanges[i].letters))
            expected += std::string("|") + code;
        expected += "\n";
    }
    std::string actual;
    for (const auto& row :
         db->Execute("select FID,FLow,FUp,FS1,FS2,FS3,FS4,FC1,FC2,FC3 from QMSampleLetter "
                     "order by FID")
             .rows) {
        for (std::size_t i = 0; i < row.size(); ++i) {
            // Not ("|" or "") + string&&: GCC 12 -O3 warns falsely (-Wrestrict) on that.
            if (i) actual += '|';
            actual += Cell(row[i]);
        }
        actual += "\n";
    }
    EXPECT_EQ(actual, expected);
}

// The plug-in shows a cell's text and reads its numbers: the two must be the same plan, and an
// empty cell must have no numbers at all.
TEST_F(SamplingTables, CellTextsAgreeWithTheirNumbers) {
    std::string columns;
    for (const std::string& aql : plans.aqls) {
        const std::string v = AqlToken(aql);
        columns += ",vq.F" + v + "_AC_RE,q.FAQL_" + v + "_AC,q.FAQL_" + v + "_RE";
    }
    const ResultSet result = db->Execute("SELECT q.FYGD,q.FCode" + columns +
                                         " FROM vw_QM105E vq INNER JOIN QM105E q ON "
                                         "q.FID=vq.FID ORDER BY q.FID");
    ASSERT_EQ(result.rows.size(), 16u + 17u + 16u);
    int empty = 0;
    for (const auto& row : result.rows) {
        for (std::size_t i = 0; i < plans.aqls.size(); ++i) {
            SCOPED_TRACE(Text(row[0]) + " " + Text(row[1]) + " AQL " + plans.aqls[i]);
            const std::string text = Cell(row[2 + 3 * i]);
            const std::string numbers = Cell(row[3 + 3 * i]) + " " + Cell(row[4 + 3 * i]);
            if (text == "↓" || text == "↑") {
                EXPECT_EQ(numbers.find("NULL"), std::string::npos) << numbers;
            } else if (text.empty()) {
                EXPECT_EQ(numbers, "NULL NULL");
                ++empty;
            } else {
                EXPECT_EQ(text, numbers);
            }
        }
    }
    EXPECT_EQ(empty, 25);  // the tightened letter S has a plan under one AQL only
}

// The AQL values a sampling standard bill offers are the ones tested above, numbered as
// printed, so that the plug-in finds its columns for each.
TEST_F(SamplingTables, AqlValuesAreQualityDataInTableOrder) {
    std::string expected;
    int id = 25;
    for (const std::string& aql : plans.aqls) {
        if (id == 50) ++id;  // the code-letter sampling method's
        expected += std::to_string(id++) + "|" + aql + "|" + aql + "\n";
    }
    std::string actual;
    for (const auto& row :
         db->Execute("select FID,FNumber,FName from QMAInfo where FClassTypeID=1001303 order "
                     "by FID")
             .rows)
        actual += Cell(row[0]) + "|" + Cell(row[1]) + "|" + Cell(row[2]) + "\n";
    EXPECT_EQ(actual, expected);
}

}  // namespace
}  // namespace velaqm::host
