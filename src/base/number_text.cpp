#include "base/number_text.h"

#include <charconv>
#include <cmath>
#include <system_error>

namespace {

// from_chars takes neither a leading '+' nor leading blanks.
std::string_view SkipPlus(std::string_view text) {
  if (!text.empty() && text.front() == '+' && text.size() > 1 && text[1] != '-')
    text.remove_prefix(1);
  return text;
}

}  // namespace

std::string FormatFixed(double value, int decimals) {
  if (decimals < 0)
    decimals = 0;
  if (decimals > 17)
    decimals = 17;
  if (std::isnan(value))
    return std::signbit(value) ? "-nan" : "nan";
  if (std::isinf(value))
    return value < 0 ? "-inf" : "inf";
  char buffer[400];  // a fixed double has at most 309 integer digits
  const std::to_chars_result result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
  if (result.ec != std::errc())
    return {};
  return std::string(buffer, result.ptr);
}

std::string FormatShortest(double value) {
  char buffer[64];
  const std::to_chars_result result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return result.ec == std::errc() ? std::string(buffer, result.ptr) : std::string();
}

std::optional<double> ParseDouble(std::string_view text) {
  text = SkipPlus(text);
  double value = 0;
  const char* end = text.data() + text.size();
  const std::from_chars_result result = std::from_chars(text.data(), end, value);
  if (text.empty() || result.ec != std::errc() || result.ptr != end)
    return std::nullopt;
  return value;
}

std::optional<int64_t> ParseInt64(std::string_view text) {
  text = SkipPlus(text);
  int64_t value = 0;
  const char* end = text.data() + text.size();
  const std::from_chars_result result = std::from_chars(text.data(), end, value);
  if (text.empty() || result.ec != std::errc() || result.ptr != end)
    return std::nullopt;
  return value;
}

double LeadingDouble(std::string_view text) {
  const size_t first = text.find_first_not_of(" \t\r\n\v\f");
  if (first == std::string_view::npos)
    return 0;
  text = SkipPlus(text.substr(first));
  double value = 0;
  const std::from_chars_result result =
      std::from_chars(text.data(), text.data() + text.size(), value);
  return result.ec == std::errc() ? value : 0;
}
