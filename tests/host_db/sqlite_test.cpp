// The RAII layer over SQLite: how values come out of and go into columns, and how every
// failure (bad statements, missing, foreign and write-protected files) becomes a HostError.
#include "host/db/sqlite.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "frame/convert.h"
#include "frame/host_error.h"

namespace velaqm::host {
namespace {

using ::testing::HasSubstr;

class DatabaseFile : public ::testing::Test {
  protected:
    void SetUp() override {
        dir = std::filesystem::temp_directory_path() /
              ("velaqm_sqlite_test_" +
               std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
    }
    void TearDown() override {
        std::error_code ec;
        std::filesystem::permissions(dir / "ro.db", std::filesystem::perms::owner_all, ec);
        std::filesystem::remove_all(dir, ec);
    }
    std::filesystem::path dir;
};

// Runs `action` and returns the HostError it throws (failing the test when none comes).
template <class Action>
HostError Failure(Action action) {
    try {
        action();
    } catch (const HostError& e) {
        return e;
    }
    ADD_FAILURE() << "no HostError";
    return HostError(0, "", "");
}

TEST(StatementColumns, ConvertByStorageAndDeclaredType) {
    Connection db(":memory:", OpenMode::kCreate);
    ExecuteSimple(
        db,
        "CREATE TABLE v (plain, i INTEGER, d DATETIME, day DATE, m DECIMAL(18,2), n NUMERIC, "
        "money MONEY, b BIT, sd SMALLDATETIME, d2 DATETIME2)");
    struct Case {
        const char* column;
        const char* value;
        VarType type;
        const char* text;
    };
    const Case cases[] = {
        {"plain", "NULL", VarType::Null, ""},
        {"plain", "12", VarType::Long, "12"},
        {"plain", "1099511627776", VarType::Decimal, "1099511627776"},
        {"plain", "123456789012345678", VarType::Decimal, "123456789012345678"},
        {"plain", "2.5", VarType::Double, "2.5"},
        {"plain", "'样品'", VarType::String, "样品"},
        {"plain", "'2024-03-15 08:30:00'", VarType::String, "2024-03-15 08:30:00"},
        {"i", "-2147483648", VarType::Long, "-2147483648"},
        {"i", "2147483648", VarType::Decimal, "2147483648"},
        {"i", "-9223372036854775808", VarType::Decimal, "-9223372036854775808"},
        {"d", "'2024-03-15 08:30:00'", VarType::Date, "2024-03-15 08:30:00"},
        {"d", "'2024-03-15 00:00:00'", VarType::Date, "2024-03-15"},
        {"d", "'2024-03-15T08:30:00.250'", VarType::Date, "2024-03-15 08:30:00"},
        {"d", "'soon'", VarType::String, "soon"},
        {"d", "NULL", VarType::Null, ""},
        {"day", "'2024-3-5'", VarType::Date, "2024-03-05"},
        {"sd", "'2024-03-15 08:30:00'", VarType::Date, "2024-03-15 08:30:00"},
        {"d2", "'2024-03-15 08:30:00.250'", VarType::Date, "2024-03-15 08:30:00"},
        {"m", "12.5", VarType::Decimal, "12.5"},
        {"m", "'33.33'", VarType::Decimal, "33.33"},
        {"m", "3", VarType::Decimal, "3"},
        {"n", "'abc'", VarType::String, "abc"},
        {"money", "0.1", VarType::Decimal, "0.1"},
        {"b", "1", VarType::Boolean, "True"},
        {"b", "0", VarType::Boolean, "False"},
    };
    for (const Case& c : cases) {
        ExecuteSimple(db, "DELETE FROM v");
        ExecuteSimple(db, std::string("INSERT INTO v (") + c.column + ") VALUES (" + c.value + ")");
        Statement read(db, std::string("SELECT ") + c.column + " FROM v");
        ASSERT_TRUE(read.Step());
        const Variant value = read.Column(0);
        EXPECT_EQ(value.Type(), c.type) << c.column << " " << c.value;
        EXPECT_EQ(Text(value), c.text) << c.column << " " << c.value;
    }
    // An expression has no declared type: its text stays text.
    Statement expression(db, "SELECT '2024-03-15' || '' AS x, max(d) FROM v");
    ASSERT_TRUE(expression.Step());
    EXPECT_EQ(expression.Column(0).Type(), VarType::String);
    EXPECT_EQ(expression.ColumnName(0), "x");
}

TEST(StatementBind, StoresEachKindOfValue) {
    Connection db(":memory:", OpenMode::kCreate);
    struct Case {
        Variant value;
        const char* storage;
        const char* text;
    };
    const Case cases[] = {
        {Variant(), "null", ""},
        {Variant(kNull), "null", ""},
        {Variant(true), "integer", "1"},
        {Variant(42), "integer", "42"},
        {Variant(2.5), "real", "2.5"},
        {Variant(Decimal(7)), "integer", "7"},
        {Variant(*Decimal::Parse("33.33")), "real", "33.33"},
        {Variant("it's"), "text", "it's"},
        {Variant(Date(2024, 3, 15)), "text", "2024-03-15 00:00:00"},
    };
    Statement probe(db, "SELECT typeof(?1), ?1");
    for (const Case& c : cases) {
        probe.Reset();
        probe.Bind(1, c.value);
        ASSERT_TRUE(probe.Step());
        EXPECT_EQ(Text(probe.Column(0)), c.storage) << c.text;
        EXPECT_EQ(Text(probe.Column(1)), c.text);
    }
    const HostError e = Failure([&] { probe.Bind(1, Variant(ObjectPtr())); });
    EXPECT_EQ(e.Number(), kErrTypeMismatch);
}

// Text with no statement in it (blanks, comments, or text SQLite stops reading at a NUL)
// compiles to an empty statement that runs, and is reset, as doing nothing.
TEST(StatementEmpty, RunsAndResetsAsNothing) {
    using namespace std::string_view_literals;
    Connection db(":memory:", OpenMode::kCreate);
    for (std::string_view sql : {"  "sv, "-- only a note"sv, "\0select 1"sv}) {
        Statement statement(db, sql);
        EXPECT_TRUE(statement.Empty());
        EXPECT_FALSE(statement.Step());
        statement.Reset();
    }
}

TEST(StatementErrors, NameSqlitesMessageAndTheStatement) {
    Connection db(":memory:", OpenMode::kCreate);
    ExecuteSimple(db, "CREATE TABLE t (a INTEGER UNIQUE)");
    ExecuteSimple(db, "INSERT INTO t VALUES (1)");
    struct Case {
        const char* sql;
        const char* message;
    };
    const Case cases[] = {
        {"SELEC a FROM t", "syntax error"},
        {"SELECT b FROM t", "no such column: b"},
        {"SELECT a FROM missing", "no such table: missing"},
        {"INSERT INTO t VALUES (1)", "UNIQUE constraint failed: t.a"},
    };
    for (const Case& c : cases) {
        const HostError e = Failure([&] { Statement(db, c.sql).Run(); });
        EXPECT_EQ(e.Number(), kDatabaseErrorNumber);
        EXPECT_EQ(e.Source(), "VelaConnection.Appconnection");
        EXPECT_THAT(e.Description(), HasSubstr(c.message));
        EXPECT_THAT(e.Description(), HasSubstr(std::string("[") + c.sql + "]"));
    }
    // A statement that failed in a step can run again.
    Statement insert(db, "INSERT INTO t VALUES (?)");
    insert.Bind(1, 1);
    EXPECT_THROW(insert.Run(), HostError);
    insert.Reset();
    insert.Bind(1, 2);
    insert.Run();
    EXPECT_EQ(db.Changes(), 1);
}

TEST_F(DatabaseFile, OpeningRefusesMissingForeignAndWriteProtectedFiles) {
    const auto missing = dir / "missing.db";
    HostError e = Failure([&] { Connection(missing, OpenMode::kReadWrite); });
    EXPECT_THAT(e.Description(), HasSubstr("database file not found [" + missing.string() + "]"));
    EXPECT_FALSE(std::filesystem::exists(missing));
    EXPECT_THROW(Connection(missing, OpenMode::kReadOnly), HostError);
    EXPECT_FALSE(std::filesystem::exists(missing));

    const auto text = dir / "notes.db";
    const std::string content =
        "these are notes, not a database, long enough to be read as a header";
    std::ofstream(text) << content;
    for (OpenMode mode : {OpenMode::kReadWrite, OpenMode::kReadOnly, OpenMode::kCreate}) {
        e = Failure([&] { Connection(text, mode); });
        EXPECT_THAT(e.Description(), HasSubstr("file is not a database [" + text.string() + "]"));
    }
    std::ifstream in(text);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), content);
    EXPECT_EQ(std::filesystem::directory_iterator(dir)->path(), text);  // no journal left behind

