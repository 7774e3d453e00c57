#pragma once
// The CSV line of an export made straight from a decoded row: the row's text is copied
// once with its cells' zero bytes turned into the separator, 8 bytes at a time, and
// checked in the same pass for the characters that need quotes (a row holding one is
// written field by field by the one field writer instead). The bytes are those of the
// export of the same row from a loaded table.
// Thread rule: pure function, any thread.
#include <string>

#include "explorer/loaded_table.h"

// Copies n bytes of a row's text to out turning its cells' zero bytes into separator;
// true when a byte is a double quote, CR, LF or the separator (the row then needs quoting).
bool CopyWithSeparators(const char* in, size_t n, char separator, char* out);

// Appends the export line of a decoded row (columns fields, CR LF) to out.
void AppendExportLine(const CLoadedTable::CRowBuilder& row, char separator, size_t columns,
                      std::string& out);
