#pragma once
// The CSV lines of an export made straight from decoded rows into one large reused buffer:
// the row's text is copied once with its cells' zero bytes turned into the separator,
// 8 bytes at a time, and checked in the same pass for the characters that need quotes (a
// row holding one is written field by field by the one field writer instead). The bytes
// are those of the export of the same rows from a loaded table.
// Thread rule: an object belongs to one thread.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "explorer/loaded_table.h"

class CExportRowWriter {
 public:
  // flush takes the bytes made so far (about bufferBytes at a time); false stops.
  CExportRowWriter(char separator, size_t columns, size_t bufferBytes,
                   std::function<bool(std::string_view)> flush);
  bool AddHeader(const std::vector<std::string>& titles);
  bool AddRow(const CLoadedTable::CRowBuilder& row);
  // Hands on what is left.
  bool Finish();

 private:
  bool FlushIfFull();

  char m_cSeparator;
  size_t m_nColumns;
  size_t m_nBufferBytes;
  std::function<bool(std::string_view)> m_flush;
  std::string m_buffer;
};

// Appends the export line of a decoded row (columns fields, CR LF) to out.
void AppendExportLine(const CLoadedTable::CRowBuilder& row, char separator, size_t columns,
                      std::string& out);
