#pragma once
// One date-time type with second resolution. Its text form is
// "yyyy-mm-dd hh:nn:ss" (dates alone "yyyy-mm-dd"); the zero date
// 1899-12-30 00:00:00 stands for an empty date.

#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace core {

class DateTime {
public:
    // The zero date.
    DateTime() = default;
    static DateTime fromParts(int year, int month, int day, int hour = 0, int minute = 0,
                              int second = 0);
    // Accepts "yyyy-mm-dd" and "yyyy-mm-dd hh:nn:ss" (also with "T" between,
    // and "hh:nn" without seconds). Empty text is the zero date. Anything
    // else, or an impossible date such as 2021-02-30, yields no value.
    static std::optional<DateTime> parse(std::string_view text);
    // As parse, but throws core::Error("'x' is not a valid date") on failure.
    static DateTime fromText(std::string_view text);

    bool isZero() const { return m_seconds == 0; }
    int year() const;
    int month() const;
    int day() const;
    int hour() const;
    int minute() const;
    int second() const;

    std::string toDateTimeText() const;  // yyyy-mm-dd hh:nn:ss
    std::string toDateText() const;      // yyyy-mm-dd
    std::string toCompactDate() const;   // yyyymmdd

    DateTime addDays(std::int64_t days) const;
    DateTime addSeconds(std::int64_t seconds) const;
    DateTime dateOnly() const;
    // Seconds from `earlier` to this (negative when this is earlier).
    std::int64_t secondsSince(const DateTime& earlier) const;

    auto operator<=>(const DateTime&) const = default;

private:
    explicit DateTime(std::int64_t seconds) : m_seconds(seconds) {}
    std::int64_t m_seconds = 0;  // since 1899-12-30 00:00:00
};

// Whole years from birth to today, as a person counts their age.
int ageInYears(const DateTime& birth, const DateTime& today);

}  // namespace core
