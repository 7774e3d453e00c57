#include "base/csv_field.h"

#include <array>
#include <cstring>

#include "base/text.h"

namespace {

// From this length on a field is searched with memchr.
constexpr size_t kLongField = 64;

bool IsBlank(char c) {
  return std::string_view(kBlankCharacters).find(c) != std::string_view::npos;
}

}  // namespace

CsvQuoting CsvQuoting::Separator(char separator) {
  static const std::array<char, 256> kEveryCharacter = [] {
    std::array<char, 256> characters{};
    for (size_t i = 0; i < characters.size(); ++i)
      characters[i] = static_cast<char>(i);
    return characters;
  }();
  return {std::string_view(&kEveryCharacter[static_cast<unsigned char>(separator)], 1)};
}

bool CsvFieldNeedsQuotes(std::string_view field, const CsvQuoting& quoting) {
  if (field.empty())
    return false;
  if (quoting.guardEnds &&
      (field.front() == '#' || IsBlank(field.front()) || IsBlank(field.back())))
    return true;
  // Whole export rows come here too: a long field is searched with memchr, one pass per
  // special character, which is many times faster than a test per character.
  if (field.size() >= kLongField) {
    const auto contains = [field](char c) {
      return std::memchr(field.data(), c, field.size()) != nullptr;
    };
    if (contains('"') || contains('\r') || contains('\n'))
      return true;
    for (const char separator : quoting.separators) {
      if (contains(separator))
        return true;
    }
    return false;
  }
  const char single = quoting.separators.size() == 1 ? quoting.separators.front() : '"';
  for (const char c : field) {
    if (c == '"' || c == '\r' || c == '\n' || c == single)
      return true;
    if (quoting.separators.size() > 1 && quoting.separators.find(c) != std::string_view::npos)
      return true;
  }
  return false;
}

void AppendCsvField(std::string& out, std::string_view field, const CsvQuoting& quoting) {
  if (!CsvFieldNeedsQuotes(field, quoting)) {
    out.append(field);
    return;
  }
  out += '"';
  for (const char c : field) {
    if (c == '"')
      out += '"';
    out += c;
  }
  out += '"';
}

std::string CsvField(std::string_view field, const CsvQuoting& quoting) {
  std::string out;
  AppendCsvField(out, field, quoting);
  return out;
}
