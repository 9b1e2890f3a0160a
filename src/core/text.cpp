#include "core/text.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "core/error.h"

namespace core {

namespace {
bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
bool isContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// Byte offset of the character with index `chars` (0-based), or text.size().
std::size_t byteOffsetOfChar(std::string_view text, std::size_t chars) {
    std::size_t seen = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (isContinuation(static_cast<unsigned char>(text[i]))) continue;
        if (seen == chars) return i;
        ++seen;
    }
    return text.size();
}
}  // namespace

std::string trim(std::string_view text) {
    std::size_t b = 0, e = text.size();
    while (b < e && isBlank(text[b])) ++b;
    while (e > b && isBlank(text[e - 1])) --e;
    return std::string(text.substr(b, e - b));
}

std::string asciiUpper(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return out;
}

std::string asciiLower(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

bool equalsIgnoreCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && asciiUpper(a) == asciiUpper(b);
}

std::size_t characterCount(std::string_view text) {
    std::size_t n = 0;
    for (char c : text)
        if (!isContinuation(static_cast<unsigned char>(c))) ++n;
    return n;
}

std::string cutToWidth(std::string_view text, std::size_t width) {
    return std::string(text.substr(0, byteOffsetOfChar(text, width)));
}

std::string leftChars(std::string_view text, std::size_t count) { return cutToWidth(text, count); }

std::string midChars(std::string_view text, std::size_t from, std::size_t count) {
    if (from == 0) from = 1;
    std::size_t b = byteOffsetOfChar(text, from - 1);
    std::string_view rest = text.substr(b);
    return cutToWidth(rest, count);
}

bool startsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

std::optional<std::int64_t> parseInteger(std::string_view raw) {
    std::string text = trim(raw);
    if (text.empty()) return std::nullopt;
    std::size_t i = 0;
    if (text[0] == '+' || text[0] == '-') i = 1;
    if (i == text.size()) return std::nullopt;
    for (std::size_t j = i; j < text.size(); ++j)
        if (text[j] < '0' || text[j] > '9') return std::nullopt;
    if (text.size() - i > 18) return std::nullopt;
    return std::strtoll(text.c_str(), nullptr, 10);
}

std::optional<double> parseNumber(std::string_view raw) {
    std::string text = trim(raw);
    if (text.empty()) return std::nullopt;
    std::size_t i = 0;
    if (text[0] == '+' || text[0] == '-') i = 1;
    bool digits = false, point = false, exponent = false;
    for (; i < text.size(); ++i) {
        char c = text[i];
        if (c >= '0' && c <= '9') {
            digits = true;
        } else if (c == '.' && !point && !exponent) {
            point = true;
        } else if ((c == 'e' || c == 'E') && digits && !exponent) {
            exponent = true;
            digits = false;
            if (i + 1 < text.size() && (text[i + 1] == '+' || text[i + 1] == '-')) ++i;
        } else {
            return std::nullopt;
        }
    }
    if (!digits) return std::nullopt;
    return std::strtod(text.c_str(), nullptr);
}

std::string notAnIntegerMessage(std::string_view text) {
    return "'" + std::string(text) + "' is not a valid integer value";
}

std::string notANumberMessage(std::string_view text) {
    return "'" + std::string(text) + "' is not a valid floating point value";
}

std::int64_t toInteger(std::string_view text) {
    auto v = parseInteger(text);
    if (!v) throw Error(notAnIntegerMessage(text));
    return *v;
}

double toNumber(std::string_view text) {
    auto v = parseNumber(text);
    if (!v) throw Error(notANumberMessage(text));
    return *v;
}

std::string formatAmount(double value) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.2f", std::fabs(value));
    std::string digits(buf);
    std::size_t point = digits.find('.');
    std::string whole = digits.substr(0, point), out;
    for (std::size_t i = 0; i < whole.size(); ++i) {
        if (i > 0 && (whole.size() - i) % 3 == 0) out += ',';
        out += whole[i];
    }
    out += digits.substr(point);
    if (value < 0 && out != "0.00") out = "-" + out;
    return out;
}

std::string formatPlainNumber(double value) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.12g", value);
    return buf;
}

std::string removeThousandsSeparators(std::string_view text) {
    std::string out;
    for (char c : text)
        if (c != ',') out += c;
    return out;
}

std::string replaceAll(std::string text, std::string_view from, std::string_view to) {
    if (from.empty()) return text;
    std::size_t pos = 0;
    while ((pos = text.find(from, pos)) != std::string::npos) {
        text.replace(pos, from.size(), to);
        pos += to.size();
    }
    return text;
}

std::vector<std::string> split(std::string_view text, char separator) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (;;) {
        std::size_t pos = text.find(separator, start);
        parts.emplace_back(text.substr(start, pos == std::string_view::npos ? pos : pos - start));
        if (pos == std::string_view::npos) break;
        start = pos + 1;
    }
    return parts;
}

}  // namespace core
