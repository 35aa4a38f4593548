// Calendar date with an optional time of day, to the second.
#pragma once

#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace velaqm {

class Date {
  public:
    constexpr Date() = default;
    // Throws std::invalid_argument for a day or time that does not exist or a year outside
    // 100..9999, the host's calendar.
    Date(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);

    // "YYYY-MM-DD", "YYYY/MM/DD", "YYYY-M-D", each optionally followed by one or more blanks and
    // "H:MM", "HH:MM" or "HH:MM:SS"; blanks around are allowed. nullopt for anything else,
    // including days that do not exist ("2009-2-30") and mixed separators ("2009-10/01").
    static std::optional<Date> Parse(std::string_view text);

    int Year() const;
    int Month() const;
    int Day() const;
    int Hour() const { return static_cast<int>(m_seconds / 3600); }
    int Minute() const { return static_cast<int>(m_seconds / 60 % 60); }
    int Second() const { return static_cast<int>(m_seconds % 60); }

    // The same day at midnight.
    Date DatePart() const;
    // Keeps the time of day; throws std::out_of_range beyond the years 100..9999.
    Date AddDays(int days) const;
    // Days from this date to `other` (whole days, time ignored).
    int DaysUntil(const Date& other) const;

    // "YYYY-MM-DD", plus " HH:MM:SS" when the time is not midnight.
    std::string ToString() const;
    // Always "YYYY-MM-DD HH:MM:SS": the form stored in the database.
    std::string ToStorageString() const;

    friend bool operator==(const Date&, const Date&) = default;
    friend auto operator<=>(const Date&, const Date&) = default;

  private:
    std::int32_t m_days = 0;     // days since 1970-01-01
    std::int32_t m_seconds = 0;  // seconds since midnight
};

}  // namespace velaqm
