// The host's database: batches of SQL Server text, the SQL Server functions, the session clock,
// the caches of translations and statements, and native SQL.
#include "host/db/database.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "frame/convert.h"
#include "frame/host_error.h"
#include "tests/support/host_error_of.h"

namespace velaqm::host {
namespace {

using ::testing::HasSubstr;

class DatabaseTest : public ::testing::Test {
  protected:
    void SetUp() override {
        db.ExecuteNative(
            "CREATE TABLE t (id INTEGER PRIMARY KEY, name TEXT, due DATETIME);"
            "INSERT INTO t VALUES (1, 'a', '2024-03-01 00:00:00'), (2, 'b', NULL);");
        db.SetClock([this] { return now; });
    }
    std::string First(std::string_view sql) {
        const ResultSet result = db.Execute(sql);
        if (result.rows.empty()) return "(no row)";
        return result.rows[0][0].IsNull() ? "NULL" : Text(result.rows[0][0]);
    }
    Database db{":memory:"};
    Date now{2024, 3, 15, 10, 11, 12};
};

TEST_F(DatabaseTest, BatchReturnsTheLastResultThatHadColumns) {
    ResultSet result = db.Execute(
        "select name from t where id = 1 select id, name from t order by id "
        "update t set name = 'c' where id = 2");
    EXPECT_TRUE(result.isQuery);
    EXPECT_EQ(result.columns, (std::vector<std::string>{"id", "name"}));
    ASSERT_EQ(result.rows.size(), 2u);
    EXPECT_EQ(result.rows[1][1], Variant("b"));
    EXPECT_EQ(First("select name from t where id = 2"), "c");

    result = db.Execute("update t set name = 'd' where id = 2");
    EXPECT_FALSE(result.isQuery);
    EXPECT_TRUE(result.columns.empty());

    result = db.Execute("select name from t where id = 99");
    EXPECT_TRUE(result.isQuery);
    EXPECT_TRUE(result.rows.empty());
    EXPECT_FALSE(db.Execute("SET NOCOUNT ON").isQuery);
}

TEST_F(DatabaseTest, FailingStatementStopsTheBatchAndNamesItself) {
    try {
        db.Execute(
            "update t set name = 'x' where id = 1\r\nselect missing from t\r\nupdate t set name = "
            "'y'");
        FAIL() << "no error";
    } catch (const HostError& e) {
        EXPECT_EQ(e.Number(), kDatabaseErrorNumber);
        EXPECT_EQ(e.Source(), "VelaConnection.Appconnection");
        EXPECT_EQ(e.Description(), "no such column: missing [select missing from t]");
    }
    // Statements before the failing one stay done, as on the host's connection; later ones
    // never ran.
    EXPECT_EQ(First("select name from t where id = 1"), "x");
    EXPECT_EQ(First("select count(*) from t where name = 'y'"), "0");
}

TEST_F(DatabaseTest, SqlServerFunctionsBehaveAsOnTheHost) {
    struct Case {
        const char* expression;
        const char* result;
    };
    const Case cases[] = {
        {"GETDATE()", "2024-03-15 10:11:12"},
        {"getdate()", "2024-03-15 10:11:12"},
        {"CONVERT(CHAR(10),GETDATE(),120)", "2024-03-15"},
        {"CONVERT(DATETIME,CONVERT(CHAR(10),GETDATE(),120),120)", "2024-03-15 00:00:00"},
        {"convert(varchar(30),'2024-03-15 10:11:12',111)", "2024/03/15"},
        {"convert(datetime,convert(varchar(30),'2024-03-15 10:11:12',111))", "2024-03-15 00:00:00"},
        {"convert(varchar(8), due, 112)", "20240301"},
        {"convert(varchar(19), getdate(), 20)", "2024-03-15 10:11:12"},
        {"convert(varchar(10), getdate(), 102)", "2024.03.15"},
        {"convert(varchar(8), getdate(), 108)", "10:11:12"},
        {"convert(varchar(23), getdate(), 121)", "2024-03-15 10:11:12.000"},
        {"convert(varchar(10), getdate(), 23)", "2024-03-15"},
        {"convert(datetime, '20240315')", "2024-03-15 00:00:00"},
        {"convert(date, '2024-03-15 10:00')", "2024-03-15 00:00:00"},
        {"convert(varchar(5), 'abcdefg')", "abcde"},
        {"convert(varchar, 12)", "12"},
        {"convert(nvarchar(max), 1.5)", "1.5"},
        {"convert(varchar(2), N'样品编号')", "样品"},
        {"convert(int, '42')", "42"},
        {"convert(int, 3.9)", "3"},
        {"convert(int, -3.9)", "-3"},
        {"convert(decimal(10,2), '3.14159')", "3.14"},
        {"convert(numeric(10,0), 2.5)", "2"},
        {"convert(float, '0.25')", "0.25"},
        {"convert(bit, 'true')", "1"},
        {"convert(int, NULL)", "NULL"},
        {"cast('2024-3-5' as datetime)", "2024-03-05 00:00:00"},
        {"cast(7 as varchar(10))", "7"},
        {"isnull(NULL, 5)", "5"},
        {"isnull(name, 'none')", "a"},
        {"len('ab  ')", "2"},
        {"len(N'样品')", "2"},
        {"len(NULL)", "NULL"},
        {"charindex('B', 'abcb')", "2"},
        {"charindex('b', 'abcb', 3)", "4"},
        {"charindex('x', 'abc')", "0"},
        {"charindex('品', N'样品')", "2"},
        {"left(N'样品编号', 2)", "样品"},
        {"right('abc', 2)", "bc"},
        {"right('abc', 5)", "abc"},
        {"substring('abcdef', 2, 3)", "bcd"},
        {"dateadd(day, 1, '2024-02-28')", "2024-02-29 00:00:00"},
        {"dateadd(mm, 1, '2024-01-31')", "2024-02-29 00:00:00"},
        {"dateadd(yy, 1, '2024-02-29')", "2025-02-28 00:00:00"},
        {"dateadd(hour, -1, '2024-03-01')", "2024-02-29 23:00:00"},
        {"dateadd(second, 90, '2024-03-01 23:59:00')", "2024-03-02 00:00:30"},
        {"datediff(day, '2024-03-14 23:00', '2024-03-15 01:00')", "1"},
        {"datediff(month, '2023-12-31', '2024-01-01')", "1"},
        {"datediff(year, '2024-12-31', '2023-01-01')", "-1"},
        {"datediff(hour, '2024-03-14 23:59', '2024-03-15 00:00')", "1"},
        {"datediff(minute, '2024-03-15 10:00:59', '2024-03-15 10:01:00')", "1"},
        {"convert(varchar, '2024-03-15 10:11:12.345', 121)", "2024-03-15 10:11:12.345"},
        {"convert(varchar(23), '2024-03-15T10:11:12.5', 21)", "2024-03-15 10:11:12.500"},
        {"convert(varchar, '2024-03-15 10:11:12.345', 120)", "2024-03-15 10:11:12"},
        {"convert(datetime, '2024-03-15 10:11:12.345')", "2024-03-15 10:11:12.345"},
        {"datepart(year, getdate())", "2024"},
        {"datepart(quarter, '2024-12-31')", "4"},
        {"datepart(m, due)", "3"},
        {"datepart(dayofyear, '2024-12-31')", "366"},
        {"datepart(dd, due)", "1"},
        {"datepart(week, '2024-01-06')", "1"},
        {"datepart(week, '2024-01-07')", "2"},
        {"datepart(ww, '2023-12-31')", "53"},
        {"datepart(weekday, '2024-03-17')", "1"},
        {"datepart(dw, '2024-03-16')", "7"},
        {"datepart(hh, getdate())", "10"},
        {"datepart(n, getdate())", "11"},
        {"datepart(second, getdate())", "12"},
        {"datepart(ms, '2024-03-15 10:11:12.345')", "345"},
        {"datepart(ms, getdate())", "0"},
        {"datepart(day, NULL)", "NULL"},
        {"year(due)", "2024"},
        {"month('2024/7/4')", "7"},
        {"day(getdate())", "15"},
        {"datalength('ab  ')", "4"},
        {"datalength(N'样品ab')", "6"},
        {"datalength(12)", "4"},
        {"datalength(5000000000)", "8"},
        {"datalength(1.5)", "8"},
        {"datalength(NULL)", "NULL"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(First(std::string("select ") + c.expression + " from t where id = 1"), c.result)
            << c.expression;
    }
    // CHAR pads to its length (|| is SQLite's own concatenation, kept as written)
    EXPECT_EQ(First("select '[' || convert(char(4), 'ab') || ']'"), "[ab  ]");
}

TEST_F(DatabaseTest, FailingConversionsRaiseTheHostsMessages) {
    struct Case {
        const char* sql;
        const char* message;
    };
    const Case cases[] = {
        {"select convert(int, 'abc')",
         "Conversion failed when converting the varchar value 'abc' to data type int."},
        {"select convert(int, '1.5')", "to data type int."},
        {"select convert(int, 'a' || char(0) || 'b')", "value 'a\\0b' to data type int."},
        {"select convert(datetime, 'soon')",
         "Conversion failed when converting date and/or time from character string."},
        {"select left('abc', -1)", "Invalid length parameter passed to the left function."},
    };
    for (const Case& c : cases) {
        try {
            db.Execute(c.sql);
            ADD_FAILURE() << c.sql;
        } catch (const HostError& e) {
            EXPECT_THAT(e.Description(), HasSubstr(c.message)) << c.sql;
        }
    }
}

TEST_F(DatabaseTest, GetDateIsOneValuePerStatementFromTheSessionClock) {
    int calls = 0;
    db.SetClock([&] { return Date(2024, 3, 15).AddDays(calls++); });
    const ResultSet one = db.Execute("select getdate(), getdate() from t");
    ASSERT_EQ(one.rows.size(), 2u);
    EXPECT_EQ(one.rows[0][0], one.rows[1][1]);
    EXPECT_EQ(calls, 1);
    const ResultSet two = db.Execute("select getdate() select getdate()");
    EXPECT_EQ(Text(two.rows[0][0]), "2024-03-17 00:00:00");  // a second statement, a second reading
    db.SetClock(nullptr);                                    // back to the computer's own clock
    EXPECT_EQ(Text(db.Execute("select getdate()").rows[0][0]).size(), 19u);
}

TEST_F(DatabaseTest, DatesWrittenAndComparedInAnyFormAreStoredOneWay) {
    db.Execute("insert into t (id, name, due) values (3, 'c', '2024/3/15')");
    db.Execute("update t set due = '20240316' where id = 2");
    EXPECT_EQ(First("select due from t where id = 3"), "2024-03-15");
    EXPECT_EQ(First("select typeof(due) || ':' || due from t where id = 2"),
              "text:2024-03-16 00:00:00");
    EXPECT_EQ(First("select count(*) from t where due >= '2024/03/15'"), "2");
    EXPECT_EQ(First("select count(*) from t where due between '2024-3-1' and '2024-3-15'"), "2");
    EXPECT_EQ(First("select count(*) from t where due >= "
                    "CONVERT(DATETIME,CONVERT(CHAR(10),GETDATE(),120),120)"),
              "2");
}

TEST_F(DatabaseTest, TranslationsAreCachedUntilTheSchemaChanges) {
    db.ClearCaches();
    const std::string insert = "insert into d values ('2024/3/1')";
    db.ExecuteNative("CREATE TABLE d (x TEXT)");
    db.Execute(insert);
    db.Execute(insert);
    EXPECT_EQ(db.CachedTranslations(), 1u);
    // The same text now writes a date column: it is translated again.
    db.ExecuteNative("DROP TABLE d; CREATE TABLE d (x DATETIME)");
    EXPECT_EQ(db.CachedTranslations(), 0u);
    db.Execute(insert);
    EXPECT_EQ(First("select x from d"), "2024-03-01");
    // Temp tables made by a batch do not count as a change of the schema.
    db.Execute("create table #w (a int) insert into #w values (1) select a from #w drop table #w");
    EXPECT_EQ(db.CachedTranslations(), 3u);
    db.Execute("create table e (a int)");
    EXPECT_EQ(db.CachedTranslations(), 0u);
}

TEST_F(DatabaseTest, RefusedTextNamesTheConstruct) {
    const HostError refused =
        testing::HostErrorOf([&] { db.Execute("select name from t order by id offset 1 rows"); });
    EXPECT_EQ(refused.Number(), kDatabaseErrorNumber);
    EXPECT_EQ(refused.Description(),
              "SQL Server construct not supported by the substitute host: OFFSET ... FETCH "
              "(use TOP) [select name from t order by id offset 1 rows]");
}

// SQLite's errors about a statement are told about the SQL Server text the user wrote: its
// words, its functions, the statement itself, never the translation.
TEST_F(DatabaseTest, SqliteErrorsSpeakOfTheStatementAsWritten) {
    struct Case {
        const char* sql;
        const char* description;
    };
    const Case cases[] = {
        {"select top 1 name from t order by",
         "Incorrect syntax in the statement. [select top 1 name from t order by]"},
        {"select name frm t where", "Incorrect syntax near 't'. [select name frm t where]"},
        {"select name from [no table]", "no such table: no table [select name from [no table]]"},
        {"select FName from #missing", "no such table: #missing [select FName from #missing]"},
        {"select top 1 missing from t", "no such column: missing [select top 1 missing from t]"},
        {"select nosuch(name) from t",
         "SQL Server function not supported by the substitute host: NOSUCH [select "
         "nosuch(name) from t]"},
        {"select isnull(name) from t",
         "Wrong number of arguments to the function ISNULL. [select isnull(name) from t]"},
        {"select convert(int, name) from t",
         "Conversion failed when converting the varchar value 'a' to data type int. [select "
         "convert(int, name) from t]"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(testing::HostErrorOf([&] { db.Execute(c.sql); }).Description(), c.description);
}

TEST_F(DatabaseTest, PreparedStatementsAreSharedOnlyWhenFree) {
    auto first = db.Prepare("SELECT name FROM t WHERE id = ?");
    first->Bind(1, 1);
    ASSERT_TRUE(first->Step());
    auto second = db.Prepare("SELECT name FROM t WHERE id = ?");  // the first is still held
    EXPECT_NE(first.get(), second.get());
    second->Bind(1, 2);
    ASSERT_TRUE(second->Step());
    EXPECT_EQ(first->Column(0), Variant("a"));
    EXPECT_EQ(second->Column(0), Variant("b"));
    Statement* cached = first.get();
    first.reset();
    second.reset();
    auto again = db.Prepare("SELECT name FROM t WHERE id = ?");
    EXPECT_EQ(again.get(), cached);
    EXPECT_FALSE(again->Step());  // reset, nothing bound: id = NULL
}

TEST_F(DatabaseTest, NativeScriptsRunStatementByStatement) {
    const ResultSet result = db.ExecuteNative(
        "-- seed\nCREATE TABLE s (a INTEGER, b TEXT);\n/* rows */ INSERT INTO s VALUES (1, 'x; "
        "y');\n"
        "SELECT b FROM s;\n");
    EXPECT_EQ(result.columns, std::vector<std::string>{"b"});
    EXPECT_EQ(result.rows.at(0).at(0), Variant("x; y"));
    try {
        db.ExecuteNative(
            "INSERT INTO s VALUES (2, 'z'); INSERT INTO nowhere VALUES (1); SELECT 1;");
        FAIL();
    } catch (const HostError& e) {
        EXPECT_EQ(e.Description(), "no such table: nowhere [INSERT INTO nowhere VALUES (1);]");
    }
    EXPECT_EQ(First("select count(*) from s"), "2");
}

TEST_F(DatabaseTest, TransactionRollbackLeavesTheTableUnchanged) {
    {
        Transaction t = db.BeginTransaction();
        db.Execute("delete from t");
        EXPECT_EQ(First("select count(*) from t"), "0");
    }
    EXPECT_EQ(First("select count(*) from t"), "2");
    {
        Transaction t = db.BeginTransaction();
        db.Execute("delete from t where id = 2");
        t.Commit();
    }
    EXPECT_EQ(First("select count(*) from t"), "1");
}

}  // namespace
}  // namespace velaqm::host
