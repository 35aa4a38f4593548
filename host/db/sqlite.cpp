#include "host/db/sqlite.h"

#include <sqlite3.h>

#include <cctype>
#include <cmath>
#include <limits>
#include <system_error>
#include <utility>

#include "frame/convert.h"
#include "frame/host_error.h"
#include "host/db/dialect_types.h"
#include "host/db/tsql_functions.h"

namespace velaqm::host {

namespace {

// SQLite's message, or for a lock that was not given up in time, one a person can act on.
std::string ErrorMessage(sqlite3* db, int rc) {
    if ((rc & 0xff) == SQLITE_BUSY || (rc & 0xff) == SQLITE_LOCKED)
        return "the database is locked by another program and was still locked after " +
               std::to_string(kBusyTimeoutMs / 1000) + " seconds";
    return sqlite3_errmsg(db);
}

bool IsMemory(const std::filesystem::path& file) {
    return file.empty() || file.native() == ":memory:";
}

// The leading word of a declared type, upper-cased: "decimal(18, 2)" is "DECIMAL".
std::string TypeWord(const char* declared) {
    std::string word;
    if (!declared) return word;
    for (const char* p = declared; *p && (std::isalnum(static_cast<unsigned char>(*p)) != 0); ++p)
        word += static_cast<char>(std::toupper(static_cast<unsigned char>(*p)));
    return word;
}

Variant Plain(sqlite3_stmt* stmt, int column) {
    switch (sqlite3_column_type(stmt, column)) {
        case SQLITE_NULL:
            return kNull;
        case SQLITE_INTEGER: {
            // Beyond 32 bits a Decimal, exact, as ADO hands a bigint to the client.
            const std::int64_t value = sqlite3_column_int64(stmt, column);
            if (std::in_range<std::int32_t>(value)) return static_cast<std::int32_t>(value);
            return Decimal(value);
        }
        case SQLITE_FLOAT:
            return sqlite3_column_double(stmt, column);
        default: {
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, column));
            return std::string(text ? text : "",
                               static_cast<std::size_t>(sqlite3_column_bytes(stmt, column)));
        }
    }
}

// Accepts the storage form and its ISO variants ("2024-03-15T08:00:00.000").
std::optional<Date> ReadStoredDate(std::string_view text) {
    std::string cleaned(text);
    if (cleaned.size() > 10 && cleaned[10] == 'T') cleaned[10] = ' ';
    if (auto dot = cleaned.find('.', 10); dot != std::string::npos && cleaned.size() > 10)
        cleaned.erase(dot);
    return Date::Parse(cleaned);
}

}  // namespace

// --- Connection ---------------------------------------------------------------------------

Connection::Connection(const std::filesystem::path& file, OpenMode mode) : m_file(file.string()) {
    const bool memory = IsMemory(file);
    if (memory) {
        m_file = ":memory:";
    } else {
        std::error_code ec;
        const auto status = std::filesystem::status(file, ec);
        if (!std::filesystem::exists(status)) {
            if (mode != OpenMode::kCreate) ThrowDatabaseError("database file not found", m_file);
        } else if (!std::filesystem::is_regular_file(status)) {
            ThrowDatabaseError("not a database file", m_file);
        } else if (mode != OpenMode::kReadOnly) {
            using std::filesystem::perms;
            const auto writable = perms::owner_write | perms::group_write | perms::others_write;
            if ((status.permissions() & writable) == perms::none)
                ThrowDatabaseError("attempt to open a read-only database file for writing", m_file);
        }
    }
    int flags = SQLITE_OPEN_URI;
    switch (mode) {
        case OpenMode::kReadOnly:
            flags |= SQLITE_OPEN_READONLY;
            break;
        case OpenMode::kReadWrite:
            flags |= SQLITE_OPEN_READWRITE;
            break;
        case OpenMode::kCreate:
            flags |= SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
            break;
    }
    if (memory) flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_MEMORY;
    const int rc = sqlite3_open_v2(m_file.c_str(), &m_db, flags, nullptr);
    if (rc != SQLITE_OK) {
        std::string message = m_db ? sqlite3_errmsg(m_db) : sqlite3_errstr(rc);
        Close();
        ThrowDatabaseError(message, m_file);
    }
    sqlite3_extended_result_codes(m_db, 1);
    // Several velaqm processes may work on one file: a lock held by another waits for it.
    sqlite3_busy_timeout(m_db, kBusyTimeoutMs);
    RegisterTextCollation(m_db);
    if (mode != OpenMode::kReadOnly && sqlite3_db_readonly(m_db, "main") == 1) {
        Close();
        ThrowDatabaseError("attempt to open a read-only database file for writing", m_file);
    }
    // Reading the schema is what tells a database from any other file; it writes nothing.
    char* error = nullptr;
    if (sqlite3_exec(m_db, "SELECT count(*) FROM sqlite_schema", nullptr, nullptr, &error) !=
        SQLITE_OK) {
        std::string message = error ? error : sqlite3_errmsg(m_db);
        sqlite3_free(error);
        Close();
        ThrowDatabaseError(message, m_file);
    }
}

