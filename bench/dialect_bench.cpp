// Cost of the SQL Server dialect: translating each shape of statement the plug-ins send (what a
// first Execute of a new text pays), and what a cached Execute adds to SQLite's own work.
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <array>
#include <string>

#include "host/db/database.h"
#include "host/db/dialect.h"

namespace {

using velaqm::host::Database;

const std::array<std::string, 10> kShapes = {
    "select FCheckerID,FBillNo as FBillNo from qmsampling where FID=1",
    "select  top 1 FTableName from ICClassTypeEntry where FParentID=1001906\r\n and ((FIndex = 2 "
    "and "
    "FEntryType = 0) or FIndex = 1 ) order by FIndex desc ",
    "select FSampleNo from qmsamplingentry where FSaveDT < "
    "CONVERT(DATETIME,CONVERT(CHAR(10),GETDATE(),120),120) "
    "AND FEntryID=12",
    " select a.FInterID ,a.FTrantype 'FClassTypeID',b.FIdentity from IcqcScheme a inner join "
    "IcqcSchemeEntry b "
    "on a.FinterID=b.FInterID Where a.FStatus=1 AND GetDate() BETWEEN a.FValidDate AND "
    "a.FInValidDate AND "
    "a.FBillNO = 'QC001'",
    "UPDATE u \r\nSET FSampQty=CASE WHEN u.FSampQty<=0 THEN NULL ELSE u.FSampQty "
    "END\r\n,FACqty1=CASE WHEN "
    "u.FSampQty<=0 THEN NULL ELSE u.FACqty1 END\r\nFROM QMSampStdEntry u\r\nINNER JOIN QMSampStd v "
    "ON "
    "v.FID=u.FID\r\n WHERE v.FSampMethodID= 50 AND u.FID =7\r\n",
    "SET NOCOUNT ON\r\nCREATE TABLE #Standard(\r\n     FLotSize INT,\r\n     FCode VARCHAR(2),\r\n "
    "    FSampleQty "
    "INT,\r\n     FREQty INT,\r\n     FACQty INT)\r\nINSERT INTO "
    "#Standard(FSampleQty,FCode,FLotSize,FReQty,FAcQty)\r\n"
    "SELECT (CASE WHEN vq.F0_65_AC_RE='↓' THEN (SELECT TOP 1 q1.FSample FROM vw_QM105E vq1 INNER "
    "JOIN QM105E q1 "
    "ON q1.FID=vq1.FID WHERE q1.FYGD='YGD01' AND vq1.F0_65_AC_RE<>'↓' AND vq1.F0_65_AC_RE<>'↑' AND "
    "q1.FCode>t.FNewCode  ORDER BY q1.FSample ASC,q1.FCode ASC)\r\n             WHEN "
    "vq.F0_65_AC_RE='↑' OR "
    "vq.F0_65_AC_RE='' THEN (SELECT TOP 1 vq1.FSample FROM vw_QM105E vq1 INNER JOIN QM105E q1 ON "
    "q1.FID=vq1.FID WHERE q1.FYGD='YGD01' AND vq1.F0_65_AC_RE<>'↓' AND vq1.F0_65_AC_RE<>'↑' AND "
    "q1.FCode<t.FNewCode ORDER BY q1.FSample DESC ,q1.FCode DESC)\r\n        Else q.FSample END) "
    "AS "
    "FSampleQty,t.FNewCode ,t.FUp AS FLotSize,FAQL_0_65_RE,FAQL_0_65_AC\r\nFROM vw_QM105E "
    "vq\r\nINNER JOIN QM105E q "
    "ON q.FID=vq.FID\r\nINNER JOIN (SELECT  FC2 AS FNewCode,FID,FUp FROM QMSampleLetter) t ON "
    "t.FNewCode=q.FCode\r\nWHERE q.FYGD='YGD01'\r\nSELECT * FROM #Standard\r\nDROP TABLE #Standard",
    "select sum(t1.FQtyPass + t1.FConPassQty) as PassQty,sum(t1.FQCheckQty) as CheckQty\r\nfrom "
    "POInStockentry t1 "
    "INNER JOIN\r\nPOInStock t2 on t1.FInterID=t2.FInterID and t2.FTranType=702 \r\nWHERE "
    "t1.FQCheckQty > 0 AND "
    "t2.FSupplyID = 7 And t1.FItemID = 1 \r\n AND "
    "convert(datetime,convert(varchar(30),t2.FDate,111)) "
    ">='2024-03-01'\r\n AND convert(datetime,convert(varchar(30),t2.FDate,111)) <='2024-03-10'\r\n",
    " select (case when w1.FNotPassQty - isnull((u1.FAuxNotPassQty-u1.FAuxCommitQty),0) < 0 then "
    "w1.FNotPassQty "
    "\r\n else isnull((u1.FAuxNotPassQty-u1.FAuxCommitQty),0) end) as FRejectQtyTmp \r\n from "
    "POInStockEntry u1 "
    "inner join POInStock v1\r\n on v1.FInterID=u1.FInterID and  v1.FTranType=702 AND "
    "v1.FCancellation=0 inner "
    "join ICQCBill w1\r\n on w1.FInStockInterID = u1.FInterID and w1.FSerialID = u1.FEntryID and "
    "w1.FCancellation=0 and \r\n v1.finterid =41  and w1.finterid = 61",
    "select count(*) ct from icqcscheme where fisvalid=1 and  getdate() between FvalidDate and "
    "FInvalidDate and "
    "finterid=31",
    "select a.FBillNo + '-' + b.FSampleNo AS FName, a.FQty / b.FQty, avg(b.FQty) from qmsampling a "
    "(NOLOCK) inner join qmsamplingentry b WITH (NOLOCK) on a.FID = b.FID where isnull(a.FNote, "
    "'') "
    "= 'x' and datepart(dw, a.FDate) = 1 group by a.FBillNo, b.FSampleNo, a.FQty, b.FQty",
};
const std::array<const char*, 10> kShapeNames = {
    "plain",  "top",    "convert_getdate", "string_alias", "update_from", "temp_table_batch",
    "period", "isnull", "count_alias",     "arithmetic"};

void BM_TranslateShape(benchmark::State& state) {
    const std::string& sql = kShapes[static_cast<std::size_t>(state.range(0))];
    velaqm::host::SchemaInfo schema;
    schema.AddColumn("POInStock", "FDate", "DATETIME");
    schema.AddColumn("qmsamplingentry", "FQty", "INTEGER");
    for (auto _ : state)
        benchmark::DoNotOptimize(velaqm::host::TranslateBatch(sql, schema));
    state.SetLabel(kShapeNames[static_cast<std::size_t>(state.range(0))]);
}
BENCHMARK(BM_TranslateShape)->DenseRange(0, static_cast<int>(kShapes.size()) - 1);

constexpr const char* kQuery = "select FCheckerID,FBillNo as FBillNo from qmsampling where FID=1";

void Seed(Database& db) {
    db.ExecuteNative(
        "CREATE TABLE qmsampling (FID INTEGER PRIMARY KEY, FBillNo TEXT, FCheckerID INTEGER, FDate "
        "DATETIME);"
        "INSERT INTO qmsampling VALUES (1, 'QS001', 16394, '2024-03-01 00:00:00'), (2, 'QS002', 0, "
        "NULL);");
}

// A first Execute of a text: translation, preparation and the run.
void BM_ExecuteUncached(benchmark::State& state) {
    Database db(":memory:");
    Seed(db);
    for (auto _ : state) {
        db.ClearCaches();
        benchmark::DoNotOptimize(db.Execute(kQuery));
    }
}
BENCHMARK(BM_ExecuteUncached);

// Execute of a text seen before: the translation and the prepared statement are reused.
void BM_ExecuteCached(benchmark::State& state) {
    Database db(":memory:");
    Seed(db);
    for (auto _ : state)
        benchmark::DoNotOptimize(db.Execute(kQuery));
}
BENCHMARK(BM_ExecuteCached);

// SQLite alone: prepare, step, read both columns, finalize.
void BM_RawPrepareAndStep(benchmark::State& state) {
    Database db(":memory:");
    Seed(db);
    sqlite3* handle = db.GetConnection().Handle();
    for (auto _ : state) {
        sqlite3_stmt* stmt = nullptr;
        sqlite3_prepare_v2(handle, kQuery, -1, &stmt, nullptr);
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            benchmark::DoNotOptimize(sqlite3_column_int64(stmt, 0));
            benchmark::DoNotOptimize(sqlite3_column_text(stmt, 1));
        }
        sqlite3_finalize(stmt);
    }
}
BENCHMARK(BM_RawPrepareAndStep);

// SQLite alone with the statement kept: reset, step, read both columns.
void BM_RawReusedStatement(benchmark::State& state) {
    Database db(":memory:");
    Seed(db);
    sqlite3* handle = db.GetConnection().Handle();
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(handle, kQuery, -1, &stmt, nullptr);
    for (auto _ : state) {
        sqlite3_reset(stmt);
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            benchmark::DoNotOptimize(sqlite3_column_int64(stmt, 0));
            benchmark::DoNotOptimize(sqlite3_column_text(stmt, 1));
        }
    }
    sqlite3_finalize(stmt);
}
BENCHMARK(BM_RawReusedStatement);

}  // namespace
