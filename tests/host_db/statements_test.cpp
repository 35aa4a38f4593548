// Every shape of statement the plug-ins send to the host's connection, with plausible values
// spliced in, run through the dialect on small tables and checked by the rows they give.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "frame/convert.h"
#include "frame/host_error.h"
#include "host/db/database.h"
#include "sampling/code_letter_plan.h"
#include "tests/support/host_error_of.h"

namespace velaqm::host {
namespace {

using ::testing::HasSubstr;

constexpr const char* kTables = R"sql(
CREATE TABLE ICClassType (FID INTEGER, FName_chs TEXT, FTableName TEXT);
CREATE TABLE ICClassTableInfo (FClassTypeID INTEGER, FFieldName TEXT, FKeyWord TEXT);
CREATE TABLE ICClassTypeEntry (FParentID INTEGER, FIndex INTEGER, FTableName TEXT, FEntryType INTEGER);
CREATE TABLE ICListTemplate (FID INTEGER, FBillTemplateID INTEGER, FFilter TEXT);
CREATE TABLE ICTransactiontype (FID INTEGER, FHeadTable TEXT, FEntryTable TEXT);
CREATE TABLE QMAInfo (FID INTEGER, FNumber TEXT, FName TEXT, FClassTypeID INTEGER);
CREATE TABLE QMSampStd (FID INTEGER, FBillNo TEXT, FCheckerID INTEGER, FSampMethodID INTEGER);
CREATE TABLE QMSampStdEntry (FID INTEGER, FEntryID INTEGER, FLotSize DECIMAL(28,10), FSampQty INTEGER,
    FAcQty1 INTEGER, FReQty1 INTEGER, FAcQty2 INTEGER, FReQty2 INTEGER);
-- The plan batch pairs its rows with the grid's by position, so it relies on rows coming in
-- FID order: keys and letter indexes make SQLite's plan walk the tables that way.
CREATE TABLE QMSampleLetter (FID INTEGER PRIMARY KEY, FLow INTEGER, FUp INTEGER, FC2 TEXT, FS1 TEXT);
CREATE INDEX QMSampleLetter_FC2 ON QMSampleLetter (FC2);
CREATE INDEX QMSampleLetter_FS1 ON QMSampleLetter (FS1);
CREATE TABLE QM105E (FID INTEGER PRIMARY KEY, FYGD TEXT, FCode TEXT, FSample INTEGER,
    FAQL_0_65_AC INTEGER, FAQL_0_65_RE INTEGER);
CREATE TABLE QM105ECell (FID INTEGER PRIMARY KEY, F0_65_AC_RE TEXT);
CREATE VIEW vw_QM105E AS SELECT q.FID, q.FSample, c.F0_65_AC_RE FROM QM105E q JOIN QM105ECell c ON c.FID = q.FID;
CREATE TABLE qmsampling (FID INTEGER, FBillNo TEXT, FClassTypeID INTEGER, FCheckerID INTEGER,
    FSamplingDT DATETIME, FSampleType INTEGER, FReqBillID INTEGER, FWorkOrderID INTEGER, FManTaskID INTEGER);
CREATE TABLE qmsamplingentry (FID INTEGER, FEntryID INTEGER, FSampleNo TEXT, FSaveDT DATETIME, FDestoryFlag BIT);
CREATE TABLE qmwatchlog (FID INTEGER, FSampleNo TEXT);
CREATE TABLE QMSampleDestroy (FID INTEGER, FSampleID INTEGER);
CREATE TABLE QMSampleDestroyentry (FID INTEGER, FEntryID INTEGER, FSampleNO TEXT);
CREATE TABLE icqcscheme (FInterID INTEGER, FBillNo TEXT, FSchemeName TEXT, FTrantype INTEGER, FStatus INTEGER,
    FValidDate DATETIME, FInValidDate DATETIME, FIsValid INTEGER);
CREATE TABLE IcqcSchemeEntry (FInterID INTEGER, FIdentity INTEGER);
CREATE TABLE t_icitem (FItemID INTEGER, FInspectionProject INTEGER, FBatchManager BIT, FUnitID INTEGER);
CREATE TABLE t_MeasureUnit (FItemID INTEGER, FUnitGroupID INTEGER);
CREATE TABLE QMItemGrade (FID INTEGER, FItemID INTEGER);
CREATE TABLE QMItemSupplyInfo (FInterID INTEGER, FItemID INTEGER);
CREATE TABLE t_routingoper (FInterID INTEGER, FOperID INTEGER);
CREATE TABLE t_operation (FInterID INTEGER, FName TEXT);
CREATE TABLE POInStock (FInterID INTEGER, FBillNo TEXT, FTranType INTEGER, FCancellation INTEGER,
    FSupplyID INTEGER, FDate DATETIME, FStatus INTEGER, FBizType INTEGER);
CREATE TABLE POInStockEntry (FInterID INTEGER, FEntryID INTEGER, FItemID INTEGER, FQtyPass DECIMAL(28,10),
    FConPassQty DECIMAL(28,10), FQCheckQty DECIMAL(28,10), FSourceInterID INTEGER, FSourceEntryID INTEGER,
    FSourceTranType INTEGER, FAuxNotPassQty DECIMAL(28,10), FAuxCommitQty DECIMAL(28,10));
CREATE TABLE POOrder (FInterID INTEGER, FTranType INTEGER, FSupplyID INTEGER, FCheckerID INTEGER, FDate DATETIME);
CREATE TABLE POOrderEntry (FInterID INTEGER, FEntryID INTEGER, FItemID INTEGER, FStockQty DECIMAL(28,10));
CREATE TABLE ICQCBill (FInterID INTEGER, FInStockInterID INTEGER, FSerialID INTEGER, FCancellation INTEGER,
    FNotPassQty DECIMAL(28,10));
CREATE TABLE ICMO (FInterID INTEGER, FBillNo TEXT);
CREATE TABLE SHWorkBill (FInterID INTEGER, FICMOInterId INTEGER, FBillNo TEXT);
CREATE TABLE SHWorkBillEntry (FInterID INTEGER, FEntryID INTEGER, FWBInterID INTEGER, FStatus INTEGER, FIsOut INTEGER);
CREATE TABLE ICTaskDispBill (FInterID INTEGER, FICMOInterID INTEGER, FWorkBillInterID INTEGER, FBillNo TEXT);
CREATE TABLE ICTaskDispBillEntry (FInterID INTEGER, FEntryID INTEGER, FTaskDispInterID INTEGER);

INSERT INTO ICClassType VALUES (1001906, '取样记录', 'qmsampling'), (1001911, '样品销毁记录', 'QMSampleDestroy');
INSERT INTO ICClassTableInfo VALUES (1001906, 'FBillNo', 'BILLNO'), (1001906, 'FSampleType', '');
INSERT INTO ICClassTypeEntry VALUES (1001906, 1, 'qmsampling', 0), (1001906, 2, 'qmsamplingentry', 1),
    (1001911, 1, 'QMSampleDestroyHead', 0), (1001911, 2, 'QMSampleDestroy', 0);
INSERT INTO ICListTemplate VALUES (702, 72, 'v1.FStatus in (1,2)');
INSERT INTO ICTransactiontype VALUES (72, 'POInStock', 'POInStockEntry');
INSERT INTO QMAInfo VALUES (1, 'YGD01', '正常检验', 1001300), (8, 'C2', '一般检验水平II', 1001304),
    (14, 'HG', '合格', 1001314), (15, 'BHG', '不合格', 1001314), (41, '002', '供货质量', 1001320),
    (16, '001', '来料取样', 1001322);
INSERT INTO QMSampStd VALUES (7, 'SS007', 0, 50), (8, 'SS008', 0, 4);
INSERT INTO QMSampStdEntry VALUES (7, 1, 8, 0, 0, 1, 0, 1), (7, 2, 15, 3, 0, 1, 1, 2),
    (8, 1, 8, 0, 0, 1, 0, 1);
INSERT INTO QMSampleLetter VALUES (1, 2, 8, 'A', 'A'), (2, 9, 15, 'B', 'A'), (3, 16, 25, 'C', 'B'),
    (4, 26, 50, 'D', 'B'), (5, 51, NULL, 'E', 'B');
INSERT INTO QM105E VALUES (1, 'YGD01', 'A', 2, 0, 1), (2, 'YGD01', 'B', 3, 0, 1), (3, 'YGD01', 'C', 5, 0, 1),
    (4, 'YGD01', 'D', 8, 1, 2), (5, 'YGD01', 'E', 13, 2, 3), (6, 'YGD02', 'A', 3, 0, 1);
INSERT INTO QM105ECell VALUES (1, '0 1'), (2, '↑'), (3, '↓'), (4, '1 2'), (5, ''), (6, '0 1');
INSERT INTO qmsampling VALUES (1, 'QS001', 1001906, 16394, '2024-03-01 00:00:00', 16, 101, 0, 0),
    (2, 'QS002', 1001906, 0, '2024-03-02 00:00:00', 17, 0, 201, 301);
INSERT INTO qmsamplingentry VALUES (1, 11, 'S001', '2024-03-15 00:00:00', 0), (1, 12, 'S002', '2024-03-14 00:00:00', 0),
    (1, 13, 'S003', NULL, 1), (2, 21, 'S004', '2024-04-01 00:00:00', 0);
INSERT INTO qmwatchlog VALUES (501, 'S001');
INSERT INTO QMSampleDestroy VALUES (601, 1), (602, 0);
INSERT INTO QMSampleDestroyentry VALUES (601, 1, 'S003');
INSERT INTO icqcscheme VALUES (31, 'QC001', '来料检验', 45, 1, '2024-01-01 00:00:00', '2024-12-31 00:00:00', 1),
    (32, 'QC002', '过期方案', 45, 1, '2023-01-01 00:00:00', '2024-03-14 00:00:00', 1);
INSERT INTO IcqcSchemeEntry VALUES (31, 1), (31, 2), (32, 1);
INSERT INTO t_icitem VALUES (1, 31, 1, 10), (2, 0, 0, 20);
INSERT INTO t_MeasureUnit VALUES (10, 100), (11, 100), (20, 200);
INSERT INTO QMItemGrade VALUES (3, 1);
INSERT INTO QMItemSupplyInfo VALUES (4, 1);
INSERT INTO t_routingoper VALUES (12, 1), (12, 3), (13, 2);
INSERT INTO t_operation VALUES (1, '车削'), (2, '铣削'), (3, '磨削');
INSERT INTO POInStock VALUES (41, 'WIN041', 702, 0, 7, '2024-03-05 09:30:00', 1, 12510),
    (42, 'WIN042', 702, 0, 7, '2024-03-10 16:00:00', 1, 12510), (43, 'WIN043', 702, 0, 7, '2024-03-11 08:00:00', 3, 12510);
INSERT INTO POInStockEntry VALUES (41, 1, 1, 90, 5, 100, 51, 1, 71, 10, 4), (42, 1, 1, 18, 0, 20, 51, 1, 71, 0, 0),
    (43, 1, 1, 10, 0, 10, 51, 1, 71, 0, 0);
INSERT INTO POOrder VALUES (51, 71, 7, 1, '2024-02-20 00:00:00'), (52, 71, 7, 1, '2024-03-10 12:00:00');
INSERT INTO POOrderEntry VALUES (51, 1, 1, 0), (52, 1, 1, 5);
INSERT INTO ICQCBill VALUES (61, 41, 1, 0, 5), (62, 41, 1, 0, 8);
INSERT INTO ICMO VALUES (81, 'MO081');
INSERT INTO SHWorkBill VALUES (91, 81, 'WB091');
INSERT INTO SHWorkBillEntry VALUES (91, 1, 91, 1, 1059), (91, 2, 91, 1, 1058);
INSERT INTO ICTaskDispBill VALUES (95, 81, 91, 'TD095');
INSERT INTO ICTaskDispBillEntry VALUES (95, 1, 95);
)sql";

// Rows as "a|b;c|d", Null as NULL, everything else as the host reads it as text.
std::string Rows(const ResultSet& result) {
    std::string out;
    for (const auto& row : result.rows) {
        if (!out.empty()) out += ';';
        for (std::size_t i = 0; i < row.size(); ++i) {
            if (i > 0) out += '|';
            out += row[i].IsNull() ? "NULL" : Text(row[i]);
        }
    }
    return out;
}

class Statements : public ::testing::Test {
  protected:
    void SetUp() override {
        db.ExecuteNative(kTables);
        db.SetClock([] { return Date(2024, 3, 15, 10, 0, 0); });
    }
    Database db{":memory:"};
};

TEST_F(Statements, QueriesGiveTheRowsSqlServerWould) {
    struct Case {
        const char* what;
        std::string sql;
        const char* rows;
    };
    const std::string CRLF = "\r\n";
    const std::string period =
        " AND convert(datetime,convert(varchar(30),t2.FDate,111)) >='2024-03-01'" + CRLF +
        " AND convert(datetime,convert(varchar(30),t2.FDate,111)) <='2024-03-10'" + CRLF;
    const std::string sampleCheck =
        std::string(
            " select qmsampling.FID,qmsampling.FClassTypeID,qmsamplingentry.FEntryID from "
            "qmsampling ") +
        " inner join qmsamplingentry  on qmsampling.FID=qmsamplingentry.FID " +
        " where qmsamplingentry.FSampleNo= '%' AND QMSampling.FCheckerID<>0 AND "
        "QMSamplingentry.FDestoryFlag=0 AND "
        "(QMSamplingentry.FSaveDT >= CONVERT(DATETIME,CONVERT(CHAR(10),GETDATE(),120),120) OR "
        "QMSamplingentry.FSaveDT IS NULL)";
    auto with = [](std::string text, const std::string& value) {
        return text.replace(text.find('%'), 1, value);
    };
    const std::string schemeFill =
        std::string(
            " select a.FInterID ,a.FTrantype 'FClassTypeID',b.FIdentity from IcqcScheme a") +
        " inner join IcqcSchemeEntry b on a.FinterID=b.FInterID" +
        " Where a.FStatus=1 AND GetDate() BETWEEN a.FValidDate AND a.FInValidDate AND a.FBillNO = "
        "'%'";
    const std::string rejectQty =
        " select (case when w1.FNotPassQty - isnull((u1.FAuxNotPassQty-u1.FAuxCommitQty),0) < 0 "
        "then "
        "w1.FNotPassQty " +
        CRLF + " else isnull((u1.FAuxNotPassQty-u1.FAuxCommitQty),0) end) as FRejectQtyTmp " +
        CRLF + " from POInStockEntry u1 inner join POInStock v1" + CRLF +
        " on v1.FInterID=u1.FInterID and  v1.FTranType=702 AND v1.FCancellation=0 inner join "
        "ICQCBill w1" +
        CRLF +
        " on w1.FInStockInterID = u1.FInterID and w1.FSerialID = u1.FEntryID and "
        "w1.FCancellation=0 and " +
        CRLF + " v1.finterid =41  and w1.finterid = %";
    const std::string unAuditWatch =
        "select FID from qmwatchlog where FSampleNO in (select t2.FSampleNO from qmsampling t1 "
        "inner join "
        "qmsamplingentry t2 on t1.fid = t2.fid where t1.FID=1)";
    const Case cases[] = {
        // audit, delete and push-down of a list's bill
        {"bill state", "select FCheckerID,FBillNo as FBillNo from qmsampling where FID=1",
         "16394|QS001"},
        {"bill state before delete",
         "select FCheckerID,FBillNo as FBillNo from qmsampling where  FID=2", "0|QS002"},
        {"missing bill", "select FCheckerID,FBillNo as FBillNo from qmsampling where FID=9", ""},
        // lookup of a typed-in source bill
        {"list template", "SELECT FBillTemplateID,FFilter FROM ICListTemplate WHERE FID=702",
         "72|v1.FStatus in (1,2)"},
        {"tables of a template",
         "SELECT FHeadTable,FEntryTable FROM ICTransactiontype WHERE FID=72",
         "POInStock|POInStockEntry"},
        {"source head",
         "SELECT v1.FInterID FROM POInStock v1 WHERE FBillNo= 'WIN041' AND v1.FStatus in (1,2) AND "
         "v1.FBizType = 12510",
         "41"},
        {"source head and entry",
         "SELECT v1.FInterID,u1.FEntryID FROM POInStock v1, POInStockEntry u1  WHERE "
         "v1.FInterID=u1.FinterID AND FBillNo= 'WIN042' AND v1.FStatus in (1,2)",
         "42|1"},
        {"filter with an empty number",
         "SELECT v1.FInterID FROM POInStock v1 WHERE FBillNo= 'WIN043' AND "
         "v1.FSupplyID = 0 or 1=1",
         "41;42;43"},
        {"filter with a date",
         "SELECT v1.FInterID FROM POInStock v1 WHERE FBillNo= 'WIN041' AND v1.FDate >= "
         "'2024/03/05' AND v1.FDate < '2024/03/06'",
         "41"},
        {"filter with an empty date", "SELECT v1.FInterID FROM POInStock v1 WHERE v1.FDate = NULL",
         ""},
        {"work bill source",
         " SELECT u1.FWBInterID as FInterID,u1.FEntryID FROM SHWorkBill v1, SHWorkBillEntry u1, "
         "icmo t3 " +
             CRLF + " WHERE v1.FInterID=u1.FinterID AND v1.FICMOInterId = t3.FInterID AND  " +
             CRLF + "v1.FBillNo= 'WB091' AND  u1.FStatus  = 1 and u1.FIsOut = 1059 ",
         "91|1"},
        {"task dispatch source",
         " Select v2.FTaskDispInterID as FInterID,v2.FEntryID from ICTaskDispBillEntry v2 " + CRLF +
             " left join ICTaskDispBill v1 on v1.FInterID=v2.FInterID " + CRLF +
             " left join ICMO t1 on t1.FInterID=v1.FICMOInterID " + CRLF +
             " left join SHWorkBillEntry t3 on v1.FWorkBillInterID=t3.FWBInterID " + CRLF +
             "WHERE v1.FBillNo= 'TD095'",
         "95|1;95|1"},
        {"linked bill fields", " SELECT FWorkOrderId,FManTaskID FROM qmsampling WHERE FID = 2",
         "201|301"},
        // server date and quality data
        {"server date", " Select GetDate() ", "2024-03-15 10:00:00"},
        {"quality data name",
         "Select Fname From QMaInfo where fClassTypeid=1001304 and FNumber='C2'", "一般检验水平II"},
        {"no quality data", "Select Fname From QMaInfo where fClassTypeid=1001304 and FNumber='C9'",
         ""},
        {"default inspection level",
         " SELECT  * " + CRLF + " FROM QMAInfo " + CRLF + " WHERE FClassTypeID = 1001304 " + CRLF +
             " AND Fnumber = 'C2'",
         "8|C2|一般检验水平II|1001304"},
        {"pass grade", "Select Fname From QMaInfo where fClassTypeid=1001314 and FNumber='HG'",
         "合格"},
        {"supply quality item",
         "Select Fname From QMaInfo where fClassTypeid=1001320 and FNumber='002'", "供货质量"},
        // sampling standard
        {"code letters", "select FLow,FUp, FC2 from QMSampleLetter order by fid",
         "2|8|A;9|15|B;16|25|C;26|50|D;51|NULL|E"},
        // sampling record and its list
        {"sample number taken", "select FSampleNO from QMSamplingEntry where FSampleNO= 'S001'",
         "S001"},
        {"sample number free", "select FSampleNO from QMSamplingEntry where FSampleNO= 'S009'", ""},
        {"observed sample", "select FID from qmwatchlog where FSampleNO='S001'", "501"},
        {"destroyed sample", "select FSampleNO from QMSampleDestroyentry where FSampleNO='S003'",
         "S003"},
        {"destroy flag", "select FDestoryFlag,FSampleNO from qmsamplingentry where FEntryID=13",
         "True|S003"},
        {"deadline yesterday",
         "select FSampleNo from qmsamplingentry where FSaveDT < "
         "CONVERT(DATETIME,CONVERT(CHAR(10),GETDATE(),120),120) AND FEntryID=12",
         "S002"},
        {"deadline today",
         "select FSampleNo from qmsamplingentry where FSaveDT < "
         "CONVERT(DATETIME,CONVERT(CHAR(10),GETDATE(),120),120) AND FEntryID=11",
         ""},
        {"head table of a class", "select FTableName from icclasstype where FID =1001906",
         "qmsampling"},
        {"checker of a pushed bill", "select FCheckerID,FBillNo from qmsampling  where FID =2",
         "0|QS002"},
        {"observations of an entry",
         "select a.FID from qmwatchlog a inner join qmsamplingentry b on "
         "a.FSampleNo=b.FSampleNo where b.FID=1 and b.FEntryID=11",
         "501"},
        {"destructions of an entry",
         "select a.* from QMSampleDestroyentry a inner join  qmsamplingentry b on "
         "a.FSampleNo=b.FSampleNO where b.FID=1 and b.FEntryID=13",
         "601|1|S003"},
        {"source of a record",
         " SELECT FSampleType,FReqBillID,FWorkOrderID,FManTaskID FROM qmsampling WHERE FID = 2",
         "17|0|201|301"},
        {"bill name", "select FName_chs as Fname from ICClassType where FID=1001906", "取样记录"},
        {"bill number field",
         "select FFieldName from ICClassTableInfo where FClassTypeID=1001906 and "
         "FKeyWord='BILLNO' ",
         "FBillNo"},
        {"head table, entry first",
         "select  top 1 FTableName from ICClassTypeEntry where FParentID=1001906" + CRLF +
             " and ((FIndex = 2 and FEntryType = 0) or FIndex = 1 ) order by FIndex desc ",
         "qmsampling"},
        {"head table, head second",
         "select  top 1 FTableName from ICClassTypeEntry where FParentID=1001911" + CRLF +
             " and ((FIndex = 2 and FEntryType = 0) or FIndex = 1 ) order by FIndex desc ",
         "QMSampleDestroy"},
        {"observations of a record", unAuditWatch, "501"},
        {"destructions of a record",
         "select FSampleNO from QMSampleDestroyentry where FSampleNO in (select "
         "t2.FSampleNO from qmsampling t1 inner join qmsamplingentry t2 on t1.fid = "
         "t2.fid where t1.FID=1)",
         "S003"},
        // observation log
        {"sample due today", with(sampleCheck, "S001"), "1|1001906|11"},
        {"sample past its deadline", with(sampleCheck, "S002"), ""},
        {"sample destroyed", with(sampleCheck, "S003"), ""},
        {"sample of an unaudited record", with(sampleCheck, "S004"), ""},
        {"sampling bill of a sample",
         "select  a.FBillNO,a.FSamplingDT from qmsampling a inner join qmsamplingentry "
         "b on a.FID=b.FID where  b.FSampleNo='S002'",
         "QS001|2024-03-01"},
        {"scheme of an item",
         "select a.FInterID,a.FBillNo,a.FSchemeName from icqcscheme a inner join t_icitem b on "
         "a.FInterID=b.FInspectionProject where  a.FStatus>0 AND b.FItemID =1",
         "31|QC001|来料检验"},
        {"valid scheme", with(schemeFill, "QC001"), "31|45|1;31|45|2"},
        {"expired scheme", with(schemeFill, "QC002"), ""},
        {"destroyed flag of a sample",
         "select FDestoryFlag from qmsamplingentry where FSampleNO='S001'", "False"},
        {"sample exists", "select FSampleNo from QMSamplingEntry where FSampleNo='S004'", "S004"},
        {"sampling entries of a log",
         "select a.FID from qmsamplingentry a inner join qmwatchlog b on "
         "a.FSampleNo=b.FSampleNo Where b.FID =501",
         "1"},
        // sample destruction
        {"samples of an audited record",
         " select a.FID,a.FClassTypeID,b.FEntryID from qmsampling a inner join "
         "qmsamplingentry b on a.FID=b.FID  where a.FCheckerID<>0 and "
         "b.FDestoryFlag=0 AND a.FbillNo= 'QS001'",
         "1|1001906|11;1|1001906|12"},
        {"samples of an unaudited record",
         " select a.FID,a.FClassTypeID,b.FEntryID from qmsampling a inner join "
         "qmsamplingentry b on a.FID=b.FID  where a.FCheckerID<>0 and "
         "b.FDestoryFlag=0 AND a.FbillNo= 'QS002'",
         ""},
        {"source of a destruction", " SELECT FSampleID  FROM QMSampleDestroy WHERE FID = 601", "1"},
        // quality accident: the routing's operations, as the work-process lookup filters them
        {"operations of a routing",
         "select FInterID,FName from t_operation where FInterID in (SELECT FOperID FROM "
         "t_routingoper  WHERE FInterID= 12)",
         "1|车削;3|磨削"},
        // supplier evaluation, one item: the last day of the period counts whatever the time
        {"received and inspected",
         "select sum(t1.FQtyPass + t1.FConPassQty) as PassQty,sum(t1.FQCheckQty) as "
         "CheckQty" +
             CRLF + "from POInStockentry t1 INNER JOIN" + CRLF +
             "POInStock t2 on t1.FInterID=t2.FInterID and t2.FTranType=702 " + CRLF +
             "INNER JOIN POOrderEntry t3 on t1.FSourceInterID = t3.FInterID AND "
             "t1.FSourceEntryID = t3.FEntryID AND t1.FItemID=t3.FItemID" +
             CRLF +
             "INNER JOIN POOrder t4 on t4.FInterID = t3.FInterID AND t4.FTranType = 71 AND "
             "t4.FSupplyID = t2.FSupplyID" +
             CRLF +
             "WHERE t1.FQCheckQty > 0 AND "
             "t1.FSourceTranType = 71 AND t2.FSupplyID = 7 And t1.FItemID = 1 " +
             CRLF + period,
         "113|120"},
        {"stocked without receipt",
         "select sum(t1.FStockQty) as CheckQty from POOrderEntry t1 INNER JOIN" + CRLF +
             "POOrder t2 on t2.FInterID=t1.FinterID and t2.FTranType=71 and t2.FCheckerID >0" +
             CRLF +
             "LEFT JOIN POInStockentry t3 on t3.FSourceInterID = t1.FInterID AND "
             "t3.FSourceEntryID = t1.FEntryID" +
             CRLF +
             "Where t2.FSupplyID = 7 And "
             "t1.FItemID = 1" +
             CRLF + "AND t1.FStockQty > 0 AND t3.FInterID IS NULL" + CRLF + period,
         "5"},
        {"no supply",
         "select sum(t1.FStockQty) as CheckQty from POOrderEntry t1 INNER JOIN" + CRLF +
             "POOrder t2 on t2.FInterID=t1.FinterID and t2.FTranType=71 and t2.FCheckerID >0" +
             CRLF + "Where t2.FSupplyID = 8 And t1.FItemID = 1" + CRLF + period,
         "NULL"},
        // item grade and item supply
        {"batch management", "select FBatchManager from t_icitem where FItemID=2", "False"},
        {"grade record of an item", "select * from QMItemGrade where fitemid= 1", "3|1"},
        {"no grade record", "select * from QMItemGrade where fitemid= 2", ""},
        {"unit group",
         "select T1.* from t_MeasureUnit t1 where t1.funitgroupid=" + CRLF +
             "   (select "
             "a.funitgroupid from t_MeasureUnit a,t_icitem b where a.fitemid=b.funitid and "
             "b.fitemid=1)",
         "10|100;11|100"},
        {"supply definition", "select * from QMItemSupplyInfo where fitemid= 1", "4|1"},
        {"valid scheme count",
         "select count(*) ct from icqcscheme where fisvalid=1 and  getdate() between "
         "FvalidDate and FInvalidDate and finterid=31",
         "1"},
        {"expired scheme count",
         "select count(*) ct from icqcscheme where fisvalid=1 and  getdate() between "
         "FvalidDate and FInvalidDate and finterid=32",
         "0"},
        // purchase-order reject
        {"reject: inspection smaller", with(rejectQty, "61"), "5"},
        {"reject: open quantity smaller", with(rejectQty, "62"), "6"},
        {"request bill number", "select FBillNo from POInStock where FInterID=41", "WIN041"},
        // locking hints, as the client's reports write them
        {"hint after a table", "select FNumber from QMAInfo (NOLOCK) where FID = 1", "YGD01"},
        {"hints in a join",
         "select a.FNumber from QMAInfo a WITH (NOLOCK) inner join QMAInfo b (nolock) on "
         "a.FID = b.FID where b.FID = 8",
         "C2"},
        {"hint after an alias", "select a.FNumber from QMAInfo a (NOLOCK) where a.FID = 14", "HG"},
        // SQL Server's arithmetic
        {"texts joined", "select '1' + '2', FBillNo + 'x' from qmsampling where FID = 1",
         "12|QS001x"},
        {"number and text added", "select 1 + '2', FID + '2' from qmsampling where FID = 1", "3|3"},
        {"NULL joined", "select FBillNo + NULL, NULL + 'a' from qmsampling where FID = 1",
         "NULL|NULL"},
        {"joined in a condition", "select FID from qmsampling where 'Q' + 'S00' + '2' = FBillNo",
         "2"},
        {"whole-number division", "select 7 / 2, -7 / 2, 7 % 3, -7 % 3, 7 / 2.0", "3|-3|1|-1|3.5"},
        {"decimal divided",
         "select FLotSize / 2, 15 / FLotSize, FLotSize / FReQty2, FReQty2 / FLotSize, "
         "e.FSampQty * e.FLotSize / 2 from QMSampStdEntry e where FID = 7 and FEntryID = 2",
         "7.5|1|7.5|0.133333333333333|22.5"},
        {"decimal ratios",
         "select sum(FQtyPass) / count(*), sum(FQtyPass) / sum(FQCheckQty), avg(FQtyPass / "
         "FQCheckQty) from POInStockEntry",
         "39.3333333333333|0.907692307692308|0.933333333333333"},
        {"converted to decimal",
         "select cast(7 as decimal(10, 2)) / 2, convert(numeric(10, 2), 7) / 2, cast(7 as "
         "money) / 2, cast(7 as float) / 2, 7 / cast(2 as decimal)",
         "3.5|3.5|3.5|3.5|3.5"},
        {"average of decimals",
         "select avg(FLotSize), avg(FLotSize / 2), avg(FLotSize) / 2 from QMSampStdEntry",
         "10.3333333333333|5.16666666666667|5.16666666666667"},
        {"average of whole numbers",
         "select avg(FReQty2), avg(FLotSize), avg(FReQty2 * 1.0) from QMSampStdEntry",
         "1|10.3333333333333|1.33333333333333"},
        {"date parts",
         "select datepart(yy, FDate), datepart(q, FDate), datepart(dy, FDate), datepart(wk, "
         "FDate), datepart(dw, FDate), datepart(mi, FDate), year(FDate), month(FDate), "
         "day(FDate) from POInStock where FInterID = 41",
         "2024|1|65|10|3|30|2024|3|5"},
        {"milliseconds kept",
         "select convert(varchar, convert(datetime, '2024-03-05 09:30:00.250'), 121)",
         "2024-03-05 09:30:00.250"},
        {"bytes of varchar text",
         "select datalength(FName), datalength(FNumber) from QMAInfo "
         "where FID = 1",
         "8|5"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        try {
            const ResultSet result = db.Execute(c.sql);
            EXPECT_TRUE(result.isQuery);
            EXPECT_EQ(Rows(result), c.rows) << c.sql;
        } catch (const std::exception& e) {
            ADD_FAILURE() << e.what();
        }
    }
}

// Text columns compare as under the client databases' collation: ASCII letters without case,
// trailing blanks ignored, Chinese as itself; grouping, ordering and unique indexes agree.
TEST_F(Statements, TextComparesWithoutCaseOrTrailingBlanks) {
    db.ExecuteNative(
        "CREATE TABLE Code (FID INTEGER, FNumber TEXT COLLATE tsql_ci, FName TEXT COLLATE "
        "tsql_ci);"
        "CREATE UNIQUE INDEX Code_FNumber ON Code (FNumber);"
        "INSERT INTO Code VALUES (1, 'YGD01', '正常检验'), (2, 'ygd02 ', '加严检验'), (3, 'A ', "
        "'b'), (4, 'B', 'B'), (5, 'a1', 'a');");
    struct Case {
        const char* what;
        const char* sql;
        const char* rows;
    };
    const Case cases[] = {
        {"other case", "select FID from Code where FNumber = 'ygd01'", "1"},
        {"trailing blanks", "select FID from Code where FNumber = 'YGD02'", "2"},
        {"blank against none", "select FID from Code where FNumber = 'a'", "3"},
        {"not equal", "select count(*) from Code where FNumber <> 'YGD01 '", "4"},
        {"Chinese as itself", "select FID from Code where FName = '正常检验'", "1"},
        {"Chinese differs", "select FID from Code where FName = '正常'", ""},
        {"IN list", "select FID from Code where FNumber in ('ygd01', 'YGD02', 'x') order by FID",
         "1;2"},
        {"IN subquery",
         "select FID from Code where FNumber in (select FName from Code) order by FID", "3;4"},
        {"LIKE", "select FID from Code where FNumber like 'ygd%' order by FID", "1;2"},
        {"ISNULL keeps the rule", "select FID from Code where isnull(FNumber, '') = 'b'", "4"},
        {"text of a function", "select FID from Code where 'ygd01' = rtrim(FNumber)", "1"},
        {"literals", "select FID from Code where 'A ' = 'a' and FID = 1", "1"},
        {"GROUP BY", "select count(*) from (select FName from Code group by FName) g", "4"},
        {"DISTINCT", "select count(distinct FName) from Code", "4"},
        {"ORDER BY", "select FNumber from Code where FID > 2 order by FNumber", "A ;a1;B"},
        {"join", "select a.FID from Code a inner join Code b on a.FNumber = b.FName order by a.FID",
         "3;4;4"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        try {
            EXPECT_EQ(Rows(db.Execute(c.sql)), c.rows) << c.sql;
        } catch (const std::exception& e) {
            ADD_FAILURE() << e.what();
        }
    }
    // The unique index holds under the same rule.
    EXPECT_THROW(db.Execute("insert into Code (FID, FNumber) values (6, 'ygd01  ')"), HostError);
    // So does a table SELECT ... INTO makes, and a text column added later.
    EXPECT_EQ(
        Rows(db.Execute("select FID, FNumber, FID * 2 AS Twice into #n from Code where FID < 3 "
                        "select FID, Twice from #n where FNumber = 'YGD02' drop table #n")),
        "2|4");
    db.Execute(
        "alter table Code add FNote varchar(10) update Code set FNote = 'Xy ' where FID = 1");
    EXPECT_EQ(Rows(db.Execute("select FID from Code where FNote = 'xY'")), "1");
    // A temp table a batch creates compares the same way.
    EXPECT_EQ(Rows(db.Execute("create table #c (code varchar(10)) insert into #c values ('AbC') "
                              "select count(*) from #c where code = 'abc ' drop table #c")),
              "1");
}

TEST_F(Statements, ArithmeticErrorsAreSqlServers) {
    struct Case {
        const char* sql;
        const char* message;
    };
    const Case cases[] = {
        {"select 1 / 0", "Divide by zero error encountered."},
        {"select FSampQty % FSampQty from QMSampStdEntry", "Divide by zero error encountered."},
        {"select FID / FCheckerID from qmsampling", "Divide by zero error encountered."},
        {"select FLotSize / FAcQty1 from QMSampStdEntry", "Divide by zero error encountered."},
        {"select FLotSize % FAcQty1 from QMSampStdEntry", "Divide by zero error encountered."},
        {"select 7 / cast(0 as decimal(9, 2))", "Divide by zero error encountered."},
        {"select FLotSize / 0.0 from QMSampStdEntry", "Divide by zero error encountered."},
        {"select 1 + 'abc'",
         "Conversion failed when converting the varchar value 'abc' to data type int."},
        {"select FID + FBillNo from qmsampling", "the varchar value 'QS001' to data type int."},
    };
    for (const Case& c : cases) {
        const std::string error = testing::HostErrorOf([&] { db.Execute(c.sql); }).Description();
        EXPECT_THAT(error, HasSubstr(c.message)) << c.sql;
        EXPECT_THAT(error, HasSubstr(std::string("[") + c.sql + "]")) << c.sql;
    }
}

TEST_F(Statements, ResultColumnsCarryTheNamesTheHostReadsFieldsBy) {
    EXPECT_EQ(
        db.Execute("select FCheckerID,FBillNo as FBillNo from qmsampling where FID=1").columns,
        (std::vector<std::string>{"FCheckerID", "FBillNo"}));
    EXPECT_EQ(
        db.Execute(
              " select a.FInterID ,a.FTrantype 'FClassTypeID',b.FIdentity from IcqcScheme a inner "
              "join IcqcSchemeEntry b on a.FinterID=b.FInterID")
            .columns,
        (std::vector<std::string>{"FInterID", "FClassTypeID", "FIdentity"}));
    EXPECT_EQ(db.Execute("select count(*) ct from icqcscheme").columns,
              std::vector<std::string>{"ct"});
    EXPECT_EQ(db.Execute("select FName_chs as Fname from ICClassType where FID=1001906").columns,
              std::vector<std::string>{"Fname"});
}

// The clean-up after saving a code-letter sampling standard: rows without a sample quantity
// keep no Ac/Re numbers; other standards and rows are left alone.
TEST_F(Statements, SamplingStandardCleanUpUpdatesThroughTheJoin) {
    const std::string update =
        "UPDATE u \r\nSET FSampQty=CASE WHEN u.FSampQty<=0 THEN NULL ELSE u.FSampQty END\r\n"
        ",FACqty1=CASE WHEN u.FSampQty<=0 THEN NULL ELSE u.FACqty1 END\r\n"
        ",FReQty1=CASE WHEN u.FSampQty<=0 THEN NULL ELSE u.FReQty1 END\r\n"
        ",FAcQty2=CASE WHEN u.FSampQty<=0 THEN NULL ELSE u.FACqty2 END\r\n"
        ",FReQty2=CASE WHEN u.FSampQty<=0 THEN NULL ELSE u.FReQty2 END\r\n"
        "FROM QMSampStdEntry u\r\nINNER JOIN QMSampStd v ON v.FID=u.FID\r\n"
        " WHERE v.FSampMethodID= 50 AND u.FID =";
    for (const char* id : {"7", "8"}) {
        const ResultSet result = db.Execute(update + id + "\r\n");
        EXPECT_FALSE(result.isQuery);
    }
    EXPECT_EQ(
        Rows(db.Execute(
            "select FID,FEntryID,FSampQty,FAcQty1,FReQty1,FAcQty2,FReQty2 from QMSampStdEntry "
            "order by FID,FEntryID")),
        "7|1|NULL|NULL|NULL|NULL|NULL;7|2|3|0|1|1|2;8|1|0|0|1|0|1");
}

// The Ac/Re plan of the code-letter method: a temp table filled and read in one batch, with
// arrows in the plan sending a letter to the nearest usable plan below or above it.
TEST_F(Statements, CodeLetterPlanBatchReturnsItsTempTable) {
    auto plan = [](std::string_view level) { return CodeLetterPlanSql(level, "YGD01", "0_65"); };
    for (int run = 0; run < 2; ++run) {  // the batch drops its table, so it runs again
        const ResultSet result = db.Execute(plan("C2"));
        ASSERT_TRUE(result.isQuery);
        EXPECT_EQ(result.columns, (std::vector<std::string>{"FLotSize", "FCode", "FSampleQty",
                                                            "FREQty", "FACQty"}));
        EXPECT_EQ(Rows(result), "8|A|2|1|0;15|B|2|1|0;25|C|8|1|0;50|D|8|2|1;NULL|E|8|3|2");
    }
    EXPECT_EQ(Rows(db.Execute(plan("S1"))),
              "8|A|2|1|0;15|A|2|1|0;25|B|2|1|0;50|B|2|1|0;NULL|B|2|1|0");
    // A level outside the seven leaves the letter column empty: the database refuses the batch,
    // and the temp table it had created is gone.
    EXPECT_THROW(db.Execute(plan("X9")), HostError);
    EXPECT_EQ(Rows(db.Execute(plan("C2"))),
              "8|A|2|1|0;15|B|2|1|0;25|C|8|1|0;50|D|8|2|1;NULL|E|8|3|2");
}

}  // namespace
}  // namespace velaqm::host
