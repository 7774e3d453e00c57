#include "base/csv_field.h"

#include <array>

#include "base/text.h"

namespace {

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
  for (const char c : field) {
    if (c == '"' || c == '\r' || c == '\n' || quoting.separators.find(c) != std::string_view::npos)
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
