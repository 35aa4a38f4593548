// The SQL Server dialect end to end: whatever translates runs on a fresh in-memory database
// seeded with a few tables, through the same Database::Execute the host's connection uses, with
// the SQL Server functions registered. SQLite's own limits keep one input from running away:
// no attached files, short texts, a bounded number of steps per input.
#include <sqlite3.h>

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "frame/host_error.h"
#include "host/db/database.h"

namespace {

constexpr std::string_view kSeed = R"(
CREATE TABLE QMClientServiceLog (FID INTEGER PRIMARY KEY, FBillNo VARCHAR(50), FDate DATETIME,
    FCheckerID INT, FNote NVARCHAR(255), FAmount DECIMAL(28,10));
CREATE TABLE QMAInfo (FInterID INT, FTypeID INT, FNumber VARCHAR(80), FName NVARCHAR(255));
CREATE TABLE t_BillMutex (FClassTypeID INT, FBillID INT, FUserID INT);
INSERT INTO QMClientServiceLog VALUES (1, 'KF000001', '2009-10-01 00:00:00', NULL, 'first', 1.5);
INSERT INTO QMClientServiceLog VALUES (2, 'KF000002', '2024-02-29 13:45:00', 16394, NULL, 0);
INSERT INTO QMAInfo VALUES (1, 1001300, 'YGD01', '正常检验'), (14, 1001314, 'HG', NULL);
)";

int g_steps = 0;
constexpr int kStepLimit = 2000;  // progress callbacks, each 1000 virtual machine steps

int StopRunaway(void*) {
    return ++g_steps > kStepLimit ? 1 : 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view sql(reinterpret_cast<const char*>(data), size);
    velaqm::host::Database db(":memory:");
    db.ExecuteNative(kSeed);
    db.SetClock([] { return *velaqm::Date::Parse("2024-03-01 08:30:00"); });
    sqlite3* handle = db.GetConnection().Handle();
    sqlite3_limit(handle, SQLITE_LIMIT_ATTACHED, 0);
    sqlite3_limit(handle, SQLITE_LIMIT_LENGTH, 1 << 20);
    g_steps = 0;
    sqlite3_progress_handler(handle, 1000, StopRunaway, nullptr);
    try {
        (void)db.Execute(sql);
    } catch (const velaqm::HostError&) {
    }
    return 0;
}
