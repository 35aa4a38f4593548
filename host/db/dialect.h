// Translation of the SQL Server statements the plug-ins send into statements SQLite runs with
// the same meaning. Pure text work: no SQLite call happens here, so every rule can be checked
// by tables of input and output text.
//
// A batch is tokenized with SQL Server's rules, split into statements (at ";" and before a
// statement keyword, since the plug-ins' batches have no semicolons), and each statement is
// rewritten token by token. What SQLite already runs unchanged keeps its wording; a construct
// that has no faithful translation is refused with a HostError (db_error.h) naming it.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "frame/date.h"

namespace velaqm::host {

enum class TokenKind {
    kWord,        // name or keyword: letters (any non-ASCII letter too), digits, _ @ # $
    kQuotedName,  // [name] or "name"
    kString,      // 'text' or N'text'
    kNumber,
    kPunct,  // one operator or punctuation mark: ( ) , . ; = <> <= >= != !< !> + - * / % ...
};

struct Token {
    TokenKind kind;
    std::string_view text;  // as written, quotes included
    std::size_t offset;     // in the tokenized text
};

// Comments and blanks are skipped. Throws for an unclosed string, quoted name or comment.
std::vector<Token> Tokenize(std::string_view sql);

// What the translator knows of the database's tables: their columns in order, and which hold
// dates, so that a date literal written to or compared with such a column is put into the
// stored form 'YYYY-MM-DD HH:MM:SS' ('2009/10/1' would otherwise never equal a stored date).
class SchemaInfo {
  public:
    void AddColumn(std::string_view table, std::string_view column, bool isDate);
    bool IsDateColumn(std::string_view table, std::string_view column) const;
    // A column of that name holds dates in every table that has one.
    bool IsDateColumnName(std::string_view column) const;
    // Column names of the table in order; empty when the table is unknown.
    std::vector<std::string> Columns(std::string_view table) const;

  private:
    struct Column {
        std::string name;
        bool isDate;
    };
    std::unordered_map<std::string, std::vector<Column>> m_tables;  // lower-case table name
    std::unordered_map<std::string, bool> m_dateByName;             // lower-case column name
};

struct TranslatedStatement {
    std::string sql;               // SQLite text
    std::string source;            // the SQL Server statement it came from
    bool changesSchema = false;    // creates, drops or alters a permanent object
    std::string createsTempTable;  // the "#name" this statement creates, if any
};

// One SQLite statement per SQL Server statement of the batch, in order; statements with no
// effect in SQLite (SET NOCOUNT ON) are left out.
std::vector<TranslatedStatement> TranslateBatch(std::string_view sqlServerText,
                                                const SchemaInfo& schema = {});

// A date as SQL Server reads a date literal: "YYYY-MM-DD", "YYYY/MM/DD", "YYYY-M-D",
// "YYYYMMDD", each with an optional time (" HH:MM[:SS[.fff]]" or "THH:MM:SS"). Fractions of a
// second are dropped.
std::optional<Date> ParseSqlDate(std::string_view text);

// Names of the SQLite functions the translation calls (registered by tsql_functions.h).
inline constexpr std::string_view kGetDateFunction = "tsql_getdate";
inline constexpr std::string_view kConvertFunction = "tsql_convert";
inline constexpr std::string_view kLeftFunction = "tsql_left";
inline constexpr std::string_view kRightFunction = "tsql_right";
inline constexpr std::string_view kDateAddFunction = "tsql_dateadd";
inline constexpr std::string_view kDateDiffFunction = "tsql_datediff";

}  // namespace velaqm::host
