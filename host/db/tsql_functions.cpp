#include "host/db/tsql_functions.h"

#include <sqlite3.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <exception>
#include <optional>
#include <string>
#include <string_view>

#include "frame/convert.h"
#include "frame/decimal.h"
#include "host/db/db_error.h"
#include "host/db/dialect.h"

namespace velaqm::host {

namespace {

// Signals an error from inside a function body; turned into sqlite3_result_error.
struct FunctionError {
    std::string message;
};

std::string_view TextOf(sqlite3_value* value) {
    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(value));
    return text ? std::string_view(text, static_cast<std::size_t>(sqlite3_value_bytes(value)))
                : std::string_view();
}

bool IsNull(sqlite3_value* value) {
    return sqlite3_value_type(value) == SQLITE_NULL;
}

// Text as SQL Server writes a number converted to characters.
std::string DisplayText(sqlite3_value* value) {
    switch (sqlite3_value_type(value)) {
        case SQLITE_INTEGER:
            return std::to_string(sqlite3_value_int64(value));
        case SQLITE_FLOAT:
            return FormatDouble(sqlite3_value_double(value));
        default:
            return std::string(TextOf(value));
    }
}

bool IsContinuation(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

std::size_t CharCount(std::string_view text) {
    std::size_t count = 0;
    for (char c : text)
        if (!IsContinuation(c)) ++count;
    return count;
}

// Byte offset of the character at `index` (0-based); text.size() past the end.
std::size_t ByteOffset(std::string_view text, std::size_t index) {
    std::size_t i = 0;
    for (; i < text.size() && index > 0; ++i)
        if (i + 1 >= text.size() || !IsContinuation(text[i + 1])) --index;
    return i;
}

std::string FirstChars(std::string_view text, std::size_t count) {
    return std::string(text.substr(0, ByteOffset(text, count)));
}

std::string Two(int n) {
    // Not ("0" or "") + string&&: GCC 12 -O3 warns falsely (-Wrestrict) on a literal + string&&.
    return n < 10 ? '0' + std::to_string(n) : std::to_string(n);
}

std::string FormatStyle(const Date& d, int style) {
    const std::string y = std::to_string(d.Year());
    const std::string m = Two(d.Month());
    const std::string day = Two(d.Day());
    const std::string time = Two(d.Hour()) + ":" + Two(d.Minute()) + ":" + Two(d.Second());
    switch (style) {
        case 20:
        case 120:
            return y + "-" + m + "-" + day + " " + time;
        case 21:
        case 121:
            return y + "-" + m + "-" + day + " " + time + ".000";
        case 23:
            return y + "-" + m + "-" + day;
        case 102:
            return y + "." + m + "." + day;
        case 108:
            return time;
        case 111:
            return y + "/" + m + "/" + day;
        case 112:
            return y + m + day;
        default:
            throw FunctionError{"CONVERT style " + std::to_string(style) + " is not supported"};
    }
}

Date DateOf(sqlite3_value* value) {
    switch (sqlite3_value_type(value)) {
        case SQLITE_INTEGER:
            // SQL Server reads a number as days after 1900-01-01.
            return Date(1900, 1, 1).AddDays(static_cast<int>(sqlite3_value_int64(value)));
        case SQLITE_FLOAT: {
            const double days = sqlite3_value_double(value);
            const double whole = std::floor(days);
            const Date day = Date(1900, 1, 1).AddDays(static_cast<int>(whole));
            const int seconds = static_cast<int>(std::lround((days - whole) * 86400.0));
            return Date(day.Year(), day.Month(), day.Day(), seconds / 3600, seconds / 60 % 60,
                        seconds % 60);
        }
        default:
            if (auto date = ParseSqlDate(TextOf(value))) return *date;
            throw FunctionError{
                "Conversion failed when converting date and/or time from character string."};
    }
}

std::string TypeError(sqlite3_value* value, std::string_view type) {
    return "Conversion failed when converting the varchar value '" + DisplayText(value) +
           "' to data type " + std::string(type) + ".";
}

void ResultText(sqlite3_context* ctx, const std::string& text) {
    sqlite3_result_text64(ctx, text.data(), text.size(), SQLITE_TRANSIENT, SQLITE_UTF8);
}

template <class Body>
void Guarded(sqlite3_context* ctx, Body body) {
    try {
        body();
    } catch (const FunctionError& e) {
        sqlite3_result_error(ctx, e.message.c_str(), -1);
    } catch (const std::exception& e) {
        sqlite3_result_error(ctx, e.what(), -1);
    }
}

// tsql_convert(type, length or scale, value, style)
void Convert(sqlite3_context* ctx, int, sqlite3_value** argv) {
    Guarded(ctx, [&] {
        sqlite3_value* value = argv[2];
        if (IsNull(value)) return sqlite3_result_null(ctx);
        const std::string type(TextOf(argv[0]));
        // -1: no length (MAX), no style
        const std::int64_t length = IsNull(argv[1]) ? -1 : sqlite3_value_int64(argv[1]);
        const int style = IsNull(argv[3]) ? -1 : sqlite3_value_int(argv[3]);
        const int storage = sqlite3_value_type(value);

        if (type == "DATETIME" || type == "SMALLDATETIME" || type == "DATETIME2") {
            return ResultText(ctx, DateOf(value).ToStorageString());
        }
        if (type == "DATE") return ResultText(ctx, DateOf(value).DatePart().ToStorageString());
        if (type == "CHAR" || type == "VARCHAR" || type == "NCHAR" || type == "NVARCHAR" ||
            type == "TEXT" || type == "NTEXT") {
            std::string text = DisplayText(value);
            if (style >= 0 && storage == SQLITE_TEXT)
                if (auto date = ParseSqlDate(text)) text = FormatStyle(*date, style);
            if (length >= 0) {
                const auto n = static_cast<std::size_t>(length);
                text = FirstChars(text, n);
                if (type == "CHAR" || type == "NCHAR") text.append(n - CharCount(text), ' ');
            }
            return ResultText(ctx, text);
        }
        if (type == "FLOAT" || type == "REAL") {
            if (storage != SQLITE_TEXT)
                return sqlite3_result_double(ctx, sqlite3_value_double(value));
            const auto d = Decimal::Parse(TextOf(value));
            if (!d) throw FunctionError{TypeError(value, "float")};
            return sqlite3_result_double(ctx, d->ToDouble());
        }
        if (type == "BIT") {
            if (storage == SQLITE_TEXT) {
                const std::string text(TextOf(value));
                if (text == "true" || text == "TRUE" || text == "True")
                    return sqlite3_result_int(ctx, 1);
                if (text == "false" || text == "FALSE" || text == "False")
                    return sqlite3_result_int(ctx, 0);
                const auto d = Decimal::Parse(text);
                if (!d) throw FunctionError{TypeError(value, "bit")};
                return sqlite3_result_int(ctx, d->IsZero() ? 0 : 1);
            }
            return sqlite3_result_int(ctx, sqlite3_value_double(value) != 0 ? 1 : 0);
        }
        const bool integer = type == "INT" || type == "INTEGER" || type == "BIGINT" ||
                             type == "SMALLINT" || type == "TINYINT";
        // Whole numbers truncate toward zero; decimals round to their scale.
        Decimal number;
        if (storage == SQLITE_INTEGER) {
            number = Decimal(sqlite3_value_int64(value));
        } else if (storage == SQLITE_FLOAT) {
            number = Decimal::FromDouble(sqlite3_value_double(value));
        } else {
            const auto parsed = Decimal::Parse(TextOf(value));
            const bool wholeText =
                parsed && TextOf(value).find_first_of(".eE") == std::string_view::npos;
            if (!parsed || (integer && !wholeText))
                throw FunctionError{TypeError(value, integer ? "int" : "numeric")};
            number = *parsed;
        }
        if (integer) {
            const double d = number.ToDouble();
            const std::int64_t whole = static_cast<std::int64_t>(std::trunc(d));
            return sqlite3_result_int64(ctx, whole);
        }
        const Decimal rounded = number.Round(static_cast<int>(std::max<std::int64_t>(length, 0)));
        if (rounded == rounded.Round(0)) return sqlite3_result_int64(ctx, rounded.ToInt64());
        sqlite3_result_double(ctx, rounded.ToDouble());
    });
}

void GetDate(sqlite3_context* ctx, int, sqlite3_value**) {
    Guarded(ctx, [&] {
        const auto* now = static_cast<const std::function<Date()>*>(sqlite3_user_data(ctx));
        ResultText(ctx, (*now)().ToStorageString());
    });
}

// LEN: characters without the trailing blanks.
void Len(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (IsNull(argv[0])) return sqlite3_result_null(ctx);
    std::string text = DisplayText(argv[0]);
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    sqlite3_result_int64(ctx, static_cast<sqlite3_int64>(CharCount(text)));
}

char Fold(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// CHARINDEX(find, in[, start]): 1-based character position, 0 when absent; ASCII letters
// compare without case, as in the host's case-insensitive collation.
void CharIndex(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (IsNull(argv[0]) || IsNull(argv[1]) || (argc > 2 && IsNull(argv[2])))
        return sqlite3_result_null(ctx);
    const std::string find = DisplayText(argv[0]);
    const std::string in = DisplayText(argv[1]);
    std::int64_t start = argc > 2 ? sqlite3_value_int64(argv[2]) : 1;
    if (start < 1) start = 1;
    if (find.empty()) return sqlite3_result_int(ctx, 0);
    for (std::size_t i = ByteOffset(in, static_cast<std::size_t>(start - 1));
         i + find.size() <= in.size(); ++i) {
        if (IsContinuation(in[i])) continue;
        bool match = true;
        for (std::size_t k = 0; k < find.size() && match; ++k)
            match = Fold(in[i + k]) == Fold(find[k]);
        if (match)
            return sqlite3_result_int64(ctx,
                                        static_cast<sqlite3_int64>(CharCount(in.substr(0, i)) + 1));
    }
    sqlite3_result_int(ctx, 0);
}

void LeftRight(sqlite3_context* ctx, sqlite3_value** argv, bool left) {
    if (IsNull(argv[0]) || IsNull(argv[1])) return sqlite3_result_null(ctx);
    const std::int64_t n = sqlite3_value_int64(argv[1]);
    if (n < 0) {
        const std::string message = std::string("Invalid length parameter passed to the ") +
                                    (left ? "left" : "right") + " function.";
        return sqlite3_result_error(ctx, message.c_str(), -1);
    }
    const std::string text = DisplayText(argv[0]);
    const std::size_t count = CharCount(text);
    const auto take = static_cast<std::size_t>(n);
    if (left) return ResultText(ctx, FirstChars(text, take));
    ResultText(ctx, take >= count ? text : text.substr(ByteOffset(text, count - take)));
}

Date AddSeconds(const Date& date, std::int64_t seconds) {
    const std::int64_t total = date.Hour() * 3600 + date.Minute() * 60 + date.Second() + seconds;
    const std::int64_t days = total >= 0 ? total / 86400 : -((-total + 86399) / 86400);
    const std::int64_t rest = total - days * 86400;
    const Date day = date.DatePart().AddDays(static_cast<int>(days));
    return Date(day.Year(), day.Month(), day.Day(), static_cast<int>(rest / 3600),
                static_cast<int>(rest / 60 % 60), static_cast<int>(rest % 60));
}

Date AddMonths(const Date& date, std::int64_t months) {
    const std::int64_t index = date.Year() * 12LL + (date.Month() - 1) + months;
    const int year = static_cast<int>(index / 12);
    const int month = static_cast<int>(index % 12) + 1;
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    const int last = kDays[month - 1] + (month == 2 && leap ? 1 : 0);
    return Date(year, month, std::min(date.Day(), last), date.Hour(), date.Minute(), date.Second());
}

void DateAdd(sqlite3_context* ctx, int, sqlite3_value** argv) {
    Guarded(ctx, [&] {
        if (IsNull(argv[1]) || IsNull(argv[2])) return sqlite3_result_null(ctx);
        const std::string_view part = TextOf(argv[0]);
        const std::int64_t n = sqlite3_value_int64(argv[1]);
        const Date date = DateOf(argv[2]);
        Date result;
        if (part == "year")
            result = AddMonths(date, n * 12);
        else if (part == "month")
            result = AddMonths(date, n);
        else if (part == "day")
            result = AddSeconds(date, n * 86400);
        else if (part == "hour")
            result = AddSeconds(date, n * 3600);
        else if (part == "minute")
            result = AddSeconds(date, n * 60);
        else
            result = AddSeconds(date, n);
        ResultText(ctx, result.ToStorageString());
    });
}

// DATEDIFF counts the boundaries of the part crossed between the two dates.
void DateDiff(sqlite3_context* ctx, int, sqlite3_value** argv) {
    Guarded(ctx, [&] {
        if (IsNull(argv[1]) || IsNull(argv[2])) return sqlite3_result_null(ctx);
        const std::string_view part = TextOf(argv[0]);
        const Date a = DateOf(argv[1]);
        const Date b = DateOf(argv[2]);
        const std::int64_t days = a.DaysUntil(b);
        const std::int64_t hours = days * 24 + (b.Hour() - a.Hour());
        const std::int64_t minutes = hours * 60 + (b.Minute() - a.Minute());
        std::int64_t result = 0;
        if (part == "year")
            result = b.Year() - a.Year();
        else if (part == "month")
            result = (b.Year() - a.Year()) * 12LL + (b.Month() - a.Month());
        else if (part == "day")
            result = days;
        else if (part == "hour")
            result = hours;
        else if (part == "minute")
            result = minutes;
        else
            result = minutes * 60 + (b.Second() - a.Second());
        sqlite3_result_int64(ctx, result);
    });
}

void Register(sqlite3* db, std::string_view name, int args, bool deterministic, void* data,
              void (*function)(sqlite3_context*, int, sqlite3_value**)) {
    int flags = SQLITE_UTF8 | SQLITE_DIRECTONLY;
    if (deterministic) flags |= SQLITE_DETERMINISTIC;
    const std::string text(name);
    if (sqlite3_create_function_v2(db, text.c_str(), args, flags, data, function, nullptr, nullptr,
                                   nullptr) != SQLITE_OK)
        ThrowDatabaseError(sqlite3_errmsg(db), "registering " + text);
}

}  // namespace

void RegisterSqlServerFunctions(sqlite3* db, const std::function<Date()>* now) {
    // GETDATE reads the clock, so it must never be taken for a constant by the planner.
    Register(db, kGetDateFunction, 0, false, const_cast<std::function<Date()>*>(now), GetDate);
    Register(db, kConvertFunction, 4, true, nullptr, Convert);
    Register(db, "len", 1, true, nullptr, Len);
    Register(db, "charindex", 2, true, nullptr, CharIndex);
    Register(db, "charindex", 3, true, nullptr, CharIndex);
    Register(db, kLeftFunction, 2, true, nullptr,
             [](sqlite3_context* c, int, sqlite3_value** v) { LeftRight(c, v, true); });
    Register(db, kRightFunction, 2, true, nullptr,
             [](sqlite3_context* c, int, sqlite3_value** v) { LeftRight(c, v, false); });
    Register(db, kDateAddFunction, 3, true, nullptr, DateAdd);
    Register(db, kDateDiffFunction, 3, true, nullptr, DateDiff);
}

}  // namespace velaqm::host
