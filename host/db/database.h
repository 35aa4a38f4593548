// The substitute host's database: one SQLite file that runs the SQL Server text the plug-ins
// send (through the dialect), the host's own native SQL, and the SQL Server functions the
// translations call.
#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "frame/date.h"
#include "frame/variant.h"
#include "host/db/dialect.h"
#include "host/db/sqlite.h"

namespace velaqm::host {

// What a batch gives back: the columns and rows of its last statement that returned columns.
struct ResultSet {
    std::vector<std::string> columns;
    std::vector<std::vector<Variant>> rows;
    bool isQuery = false;  // false when no statement returned columns (the host's closed recordset)
};

// The local time of this machine, to the second: the clock of a session that set no date.
Date LocalNow();

class Database {
  public:
    explicit Database(const std::filesystem::path& file, OpenMode mode = OpenMode::kReadWrite);
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // SQL Server text, as the host's connection runs it: statement by statement, each prepared
    // only after the one before ran (a batch creates the #temp tables its later statements
    // use). A failing statement stops the batch with its error; #temp tables the batch created
    // are dropped then, so that running it again does not find them.
    ResultSet Execute(std::string_view sqlServerText);
    // The host's own SQLite text (seed scripts, bookkeeping), one or more statements.
    ResultSet ExecuteNative(std::string_view sql);
    // The write-ahead log for the file, waiting out other processes switching it at once.
    void UseWriteAheadLog() { m_connection.UseWriteAheadLog(); }
    // A native statement from the cache, reset and with no parameter bound. A statement still
    // held by an earlier caller is not shared: that call gets a fresh one.
    std::shared_ptr<Statement> Prepare(std::string_view nativeSql);
    Transaction BeginTransaction() { return Transaction(m_connection); }

    // The session's clock for GETDATE(); by default the local time now. Within one statement
    // of a batch GETDATE() gives one value, as SQL Server's does.
    void SetClock(std::function<Date()> clock);
    Date Now() const { return m_clock(); }

    Connection& GetConnection() { return m_connection; }
    const std::string& File() const { return m_connection.File(); }

    // Translations and prepared statements cached, by statement text.
    std::size_t CachedTranslations() const { return m_batches.size(); }
    void ClearCaches();

  private:
    struct Batch {
        std::vector<TranslatedStatement> statements;
        std::vector<std::unique_ptr<Statement>> prepared;  // per statement, when reusable
    };
    struct TextHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view text) const {
            return std::hash<std::string_view>{}(text);
        }
    };
    template <class T>
    using TextMap = std::unordered_map<std::string, T, TextHash, std::equal_to<>>;

    std::shared_ptr<Batch> Translate(std::string_view sqlServerText);
    void RunStatement(Statement& statement, ResultSet& result);
    void RunSelectInto(const TranslatedStatement& translated, ResultSet& result);
    void NoteNativeSql(std::string_view sql);
    void SchemaChanged();
    const SchemaInfo& Schema();

    Connection m_connection;
    std::function<Date()> m_clock;
    bool m_inStatement = false;
    std::optional<Date> m_statementNow;  // GETDATE's value within the running statement
    std::function<Date()> m_getDate;     // what the registered GETDATE calls
    TextMap<std::shared_ptr<Batch>> m_batches;
    TextMap<std::shared_ptr<Statement>> m_native;
    std::optional<SchemaInfo> m_schema;  // empty when it must be read again
};

}  // namespace velaqm::host
