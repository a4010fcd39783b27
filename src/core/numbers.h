#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace ferolan {

// The numeric value of a text, the same everywhere a field becomes a number: blanks, tabs
// and line feeds anywhere are skipped; then an optional sign, digits with at most one ".",
// and an optional exponent (E or D, optional sign, digits) are read as far as they go.
// The decimal separator is always ".". No leading number, or a value beyond the range of
// a double, gives 0.
double numericValue(std::string_view text);

// The value when the whole text is one number: an optional sign, digits with at most one "."
// (at least one digit) and, when `exponentAllowed`, an optional exponent (E or D, optional
// sign, digits). Nothing for any other text, blanks included.
std::optional<double> exactNumericValue(std::string_view text, bool exponentAllowed);

// The plain number (an optional sign, digits with at most one ".", no exponent) at the front
// of the text, and in `length` the characters it takes; nothing when the text does not
// begin with one. For lists of numbers read without cutting them apart first.
std::optional<double> leadingPlainNumber(std::string_view text, std::size_t &length);

// Rounding down, towards minus infinity (-2.5 gives -3).
double roundDown(double value);

// A whole number in plain decimal digits, with "-" only when negative.
std::string wholeNumberText(double wholeValue);

// Three decimals, rounded half away from zero on the shortest decimal text that reads back
// as the same double (2.0005 gives 2.001); at least one digit before the separator, no
// grouping, "-" only when the rounded value is not zero.
std::string threeDecimalText(double value, char decimalSeparator);

// The same with the given number of decimals (at most kMostDecimals).
inline constexpr int kMostDecimals = 20;
std::string decimalText(double value, int decimals, char decimalSeparator);

// decimalText appended to `out`, for rows assembled without a string per number.
void appendDecimalText(std::string &out, double value, int decimals, char decimalSeparator);

// The general way appendDecimalText takes for any value: the shortest text that reads back as
// the value, rounded on its digits.
void appendPlainDecimalText(std::string &out, double value, int decimals, char decimalSeparator);

// The quick way for a value of everyday size (below a billion, at most three decimals): the
// same text as appendPlainDecimalText, written into `room`, and how many characters it took;
// 0, and `room` left as it was, for any other value.
inline constexpr std::size_t kQuickDecimalRoom = 16;
std::size_t quickDecimalText(std::span<char, kQuickDecimalRoom> room, double value, int decimals,
                             char decimalSeparator);

} // namespace ferolan
