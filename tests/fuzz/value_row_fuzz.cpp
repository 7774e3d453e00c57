// Fuzz entry point of the stored value rows: any bytes, read as a stored blob or as an
// inflated value text, for an acquisition of 0 to 15 item columns, must be read or
// refused as damaged without crashing or unbounded memory, and what is read must come
// out of the export and the clipboard in its columns.
// First byte: bit 0 set = the rest is the blob as stored (inflated by the reader),
// clear = the rest is the inflated text; bits 1-4 = the item column count.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "acquisition/value_text.h"
#include "explorer/acquisition_loader.h"
#include "explorer/loaded_table.h"
#include "explorer/table_text.h"

namespace {

void Check(bool condition) {
  if (!condition)
    std::abort();
}

// The fields of one CSV record the RFC 4180 way (the export's quoting).
std::vector<std::string> CsvFields(std::string_view line, char separator) {
  std::vector<std::string> fields(1);
  bool quoted = false;
  for (size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (quoted) {
      if (c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
        fields.back() += '"';
        ++i;
      } else if (c == '"') {
        quoted = false;
      } else {
        fields.back() += c;
      }
    } else if (c == '"' && fields.back().empty()) {
      quoted = true;
    } else if (c == separator) {
      fields.emplace_back();
    } else {
      fields.back() += c;
    }
  }
  return fields;
}

// The export's records: lines end with CR LF outside quotes.
std::vector<std::string> CsvRecords(const std::string& text) {
  std::vector<std::string> records;
  std::string record;
  bool quoted = false;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '"')
      quoted = !quoted;
    if (!quoted && text.compare(i, 2, "\r\n") == 0) {
      records.push_back(record);
      record.clear();
      ++i;
      continue;
    }
    record += text[i];
  }
  Check(record.empty());  // the last line ends too
  return records;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0)
    return 0;
  const bool stored = (data[0] & 1) != 0;
  const int itemColumns = (data[0] >> 1) & 15;
  const std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);

  std::vector<std::string> titles{"OPC Acquisition Time"};
  for (int column = 1; column <= itemColumns; ++column)
    titles.push_back("Item" + std::to_string(column));
  // Made once: a table and a reader cost an index and an inflate state each.
  static CLoadedTable table;
  static CLoadedTable back;
  static CLoadedTable one;
  static CValueRowReader reader;
  table.Reset(titles);
  CLoadedTable::CRowBuilder row;
  row.Begin("07/Dec/2026 10:00:00.000");
  bool readable = false;
  if (stored) {
    readable = reader.Read(true, rest.data(), rest.size(), itemColumns, row);
  } else {
    readable = DecodeValueTextInto(rest, row) && row.Cells() == itemColumns + 1;
    // The plain reader of value texts agrees on what is well formed and on each cell.
    std::vector<StoredValueField> fields;
    const bool split = SplitValueText(std::string(rest), fields);
    row.Begin("t");
    Check(split == DecodeValueTextInto(rest, row));
    if (split) {
      Check(static_cast<int>(fields.size()) == row.Cells() - 1);
      one.Reset(std::vector<std::string>(fields.size() + 1, "c"));
      one.AppendRow(row);
      for (size_t i = 0; i < fields.size(); ++i) {
        std::string expected;
        for (char c : fields[i].text)
          expected += c == '\0' ? std::string("\xEF\xBF\xBD") : std::string(1, c);
        Check(one.Cell(0, static_cast<int>(i) + 1) == expected);
        Check(one.Status(0, static_cast<int>(i) + 1) == fields[i].status);
      }
    }
    row.Begin("07/Dec/2026 10:00:00.000");
    if (!(DecodeValueTextInto(rest, row) && row.Cells() == itemColumns + 1))
      row.MarkDamaged();
  }
  Check(row.IsDamaged() == !readable);
  Check(row.IsDamaged() ? row.Cells() == 1 : row.Cells() == itemColumns + 1);
  table.AppendRow(row);
  Check(table.RowCount() == 1 && table.DamagedRows() == (readable ? 0 : 1));
  for (int column = 0; column <= itemColumns; ++column)
    Check(table.Cell(0, column).find('\0') == std::string_view::npos);

  // What was read is stored again and read back the same (cells within what the
  // recorder stores; a longer one from an older recording is cut when stored).
  bool storable = readable;
  for (int column = 1; column <= itemColumns; ++column)
    storable = storable && table.Cell(0, column).size() <= kMaxValueCellText;
  if (storable) {
    std::string text;
    for (int column = 1; column <= itemColumns; ++column) {
      text += EncodeValueField(std::string(table.Cell(0, column)));
      text += ';';
      if (table.Status(0, column) != 0)
        text += static_cast<char>('0' + table.Status(0, column));
      text += ';';
    }
    std::vector<uint8_t> compressed;
    Check(CompressValueText(text, compressed) == 0);
    CLoadedTable::CRowBuilder again;
    again.Begin("t");
    Check(reader.Read(true, compressed.data(), compressed.size(), itemColumns, again));
    back.Reset(titles);
    back.AppendRow(again);
    for (int column = 1; column <= itemColumns; ++column) {
      Check(back.Cell(0, column) == table.Cell(0, column));
      Check(back.Status(0, column) == table.Status(0, column));
    }
  }

  // The export keeps every cell in its column, with either separator.
  for (char separator : {';', ','}) {
    const std::vector<std::string> records = CsvRecords(ExportText(table, separator));
    Check(records.size() == 2);
    const std::vector<std::string> fields = CsvFields(records[1], separator);
    Check(static_cast<int>(fields.size()) == itemColumns + 1);
    for (int column = 0; column <= itemColumns; ++column)
      Check(fields[static_cast<size_t>(column)] == table.Cell(0, column));
  }
  // The clipboard: every cell then ",", no zero byte, the row's cells in order.
  const std::string clipboard = ClipboardText(table);
  Check(clipboard.find('\0') == std::string::npos);
  std::string expected;
  for (int column = 0; column <= itemColumns; ++column) {
    expected += table.Cell(0, column);
    expected += ',';
  }
  Check(clipboard.size() >= expected.size() + 2 &&
        clipboard.compare(clipboard.size() - expected.size() - 2, expected.size(), expected) == 0);
  return 0;
}