Connection::~Connection() {
    Close();
}

Connection::Connection(Connection&& other) noexcept
    : m_db(std::exchange(other.m_db, nullptr)), m_file(std::move(other.m_file)) {}

Connection& Connection::operator=(Connection&& other) noexcept {
    if (this != &other) {
        Close();
        m_db = std::exchange(other.m_db, nullptr);
        m_file = std::move(other.m_file);
    }
    return *this;
}

void Connection::Close() noexcept {
    if (m_db) sqlite3_close_v2(m_db);
    m_db = nullptr;
}

bool Connection::ReadOnly() const {
    return sqlite3_db_readonly(m_db, "main") == 1;
}
bool Connection::InTransaction() const {
    return sqlite3_get_autocommit(m_db) == 0;
}
std::int64_t Connection::Changes() const {
    return sqlite3_changes64(m_db);
}
std::int64_t Connection::LastInsertRowId() const {
    return sqlite3_last_insert_rowid(m_db);
}

// --- Statement ----------------------------------------------------------------------------

void Statement::Finalizer::operator()(sqlite3_stmt* stmt) const noexcept {
    sqlite3_finalize(stmt);
}

Statement::Statement(const Connection& connection, std::string_view sql, std::string_view* tail)
    : m_db(connection.Handle()) {
    sqlite3_stmt* stmt = nullptr;
    const char* rest = nullptr;
    const int rc = sqlite3_prepare_v2(m_db, sql.data(), static_cast<int>(sql.size()), &stmt, &rest);
    m_stmt.reset(stmt);
    const std::size_t used =
        rest ? static_cast<std::size_t>(rest - sql.data()) : static_cast<std::size_t>(sql.size());
    if (rc != SQLITE_OK) {
        // Name the statement that failed, not the whole script behind it.
        std::string_view failed = sql;
        while (!failed.empty() && std::isspace(static_cast<unsigned char>(failed.front())))
            failed.remove_prefix(1);
        if (auto end = failed.find(';'); end != std::string_view::npos && end + 1 < failed.size())
            failed = failed.substr(0, end + 1);
        ThrowDatabaseError(ErrorMessage(m_db, rc), failed);
    }
    m_sql.assign(sql.substr(0, used));
    if (tail) *tail = sql.substr(used);
}

void Statement::Fail() const {
    ThrowDatabaseError(sqlite3_errmsg(m_db), m_sql);
}

void Statement::Bind(int index, const Variant& value) {
    sqlite3_stmt* stmt = m_stmt.get();
    int rc = SQLITE_OK;
    switch (value.Type()) {
        case VarType::Empty:
        case VarType::Null:
            rc = sqlite3_bind_null(stmt, index);
            break;
        case VarType::Boolean:
            rc = sqlite3_bind_int(stmt, index, value.AsBool() ? 1 : 0);
            break;
        case VarType::Long:
            rc = sqlite3_bind_int(stmt, index, value.AsLong());
            break;
        case VarType::Double:
            rc = sqlite3_bind_double(stmt, index, value.AsDouble());
            break;
        case VarType::Decimal: {
            const Decimal& d = value.AsDecimal();
            const Decimal whole = d.Round(0);
            if (d == whole && std::abs(d.ToDouble()) < 9e18)
                rc = sqlite3_bind_int64(stmt, index, whole.ToInt64());
            else
                rc = sqlite3_bind_double(stmt, index, d.ToDouble());
            break;
        }
        case VarType::String: {
            const std::string& s = value.AsString();
            rc =
                sqlite3_bind_text64(stmt, index, s.data(), s.size(), SQLITE_TRANSIENT, SQLITE_UTF8);
            break;
        }
        case VarType::Date: {
            const std::string s = value.AsDate().ToStorageString();
            rc =
                sqlite3_bind_text64(stmt, index, s.data(), s.size(), SQLITE_TRANSIENT, SQLITE_UTF8);
            break;
        }
        case VarType::Object:
            throw HostError(
                kErrTypeMismatch, std::string(kDatabaseErrorSource),
                "Type mismatch: an object cannot be a statement parameter [" + m_sql + "]");
    }
    if (rc != SQLITE_OK) Fail();
}

void Statement::BindAll(std::span<const Variant> values) {
    for (std::size_t i = 0; i < values.size(); ++i)
        Bind(static_cast<int>(i + 1), values[i]);
}

void Statement::Reset() {
    if (!m_stmt) return;
    sqlite3_reset(m_stmt.get());
    sqlite3_clear_bindings(m_stmt.get());
}

