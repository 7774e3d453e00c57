#pragma once
// Item list files of the add-item dialog. "Import Item List..." reads a text or CSV file:
// one item id per line, optionally a short id in the second column and a data type text
// ("Float", "Native"...) in the third; columns separated by a comma, a semicolon or a tab;
// a field may be double-quoted ("" inside stands for one quote); blank lines and lines
// starting with # are skipped, and so is a header line whose first two fields are
// "ItemId" and "ShortId". "Export Item List..." writes "ItemId,ShortId,DataType" and one
// line per row, quoting the fields that need it, and replaces the file whole; the GUI picks the
// file name. Thread rule: any thread (no shared state).
#include <cstddef>
#include <string>
#include <vector>

// A larger file is refused as a whole (far more than the 128 items a list can hold).
inline constexpr size_t kMaxItemListFileBytes = 1024 * 1024;
inline constexpr char kItemListHeader[] = "ItemId,ShortId,DataType";

struct ItemListEntry {
  int m_nLine = 0;  // 1 for the first line of the file
  std::string m_sItemId;
  std::string m_sShortId;   // empty: the default short id
  std::string m_sDataType;  // empty: "Native"
};

struct ItemListParse {
  bool m_bOk = false;
  std::string m_sError;  // why the file could not be read
  std::vector<ItemListEntry> m_entries;
};

// The entries of a list's text; fails only for a text holding a NUL byte.
ItemListParse ParseItemList(const std::string& text);
// Reads and parses the file; fails when it cannot be opened or is too large.
ItemListParse ReadItemListFile(const std::string& path);

struct ItemListRow {
  std::string m_sItemId;
  std::string m_sShortId;
  std::string m_sDataType;
};

// The CSV text of the rows, header first, lines ended by "\n".
std::string FormatItemList(const std::vector<ItemListRow>& rows);
// Writes FormatItemList's text; false with *error when the file cannot be written.
bool WriteItemListFile(const std::string& path, const std::vector<ItemListRow>& rows,
                       std::string* error);

// Why an entry of an imported list was not added.
struct ItemListRefusal {
  int m_nLine = 0;
  std::string m_sItemId;
  std::string m_sReason;
};

// What an import did: the ids added (in order) and the entries refused.
struct ItemListImportSummary {
  bool m_bFileRead = true;
  std::string m_sFileError;
  std::vector<std::string> m_addedIds;
  std::vector<ItemListRefusal> m_refused;
};

// One line per fact, for a message: "N item(s) added", then "Line L: ID - REASON".
std::string ImportSummaryText(const ItemListImportSummary& summary);
