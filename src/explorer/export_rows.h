#pragma once
// The CSV line of an export made straight from a decoded row: the row's text is copied
// once with its cells' zero bytes turned into the separator, 8 bytes at a time, and
// checked in the same pass for the characters that need quotes (a row holding one is
// written field by field by the one field writer instead). The bytes are those of the
// export of the same row from a loaded table.
// Thread rule: pure function, any thread.
#include <string>

#include "explorer/loaded_table.h"

// Appends the export line of a decoded row (columns fields, CR LF) to out.
void AppendExportLine(const CLoadedTable::CRowBuilder& row, char separator, size_t columns,
                      std::string& out);
