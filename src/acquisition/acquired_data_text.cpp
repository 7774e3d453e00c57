#include "acquisition/acquired_data_text.h"

#include "base/csv_field.h"

namespace AcquiredDataText {

void AppendField(std::string& out, std::string_view text, char separator) {
  AppendCsvField(out, text, CsvQuoting::Separator(separator));
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
