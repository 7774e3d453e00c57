// Fuzz entry point of item list files: any text is read or refused with a reason, and the
// entries that were read, exported, read back as the same entries.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "opc/item_list_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize) {
  const std::string text(reinterpret_cast<const char*>(pData), nSize);
  const ItemListParse parse = ParseItemList(text);
  if (!parse.m_bOk) {
    if (parse.m_sError.empty() || !parse.m_entries.empty())
      std::abort();
    return 0;
  }
  std::vector<ItemListRow> rows;
  int previousLine = 0;
  for (const ItemListEntry& entry : parse.m_entries) {
    if (entry.m_nLine <= previousLine)
      std::abort();
    previousLine = entry.m_nLine;
    rows.push_back({entry.m_sItemId, entry.m_sShortId, entry.m_sDataType});
  }
  const ItemListParse again = ParseItemList(FormatItemList(rows));
  if (!again.m_bOk || again.m_entries.size() != rows.size())
    std::abort();
  for (size_t i = 0; i < rows.size(); ++i) {
    const ItemListEntry& entry = again.m_entries[i];
    if (entry.m_sItemId != rows[i].m_sItemId || entry.m_sShortId != rows[i].m_sShortId ||
        entry.m_sDataType != rows[i].m_sDataType)
      std::abort();
  }
  return 0;
}
