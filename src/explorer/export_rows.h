#pragma once
// The CSV line of an export made straight from a decoded row: the row's text is copied
// once with its cells' zero bytes turned into the separator, 8 bytes at a time, and
// checked in the same pass for the characters that need quotes (a row holding one is
// written field by field by the one field writer instead). The bytes are those of the
// export of the same row from a loaded table.
// Thread rule: pure functions, any thread; a CExportLineFromText is read-only once made.
#include <cstdint>
#include <string>
#include <string_view>

#include "explorer/loaded_table.h"

// Copies n bytes of a row's text to out turning its cells' zero bytes into separator;
// true when a byte is a double quote, CR, LF or the separator (the row then needs quoting).
bool CopyWithSeparators(const char* in, size_t n, char separator, char* out);

// Appends the export line of a decoded row (columns fields, CR LF) to out.
void AppendExportLine(const CLoadedTable::CRowBuilder& row, char separator, size_t columns,
                      std::string& out);

// The export line of a stored row made straight from its inflated value text (cells of
// text ";" mark ";"), skipping the decoded row: the time, then each cell's text, the
// marks left out. It takes the common form only: no encoded character, no zero byte, no
// byte that needs quotes, one-digit or empty marks, and exactly columns - 1 cells. Any
// other row is left to the decoded way, so every line has the bytes AppendExportLine
// writes for the same row.
class CExportLineFromText {
 public:
  CExportLineFromText(char separator, size_t columns);
  // Appends the line and answers true; false, with nothing appended, for a row to decode.
  bool Append(std::string_view time, std::string_view valueText, std::string& out) const;

 private:
  // Of 16 bytes of text: bit i set when byte i is ";", and whether any is a rare byte.
  struct ChunkMarks {
    uint32_t semicolons = 0;
    bool rare = false;
  };
  ChunkMarks MarkChunk(const char* p) const;
  // An encoded character, a zero byte or a byte to quote.
  bool IsRare(char c) const;
  static bool Decline(std::string& out, size_t at);

  char m_cSeparator;
  char m_cRareSeparator;
  size_t m_nColumns;
};
