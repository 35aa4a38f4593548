// The SQL Server to SQLite translation as tables of accepted text and its translation, and of
// refused text and the reason given.
#include "host/db/dialect.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "frame/host_error.h"
#include "host/db/db_error.h"

namespace velaqm::host {
namespace {

using ::testing::HasSubstr;

std::string Kinds(std::string_view sql) {
    std::string out;
    for (const Token& token : Tokenize(sql)) {
        static constexpr const char* kNames[] = {"w", "q", "s", "n", "p"};
        if (!out.empty()) out += ' ';
        out += kNames[static_cast<int>(token.kind)];
        out += ':';
        out += token.text;
    }
    return out;
}

TEST(Tokenize, ReadsSqlServerLexicalForms) {
    struct Case {
        const char* sql;
        const char* tokens;
    };
    const Case cases[] = {
        {"select a.FID,[Order Date] from #Std",
         "w:select w:a p:. w:FID p:, q:[Order Date] w:from w:#Std"},
        {"'it''s' N'样品' n'x'", "s:'it''s' s:N'样品' s:n'x'"},
        {"\"a\"\"b\" [x]]y]", "q:\"a\"\"b\" q:[x]]y]"},
        {"12 1.5 .5 1e3 2.5E-2 0x1F", "n:12 n:1.5 n:.5 n:1e3 n:2.5E-2 n:0x1F"},
        {"a<=b<>c!=d!<e>=f", "w:a p:<= w:b p:<> w:c p:!= w:d p:!< w:e p:>= w:f"},
        {"样品编号 @v @@IDENTITY $x", "w:样品编号 w:@v w:@@IDENTITY p:$ w:x"},
        {"a -- note 'x\r\nb", "w:a w:b"},
        {"a /* outer /* inner */ still 'x */ b", "w:a w:b"},
        {"FSampleNO= '001'", "w:FSampleNO p:= s:'001'"},
        {"Ntext N 'x'", "w:Ntext w:N s:'x'"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Kinds(c.sql), c.tokens) << c.sql;
}

TEST(Tokenize, RefusesUnclosedText) {
    const char* cases[] = {"select 'abc", "select [abc", "select \"abc", "select 1 /* a /* b */"};
    for (const char* sql : cases) {
        try {
            Tokenize(sql);
            ADD_FAILURE() << sql;
        } catch (const HostError& e) {
            EXPECT_EQ(e.Number(), kDatabaseErrorNumber);
            EXPECT_THAT(e.Description(), HasSubstr(std::string("[") + sql + "]"));
        }
    }
}

// SQLite would stop reading at the NUL and run only the statement's start.
TEST(Tokenize, RefusesANulCharacter) {
    using namespace std::string_view_literals;
    for (std::string_view sql : {"delete from t\0 where a = 1"sv, "\0select 1"sv, "select '\0'"sv})
        EXPECT_THROW(Tokenize(sql), HostError) << sql.size();
}

std::vector<std::string> Translate(std::string_view sql, const SchemaInfo& schema = {}) {
    std::vector<std::string> out;
    for (const TranslatedStatement& s : TranslateBatch(sql, schema))
        out.push_back(s.sql);
    return out;
}

struct Rewrite {
    const char* sqlServer;
    std::vector<std::string> sqlite;
};

void ExpectRewrites(const std::vector<Rewrite>& cases, const SchemaInfo& schema = {}) {
    for (const Rewrite& c : cases)
        EXPECT_EQ(Translate(c.sqlServer, schema), c.sqlite) << c.sqlServer;
}

TEST(Translate, KeepsWhatSqliteRunsAsWritten) {
    ExpectRewrites({
        {"select FCheckerID,FBillNo as FBillNo from QMSampStd where  FID=12",
         {"select FCheckerID,FBillNo as FBillNo from QMSampStd where  FID=12"}},
        {" SELECT  * \r\n FROM QMAInfo \r\n WHERE FClassTypeID = 1001304 \r\n AND Fnumber = 'C2'",
         {"SELECT  * \r\n FROM QMAInfo \r\n WHERE FClassTypeID = 1001304 \r\n AND Fnumber = 'C2'"}},
        {"select count(*) ct from icqcscheme where fisvalid=1",
         {"select count(*) ct from icqcscheme where fisvalid=1"}},
        {"select T1.* from t_MeasureUnit t1 where t1.funitgroupid=\r\n   (select a.funitgroupid "
         "from t_MeasureUnit a,t_icitem b where a.fitemid=b.funitid and b.fitemid=3)",
         {"select T1.* from t_MeasureUnit t1 where t1.funitgroupid=\r\n   (select a.funitgroupid "
          "from t_MeasureUnit a,t_icitem b where a.fitemid=b.funitid and b.fitemid=3)"}},
        {"UPDATE t SET a = 1 WHERE b = 'x'", {"UPDATE t SET a = 1 WHERE b = 'x'"}},
        {"DELETE FROM t WHERE a IN (1,2)", {"DELETE FROM t WHERE a IN (1,2)"}},
        {"INSERT INTO t (a, b) VALUES (1, '样品')", {"INSERT INTO t (a, b) VALUES (1, '样品')"}},
        {"select a from t -- trailing note", {"select a from t"}},
        {"select a /* x */ from t", {"select a   from t"}},
    });
}

TEST(Translate, SplitsBatchesWithoutSemicolons) {
    ExpectRewrites({
        {"SET NOCOUNT ON\r\nCREATE TABLE #S(\r\n     FLotSize INT)\r\nINSERT INTO #S(FLotSize)\r\n"
         "SELECT FUp FROM QMSampleLetter\r\nSELECT * FROM #S\r\nDROP TABLE #S",
         {"CREATE TEMP TABLE \"#S\"(\r\n     FLotSize INT)",
          "INSERT INTO \"#S\"(FLotSize)\r\nSELECT FUp FROM QMSampleLetter", "SELECT * FROM \"#S\"",
          "DROP TABLE \"#S\""}},
        {"select a from t; select b from u;", {"select a from t", "select b from u"}},
        {"select a from t union all select a from u",
         {"select a from t union all select a from u"}},
        {"insert into t values (1) select a from t",
         {"insert into t values (1)", "select a from t"}},
        {"update t set a = 1 set nocount on", {"update t set a = 1"}},
        {"select a from t\nGO\nselect b from u", {"select a from t", "select b from u"}},
        {"select (select max(a) from u) x from t delete from t",
         {"select (select max(a) from u) x from t", "delete from t"}},
        {"drop table if exists x create table x (a int)",
         {"drop table if exists x", "create table x (a int)"}},
        {";;  ;", {}},
    });
}

TEST(Translate, RewritesSqlServerSyntax) {
    ExpectRewrites({
        // TOP, also in subqueries, after their ORDER BY
        {"select  top 1 FTableName from ICClassTypeEntry where FParentID=1001906\r\n and ((FIndex "
         "= 2 and "
         "FEntryType = 0) or FIndex = 1 ) order by FIndex desc ",
         {"select FTableName from ICClassTypeEntry where FParentID=1001906\r\n and ((FIndex = 2 "
          "and "
          "FEntryType = 0) or FIndex = 1 ) order by FIndex desc LIMIT 1"}},
        {"select (SELECT TOP 1 q.FSample FROM q ORDER BY q.FSample ASC) AS x from t",
         {"select (SELECT q.FSample FROM q ORDER BY q.FSample ASC LIMIT 1) AS x from t"}},
        {"select distinct top (5) a from t", {"select distinct a from t LIMIT (5)"}},
        // names, strings, temp tables, schema
        {"select [Order].[Date] from dbo.[Order]", {"select \"Order\".\"Date\" from \"Order\""}},
        {"select N'样品' from t where a = n'x'", {"select '样品' from t where a = 'x'"}},
        {"select FName from #Standard", {"select FName from \"#Standard\""}},
        {"create table #T (a nvarchar(max), b varchar(10))",
         {"create TEMP table \"#T\" (a nvarchar COLLATE tsql_ci, b varchar(10) COLLATE tsql_ci)"}},
        {"select a into #T from t where b = 1",
         {"CREATE TEMP TABLE \"#T\" AS select a from t where b = 1"}},
        // functions
        {"select isnull((u1.a-u1.b),0) from u1", {"select ifnull((u1.a-u1.b),0) from u1"}},
        {" Select GetDate() ", {"Select tsql_getdate()"}},
        {"select 1 from t where getdate() between a and b",
         {"select 1 from t where tsql_getdate() between a and b"}},
        {"select CURRENT_TIMESTAMP", {"select tsql_getdate()"}},
        {"select FSampleNo from e where FSaveDT < "
         "CONVERT(DATETIME,CONVERT(CHAR(10),GETDATE(),120),120) AND FEntryID=3",
         {"select FSampleNo from e where FSaveDT < tsql_convert('DATETIME', NULL, "
          "tsql_convert('CHAR', 10, "
          "tsql_getdate(), 120), 120) AND FEntryID=3"}},
        {"select convert(datetime,convert(varchar(30),t2.FDate,111)) from t2",
         {"select tsql_convert('DATETIME', NULL, tsql_convert('VARCHAR', 30, t2.FDate, 111), NULL) "
          "from t2"}},
        {"select convert(nvarchar(max), a), convert(varchar, b), convert(decimal(18,2), c) from t",
         {"select tsql_convert('NVARCHAR', NULL, a, NULL), tsql_convert('VARCHAR', 30, b, NULL), "
          "tsql_convert('DECIMAL', 2, c, NULL) from t"}},
        {"select cast(a as datetime), CAST(b AS INT) from t",
         {"select tsql_convert('DATETIME', NULL, a, NULL), tsql_convert('INT', NULL, b, NULL) from "
          "t"}},
        {"select left(a, 2), right(a, 1), len(a), charindex('x', a) from t",
         {"select tsql_left(a, 2), tsql_right(a, 1), len(a), charindex('x', a) from t"}},
        {"select dateadd(dd, 1, a), datediff(month, a, b) from t",
         {"select tsql_dateadd('day', 1, a), tsql_datediff('month', a, b) from t"}},
        {"select @@IDENTITY", {"select last_insert_rowid()"}},
        // aliases
        {" select a.FInterID ,a.FTrantype 'FClassTypeID',b.FIdentity from IcqcScheme a",
         {"select a.FInterID ,a.FTrantype AS \"FClassTypeID\",b.FIdentity from IcqcScheme a"}},
        {"select a as 'x', (b) 'y', case when c=1 then 'p' else 'q' end 'z' from t",
         {"select a as \"x\", (b) AS \"y\", case when c=1 then 'p' else 'q' end AS \"z\" from t"}},
        {"select ct = count(*), 'n' = max(a) from t",
         {"select count(*) AS \"ct\", max(a) AS \"n\" from t"}},
        {"select a from t where b = 'x' and c like 'a%'",
         {"select a from t where b = 'x' and c like 'a%'"}},
        // statements of other shapes
        {"delete t where a = 1", {"delete FROM t where a = 1"}},
        {"insert t (a) values (1)", {"insert INTO t (a) values (1)"}},
        {"truncate table t", {"DELETE FROM t"}},
        {"select a from t with (nolock) where b !< 2", {"select a from t where b >= 2"}},
        // locking hints in both spellings, after a table or its alias, also in joins
        {"select a from t (NOLOCK) where b = 1", {"select a from t where b = 1"}},
        {"select x.a from t x (nolock) join u y WITH (NOLOCK, READPAST) on x.a = y.a",
         {"select x.a from t x join u y on x.a = y.a"}},
        {"select x.a from t AS x with (nolock), u (nolock)", {"select x.a from t AS x, u"}},
        // date parts
        {"select datepart(dw, a), DATEPART(yyyy, a), datepart(ms, a) from t",
         {"select tsql_datepart('weekday', a), tsql_datepart('year', a), "
          "tsql_datepart('millisecond', a) from t"}},
        {"select year(a), datalength(b) from t", {"select year(a), datalength(b) from t"}},
    });
}

// Text columns of tables created through the dialect, and SQL Server's collation names, take
// the host's collation of the same sensitivity.
TEST(Translate, GivesTextTheClientDatabasesCollation) {
    ExpectRewrites({
        {"create table #c (id int, code varchar(10) not null, name nchar(2), note text)",
         {"create TEMP table \"#c\" (id int, code varchar(10) COLLATE tsql_ci not null, name "
          "nchar(2) COLLATE tsql_ci, note text COLLATE tsql_ci)"}},
        {"create table p (code varchar(10) collate Chinese_PRC_CS_AS, id int primary key)",
         {"create table p (code varchar(10) collate RTRIM, id int primary key)"}},
        {"select a from t where b = 'X' collate Chinese_PRC_CI_AS",
         {"select a from t where b = 'X' collate tsql_ci"}},
        {"select a from t order by b collate Latin1_General_BIN",
         {"select a from t order by b collate RTRIM"}},
        {"create index ix on t (code)", {"create index ix on t (code)"}},
        {"alter table t add note varchar(20) null",
         {"alter table t add note varchar(20) COLLATE tsql_ci null"}},
        {"alter table #c add code char(2) collate Chinese_PRC_CS_AS",
         {"alter table \"#c\" add code char(2) collate RTRIM"}},
        {"alter table dbo.t add n int", {"alter table t add n int"}},
        {"select a from t where isnull(b, '') = 'x' and 'A ' = c and d = 'y' and 'z' <> rtrim(e)",
         {"select a from t where ifnull(b, '') = 'x' COLLATE tsql_ci and 'A ' = c and d = 'y' and "
          "'z' COLLATE tsql_ci <> rtrim(e)"}},
        {"select 1 where 'A ' = 'a'",
         {"select 1 where 'A ' COLLATE tsql_ci = 'a' COLLATE tsql_ci"}},
    });
}

// + joins two texts and adds anything with a number; / and % refuse a zero divisor; AVG of
// whole numbers stays whole. Operands are found by T-SQL's precedence.
TEST(Translate, RewritesArithmeticByTheTypesSqlServerGivesIt) {
    SchemaInfo schema;
    schema.AddColumn("t", "n", "INTEGER");
    schema.AddColumn("t", "d", "DECIMAL(28,10)");
    schema.AddColumn("t", "s", "VARCHAR(20)");
    ExpectRewrites(
        {
            {"select s + 'x' from t", {"select tsql_add(s, 'x') from t"}},
            {"select '1' + '2', N'a' + s", {"select tsql_add('1', '2'), tsql_add('a', s)"}},
            {"select 1 + 2, n + t.d, n * 2 + 1, -1 + n, (n) + count(*) from t",
             {"select 1 + 2, n + t.d, n * 2 + 1, -1 + n, (n) + count(*) from t"}},
            {"select 1 + '2', n + s from t", {"select tsql_add(1, '2'), tsql_add(n, s) from t"}},
            {"select s + s + s from t", {"select tsql_add(tsql_add(s, s), s) from t"}},
            {"select s + 'x' + n from t", {"select tsql_add(tsql_add(s, 'x'), n) from t"}},
            {"select n - 1 + s, s + n * 2 from t",
             {"select tsql_add(n - 1, s), tsql_add(s, n * 2) from t"}},
            {"select case when n = 1 then s else 'y' end + 'z' from t",
             {"select tsql_add(case when n = 1 then s else 'y' end, 'z') from t"}},
            {"select left(s, 2) + right(s, 1) from t",
             {"select tsql_add(tsql_left(s, 2), tsql_right(s, 1)) from t"}},
            {"select a.s + (b.s + 'x') 'v' from t a, t b where a.s + 'x' = 'ax'",
             {"select tsql_add(a.s, (tsql_add(b.s, 'x'))) AS \"v\" from t a, t b where "
              "tsql_add(a.s, 'x') = 'ax' COLLATE tsql_ci"}},
            {"select isnull(s, '') + 'x' from t", {"select tsql_add(ifnull(s, ''), 'x') from t"}},
            {"select n / 2, n % 3, 7.0 / 0.5 from t", {"select n / 2, n % 3, 7.0 / 0.5 from t"}},
            {"select n / n, n % 0, n / -d, n / (n - 1), n / count(*) * 2 from t",
             {"select n / tsql_nonzero(n), n % tsql_nonzero(0), n / CAST(tsql_nonzero(-d) AS "
              "REAL), n / tsql_nonzero((n - 1)), n / tsql_nonzero(count(*)) * 2 from t"}},
            // a decimal on either side of / keeps the fraction
            {"select d / 2, t.d / -4, 2 / d, n * d / 3, d / 2 / n, d % 2, 1e1 / 4 from t",
             {"select d / 2.0, t.d / -4.0, 2 / CAST(tsql_nonzero(d) AS REAL), n * d / 3.0, d "
              "/ 2.0 / CAST(tsql_nonzero(n) AS REAL), d % 2, 1e1 / 4.0 from t"}},
            {"select cast(n as decimal(9, 2)) / 2, convert(money, n) / 2, n / (d + 1), "
             "sum(d) / count(*), isnull(d, 0) / 4, n / 0.0 from t",
             {"select tsql_convert('DECIMAL', 2, n, NULL) / 2.0, tsql_convert('MONEY', 4, n, "
              "NULL) / 2.0, n / CAST(tsql_nonzero((d + 1)) AS REAL), sum(d) / "
              "CAST(tsql_nonzero(count(*)) AS REAL), ifnull(d, 0) / 4.0, n / "
              "tsql_nonzero(0.0) from t"}},
            // types not known here: SQLite's division of the values
            {"select (select max(d) from t) / 2, case when n = 1 then d end / 2, sum(n) "
             "/ 2, cast(d as int) / 2 from t",
             {"select (select max(d) from t) / 2, case when n = 1 then d end / 2, sum(n) "
              "/ 2, tsql_convert('INT', NULL, d, NULL) / 2 from t"}},
            {"select avg(n), avg(d), avg(distinct n * 2), avg(n + 0.5), avg(len(s)) from t",
             {"select tsql_avg_int(n), avg(d), tsql_avg_int(distinct n * 2), avg(n + 0.5), "
              "tsql_avg_int(len(s)) from t"}},
        },
        schema);
}

TEST(Translate, RewritesUpdateWithJoinToSqliteUpdateFrom) {
    ExpectRewrites({
        {"UPDATE u \r\nSET FSampQty=CASE WHEN u.FSampQty<=0 THEN NULL ELSE u.FSampQty END\r\n"
         ",FACqty1=CASE WHEN u.FSampQty<=0 THEN NULL ELSE u.FACqty1 END\r\nFROM QMSampStdEntry "
         "u\r\n"
         "INNER JOIN QMSampStd v ON v.FID=u.FID\r\n WHERE v.FSampMethodID= 50 AND u.FID =7\r\n",
         {"UPDATE QMSampStdEntry AS u \r\nSET FSampQty=CASE WHEN u.FSampQty<=0 THEN NULL ELSE "
          "u.FSampQty END\r\n"
          ",FACqty1=CASE WHEN u.FSampQty<=0 THEN NULL ELSE u.FACqty1 END\r\nFROM QMSampStd v WHERE "
          "(v.FID=u.FID) "
          "AND (v.FSampMethodID= 50 AND u.FID =7)"}},
        {"update a set a.x = b.y from T a join X b on b.id = a.id",
         {"update T AS a set x = b.y from X b WHERE (b.id = a.id)"}},
        {"update T set x = b.y from X b, T where b.id = T.id",
         {"update T set x = b.y from X b where (b.id = T.id)"}},
        {"update a set x = 1 from T a", {"update T AS a set x = 1"}},
        {"update a set x = c.z from X b inner join T a on a.id = b.id left join Y c on c.k = b.k "
         "where b.f = 1",
         {"update T AS a set x = c.z from X b LEFT JOIN Y c ON c.k = b.k where (a.id = b.id) AND "
          "(b.f = 1)"}},
        {"update T set x = 1 from X where X.id = T.id",
         {"update T set x = 1 from X where X.id = T.id"}},
        {"update a set x = 1 from T a cross join X b, Y c left outer join Z d on d.k = c.k",
         {"update T AS a set x = 1 from X b, Y c LEFT JOIN Z d ON d.k = c.k"}},
        {"update [a] set [a].x = 1 from dbo.T as [a] inner join X b on b.id = [a].id",
         {"update T AS \"a\" set x = 1 from X b WHERE (b.id = \"a\".id)"}},
    });
}

TEST(Translate, PutsDateLiteralsMeetingDatesIntoStoredForm) {
    SchemaInfo schema;
    schema.AddColumn("qmsamplingentry", "FSaveDT", "DATETIME");
    schema.AddColumn("qmsamplingentry", "FSampleNo", "TEXT");
    schema.AddColumn("t", "FDate", "DATETIME");
    schema.AddColumn("u", "FDate", "TEXT");  // a name that is a date in one table only
    ExpectRewrites(
        {
            {"select 1 from t2 where convert(datetime,convert(varchar(30),t2.FDate,111)) "
             "<='2009-10-01'",
             {"select 1 from t2 where tsql_convert('DATETIME', NULL, tsql_convert('VARCHAR', 30, "
              "t2.FDate, 111), "
              "NULL) <='2009-10-01 00:00:00'"}},
            {"select 1 from e where e.FSaveDT >= '2024/3/5' and FSampleNo = '2024/3/5'",
             {"select 1 from e where e.FSaveDT >= '2024-03-05 00:00:00' and FSampleNo = "
              "'2024/3/5'"}},
            {"select 1 from e where FSaveDT between '20240301' and '2024-03-31 23:59'",
             {"select 1 from e where FSaveDT between '2024-03-01 00:00:00' and '2024-03-31 "
              "23:59:00'"}},
            {"select 1 from e where '2024-3-1' < getdate() and FDate = '2024-3-1'",
             {"select 1 from e where '2024-03-01 00:00:00' < tsql_getdate() and FDate = "
              "'2024-3-1'"}},
            {"insert into qmsamplingentry (FSampleNo, FSaveDT) values ('2024-3-1', '2024-3-1'), "
             "('x', NULL)",
             {"insert into qmsamplingentry (FSampleNo, FSaveDT) values ('2024-3-1', '2024-03-01 "
              "00:00:00'), ('x', "
              "NULL)"}},
            {"insert into qmsamplingentry values ('2024/03/02 8:30', '2024-3-1')",
             {"insert into qmsamplingentry values ('2024-03-02 08:30:00', '2024-3-1')"}},
            {"update qmsamplingentry set FSaveDT = '2024/3/9', FSampleNo = '2024/3/9'",
             {"update qmsamplingentry set FSaveDT = '2024-03-09 00:00:00', FSampleNo = "
              "'2024/3/9'"}},
            {"update e set FSaveDT = 'soon'", {"update e set FSaveDT = 'soon'"}},
        },
        schema);
}

TEST(Translate, RefusesWhatHasNoFaithfulTranslation) {
    struct Case {
        const char* sql;
        const char* reason;
    };
    const Case cases[] = {
        {"select a from t where b like '[a-c]%'", "character classes"},
        {"select top 10 percent a from t", "PERCENT"},
        {"select top 1 with ties a from t order by a", "WITH TIES"},
        {"select top 1 a from t union select b from u", "UNION"},
        {"delete top (1) from t", "TOP"},
        {"select a from t where b = @b", "variable @b"},
        {"exec sp_who", "EXEC"},
        {"if exists (select 1 from t)", "IF"},
        {"begin tran", "BEGIN"},
        {"set dateformat ymd", "SET dateformat"},
        {"select convert(xml, a) from t", "conversion to xml"},
        {"select convert(varchar(10), a, 103) from t", "CONVERT style 103"},
        {"select convert(varchar(10), a, b) from t", "style that is not a number"},
        {"select convert(varchar(10), a, 99999999999) from t", "style that is not a number"},
        {"select convert(varchar(10), a, .5) from t", "style that is not a number"},
        {"select convert(varchar, ) from t", "CONVERT of nothing"},
        {"select convert(char,) from t", "CONVERT of nothing"},
        {"select convert(varchar(), a) from t", "type varchar with no length"},
        {"select cast(a as decimal()) from t", "type decimal with no length"},
        {"select dateadd(week, 1, a) from t", "DATEADD of week"},
        {"select datepart(fortnight, a) from t", "DATEPART of fortnight"},
        {"select datepart(day) from t", "DATEPART with those arguments"},
        {"create procedure p as select 1", "CREATE PROCEDURE"},
        {"alter function f() returns int", "ALTER FUNCTION"},
        {"select a from t order by a offset 1 rows", "OFFSET"},
        {"insert into t (a) output inserted.a values (1)", "OUTPUT"},
        {"alter table t alter column a int", "ALTER COLUMN"},
        {"alter table t add a int, b text", "ADD of several columns"},
        {"select a from t cross apply f(t.a)", "APPLY"},
        {"create table #t (id int identity(1,1))", "IDENTITY"},
        {"create table #t (d datetime default getdate())", "table definition"},
        {"update a set x = 1 from X b right join T a on a.id = b.id", "RIGHT JOIN"},
        {"delete a from T a join X b on a.id = b.id", "joined FROM"},
        {"update a set x = 1 from T a on", "JOIN with an empty ON"},
        {"update a set x = 1 from X b join T a on where b.f = 1", "JOIN with an empty ON"},
        {"update a set x = 1 from T a left join X b", "LEFT JOIN without ON"},
        {"update a set x = 1 from T a join X b on a.id = b.id where", "WHERE without a condition"},
        {"update a set x = 1 from (select 1 id) a, X b", "UPDATE of that joined table"},
        {"update a set x = 1 from X b left join T a on a.id = b.id", "UPDATE of that joined table"},
        {"update a set x = 1 from T a full join X b on a.id = b.id", "FULL JOIN"},
        {"update a set x = 1 from T a natural join X b", "FROM clause of an UPDATE"},
        {"select 0x1F", "binary literal"},
        {"select a from t where b = ?", "parameter marker"},
        {"select a from t for xml auto", "FOR XML"},
    };
    for (const Case& c : cases) {
        try {
            TranslateBatch(c.sql);
            ADD_FAILURE() << "accepted: " << c.sql;
        } catch (const HostError& e) {
            EXPECT_EQ(e.Number(), kDatabaseErrorNumber) << c.sql;
            EXPECT_EQ(e.Source(), kDatabaseErrorSource) << c.sql;
            EXPECT_THAT(e.Description(), HasSubstr(c.reason)) << c.sql;
            EXPECT_THAT(e.Description(), HasSubstr("[" + std::string(c.sql) + "]")) << c.sql;
        }
    }
}

TEST(Translate, TellsWhichStatementsChangeTheSchema) {
    const auto batch = TranslateBatch(
        "create table #t (a int) create table p (a int) drop table #t drop table p select a into q "
        "from p "
        "select a into #u from p");
    ASSERT_EQ(batch.size(), 6u);
    EXPECT_EQ(batch[0].createsTempTable, "#t");
    EXPECT_FALSE(batch[0].changesSchema);
    EXPECT_TRUE(batch[1].changesSchema);
    EXPECT_FALSE(batch[2].changesSchema);
    EXPECT_TRUE(batch[3].changesSchema);
    EXPECT_TRUE(batch[4].changesSchema);
    EXPECT_EQ(batch[5].createsTempTable, "#u");
    // SELECT ... INTO: the table and the bare query, for the executor to create the table.
    EXPECT_EQ(batch[4].intoTable, "q");
    EXPECT_EQ(batch[5].intoTable, "\"#u\"");
    EXPECT_EQ(batch[5].intoQuery, "select a from p");
    EXPECT_TRUE(batch[0].intoTable.empty());
    EXPECT_EQ(batch[1].source, "create table p (a int)");
}

TEST(ParseSqlDate, ReadsSqlServerDateLiterals) {
    struct Case {
        const char* text;
        const char* stored;  // "" when refused
    };
    const Case cases[] = {
        {"2024-03-15", "2024-03-15 00:00:00"},
        {"2024/3/5", "2024-03-05 00:00:00"},
        {"20240315", "2024-03-15 00:00:00"},
        {"20240315 08:30", "2024-03-15 08:30:00"},
        {"2024-03-15T08:30:05", "2024-03-15 08:30:05"},
        {"2024-03-15 08:30:05.123", "2024-03-15 08:30:05"},
        {" 2024-03-15 ", "2024-03-15 00:00:00"},
        {"2024-02-30", ""},
        {"15.03.2024", ""},
        {"", ""},
        {"abc", ""},
    };
    for (const Case& c : cases) {
        const auto date = ParseSqlDate(c.text);
        EXPECT_EQ(date ? date->ToStorageString() : "", c.stored) << c.text;
    }
}

}  // namespace
}  // namespace velaqm::host