bool Statement::Step() {
    if (!m_stmt) return false;
    const int rc = sqlite3_step(m_stmt.get());
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    // The step's own error code; reset keeps the message but leaves the statement reusable.
    std::string message = ErrorMessage(m_db, rc);
    sqlite3_reset(m_stmt.get());
    ThrowDatabaseError(message, m_sql);
}

void Statement::Run() {
    while (Step()) {
    }
}

int Statement::ColumnCount() const {
    return m_stmt ? sqlite3_column_count(m_stmt.get()) : 0;
}

std::string Statement::ColumnName(int column) const {
    const char* name = sqlite3_column_name(m_stmt.get(), column);
    return name ? name : "";
}

std::string Statement::DeclaredTypeWord(int column) const {
    return TypeWord(sqlite3_column_decltype(m_stmt.get(), column));
}

Statement::ColumnKind Statement::KindOf(int column) const {
    const auto count = static_cast<std::size_t>(ColumnCount());
    if (m_kinds.size() != count) {
        m_kinds.assign(count, ColumnKind::kPlain);
        for (std::size_t i = 0; i < count; ++i) {
            const std::string word =
                TypeWord(sqlite3_column_decltype(m_stmt.get(), static_cast<int>(i)));
            if (IsDateTypeName(word))
                m_kinds[i] = ColumnKind::kDate;
            else if (word == "DECIMAL" || word == "NUMERIC" || word == "MONEY" ||
                     word == "SMALLMONEY")
                m_kinds[i] = ColumnKind::kDecimal;
            else if (word == "BIT")
                m_kinds[i] = ColumnKind::kBit;
        }
    }
    return m_kinds[static_cast<std::size_t>(column)];
}

Variant Statement::Column(int column) const {
    sqlite3_stmt* stmt = m_stmt.get();
    Variant plain = Plain(stmt, column);
    if (plain.IsNull()) return plain;
    switch (KindOf(column)) {
        case ColumnKind::kPlain:
            return plain;
        case ColumnKind::kDate:
            if (plain.IsString())
                if (auto date = ReadStoredDate(plain.AsString())) return *date;
            return plain;
        case ColumnKind::kDecimal:
            switch (sqlite3_column_type(stmt, column)) {
                case SQLITE_INTEGER:
                    return Decimal(sqlite3_column_int64(stmt, column));
                case SQLITE_FLOAT: {
                    const double value = sqlite3_column_double(stmt, column);
                    if (std::isfinite(value) && std::abs(value) < 1e28)
                        return Decimal::FromDouble(value);
                    return plain;
                }
                default:
                    try {
                        if (auto d = Decimal::Parse(plain.AsString())) return *d;
                    } catch (const std::exception&) {
                    }
                    return plain;
            }
        case ColumnKind::kBit:
            if (plain.IsString()) return plain;
            return NumberValue(plain) != 0;
    }
    return plain;
}

std::vector<Variant> Statement::Row() const {
    std::vector<Variant> row;
    const int count = ColumnCount();
    row.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        row.push_back(Column(i));
    return row;
}

// --- Transaction --------------------------------------------------------------------------

std::string QuoteName(std::string_view name) {
    std::string out = "\"";
    for (char c : name) {
        out += c;
        if (c == '"') out += '"';
    }
    return out + "\"";
}

void ExecuteSimple(const Connection& connection, std::string_view sql) {
    Statement(connection, sql).Run();
}

namespace {
int g_savepointCounter = 0;
}

Transaction::Transaction(Connection& connection) : m_connection(&connection) {
    if (connection.InTransaction()) {
        m_savepoint = "velaqm_sp" + std::to_string(++g_savepointCounter);
        ExecuteSimple(connection, "SAVEPOINT " + m_savepoint);
    } else {
        // The host's transactions write: taking the write lock at the start waits for another
        // writer, where a deferred one could fail at its first write after reading.
        ExecuteSimple(connection, "BEGIN IMMEDIATE");
    }
}

Transaction::Transaction(Transaction&& other) noexcept
    : m_connection(other.m_connection),
      m_savepoint(std::move(other.m_savepoint)),
      m_open(std::exchange(other.m_open, false)) {}

void Transaction::Commit() {
    if (!m_open) return;
    ExecuteSimple(*m_connection, m_savepoint.empty() ? "COMMIT" : "RELEASE " + m_savepoint);
    m_open = false;
}

Transaction::~Transaction() {
    if (!m_open) return;
    // A rollback that fails (the connection already rolled back after an I/O error) has
    // nothing left to undo.
    const std::string sql = m_savepoint.empty()
                                ? std::string("ROLLBACK")
                                : "ROLLBACK TO " + m_savepoint + "; RELEASE " + m_savepoint;
    sqlite3_exec(m_connection->Handle(), sql.c_str(), nullptr, nullptr, nullptr);
}

}  // namespace velaqm::host
