#include "frame/date.h"

#include <chrono>
#include <stdexcept>

namespace velaqm {

namespace {

// The host's calendar runs from the year 100 to the year 9999.
constexpr int kMinYear = 100;
constexpr int kMaxYear = 9999;

std::chrono::year_month_day Civil(std::int32_t days) {
    return std::chrono::year_month_day{std::chrono::sys_days{std::chrono::days{days}}};
}

std::int32_t DaysSinceEpoch(int year, int month, int day) {
    const std::chrono::year_month_day civil{std::chrono::year{year},
                                            std::chrono::month{static_cast<unsigned>(month)},
                                            std::chrono::day{static_cast<unsigned>(day)}};
    return std::chrono::sys_days{civil}.time_since_epoch().count();
}

bool IsValid(int year, int month, int day, int hour, int minute, int second) {
    if (year < kMinYear || year > kMaxYear || month < 1 || month > 12 || day < 1 || day > 31)
        return false;
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59)
        return false;
    return std::chrono::year_month_day{std::chrono::year{year},
                                       std::chrono::month{static_cast<unsigned>(month)},
                                       std::chrono::day{static_cast<unsigned>(day)}}
        .ok();
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Reads minDigits..maxDigits digits at pos; false when there are fewer or more.
bool ReadNumber(std::string_view text, std::size_t& pos, int minDigits, int maxDigits, int& value) {
    value = 0;
    int count = 0;
    for (; pos < text.size() && IsDigit(text[pos]); ++pos, ++count) {
        if (count == maxDigits) return false;
        value = value * 10 + (text[pos] - '0');
    }
    return count >= minDigits;
}

bool Expect(std::string_view text, std::size_t& pos, char c) {
    if (pos >= text.size() || text[pos] != c) return false;
    ++pos;
    return true;
}

void AppendPadded(std::string& out, int value, int width) {
    const std::string digits = std::to_string(value);
    if (static_cast<int>(digits.size()) < width) out.append(width - digits.size(), '0');
    out += digits;
}

void AppendTime(std::string& out, const Date& date) {
    out += ' ';
    AppendPadded(out, date.Hour(), 2);
    out += ':';
    AppendPadded(out, date.Minute(), 2);
    out += ':';
    AppendPadded(out, date.Second(), 2);
}

}  // namespace

Date::Date(int year, int month, int day, int hour, int minute, int second) {
    if (!IsValid(year, month, day, hour, minute, second))
        throw std::invalid_argument("Date: no such day or time");
    m_days = DaysSinceEpoch(year, month, day);
    m_seconds = hour * 3600 + minute * 60 + second;
}

std::optional<Date> Date::Parse(std::string_view text) {
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);

    std::size_t pos = 0;
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    if (!ReadNumber(text, pos, 4, 4, year) || pos >= text.size()) return std::nullopt;
    const char separator = text[pos];
    if (separator != '-' && separator != '/') return std::nullopt;
    ++pos;
    if (!ReadNumber(text, pos, 1, 2, month) || !Expect(text, pos, separator) ||
        !ReadNumber(text, pos, 1, 2, day)) {
        return std::nullopt;
    }
    if (pos < text.size()) {
        if (!IsBlank(text[pos])) return std::nullopt;
        while (pos < text.size() && IsBlank(text[pos]))
            ++pos;
        if (!ReadNumber(text, pos, 1, 2, hour) || !Expect(text, pos, ':') ||
            !ReadNumber(text, pos, 2, 2, minute)) {
            return std::nullopt;
        }
        if (pos < text.size() && (!Expect(text, pos, ':') || !ReadNumber(text, pos, 2, 2, second)))
            return std::nullopt;
        if (pos != text.size()) return std::nullopt;
    }
    if (!IsValid(year, month, day, hour, minute, second)) return std::nullopt;
    return Date(year, month, day, hour, minute, second);
}

int Date::Year() const {
    return static_cast<int>(Civil(m_days).year());
}
int Date::Month() const {
    return static_cast<int>(static_cast<unsigned>(Civil(m_days).month()));
}
int Date::Day() const {
    return static_cast<int>(static_cast<unsigned>(Civil(m_days).day()));
}

Date Date::DatePart() const {
    Date result = *this;
    result.m_seconds = 0;
    return result;
}

Date Date::AddDays(int days) const {
    static const std::int32_t first = DaysSinceEpoch(kMinYear, 1, 1);
    static const std::int32_t last = DaysSinceEpoch(kMaxYear, 12, 31);
    const long long target = static_cast<long long>(m_days) + days;
    if (target < first || target > last) throw std::out_of_range("Date: beyond the calendar");
    Date result = *this;
    result.m_days = static_cast<std::int32_t>(target);
    return result;
}

int Date::DaysUntil(const Date& other) const {
    return other.m_days - m_days;
}

std::string Date::ToString() const {
    std::string text;
    AppendPadded(text, Year(), 4);
    text += '-';
    AppendPadded(text, Month(), 2);
    text += '-';
    AppendPadded(text, Day(), 2);
    if (m_seconds != 0) AppendTime(text, *this);
    return text;
}

std::string Date::ToStorageString() const {
    std::string text = DatePart().ToString();
    AppendTime(text, *this);
    return text;
}

}  // namespace velaqm
