#include "acquisition/acquired_data_text.h"

namespace AcquiredDataText {

void AppendField(std::string& out, std::string_view text, char separator) {
  const bool quoted =
      text.find_first_of(std::string{separator, '"', '\r', '\n'}) != std::string_view::npos;
  if (!quoted) {
    out.append(text);
    return;
  }
  out += '"';
  for (char c : text) {
    if (c == '"')
      out += '"';
    out += c;
  }
  out += '"';
}

void AppendHeader(std::string& out, const std::vector<std::string>& headings, char separator,
                  std::string_view lineEnd) {
  AppendField(out, kAcquiredDataTimeHeading, separator);
  for (const std::string& heading : headings) {
    out += separator;
    AppendField(out, heading, separator);
  }
  out.append(lineEnd);
}

void AppendRow(std::string& out, const CompactDataSet& row, int itemColumns, char separator,
               std::string_view lineEnd) {
  AppendField(out, row.TimeText(), separator);
  for (int column = 1; column <= itemColumns; ++column) {
    out += separator;
    AppendField(out, row.Cell(column), separator);
  }
  out.append(lineEnd);
}

}  // namespace AcquiredDataText
