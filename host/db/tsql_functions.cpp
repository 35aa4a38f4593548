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
#include "host/db/dialect_types.h"

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

std::string Milliseconds(int ms) {
    const std::string digits = std::to_string(ms);
    return std::string(3 - std::min<std::size_t>(digits.size(), 3), '0') + digits;
}

std::string FormatStyle(const Date& d, int milliseconds, int style) {
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
            return y + "-" + m + "-" + day + " " + time + "." + Milliseconds(milliseconds);
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

// A date with its milliseconds, which only text can carry.
struct Moment {
    Date date;
    int milliseconds = 0;
};

Moment MomentOf(sqlite3_value* value) {
    if (sqlite3_value_type(value) != SQLITE_TEXT) return Moment{DateOf(value)};
    const auto stored = StoredDateText(TextOf(value));
    if (!stored) return Moment{DateOf(value)};  // refuses it with SQL Server's message
    const std::string_view text = *stored;
    int ms = 0;
    if (text.size() > 20)
        for (char c : text.substr(20))
            ms = ms * 10 + (c - '0');
    return Moment{*Date::Parse(text.substr(0, 19)), ms};
}

std::string TypeError(sqlite3_value* value, std::string_view type) {
    return "Conversion failed when converting the varchar value '" + DisplayText(value) +
           "' to data type " + std::string(type) + ".";
}

void ResultText(sqlite3_context* ctx, const std::string& text) {
    sqlite3_result_text64(ctx, text.data(), text.size(), SQLITE_TRANSIENT, SQLITE_UTF8);
}

// SQLite passes an error message on as a C string: a NUL byte of a quoted value reads "\0", so
// that the message does not end there.
std::string WithVisibleNul(std::string_view message) {
    std::string text;
    for (const char c : message)
        text += c == '\0' ? std::string_view("\\0") : std::string_view(&c, 1);
    return text;
}

template <class Body>
void Guarded(sqlite3_context* ctx, Body body) {
    try {
        body();
    } catch (const FunctionError& e) {
        sqlite3_result_error(ctx, WithVisibleNul(e.message).c_str(), -1);
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

        if (type == "DATE") return ResultText(ctx, DateOf(value).DatePart().ToStorageString());
        if (IsDateTypeName(type)) {
            if (storage == SQLITE_TEXT)
                if (auto stored = StoredDateText(TextOf(value))) return ResultText(ctx, *stored);
            return ResultText(ctx, DateOf(value).ToStorageString());
        }
        if (IsCharTypeName(type)) {
            std::string text = DisplayText(value);
            if (style >= 0 && storage == SQLITE_TEXT && ParseSqlDate(text)) {
                const Moment moment = MomentOf(value);
                text = FormatStyle(moment.date, moment.milliseconds, style);
            }
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

// --- Arithmetic ---------------------------------------------------------------------------

// A whole number written as text (blanks around allowed), as SQL Server converts text for
// an integer operand.
std::optional<std::int64_t> WholeNumberOf(std::string_view text) {
    const auto parsed = Decimal::Parse(text);
    if (!parsed || text.find_first_of(".eE") != std::string_view::npos) return std::nullopt;
    if (*parsed != parsed->Round(0) || std::abs(parsed->ToDouble()) >= 9.2e18) return std::nullopt;
    return parsed->ToInt64();
}

[[noreturn]] void ThrowOverflow() {
    throw FunctionError{"Arithmetic overflow error converting expression to data type bigint."};
}

// tsql_add(a, b): SQL Server's +. Two texts are joined; otherwise the text operand is converted
// to the type of the number and they are added. NULL with anything is NULL.
void Add(sqlite3_context* ctx, int, sqlite3_value** argv) {
    Guarded(ctx, [&] {
        sqlite3_value* a = argv[0];
        sqlite3_value* b = argv[1];
        if (IsNull(a) || IsNull(b)) return sqlite3_result_null(ctx);
        const int ta = sqlite3_value_type(a);
        const int tb = sqlite3_value_type(b);
        const bool textA = ta == SQLITE_TEXT || ta == SQLITE_BLOB;
        const bool textB = tb == SQLITE_TEXT || tb == SQLITE_BLOB;
        if (textA && textB) {
            std::string joined(TextOf(a));
            joined += TextOf(b);
            return ResultText(ctx, joined);
        }
        if (ta == SQLITE_INTEGER && tb == SQLITE_INTEGER) {
            std::int64_t sum = 0;
            if (__builtin_add_overflow(sqlite3_value_int64(a), sqlite3_value_int64(b), &sum))
                ThrowOverflow();
            return sqlite3_result_int64(ctx, sum);
        }
        // One number and one text, or a float: the text takes the number's type.
        sqlite3_value* number = textA ? b : a;
        sqlite3_value* text = textA ? a : b;
        if (textA || textB) {
            if (sqlite3_value_type(number) == SQLITE_INTEGER) {
                const auto whole = WholeNumberOf(TextOf(text));
                if (!whole) throw FunctionError{TypeError(text, "int")};
                std::int64_t sum = 0;
                if (__builtin_add_overflow(sqlite3_value_int64(number), *whole, &sum))
                    ThrowOverflow();
                return sqlite3_result_int64(ctx, sum);
            }
            const auto parsed = Decimal::Parse(TextOf(text));
            if (!parsed) throw FunctionError{TypeError(text, "float")};
            return sqlite3_result_double(ctx, sqlite3_value_double(number) + parsed->ToDouble());
        }
        sqlite3_result_double(ctx, sqlite3_value_double(a) + sqlite3_value_double(b));
    });
}

// tsql_nonzero(divisor): the divisor of / and %, unless it is zero, which SQL Server refuses
// where SQLite would give NULL.
void NonZero(sqlite3_context* ctx, int, sqlite3_value** argv) {
    sqlite3_value* divisor = argv[0];
    if (IsNull(divisor)) return sqlite3_result_null(ctx);
    const bool zero = sqlite3_value_numeric_type(divisor) == SQLITE_INTEGER
                          ? sqlite3_value_int64(divisor) == 0
                          : sqlite3_value_double(divisor) == 0.0;
    if (zero) return sqlite3_result_error(ctx, "Divide by zero error encountered.", -1);
    sqlite3_result_value(ctx, divisor);
}

// tsql_avg_int(x): AVG of a whole-number column, which SQL Server keeps whole: each value
// taken as a whole number, the sum divided by the count and truncated toward zero.
struct IntegerAverage {
    std::int64_t sum;
    std::int64_t count;
    bool overflow;
};

void IntegerAverageStep(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (IsNull(argv[0])) return;
    auto* state =
        static_cast<IntegerAverage*>(sqlite3_aggregate_context(ctx, sizeof(IntegerAverage)));
    if (!state) return sqlite3_result_error_nomem(ctx);
    const std::int64_t value =
        sqlite3_value_numeric_type(argv[0]) == SQLITE_INTEGER
            ? sqlite3_value_int64(argv[0])
            : static_cast<std::int64_t>(std::trunc(sqlite3_value_double(argv[0])));
    state->overflow = state->overflow || __builtin_add_overflow(state->sum, value, &state->sum);
    ++state->count;
}

void IntegerAverageFinal(sqlite3_context* ctx) {
    auto* state = static_cast<IntegerAverage*>(sqlite3_aggregate_context(ctx, 0));
    if (!state || state->count == 0) return sqlite3_result_null(ctx);
    if (state->overflow)
        return sqlite3_result_error(
            ctx, "Arithmetic overflow error converting expression to data type bigint.", -1);
    sqlite3_result_int64(ctx, state->sum / state->count);
}

// --- Date parts and lengths ---------------------------------------------------------------

// Sunday is 1, as under SQL Server's default DATEFIRST 7.
int Weekday(const Date& date) {
    const int days = Date(1970, 1, 1).DaysUntil(date);  // 1970-01-01 was a Thursday
    return ((days + 4) % 7 + 7) % 7 + 1;
}

std::int64_t DatePart(std::string_view part, const Moment& moment) {
    const Date& d = moment.date;
    const int dayOfYear = Date(d.Year(), 1, 1).DaysUntil(d) + 1;
    if (part == "year") return d.Year();
    if (part == "quarter") return (d.Month() - 1) / 3 + 1;
    if (part == "month") return d.Month();
    if (part == "dayofyear") return dayOfYear;
    if (part == "day") return d.Day();
    // Weeks start on Sunday; the week of 1 January is week 1.
    if (part == "week") return (dayOfYear - 1 + Weekday(Date(d.Year(), 1, 1)) - 1) / 7 + 1;
    if (part == "weekday") return Weekday(d);
    if (part == "hour") return d.Hour();
    if (part == "minute") return d.Minute();
    if (part == "second") return d.Second();
    if (part == "millisecond") return moment.milliseconds;
    throw FunctionError{"DATEPART of " + std::string(part) + " is not supported"};
}

// tsql_datepart(part, date); also YEAR, MONTH and DAY, with the part as user data.
void DatePartOf(sqlite3_context* ctx, sqlite3_value* part, sqlite3_value* date) {
    Guarded(ctx, [&] {
        if (IsNull(date)) return sqlite3_result_null(ctx);
        sqlite3_result_int64(ctx, DatePart(TextOf(part), MomentOf(date)));
    });
}

void NamedDatePart(sqlite3_context* ctx, int, sqlite3_value** argv) {
    Guarded(ctx, [&] {
        if (IsNull(argv[0])) return sqlite3_result_null(ctx);
        const auto* part = static_cast<const char*>(sqlite3_user_data(ctx));
        sqlite3_result_int64(ctx, DatePart(part, MomentOf(argv[0])));
    });
}

// DATALENGTH in bytes as SQL Server stores the value: whole numbers 4 bytes (8 beyond 32
// bits), floats 8, and text as varchar in the client databases' Chinese code page (936): one
// byte for an ASCII character, two for any other. The substitute keeps text as UTF-8, so the
// byte count is worked out rather than read.
void DataLength(sqlite3_context* ctx, int, sqlite3_value** argv) {
    sqlite3_value* value = argv[0];
    switch (sqlite3_value_type(value)) {
        case SQLITE_NULL:
            return sqlite3_result_null(ctx);
        case SQLITE_INTEGER: {
            const std::int64_t n = sqlite3_value_int64(value);
            return sqlite3_result_int(ctx, n >= INT32_MIN && n <= INT32_MAX ? 4 : 8);
        }
        case SQLITE_FLOAT:
            return sqlite3_result_int(ctx, 8);
        case SQLITE_BLOB:
            return sqlite3_result_int(ctx, sqlite3_value_bytes(value));
        default: {
            std::int64_t bytes = 0;
            for (char c : TextOf(value))
                if (!IsContinuation(c)) bytes += static_cast<unsigned char>(c) < 0x80 ? 1 : 2;
            sqlite3_result_int64(ctx, bytes);
        }
    }
}

// --- Collation ----------------------------------------------------------------------------

// SQL Server's default collation of the client's databases, for text columns: ASCII letters
// compare without case, and the shorter text counts as padded with blanks, so trailing blanks
// never matter. Other characters (Chinese) compare as themselves, in code point order.
int CompareText(void*, int lengthA, const void* a, int lengthB, const void* b) {
    const auto* x = static_cast<const unsigned char*>(a);
    const auto* y = static_cast<const unsigned char*>(b);
    const int n = std::max(lengthA, lengthB);
    for (int i = 0; i < n; ++i) {
        const unsigned char cx = i < lengthA ? x[i] : ' ';
        const unsigned char cy = i < lengthB ? y[i] : ' ';
        if (cx == cy) continue;
        const unsigned char fx = cx >= 'A' && cx <= 'Z' ? cx + ('a' - 'A') : cx;
        const unsigned char fy = cy >= 'A' && cy <= 'Z' ? cy + ('a' - 'A') : cy;
        if (fx != fy) return fx < fy ? -1 : 1;
    }
    return 0;
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
    Register(db, kDatePartFunction, 2, true, nullptr,
             [](sqlite3_context* c, int, sqlite3_value** v) { DatePartOf(c, v[0], v[1]); });
    static constexpr const char* kParts[] = {"year", "month", "day"};
    for (const char* part : kParts)
        Register(db, part, 1, true, const_cast<char*>(part), NamedDatePart);
    Register(db, "datalength", 1, true, nullptr, DataLength);
    Register(db, kAddFunction, 2, true, nullptr, Add);
    Register(db, kNonZeroFunction, 1, true, nullptr, NonZero);
    const std::string average(kIntegerAverageFunction);
    if (sqlite3_create_function_v2(
            db, average.c_str(), 1, SQLITE_UTF8 | SQLITE_DIRECTONLY | SQLITE_DETERMINISTIC, nullptr,
            nullptr, IntegerAverageStep, IntegerAverageFinal, nullptr) != SQLITE_OK)
        ThrowDatabaseError(sqlite3_errmsg(db), "registering " + average);
}

void RegisterTextCollation(sqlite3* db) {
    const std::string name(kTextCollation);
    if (sqlite3_create_collation_v2(db, name.c_str(), SQLITE_UTF8, nullptr, CompareText, nullptr) !=
        SQLITE_OK)
        ThrowDatabaseError(sqlite3_errmsg(db), "registering " + name);
}

}  // namespace velaqm::host
