#include "opc/item_list_file.h"

#include <fstream>
#include <sstream>

#include "base/atomic_file.h"
#include "base/csv_field.h"
#include "base/text.h"

namespace {

bool IsSeparator(char c) {
  return c == ',' || c == ';' || c == '\t';
}

bool SameTextIgnoringCase(const std::string& a, const char* b) {
  size_t i = 0;
  for (; i < a.size() && b[i] != '\0'; ++i) {
    const char x = a[i] >= 'A' && a[i] <= 'Z' ? static_cast<char>(a[i] - 'A' + 'a') : a[i];
    const char y = b[i] >= 'A' && b[i] <= 'Z' ? static_cast<char>(b[i] - 'A' + 'a') : b[i];
    if (x != y)
      return false;
  }
  return i == a.size() && b[i] == '\0';
}

// The fields of one line: separated by any of , ; tab outside double quotes. A quoted
// field is taken as it stands (doubled quotes give one); others are trimmed.
std::vector<std::string> SplitFields(const std::string& line) {
  std::vector<std::string> fields;
  size_t pos = 0;
  while (true) {
    std::string field;
    size_t start = pos;
    while (start < line.size() && line[start] == ' ')
      ++start;  // not a tab: that is a separator
    if (start < line.size() && line[start] == '"') {
      pos = start + 1;
      while (pos < line.size()) {
        if (line[pos] != '"') {
          field += line[pos++];
        } else if (pos + 1 < line.size() && line[pos + 1] == '"') {
          field += '"';
          pos += 2;
        } else {
          ++pos;
          break;
        }
      }
      // Whatever stands between the closing quote and the separator is dropped.
      while (pos < line.size() && !IsSeparator(line[pos]))
        ++pos;
    } else {
      while (pos < line.size() && !IsSeparator(line[pos]))
        ++pos;
      field = Trim(line.substr(start, pos - start));
    }
    fields.push_back(std::move(field));
    if (pos >= line.size())
      break;
    ++pos;  // the separator
  }
  return fields;
}

// The reader splits on any of , ; tab, trims unquoted fields and skips '#' lines.
constexpr CsvQuoting kItemListQuoting{",;\t", true};

std::string Quoted(const std::string& field) {
  return CsvField(field, kItemListQuoting);
}

}  // namespace

ItemListParse ParseItemList(const std::string& text) {
  ItemListParse parse;
  if (text.find('\0') != std::string::npos) {
    parse.m_sError = "the file is not a text file";
    return parse;
  }
  std::istringstream stream(text);
  std::string line;
  int number = 0;
  bool headerPossible = true;
  while (std::getline(stream, line)) {
    ++number;
    if (!line.empty() && line.back() == '\r')
      line.pop_back();
    if (number == 1 && line.rfind("\xEF\xBB\xBF", 0) == 0)
      line.erase(0, 3);  // a byte order mark
    const std::string trimmed = Trim(line);
    if (trimmed.empty() || trimmed.front() == '#')
      continue;
    const std::vector<std::string> fields = SplitFields(line);
    if (headerPossible && fields.size() >= 2 && SameTextIgnoringCase(fields[0], "ItemId") &&
        SameTextIgnoringCase(fields[1], "ShortId")) {
      headerPossible = false;
      continue;
    }
    headerPossible = false;
    ItemListEntry entry;
    entry.m_nLine = number;
    entry.m_sItemId = fields[0];
    if (fields.size() > 1)
      entry.m_sShortId = Trim(fields[1]);
    if (fields.size() > 2)
      entry.m_sDataType = Trim(fields[2]);
    parse.m_entries.push_back(std::move(entry));
  }
  parse.m_bOk = true;
  return parse;
}

ItemListParse ReadItemListFile(const std::string& path) {
  ItemListParse parse;
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    parse.m_sError = "cannot open " + path;
    return parse;
  }
  std::string text;
  char buffer[64 * 1024];
  while (file.read(buffer, sizeof buffer) || file.gcount() > 0) {
    text.append(buffer, static_cast<size_t>(file.gcount()));
    if (text.size() > kMaxItemListFileBytes) {
      parse.m_sError = path + " is larger than " + std::to_string(kMaxItemListFileBytes) + " bytes";
      return parse;
    }
  }
  if (file.bad()) {
    parse.m_sError = "cannot read " + path;
    return parse;
  }
  return ParseItemList(text);
}

std::string FormatItemList(const std::vector<ItemListRow>& rows) {
  std::string text = kItemListHeader;
  text += '\n';
  for (const ItemListRow& row : rows) {
    text += Quoted(row.m_sItemId) + ',' + Quoted(row.m_sShortId) + ',' + Quoted(row.m_sDataType);
    text += '\n';
  }
  return text;
}

bool WriteItemListFile(const std::string& path, const std::vector<ItemListRow>& rows,
                       std::string* error) {
  // Replaced whole or not at all: a failed export keeps the list that was there.
  int cause = 0;
  if (!WriteFileWhole(path, FormatItemList(rows), cause)) {
    if (error != nullptr)
      *error = "cannot write " + path + ": " + FileErrorCauseText(cause);
    return false;
  }
  return true;
}

std::string ImportSummaryText(const ItemListImportSummary& summary) {
  if (!summary.m_bFileRead)
    return summary.m_sFileError + "\n";
  const size_t added = summary.m_addedIds.size();
  std::string text = std::to_string(added) + (added == 1 ? " item added" : " items added");
  if (!summary.m_refused.empty())
    text += ", " + std::to_string(summary.m_refused.size()) + " refused";
  text += '\n';
  for (const ItemListRefusal& refusal : summary.m_refused) {
    text += "Line " + std::to_string(refusal.m_nLine) + ": " + refusal.m_sItemId + " - " +
            refusal.m_sReason + '\n';
  }
  return text;
}
