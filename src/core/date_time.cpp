#include "core/date_time.h"

#include <cstdio>

#include "core/error.h"
#include "core/text.h"

namespace core {

namespace {
// Days since 1970-01-01 of a civil date (proleptic Gregorian).
constexpr std::int64_t daysFromCivil(std::int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

void civilFromDays(std::int64_t z, int& y, int& m, int& d) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = static_cast<int>(static_cast<std::int64_t>(yoe) + era * 400 + (m <= 2));
}

constexpr std::int64_t kEpochDays = daysFromCivil(1899, 12, 30);
constexpr std::int64_t kDay = 86400;

std::int64_t floorDiv(std::int64_t a, std::int64_t b) {
    std::int64_t q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
    return q;
}

bool daysInMonthOk(int y, int m, int d) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (m < 1 || m > 12 || d < 1) return false;
    int max = days[m - 1];
    bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    if (m == 2 && leap) max = 29;
    return d <= max;
}

bool readDigits(std::string_view s, std::size_t pos, std::size_t n, int& out) {
    if (pos + n > s.size()) return false;
    int v = 0;
    for (std::size_t i = pos; i < pos + n; ++i) {
        if (s[i] < '0' || s[i] > '9') return false;
        v = v * 10 + (s[i] - '0');
    }
    out = v;
    return true;
}
}  // namespace

DateTime DateTime::fromParts(int year, int month, int day, int hour, int minute, int second) {
    std::int64_t days = daysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) -
                        kEpochDays;
    return DateTime(days * kDay + hour * 3600 + minute * 60 + second);
}

std::optional<DateTime> DateTime::parse(std::string_view raw) {
    std::string text = trim(raw);
    if (text.empty()) return DateTime();
    int y, mo, d, h = 0, mi = 0, s = 0;
    if (text.size() < 10 || text[4] != '-' || text[7] != '-') return std::nullopt;
    if (!readDigits(text, 0, 4, y) || !readDigits(text, 5, 2, mo) || !readDigits(text, 8, 2, d))
        return std::nullopt;
    if (!daysInMonthOk(y, mo, d)) return std::nullopt;
    if (text.size() > 10) {
        if (text[10] != ' ' && text[10] != 'T') return std::nullopt;
        std::string_view t = std::string_view(text).substr(11);
        if (t.size() != 5 && t.size() != 8) return std::nullopt;
        if (!readDigits(t, 0, 2, h) || t[2] != ':' || !readDigits(t, 3, 2, mi)) return std::nullopt;
        if (t.size() == 8 && (t[5] != ':' || !readDigits(t, 6, 2, s))) return std::nullopt;
        if (h > 23 || mi > 59 || s > 59) return std::nullopt;
    }
    return fromParts(y, mo, d, h, mi, s);
}

DateTime DateTime::fromText(std::string_view text) {
    auto v = parse(text);
    if (!v) throw Error("'" + std::string(text) + "' is not a valid date");
    return *v;
}

int DateTime::year() const {
    int y, m, d;
    civilFromDays(floorDiv(m_seconds, kDay) + kEpochDays, y, m, d);
    return y;
}
int DateTime::month() const {
    int y, m, d;
    civilFromDays(floorDiv(m_seconds, kDay) + kEpochDays, y, m, d);
    return m;
}
int DateTime::day() const {
    int y, m, d;
    civilFromDays(floorDiv(m_seconds, kDay) + kEpochDays, y, m, d);
    return d;
}
int DateTime::hour() const { return static_cast<int>((m_seconds - floorDiv(m_seconds, kDay) * kDay) / 3600); }
int DateTime::minute() const {
    return static_cast<int>((m_seconds - floorDiv(m_seconds, kDay) * kDay) % 3600 / 60);
}
int DateTime::second() const {
    return static_cast<int>((m_seconds - floorDiv(m_seconds, kDay) * kDay) % 60);
}

std::string DateTime::toDateText() const {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", year(), month(), day());
    return buf;
}

std::string DateTime::toDateTimeText() const {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%s %02d:%02d:%02d", toDateText().c_str(), hour(), minute(),
                  second());
    return buf;
}

std::string DateTime::toCompactDate() const {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%04d%02d%02d", year(), month(), day());
    return buf;
}

DateTime DateTime::addDays(std::int64_t days) const { return DateTime(m_seconds + days * kDay); }
DateTime DateTime::addSeconds(std::int64_t seconds) const { return DateTime(m_seconds + seconds); }
DateTime DateTime::dateOnly() const { return DateTime(floorDiv(m_seconds, kDay) * kDay); }
std::int64_t DateTime::secondsSince(const DateTime& earlier) const {
    return m_seconds - earlier.m_seconds;
}

int ageInYears(const DateTime& birth, const DateTime& today) {
    int age = today.year() - birth.year();
    if (today.month() < birth.month() ||
        (today.month() == birth.month() && today.day() < birth.day()))
        --age;
    return age;
}

}  // namespace core
