#pragma once
// Text rules shared by every layer. Text is UTF-8; widths count characters,
// not bytes; upper-casing touches the ASCII letters a-z only.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace core {

// Blanks, tabs, carriage returns and line feeds removed at both ends.
std::string trim(std::string_view text);

// a-z become A-Z; every other byte is kept as it is.
std::string asciiUpper(std::string_view text);
std::string asciiLower(std::string_view text);
bool equalsIgnoreCase(std::string_view a, std::string_view b);

// Number of characters (UTF-8 code points) in text.
std::size_t characterCount(std::string_view text);

// The first `width` characters of text; text that fits is returned unchanged.
std::string cutToWidth(std::string_view text, std::size_t width);

// The first `count` characters (like cutToWidth) and the characters from
// position `from` (1-based) on, both counting characters.
std::string leftChars(std::string_view text, std::size_t count);
std::string midChars(std::string_view text, std::size_t from, std::size_t count);

bool startsWith(std::string_view text, std::string_view prefix);

// Whole-number conversion of trimmed text: optional digits with one leading
// sign. Empty or anything else yields no value.
std::optional<std::int64_t> parseInteger(std::string_view text);
// Decimal number with "." as decimal point; "," thousands separators are
// not accepted here (callers remove them first, as the amounts rule says).
std::optional<double> parseNumber(std::string_view text);

// The conversion messages shown when typed text is not a number.
std::string notAnIntegerMessage(std::string_view text);
std::string notANumberMessage(std::string_view text);

// Integer and float conversions that throw core::Error with the messages above.
std::int64_t toInteger(std::string_view text);
double toNumber(std::string_view text);

// 3000 -> "3,000.00": thousands separator ",", decimal point ".", two decimals.
std::string formatAmount(double value);
// Plain decimal text without separators: 1500 -> "1500", 2.5 -> "2.5".
std::string formatPlainNumber(double value);
// Every "," removed, as amounts shown with separators are read back.
std::string removeThousandsSeparators(std::string_view text);

std::string replaceAll(std::string text, std::string_view from, std::string_view to);
std::vector<std::string> split(std::string_view text, char separator);

}  // namespace core