    const auto readOnly = dir / "ro.db";
    {
        Connection created(readOnly, OpenMode::kCreate);
        ExecuteSimple(created, "CREATE TABLE t (a)");
    }
    std::filesystem::permissions(readOnly, std::filesystem::perms::owner_read |
                                               std::filesystem::perms::group_read |
                                               std::filesystem::perms::others_read);
    e = Failure([&] { Connection(readOnly, OpenMode::kReadWrite); });
    EXPECT_THAT(e.Description(),
                HasSubstr("read-only database file for writing [" + readOnly.string() + "]"));
    Connection reader(readOnly, OpenMode::kReadOnly);
    EXPECT_TRUE(reader.ReadOnly());
    e = Failure([&] { ExecuteSimple(reader, "INSERT INTO t VALUES (1)"); });
    EXPECT_THAT(e.Description(), HasSubstr("readonly database"));
}

TEST_F(DatabaseFile, CreateMakesANewDatabaseAndOpensAnExistingOne) {
    const auto file = dir / "new.db";
    {
        Connection db(file, OpenMode::kCreate);
        ExecuteSimple(db, "CREATE TABLE t (a)");
        ExecuteSimple(db, "INSERT INTO t VALUES (5)");
    }
    Connection again(file, OpenMode::kCreate);
    Statement read(again, "SELECT a FROM t");
    ASSERT_TRUE(read.Step());
    EXPECT_EQ(read.Column(0), Variant(5));
}

int Count(const Connection& db) {
    Statement count(db, "SELECT count(*) FROM t");
    count.Step();
    return count.Column(0).AsLong();
}

TEST(TransactionScope, RollsBackUnlessCommittedAndNestsAsSavepoints) {
    Connection db(":memory:", OpenMode::kCreate);
    ExecuteSimple(db, "CREATE TABLE t (a)");
    {
        Transaction t(db);
        ExecuteSimple(db, "INSERT INTO t VALUES (1)");
    }
    EXPECT_EQ(Count(db), 0);
    EXPECT_FALSE(db.InTransaction());
    {
        Transaction outer(db);
        ExecuteSimple(db, "INSERT INTO t VALUES (1)");
        {
            Transaction inner(db);
            ExecuteSimple(db, "INSERT INTO t VALUES (2)");
        }
        EXPECT_EQ(Count(db), 1);
        {
            Transaction inner(db);
            ExecuteSimple(db, "INSERT INTO t VALUES (3)");
            inner.Commit();
        }
        outer.Commit();
    }
    EXPECT_EQ(Count(db), 2);
    EXPECT_FALSE(db.InTransaction());
    // An error inside leaves the table as it was once the scope unwinds.
    try {
        Transaction t(db);
        ExecuteSimple(db, "INSERT INTO t VALUES (4)");
        ExecuteSimple(db, "INSERT INTO missing VALUES (5)");
        t.Commit();
    } catch (const HostError&) {
    }
    EXPECT_EQ(Count(db), 2);
}

}  // namespace
}  // namespace velaqm::host
