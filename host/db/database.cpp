#include "host/db/database.h"

#include <cctype>
#include <chrono>
#include <ctime>
#include <utility>

#include "frame/convert.h"
#include "host/db/tsql_functions.h"

namespace velaqm::host {

namespace {

// Plug-ins splice values into their statements, so texts keep coming; the caches are bounded
// by starting afresh when they are full.
constexpr std::size_t kMaxCachedBatches = 512;
constexpr std::size_t kMaxCachedStatements = 256;

// Whether native text creates, drops or alters something, which the translations depend on.
bool IsSchemaChange(std::string_view sql) {
    std::size_t i = 0;
    while (i < sql.size() && (sql[i] == ' ' || sql[i] == '\t' || sql[i] == '\r' || sql[i] == '\n'))
        ++i;
    std::string word;
    for (; i < sql.size() && std::isalpha(static_cast<unsigned char>(sql[i])); ++i)
        word += static_cast<char>(std::toupper(static_cast<unsigned char>(sql[i])));
    return word == "CREATE" || word == "DROP" || word == "ALTER";
}

void Collect(Statement& statement, ResultSet& result) {
    const bool columns = statement.ColumnCount() > 0;
    if (!columns) {
        statement.Run();
        return;
    }
    ResultSet current;
    current.isQuery = true;
    const int count = statement.ColumnCount();
    current.columns.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        current.columns.push_back(statement.ColumnName(i));
    while (statement.Step())
        current.rows.push_back(statement.Row());
    result = std::move(current);
}

}  // namespace

Date LocalNow() {
    const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    std::tm local{};
    localtime_r(&now, &local);
    return Date(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min,
                local.tm_sec);
}

Database::Database(const std::filesystem::path& file, OpenMode mode)
    : m_connection(file, mode), m_clock(LocalNow) {
    m_getDate = [this] {
        if (!m_inStatement) return m_clock();
        if (!m_statementNow) m_statementNow = m_clock();
        return *m_statementNow;
    };
    RegisterSqlServerFunctions(m_connection.Handle(), &m_getDate);
}

void Database::SetClock(std::function<Date()> clock) {
    m_clock = clock ? std::move(clock) : std::function<Date()>(LocalNow);
}

void Database::ClearCaches() {
    m_batches.clear();
    m_native.clear();
}

void Database::SchemaChanged() {
    m_schema.reset();
    m_batches.clear();
}

const SchemaInfo& Database::Schema() {
    if (!m_schema) {
        SchemaInfo schema;
        Statement columns(m_connection,
                          "SELECT m.name, p.name, p.type FROM (SELECT name FROM sqlite_schema "
                          "WHERE type IN ('table','view') UNION ALL SELECT name FROM "
                          "sqlite_temp_schema WHERE type IN ('table','view')) AS m, "
                          "pragma_table_info(m.name) AS p");
        while (columns.Step())
            schema.AddColumn(Text(columns.Column(0)), Text(columns.Column(1)),
                             Text(columns.Column(2)));
        m_schema = std::move(schema);
    }
    return *m_schema;
}

std::shared_ptr<Database::Batch> Database::Translate(std::string_view sqlServerText) {
    if (auto found = m_batches.find(sqlServerText); found != m_batches.end()) return found->second;
    auto batch = std::make_shared<Batch>();
    batch->statements = TranslateBatch(sqlServerText, Schema());
    batch->prepared.resize(batch->statements.size());
    if (m_batches.size() >= kMaxCachedBatches) m_batches.clear();
    m_batches.emplace(std::string(sqlServerText), batch);
    return batch;
}

ResultSet Database::Execute(std::string_view sqlServerText) {
    // Held here: a statement that changes the schema empties the cache while the batch runs.
    const std::shared_ptr<Batch> batch = Translate(sqlServerText);
    ResultSet result;
    std::vector<std::string> createdTemp;
    try {
        for (std::size_t i = 0; i < batch->statements.size(); ++i) {
            const TranslatedStatement& translated = batch->statements[i];
            // Definitions run once in a while and are prepared afresh; the rest are kept.
            const bool reusable = !translated.changesSchema && translated.createsTempTable.empty();
            std::unique_ptr<Statement>& slot = batch->prepared[i];
            std::optional<Statement> once;
            Statement* statement = slot.get();
            try {
                if (!translated.intoTable.empty()) {
                    RunSelectInto(translated, result);
                } else if (!statement) {
                    if (reusable) {
                        slot = std::make_unique<Statement>(m_connection, translated.sql);
                        statement = slot.get();
                    } else {
                        statement = &once.emplace(m_connection, translated.sql);
                    }
                }
                if (statement) RunStatement(*statement, result);
            } catch (const DatabaseError& e) {
                // Said about the statement the user wrote, not its translation.
                ThrowDatabaseError(DescribeSqliteError(e.Message(), translated.source),
                                   translated.source);
            }
            if (statement) statement->Reset();
            if (!translated.createsTempTable.empty())
                createdTemp.push_back(translated.createsTempTable);
            if (translated.changesSchema) SchemaChanged();
        }
    } catch (...) {
        for (const std::string& name : createdTemp) {
            std::string quoted = "\"";
            for (char c : name)
                quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
            try {
                ExecuteSimple(m_connection, "DROP TABLE IF EXISTS temp." + quoted + "\"");
            } catch (...) {
                // The batch's own error is the one to report.
            }
        }
        throw;
    }
    return result;
}

void Database::RunStatement(Statement& statement, ResultSet& result) {
    // GETDATE() is one value for the whole statement, as SQL Server evaluates it once.
    struct Snapshot {
        Database& db;
        explicit Snapshot(Database& d) : db(d) {
            db.m_statementNow.reset();
            db.m_inStatement = true;
        }
        ~Snapshot() { db.m_inStatement = false; }
    } snapshot(*this);
    Collect(statement, result);
}

// SQLite's CREATE TABLE ... AS SELECT gives the new table's columns no collation. The table is
// created from the query's columns instead, each with its declared type's word and the host's
// text collation (a collation matters only where two texts meet), and filled from the query.
void Database::RunSelectInto(const TranslatedStatement& translated, ResultSet& result) {
    Statement query(m_connection, translated.intoQuery);
    std::string create =
        translated.createsTempTable.empty() ? "CREATE TABLE " : "CREATE TEMP TABLE ";
    create += translated.intoTable + " (";
    for (int i = 0; i < query.ColumnCount(); ++i) {
        if (i > 0) create += ", ";
        create += QuoteName(query.ColumnName(i));
        if (const std::string type = query.DeclaredTypeWord(i); !type.empty()) create += " " + type;
        create += " COLLATE ";
        create += kTextCollation;
    }
    create += ")";
    ExecuteSimple(m_connection, create);
    try {
        Statement insert(m_connection,
                         "INSERT INTO " + translated.intoTable + " " + translated.intoQuery);
        RunStatement(insert, result);
    } catch (...) {
        try {
            ExecuteSimple(m_connection, "DROP TABLE IF EXISTS " + translated.intoTable);
        } catch (...) {
            // The query's own error is the one to report.
        }
        throw;
    }
}

void Database::NoteNativeSql(std::string_view sql) {
    if (IsSchemaChange(sql)) SchemaChanged();
}

ResultSet Database::ExecuteNative(std::string_view sql) {
    ResultSet result;
    std::string_view rest = sql;
    while (!rest.empty()) {
        Statement statement(m_connection, rest, &rest);
        if (statement.Empty()) break;
        RunStatement(statement, result);
        NoteNativeSql(statement.Sql());
    }
    return result;
}

std::shared_ptr<Statement> Database::Prepare(std::string_view nativeSql) {
    NoteNativeSql(nativeSql);
    if (auto found = m_native.find(nativeSql); found != m_native.end()) {
        if (found->second.use_count() == 1) {
            found->second->Reset();
            return found->second;
        }
        return std::make_shared<Statement>(m_connection, nativeSql);
    }
    auto statement = std::make_shared<Statement>(m_connection, nativeSql);
    if (m_native.size() >= kMaxCachedStatements) m_native.clear();
    m_native.emplace(std::string(nativeSql), statement);
    return statement;
}

}  // namespace velaqm::host
