// Dates in the SQL Server dialect: date literals read as SQL Server reads them and put in
// the stored form where they meet a date, DATEADD, DATEDIFF and DATEPART with their date
// parts, and the styles of CONVERT between dates and text.
#include <algorithm>
#include <array>
#include <string>

#include "host/db/dialect.h"
#include "host/db/dialect_rewriter.h"

namespace velaqm::host {

using namespace dialect;

namespace {

// A date literal and its milliseconds (the first three digits of the fraction of a second).
struct SqlDate {
    Date date;
    int milliseconds = 0;
};

std::optional<SqlDate> ReadSqlDate(std::string_view text) {
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    std::string cleaned(text);
    // YYYYMMDD
    if (cleaned.size() >= 8 && std::all_of(cleaned.begin(), cleaned.begin() + 8, IsDigit) &&
        (cleaned.size() == 8 || cleaned[8] == ' ' || cleaned[8] == 'T'))
        cleaned = cleaned.substr(0, 4) + "-" + cleaned.substr(4, 2) + "-" + cleaned.substr(6);
    // ISO 8601's T between day and time
    if (const auto timeMark = cleaned.find('T');
        timeMark != std::string::npos && timeMark > 0 && IsDigit(cleaned[timeMark - 1]) &&
        timeMark + 1 < cleaned.size() && IsDigit(cleaned[timeMark + 1]))
        cleaned[timeMark] = ' ';
    int milliseconds = 0;
    if (const auto colon = cleaned.rfind(':'); colon != std::string::npos)
        if (const auto dot = cleaned.find('.', colon); dot != std::string::npos) {
            std::size_t end = dot + 1;
            while (end < cleaned.size() && IsDigit(cleaned[end]))
                ++end;
            if (end == cleaned.size()) {
                for (std::size_t i = dot + 1; i < dot + 4; ++i)
                    milliseconds = milliseconds * 10 + (i < end ? cleaned[i] - '0' : 0);
                cleaned.erase(dot);
            }
        }
    const auto date = Date::Parse(cleaned);
    if (!date) return std::nullopt;
    return SqlDate{*date, milliseconds};
}

}  // namespace

std::optional<Date> ParseSqlDate(std::string_view text) {
    if (auto read = ReadSqlDate(text)) return read->date;
    return std::nullopt;
}

std::optional<std::string> StoredDateText(std::string_view text) {
    const auto read = ReadSqlDate(text);
    if (!read) return std::nullopt;
    std::string stored = read->date.ToStorageString();
    if (read->milliseconds != 0) {
        const std::string ms = std::to_string(read->milliseconds);
        stored += "." + std::string(3 - ms.size(), '0') + ms;
    }
    return stored;
}

namespace dialect {

namespace {

// The styles of CONVERT between dates and text that tsql_convert knows.
constexpr std::array<int, 9> kConvertDateStyles = {20, 21, 23, 102, 108, 111, 112, 120, 121};
// SQL Server's date parts and their abbreviations, by the name the functions take.
std::string DatePartName(std::string_view word) {
    struct Part {
        std::string_view name;
        std::array<std::string_view, 3> spellings;
    };
    static constexpr std::array<Part, 11> kParts = {{
        {"year", {"YEAR", "YY", "YYYY"}},
        {"quarter", {"QUARTER", "QQ", "Q"}},
        {"month", {"MONTH", "MM", "M"}},
        {"dayofyear", {"DAYOFYEAR", "DY", "Y"}},
        {"day", {"DAY", "DD", "D"}},
        {"week", {"WEEK", "WK", "WW"}},
        {"weekday", {"WEEKDAY", "DW", "W"}},
        {"hour", {"HOUR", "HH", "HH"}},
        {"minute", {"MINUTE", "MI", "N"}},
        {"second", {"SECOND", "SS", "S"}},
        {"millisecond", {"MILLISECOND", "MS", "MS"}},
    }};
    const std::string key = Upper(word);
    for (const Part& part : kParts)
        if (OneOf(key, part.spellings)) return std::string(part.name);
    return {};
}

// The parts DATEADD and DATEDIFF know.
constexpr std::array<std::string_view, 6> kCountedParts = {"year", "month",  "day",
                                                           "hour", "minute", "second"};

}  // namespace

void StatementRewriter::NormalizeLiteral(std::size_t i) {
    if (auto stored = StoredDateText(Unquote(m_tokens[i].text)))
        m_tokens[i].text = QuoteString(*stored);
}

bool StatementRewriter::IsDateCall(std::size_t name) const {
    if (!IsPunct(name + 1, "(") || m_tokens[name].kind != TokenKind::kWord) return false;
    const std::string& key = m_tokens[name].key;
    if (key == "GETDATE" || key == "DATEADD") return true;
    if (key == "CONVERT") return IsDateTypeAt(name + 2);
    if (key == "CAST") {
        const std::size_t close = Close(name + 1);
        for (std::size_t i = close; i > name + 1; --i)
            if (IsWord(i, "AS")) return IsDateTypeAt(i + 1);
    }
    return false;
}

bool StatementRewriter::DateOperandEndingAt(std::size_t j) const {
    if (j >= m_tokens.size()) return false;
    if (IsWord(j, "CURRENT_TIMESTAMP")) return true;
    if (IsPunct(j, ")")) {
        const std::size_t open = Open(j);
        return open > 0 && IsDateCall(open - 1);
    }
    return IsName(j) && m_schema.IsDateColumnName(m_tokens[j].key);
}

bool StatementRewriter::DateOperandStartingAt(std::size_t j) const {
    if (j >= m_tokens.size()) return false;
    if (IsWord(j, "CURRENT_TIMESTAMP")) return true;
    if (IsPunct(j + 1, "(")) return IsDateCall(j);
    if (!IsName(j)) return false;
    const std::size_t k = LastNamePart(j);
    return !IsPunct(k + 1, "(") && m_schema.IsDateColumnName(m_tokens[k].key);
}

void StatementRewriter::NormalizeComparedDates() {
    auto comparison = [&](std::size_t i) {
        return i < m_tokens.size() && m_tokens[i].kind == TokenKind::kPunct &&
               OneOf(m_tokens[i].key, kComparisons);
    };
    auto beforeBetween = [&](std::size_t between) {
        std::size_t operand = between - 1;
        if (IsWord(operand, "NOT")) --operand;
        return between > 0 && DateOperandEndingAt(operand);
    };
    for (std::size_t i = 1; i < m_tokens.size(); ++i) {
        if (m_tokens[i].kind != TokenKind::kString) continue;
        bool date = (i >= 2 && comparison(i - 1) && DateOperandEndingAt(i - 2)) ||
                    (comparison(i + 1) && DateOperandStartingAt(i + 2)) ||
                    (IsWord(i + 1, "BETWEEN") && DateOperandStartingAt(i + 2)) ||
                    (IsWord(i - 1, "BETWEEN") && beforeBetween(i - 1));
        if (!date && IsWord(i - 1, "AND")) {
            // The upper bound of BETWEEN: back over the lower bound to the BETWEEN.
            static constexpr std::array<std::string_view, 11> kStops = {
                "AND",  "OR",     "WHERE", "ON",     "WHEN", "THEN",
                "ELSE", "SELECT", "SET",   "HAVING", "NOT"};
            for (std::size_t k = i - 1; k-- > 0;) {
                if (IsPunct(k, ")")) {
                    k = Open(k);
                    continue;
                }
                if (IsWord(k, "BETWEEN")) {
                    date = beforeBetween(k);
                    break;
                }
                if (IsPunct(k, "(") || IsPunct(k, ",") ||
                    (m_tokens[k].kind == TokenKind::kWord && OneOf(m_tokens[k].key, kStops)))
                    break;
            }
        }
        if (date) NormalizeLiteral(i);
    }
}

// The style argument of CONVERT, [first, last): a style tsql_convert formats dates with.
std::string StatementRewriter::ConvertStyle(std::size_t first, std::size_t last) const {
    if (last != first + 1 || m_tokens[first].kind != TokenKind::kNumber ||
        m_tokens[first].text.find_first_not_of("0123456789") != std::string::npos ||
        m_tokens[first].text.size() > 3)
        Refuse("CONVERT with a style that is not a number");
    const int value = std::stoi(m_tokens[first].text);
    if (std::find(kConvertDateStyles.begin(), kConvertDateStyles.end(), value) ==
        kConvertDateStyles.end())
        Refuse("CONVERT style " + m_tokens[first].text);
    return m_tokens[first].text;
}

// DATEADD(part, n, d), DATEDIFF(part, a, b), DATEPART(part, d): the part becomes its name as
// text for the registered function.
void StatementRewriter::RewriteDatePartCall(std::size_t i) {
    const std::string key = m_tokens[i].key;
    const auto args = Arguments(i + 1);
    const std::size_t count = key == "DATEPART" ? 2 : 3;
    if (args.size() != count || args[0].second != args[0].first + 1)
        Refuse(key + " with those arguments");
    const std::string part = DatePartName(m_tokens[args[0].first].text);
    if (part.empty() || (key != "DATEPART" && !OneOf(part, kCountedParts)))
        Refuse(key + " of " + m_tokens[args[0].first].text);
    m_tokens[args[0].first] =
        MakeTok(TokenKind::kString, QuoteString(part), m_tokens[args[0].first].gap);
    m_tokens[i].text = key == "DATEADD"    ? kDateAddFunction
                       : key == "DATEDIFF" ? kDateDiffFunction
                                           : kDatePartFunction;
}

}  // namespace dialect

}  // namespace velaqm::host
