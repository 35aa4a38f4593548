// RAII over SQLite for the substitute host: a connection, a prepared statement and a
// transaction. Every SQLite failure leaves here as the HostError of db_error.h: SQLite's message
// and, in brackets, the statement (or the database file, for a failure to open).
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "frame/variant.h"
#include "host/db/db_error.h"

struct sqlite3;
struct sqlite3_stmt;

namespace velaqm::host {

enum class OpenMode {
    kReadWrite,  // an existing database, for reading and writing
    kReadOnly,   // an existing database, for reading
    kCreate,     // a new database when the file is missing, else as kReadWrite
};

// How long a statement waits for a lock that another connection (another velaqm process, say)
// holds before it fails.
inline constexpr int kBusyTimeoutMs = 10000;

class Connection {
  public:
    // ":memory:" opens a private in-memory database. A missing file (except with kCreate), a
    // file that is not a SQLite database, or a write-protected file opened for writing throws,
    // and nothing is written to the file.
    Connection(const std::filesystem::path& file, OpenMode mode);
    ~Connection();
    Connection(Connection&& other) noexcept;
    Connection& operator=(Connection&& other) noexcept;
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    sqlite3* Handle() const { return m_db; }
    const std::string& File() const { return m_file; }
    bool ReadOnly() const;
    bool InTransaction() const;
    std::int64_t Changes() const;
    std::int64_t LastInsertRowId() const;
    // Switches the file to the write-ahead log (kept in the file from then on). Processes that
    // open a file not yet switched race for it, and SQLite answers the loser "busy" at once
    // rather than wait into a deadlock: the switch is tried again until the busy timeout.
    void UseWriteAheadLog();

  private:
    void Close() noexcept;

    sqlite3* m_db = nullptr;
    std::string m_file;
};

class Statement {
  public:
    // Compiles the first statement of `sql`; `tail` (when given) receives the rest of the text.
    // Text holding no statement (blanks, comments) gives an empty Statement (`Empty()`).
    Statement(const Connection& connection, std::string_view sql, std::string_view* tail = nullptr);
    Statement(Statement&&) noexcept = default;
    Statement& operator=(Statement&&) noexcept = default;

    bool Empty() const { return !m_stmt; }
    std::string_view Sql() const { return m_sql; }

    // 1-based, as SQLite counts parameters. Empty and Null bind NULL, True 1, a Date its
    // storage text, a Decimal a whole number or a double; an object is a type mismatch.
    void Bind(int index, const Variant& value);
    void BindAll(std::span<const Variant> values);
    // Ready to run again from the start with no parameter bound.
    void Reset();

    // Advances to the next row: true while there is one.
    bool Step();
    // Runs to completion, discarding rows.
    void Run();

    int ColumnCount() const;
    std::string ColumnName(int column) const;
    // The leading word of the column's declared type, upper-cased (letters and digits only);
    // empty for an expression.
    std::string DeclaredTypeWord(int column) const;
    // NULL is Null; INTEGER a Long when it fits 32 bits, else a Double; REAL a Double; TEXT a
    // String. By the column's declared type: DATETIME, DATE and SMALLDATETIME text that reads
    // as a date is a Date; DECIMAL, NUMERIC, MONEY and SMALLMONEY values are Decimals; BIT
    // values are Booleans (ADO's reading of a bit column).
    Variant Column(int column) const;
    std::vector<Variant> Row() const;

  private:
    enum class ColumnKind : unsigned char { kPlain, kDate, kDecimal, kBit };
    struct Finalizer {
        void operator()(sqlite3_stmt* stmt) const noexcept;
    };
    [[noreturn]] void Fail() const;
    ColumnKind KindOf(int column) const;

    std::unique_ptr<sqlite3_stmt, Finalizer> m_stmt;
    sqlite3* m_db = nullptr;
    std::string m_sql;
    mutable std::vector<ColumnKind> m_kinds;
};

// BEGIN IMMEDIATE in the constructor (the write lock is taken, or waited for, at once), COMMIT by
// Commit(), ROLLBACK in the destructor otherwise. Inside an open transaction it nests as a
// savepoint, so a host save can run within a scenario's own transaction.
class Transaction {
  public:
    explicit Transaction(Connection& connection);
    ~Transaction();
    Transaction(Transaction&& other) noexcept;
    Transaction& operator=(Transaction&&) = delete;
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    void Commit();

  private:
    Connection* m_connection;
    std::string m_savepoint;  // empty for the outermost transaction
    bool m_open = true;
};

// A table or column name as a quoted SQLite identifier.
std::string QuoteName(std::string_view name);

// Runs one native statement with nothing to return (PRAGMA, BEGIN, ...).
void ExecuteSimple(const Connection& connection, std::string_view sql);

}  // namespace velaqm::host
