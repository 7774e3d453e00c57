// The export lines made straight from decoded rows: the same bytes as the export of the
// same rows from a loaded table, whatever the separator, the characters in the cells and
// the rows with missing or extra cells.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "explorer/export_rows.h"
#include "explorer/table_text.h"

namespace {

// Cells of varied lengths (crossing 8-byte steps), some holding what needs quotes.
std::string CellText(std::mt19937& random, char separator) {
  static const std::string kPlain = "0123456789.-abcXYZ %";
  const std::string special = {'"', '\r', '\n', separator};
  std::string text;
  const int length = static_cast<int>(random() % 19);
  for (int i = 0; i < length; ++i)
    text += kPlain[random() % kPlain.size()];
  if (random() % 23 == 0)
    text.insert(text.size() / 2, 1, special[random() % special.size()]);
  return text;
}

// The header by the one field writer, then the lines made straight from the rows.
std::string Streamed(const CLoadedTable& table, const std::vector<CLoadedTable::CRowBuilder>& rows,
                     char separator) {
  std::string out;
  const std::vector<std::string>& titles = table.Titles();
  for (size_t column = 0; column < titles.size(); ++column) {
    if (column > 0)
      out += separator;
    AppendCsvField(titles[column], separator, out);
  }
  out += "\r\n";
  for (const auto& row : rows)
    AppendExportLine(row, separator, titles.size(), out);
  return out;
}

TEST(StreamedExportTest, BytesAreThoseOfTheLoadedTableExport) {
  for (const char separator : {';', ',', '\t'}) {
    std::mt19937 random(static_cast<unsigned>(separator));
    for (const int columns : {1, 2, 7, 33}) {
      std::vector<std::string> titles{"OPC Acquisition Time"};
      for (int c = 1; c < columns; ++c)
        titles.push_back(c == 2 ? std::string("Tag") + separator + "2" : "Tag" + std::to_string(c));
      CLoadedTable table;
      table.Reset(titles);
      std::vector<CLoadedTable::CRowBuilder> rows(300);
      for (size_t r = 0; r < rows.size(); ++r) {
        CLoadedTable::CRowBuilder& row = rows[r];
        row.Begin("07/Dec/2026 10:00:00.000");
        // Most rows whole; some with cells missing, some with one too many, some damaged.
        int cells = columns;
        if (r % 11 == 3)
          cells = static_cast<int>(random() % static_cast<unsigned>(columns));
        if (r % 13 == 5)
          cells = columns + 1;
        for (int c = 1; c < cells; ++c)
          row.AddCell(CellText(random, separator), static_cast<uint8_t>(random() % 8));
        if (r % 17 == 7)
          row.MarkDamaged();
        table.AppendRow(row);
      }
      EXPECT_EQ(Streamed(table, rows, separator), ExportText(table, separator))
          << "separator " << static_cast<int>(separator) << ", columns " << columns;
    }
  }
}

}  // namespace
