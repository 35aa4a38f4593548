// Translation of the SQL Server statements the plug-ins send into statements SQLite runs with
// the same meaning. Pure text work: no SQLite call happens here, so every rule can be checked
// by tables of input and output text.
//
// A batch is tokenized with SQL Server's rules (dialect_tokenizer.cpp), split into statements
// (dialect_splitter.cpp: at ";" and before a statement keyword, since the plug-ins' batches
// have no semicolons), and each statement is rewritten token by token (dialect_rewriter.h),
// knowing of the database's tables what a SchemaInfo says (dialect_schema.h).
// What SQLite already runs unchanged keeps its wording; a construct that has no faithful
// translation is refused with a HostError (db_error.h) naming it. Tokenize, SplitStatements
// and RewriteStatement take any text: what they cannot read they refuse with a HostError.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "frame/date.h"
#include "host/db/dialect_schema.h"

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

struct TranslatedStatement {
    std::string sql;               // SQLite text
    std::string source;            // the SQL Server statement it came from
    bool changesSchema = false;    // creates, drops or alters a permanent object
    std::string createsTempTable;  // the "#name" this statement creates, if any
    // SELECT ... INTO: `sql` is SQLite's CREATE TABLE ... AS SELECT, whose columns have no
    // collation; the executor creates the table itself from the columns of `intoQuery` (the
    // bare SELECT) and fills it. `intoTable` is the new table's name as SQLite reads it.
    std::string intoTable;
    std::string intoQuery;
};

// A batch's statements as ranges of its tokens, [first, last). Throws for unbalanced ")".
struct StatementRange {
    std::size_t first, last;
};
std::vector<StatementRange> SplitStatements(const std::vector<Token>& tokens, std::string_view sql);

// One statement of a batch (`tokens` of `sql`, as Tokenize gave them) in SQLite's dialect;
// nullopt for a statement with no effect in SQLite (SET NOCOUNT ON) or an empty range.
std::optional<TranslatedStatement> RewriteStatement(const std::vector<Token>& tokens,
                                                    StatementRange range, std::string_view sql,
                                                    const SchemaInfo& schema = {});

// One SQLite statement per SQL Server statement of the batch, in order; statements with no
// effect in SQLite (SET NOCOUNT ON) are left out.
std::vector<TranslatedStatement> TranslateBatch(std::string_view sqlServerText,
                                                const SchemaInfo& schema = {});

// SQLite's message about a translated statement, said in terms of the SQL Server text it came
// from: a syntax error names a token the user wrote, the functions of the translation go by
// their SQL Server names, and a function SQLite lacks is named as not supported.
std::string DescribeSqliteError(std::string_view sqliteMessage, std::string_view source);

// A date as SQL Server reads a date literal: "YYYY-MM-DD", "YYYY/MM/DD", "YYYY-M-D",
// "YYYYMMDD", each with an optional time (" HH:MM[:SS[.fff]]" or "THH:MM:SS"). Fractions of a
// second are dropped.
std::optional<Date> ParseSqlDate(std::string_view text);
// The stored form of a date literal, keeping milliseconds: "YYYY-MM-DD HH:MM:SS" plus ".mmm"
// when they are not zero (text order stays time order). nullopt when it is not a date.
std::optional<std::string> StoredDateText(std::string_view text);

// Names of the SQLite functions the translation calls (registered by tsql_functions.h).
inline constexpr std::string_view kGetDateFunction = "tsql_getdate";
inline constexpr std::string_view kConvertFunction = "tsql_convert";
inline constexpr std::string_view kLeftFunction = "tsql_left";
inline constexpr std::string_view kRightFunction = "tsql_right";
inline constexpr std::string_view kDateAddFunction = "tsql_dateadd";
inline constexpr std::string_view kDateDiffFunction = "tsql_datediff";
inline constexpr std::string_view kDatePartFunction = "tsql_datepart";
inline constexpr std::string_view kAddFunction = "tsql_add";
inline constexpr std::string_view kNonZeroFunction = "tsql_nonzero";
inline constexpr std::string_view kIntegerAverageFunction = "tsql_avg_int";
// The collation of text columns: SQL Server's default collation of the client's databases.
inline constexpr std::string_view kTextCollation = "tsql_ci";

}  // namespace velaqm::host
