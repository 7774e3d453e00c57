#include "base/text.h"

std::string Trim(std::string_view text, std::string_view blanks) {
  const size_t first = text.find_first_not_of(blanks);
  if (first == std::string_view::npos)
    return {};
  const size_t last = text.find_last_not_of(blanks);
  return std::string(text.substr(first, last - first + 1));
}
