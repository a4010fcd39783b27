#include "core/numbers.h"

#include <array>
#include <charconv>
#include <cmath>
#include <system_error>

namespace ferolan {
namespace {

bool isSkipped(char c) {
    return c == ' ' || c == '\t' || c == '\n';
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Adds one unit at the last digit of `digits` (which holds only digits); returns true when
// the carry runs off the front.
bool incrementDigits(std::string &digits) {
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        if (*it != '9') {
            ++*it;
            return false;
        }
        *it = '0';
    }
    return true;
}

} // namespace

double numericValue(std::string_view text) {
    std::string compact;
    compact.reserve(text.size());
    for (char c : text)
        if (!isSkipped(c))
            compact += c;

    // Rebuild the longest numeric prefix in the form std::from_chars accepts.
    std::string number;
    std::size_t pos = 0;
    bool negative = false;
    if (pos < compact.size() && (compact[pos] == '+' || compact[pos] == '-'))
        negative = compact[pos++] == '-';
    std::size_t mantissaDigits = 0;
    while (pos < compact.size() && isDigit(compact[pos])) {
        number += compact[pos++];
        ++mantissaDigits;
    }
    if (pos < compact.size() && compact[pos] == '.') {
        ++pos;
        number += '.';
        while (pos < compact.size() && isDigit(compact[pos])) {
            number += compact[pos++];
            ++mantissaDigits;
        }
    }
    if (mantissaDigits == 0)
        return 0.0;
    if (number.front() == '.')
        number.insert(number.begin(), '0');
    if (pos < compact.size() && (compact[pos] == 'E' || compact[pos] == 'e' ||
                                 compact[pos] == 'D' || compact[pos] == 'd')) {
        std::size_t expPos = pos + 1;
        std::string exponent = "e";
        if (expPos < compact.size() && (compact[expPos] == '+' || compact[expPos] == '-'))
            exponent += compact[expPos++];
        std::size_t expDigits = 0;
        while (expPos < compact.size() && isDigit(compact[expPos])) {
            exponent += compact[expPos++];
            ++expDigits;
        }
        if (expDigits > 0)
            number += exponent;
    }

    double value = 0.0;
    auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (error != std::errc{} || end != number.data() + number.size())
        return 0.0;
    return negative ? -value : value;
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
    const auto places = static_cast<std::size_t>(decimals);
    if (!std::isfinite(value))
        value = 0.0;
    std::array<char, 400> buffer{};
    auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), std::fabs(value),
                                std::chars_format::fixed);
    std::string_view shortest(buffer.data(), result.ptr - buffer.data());

    auto point = shortest.find('.');
    std::string whole(shortest.substr(0, point));
    std::string fraction(point == std::string_view::npos ? "" : shortest.substr(point + 1));
    bool roundUp = fraction.size() > places && fraction[places] >= '5';
    fraction.resize(places, '0');
    if (roundUp) {
        std::string digits = whole + fraction;
        if (incrementDigits(digits))
            digits.insert(digits.begin(), '1');
        whole = digits.substr(0, digits.size() - places);
        fraction = digits.substr(digits.size() - places);
    }

    bool isZero = whole.find_first_not_of('0') == std::string::npos &&
                  fraction.find_first_not_of('0') == std::string::npos;
    std::string out;
    if (value < 0 && !isZero)
        out += '-';
    out += whole;
    out += decimalSeparator;
    out += fraction;
    return out;
}

} // namespace ferolan
