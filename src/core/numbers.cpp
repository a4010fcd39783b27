#include "core/numbers.h"
#include "core/text.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <optional>
#include <system_error>

namespace ferolan {
namespace {

// Room for the fixed text of any double: 309 digits for the largest, 326 characters for the
// smallest.
constexpr std::size_t kLongestFixed = 400;

bool isSkipped(char c) {
    return c == ' ' || c == '\t' || c == '\n';
}
bool isExponentLetter(char c) {
    return c == 'E' || c == 'e' || c == 'D' || c == 'd';
}

// Up to this many digits, the digits as a whole number and the power of ten they are divided
// by are both exact in a double, so one division gives the correctly rounded value that the
// general conversion would give, at a fraction of its cost.
constexpr std::size_t kExactDigits = 15;
constexpr std::array<double, kExactDigits + 1> kPowersOfTen = {
    1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};

// Past the digits that start at `pos`; `count` tells how many there were, and `value` takes
// them on as a whole number (it wraps around for runs too long to be used).
std::size_t readDigits(std::string_view text, std::size_t pos, std::size_t &count,
                       std::uint64_t &value) {
    const char *const first = text.data() + pos;
    const char *const end = text.data() + text.size();
    const char *at = first;
    // Kept apart from `value` while the digits are read, and a byte a digit when its
    // distance from '0' is below ten: few instructions a digit, for the many numbers of a job.
    std::uint64_t digits = value;
    for (unsigned digit = 0;
         at != end && (digit = static_cast<unsigned char>(*at) - unsigned{'0'}) < 10; ++at)
        digits = digits * 10 + digit;
    value = digits;
    count = static_cast<std::size_t>(at - first);
    return pos + count;
}

std::size_t skipDigits(std::string_view text, std::size_t pos, std::size_t &count) {
    std::uint64_t ignored = 0;
    return readDigits(text, pos, count, ignored);
}

// Past an exponent at `pos` (E or D, optional sign, digits); `pos` itself when there is none.
std::size_t skipExponent(std::string_view text, std::size_t pos) {
    if (pos >= text.size() || !isExponentLetter(text[pos]))
        return pos;
    std::size_t end = pos + 1;
    if (end < text.size() && (text[end] == '+' || text[end] == '-'))
        ++end;
    std::size_t digits = 0;
    end = skipDigits(text, end, digits);
    return digits > 0 ? end : pos;
}

// The general conversion of an unsigned number, nothing beyond the range of a double;
// std::from_chars takes no Fortran exponent letter D, so one at `exponentAt` is read as E.
std::optional<double> convertedValue(std::string_view number, std::size_t exponentAt) {
    std::string withE;
    if (exponentAt < number.size() && (number[exponentAt] == 'D' || number[exponentAt] == 'd')) {
        withE = number;
        withE[exponentAt] = 'e';
        number = withE;
    }
    double value = 0.0;
    auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (error != std::errc{} || end != number.data() + number.size())
        return std::nullopt;
    return value;
}

// Where a number at the front of a text without blanks lies, and its digits as read.
struct ScannedNumber {
    bool negative = false;
    std::size_t start = 0;       // after the sign
    std::size_t mantissaEnd = 0; // after the digits and the point
    std::size_t end = 0;         // after the exponent, if any
    std::size_t digitCount = 0;
    std::size_t fractionDigits = 0;
    std::uint64_t digits = 0;
};

ScannedNumber scanNumber(std::string_view text) {
    ScannedNumber number;
    std::size_t pos = 0;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-'))
        number.negative = text[pos++] == '-';
    number.start = pos;
    std::size_t wholeDigits = 0;
    pos = readDigits(text, pos, wholeDigits, number.digits);
    if (pos < text.size() && text[pos] == '.')
        pos = readDigits(text, pos + 1, number.fractionDigits, number.digits);
    number.digitCount = wholeDigits + number.fractionDigits;
    number.mantissaEnd = pos;
    number.end = number.digitCount > 0 ? skipExponent(text, pos) : pos;
    return number;
}

// The value of a scanned number; 0 without digits or beyond the range of a double.
double valueOf(const ScannedNumber &number, std::string_view text) {
    if (number.digitCount == 0)
        return 0.0;
    std::optional<double> value;
    if (number.end == number.mantissaEnd && number.digitCount <= kExactDigits)
        value = static_cast<double>(number.digits) / kPowersOfTen[number.fractionDigits];
    else
        value = convertedValue(text.substr(number.start, number.end - number.start),
                               number.mantissaEnd - number.start);
    if (!value)
        return 0.0;
    return number.negative ? -*value : *value;
}

// Rounding to a few decimals without the shortest text, for values of everyday size: the
// value times the power of ten is rounded directly when its fraction lies well away from a
// half. The shortest text differs from the value by at most half a unit in the last place
// (below 6e-8 under a billion) and the product is off by at most 6e-5 units, so far from a
// half both round alike.
// Near a half, the product's rounding error is recovered whole by a fused multiply-add, so
// the distance from the half is known almost exactly; farther from it than twice half a unit
// in the value's last place, the shortest text lies on the value's side. At the half itself,
// a value that is exactly the double of a text with one decimal more ending in 5 (as 0.0685
// is for three decimals) has that text as its shortest one, which rounds up: under a billion
// two such texts lie far more than a unit in the last place apart, so no other text reads
// back as the same double. Nothing otherwise, and the general way decides.
constexpr std::size_t kQuickPlaces = 3;
constexpr double kQuickLimit = 1e9;
constexpr double kQuickMargin = 1e-3;

std::optional<std::uint64_t> roundedQuickly(double magnitude, std::size_t places) {
    if (places > kQuickPlaces || !(magnitude < kQuickLimit))
        return std::nullopt;
    const double power = kPowersOfTen[places];
    const double scaled = magnitude * power;
    // Cut to a whole number: the same as rounding down for a value of this size and sign.
    const auto whole = static_cast<std::uint64_t>(scaled);
    const double fraction = scaled - static_cast<double>(whole);
    const auto rounded = [whole](bool up) { return whole + up; };
    if (std::fabs(fraction - 0.5) >= kQuickMargin)
        return rounded(fraction > 0.5);
    const double fromHalf = (fraction - 0.5) + std::fma(magnitude, power, -scaled);
    const double halfUnit = (std::nextafter(magnitude, kQuickLimit) - magnitude) / 2 * power;
    if (std::fabs(fromHalf) > 2 * halfUnit)
        return rounded(fromHalf > 0);
    const double finer = std::round(magnitude * kPowersOfTen[places + 1]);
    const auto digits = static_cast<std::uint64_t>(finer);
    if (digits % 10 == 5 && finer / kPowersOfTen[places + 1] == magnitude)
        return digits / 10 + 1;
    return std::nullopt;
}

// A count of units of the last of `places` decimals, written out at the end of `room`; "-"
// only when the value was negative and does not round to zero. Where the text starts.
char *writeScaled(std::span<char, kQuickDecimalRoom> room, std::uint64_t scaled, std::size_t places,
                  bool negative, char decimalSeparator) {
    // Written from the last digit back. Each division by ten is one the compiler turns into a
    // product.
    char *first = room.data() + room.size();
    const bool minus = negative && scaled != 0;
    for (std::size_t i = 0; i < places; ++i, scaled /= 10)
        *--first = static_cast<char>('0' + scaled % 10);
    *--first = decimalSeparator;
    do
        *--first = static_cast<char>('0' + scaled % 10);
    while ((scaled /= 10) != 0);
    if (minus)
        *--first = '-';
    return first;
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

} // namespace

double numericValue(std::string_view text) {
    // Blanks inside a number are rare: only then is the text copied without them. The number
    // read holds none, so only what follows it needs looking at.
    const ScannedNumber number = scanNumber(text);
    if (std::none_of(text.begin() + static_cast<std::ptrdiff_t>(number.end), text.end(), isSkipped))
        return valueOf(number, text);
    std::string compact;
    compact.reserve(text.size());
    std::copy_if(text.begin(), text.end(), std::back_inserter(compact),
                 [](char c) { return !isSkipped(c); });
    return valueOf(scanNumber(compact), compact);
}

std::optional<double> exactNumericValue(std::string_view text, bool exponentAllowed) {
    const ScannedNumber number = scanNumber(text);
    const std::size_t end = exponentAllowed ? number.end : number.mantissaEnd;
    if (number.digitCount == 0 || end != text.size())
        return std::nullopt;
    return valueOf(number, text);
}

std::optional<double> leadingPlainNumber(std::string_view text, std::size_t &length) {
    ScannedNumber number = scanNumber(text);
    if (number.digitCount == 0)
        return std::nullopt;
    number.end = number.mantissaEnd;
    length = number.end;
    return valueOf(number, text);
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

std::size_t quickDecimalText(std::span<char, kQuickDecimalRoom> room, double value, int decimals,
                             char decimalSeparator) {
    const auto places = static_cast<std::size_t>(std::clamp(decimals, 0, kMostDecimals));
    if (!std::isfinite(value))
        value = 0.0;
    const std::optional<std::uint64_t> scaled = roundedQuickly(std::fabs(value), places);
    if (!scaled)
        return 0;
    // Below a billion with three decimals: at most 14 characters, written backwards into the
    // first half of twice the room and copied whole, so that the copy's length is fixed.
    std::array<char, 2 * kQuickDecimalRoom> text{};
    const char *first =
        writeScaled(std::span<char, kQuickDecimalRoom>(text.data(), kQuickDecimalRoom), *scaled,
                    places, value < 0, decimalSeparator);
    std::memcpy(room.data(), first, kQuickDecimalRoom);
    return static_cast<std::size_t>(text.data() + kQuickDecimalRoom - first);
}

void appendDecimalText(std::string &out, double value, int decimals, char decimalSeparator) {
    std::array<char, kQuickDecimalRoom> quick;
    if (const std::size_t length = quickDecimalText(quick, value, decimals, decimalSeparator))
        out.append(quick.data(), length);
    else
        appendPlainDecimalText(out, value, decimals, decimalSeparator);
}

void appendPlainDecimalText(std::string &out, double value, int decimals, char decimalSeparator) {
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
