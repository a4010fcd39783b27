#include "core/numbers.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <system_error>

namespace ferolan {
namespace {

// Room for the fixed text of any double: 309 digits for the largest, 326 characters for the
// smallest.
constexpr std::size_t kLongestFixed = 400;

bool isSkipped(char c) {
    return c == ' ' || c == '\t' || c == '\n';
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Adds one unit at the last of `count` digits; the first digit must be below 9, so the
// carry stops there.
void incrementDigits(char *digits, std::size_t count) {
    for (std::size_t i = count; i-- > 0;) {
        if (digits[i] != '9') {
            ++digits[i];
            return;
        }
        digits[i] = '0';
    }
}

// A whole number of this many digits is exact in a double and needs no general conversion.
constexpr std::size_t kExactWholeDigits = 15;

std::uint64_t wholeValue(std::string_view digits) {
    std::uint64_t value = 0;
    for (char c : digits)
        value = value * 10 + static_cast<std::uint64_t>(c - '0');
    return value;
}

// Past the digits that start at `pos`; `count` tells how many there were.
std::size_t skipDigits(std::string_view text, std::size_t pos, std::size_t &count) {
    const std::size_t from = pos;
    while (pos < text.size() && isDigit(text[pos]))
        ++pos;
    count = pos - from;
    return pos;
}

// The value of the longest number at the front of a text without blanks, read in place:
// std::from_chars takes neither a "+" nor the Fortran exponent letter D, so the sign is
// applied afterwards and only a D exponent is copied out to be read as E.
double leadingNumberValue(std::string_view text) {
    std::size_t pos = 0;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-'))
        negative = text[pos++] == '-';
    const std::size_t numberStart = pos;
    std::size_t wholeDigits = 0, fractionDigits = 0;
    pos = skipDigits(text, pos, wholeDigits);
    if (pos < text.size() && text[pos] == '.')
        pos = skipDigits(text, pos + 1, fractionDigits);
    if (wholeDigits + fractionDigits == 0)
        return 0.0;

    std::size_t numberEnd = pos;
    const bool exponent = pos < text.size() && (text[pos] == 'E' || text[pos] == 'e' ||
                                                text[pos] == 'D' || text[pos] == 'd');
    if (exponent) {
        std::size_t expPos = pos + 1;
        if (expPos < text.size() && (text[expPos] == '+' || text[expPos] == '-'))
            ++expPos;
        std::size_t expDigits = 0;
        expPos = skipDigits(text, expPos, expDigits);
        if (expDigits > 0)
            numberEnd = expPos;
    }

    std::string_view number = text.substr(numberStart, numberEnd - numberStart);
    if (number.size() == wholeDigits && wholeDigits <= kExactWholeDigits) {
        const double value = static_cast<double>(wholeValue(number));
        return negative ? -value : value;
    }
    std::string withE;
    if (numberEnd > pos && (text[pos] == 'D' || text[pos] == 'd')) {
        withE = number;
        withE[pos - numberStart] = 'e';
        number = withE;
    }
    double value = 0.0;
    auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (error != std::errc{} || end != number.data() + number.size())
        return 0.0;
    return negative ? -value : value;
}

} // namespace

double numericValue(std::string_view text) {
    // Blanks inside a number are rare: only then is the text copied without them.
    if (std::none_of(text.begin(), text.end(), isSkipped))
        return leadingNumberValue(text);
    std::string compact;
    compact.reserve(text.size());
    std::copy_if(text.begin(), text.end(), std::back_inserter(compact),
                 [](char c) { return !isSkipped(c); });
    return leadingNumberValue(compact);
}

std::optional<double> exactNumericValue(std::string_view text, bool exponentAllowed) {
    std::size_t pos = 0;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-'))
        ++pos;
    std::size_t digits = 0;
    bool point = false;
    for (; pos < text.size(); ++pos) {
        if (isDigit(text[pos]))
            ++digits;
        else if (text[pos] == '.' && !point)
            point = true;
        else
            break;
    }
    if (digits == 0)
        return std::nullopt;
    if (exponentAllowed && pos < text.size() &&
        (text[pos] == 'E' || text[pos] == 'e' || text[pos] == 'D' || text[pos] == 'd')) {
        ++pos;
        if (pos < text.size() && (text[pos] == '+' || text[pos] == '-'))
            ++pos;
        std::size_t exponentDigits = 0;
        for (; pos < text.size() && isDigit(text[pos]); ++pos)
            ++exponentDigits;
        if (exponentDigits == 0)
            return std::nullopt;
    }
    if (pos != text.size())
        return std::nullopt;
    return numericValue(text);
}

double roundDown(double value) {
    return std::floor(value);
}

std::string wholeNumberText(double wholeValue) {
    if (wholeValue == 0.0 || !std::isfinite(wholeValue))
        return "0";
    std::array<char, 400> buffer{};
    auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), wholeValue,
                                std::chars_format::fixed, 0);
    return std::string(buffer.data(), result.ptr);
}

std::string threeDecimalText(double value, char decimalSeparator) {
    return decimalText(value, 3, decimalSeparator);
}

std::string decimalText(double value, int decimals, char decimalSeparator) {
    std::string out;
    appendDecimalText(out, value, decimals, decimalSeparator);
    return out;
}

void appendDecimalText(std::string &out, double value, int decimals, char decimalSeparator) {
    const auto places = static_cast<std::size_t>(std::clamp(decimals, 0, kMostDecimals));
    if (!std::isfinite(value))
        value = 0.0;
    std::array<char, kLongestFixed> buffer;
    auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), std::fabs(value),
                                std::chars_format::fixed);
    const std::string_view shortest(buffer.data(), result.ptr - buffer.data());
    const std::size_t point = std::min(shortest.find('.'), shortest.size());
    const std::string_view fraction = shortest.substr(std::min(point + 1, shortest.size()));

    // A spare "0" for the carry of a rounding such as 9.9996 to 10.000, the whole digits,
    // then the fraction cut or padded to `places`.
    std::array<char, 1 + kLongestFixed + kMostDecimals> digits;
    std::size_t count = 0;
    digits[count++] = '0';
    for (char c : shortest.substr(0, point))
        digits[count++] = c;
    for (std::size_t i = 0; i < places; ++i)
        digits[count++] = i < fraction.size() ? fraction[i] : '0';
    if (fraction.size() > places && fraction[places] >= '5')
        incrementDigits(digits.data(), count);

    const std::size_t first = digits[0] == '0' ? 1 : 0;
    const std::string_view rounded(digits.data() + first, count - first);
    const bool isZero = rounded.find_first_not_of('0') == std::string_view::npos;
    if (value < 0 && !isZero)
        out += '-';
    out += rounded.substr(0, rounded.size() - places);
    out += decimalSeparator;
    out += rounded.substr(rounded.size() - places);
}

} // namespace ferolan
