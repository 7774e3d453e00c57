// The export lines made straight from decoded rows: the same bytes as the export of the
// same rows from a loaded table, whatever the separator, the characters in the cells and
// the rows with missing or extra cells.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "explorer/acquisition_loader.h"
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

// A stored cell as the recorder writes it, now and then in a form only the decoded way
// reads (an encoded character, a raw zero byte, a byte to quote, a mark of two digits).
std::string StoredCell(std::mt19937& random, char separator) {
  static const std::string kPlain = "0123456789.-eE abcXYZ";
  std::string cell;
  const int length = static_cast<int>(random() % 14);
  for (int i = 0; i < length; ++i)
    cell += kPlain[random() % kPlain.size()];
  switch (random() % 400) {
    case 0:
      cell += "%3B";
      break;
    case 1:
      cell += "%25x";
      break;
    case 2:
      cell += "%00";
      break;
    case 3:
      cell += std::string(1, '\0');
      break;
    case 4:
      cell += '"';
      break;
    case 5:
      cell += "\r\n";
      break;
    case 6:
      cell += separator;
      break;
    default:
      break;
  }
  cell += ';';
  const unsigned mark = random() % 9;
  if (random() % 97 == 0)
    cell += "12";
  else if (mark >= 1 && mark <= 7)
    cell += static_cast<char>('0' + mark);
  return cell + ';';
}

}  // namespace

TEST(StreamedExportTest, LinesStraightFromTheStoredTextAreThoseOfTheDecodedRow) {
  for (const char separator : {';', ',', '\t'}) {
    std::mt19937 random(static_cast<unsigned>(separator) + 1);
    for (const int columns : {1, 2, 5, 40}) {
      const CExportLineFromText fromText(separator, static_cast<size_t>(columns));
      int straight = 0;
      for (int r = 0; r < 400; ++r) {
        std::string time = "07/Dec/2026 10:00:0" + std::to_string(r % 10) + ".000";
        if (r % 37 == 1)
          time.clear();
        if (r % 41 == 2)
          time += separator;
        int cells = columns - 1;
        if (r % 19 == 4)
          cells += r % 2 == 0 ? 1 : -1;
        std::string text;
        for (int c = 0; c < cells; ++c)
          text += StoredCell(random, separator);
        if (r % 29 == 6 && !text.empty())
          text.pop_back();  // no closing ";"
        CLoadedTable::CRowBuilder row;
        ReadInflatedValues(time.c_str(), time.size(), true, text, columns - 1, row);
        std::string decoded;
        AppendExportLine(row, separator, static_cast<size_t>(columns), decoded);
        std::string line = "kept";
        if (fromText.Append(time, text, line)) {
          ++straight;
          EXPECT_EQ(line, "kept" + decoded) << "row " << r << ", columns " << columns;
        } else {
          EXPECT_EQ(line, "kept") << "a declined row appends nothing";
        }
      }
      // The common rows take the straight way (fewer of the widest, where a row is more
      // likely to hold one cell of another form).
      EXPECT_GT(straight, columns >= 40 ? 40 : 250) << "columns " << columns;
    }
  }
  // A plain row always does.
  const CExportLineFromText fromText(';', 4);
  std::string line;
  ASSERT_TRUE(fromText.Append("t", "1.5;;-2;3;abc;7;", line));
  EXPECT_EQ(line, "t;1.5;-2;abc\r\n");
}
