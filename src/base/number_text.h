#pragma once
// Numbers as text, always with the decimal point whatever the user's locale: the stored
// value rows, CSV files and edit fields are read by other programs and other machines.
// Nothing here reads the global locale (no printf %f, no atof, no streams).
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// "%.*f": fixed notation with the given number of decimals (0..17).
std::string FormatFixed(double value, int decimals);
// "%f": fixed notation with six decimals.
inline std::string FormatFixed6(double value) {
  return FormatFixed(value, 6);
}
// "%.17g"-like: the shortest text that reads back as the same double.
std::string FormatShortest(double value);

// The whole text as a number ("1.5", "-2", "1e3"; a leading '+' is taken); nothing when
// anything else is left over, the text is empty, or the value is out of range.
std::optional<double> ParseDouble(std::string_view text);
std::optional<int64_t> ParseInt64(std::string_view text);
// The leading number of the text, as atof reads it (0 when there is none), without the
// locale: for value texts that carry marks after the number.
double LeadingDouble(std::string_view text);
