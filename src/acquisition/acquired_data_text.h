#pragma once
// AcquiredDataText: the acquired data sets as delimited text, shared by the backup files
// and the clipboard. A header line ("Acquisition Date & Time", then the displayed
// identifier of every item column), then one line per data set: its time text and its
// cell texts exactly as the history list shows them. A field holding the separator, a
// double quote, CR or LF is quoted (inner quotes doubled) so that spreadsheets read the
// columns right; every other field is written as it is.
// Thread rule: pure functions, any thread.
#include <string>
#include <string_view>
#include <vector>

#include "acquisition/data_set.h"

inline constexpr char kAcquiredDataTimeHeading[] = "Acquisition Date & Time";

namespace AcquiredDataText {

// Files end every line with CR LF; the clipboard ends them with LF.
inline constexpr char kFileLineEnd[] = "\r\n";
inline constexpr char kClipboardLineEnd[] = "\n";

// Appends one field through the one field writer (base/csv_field.h): quoted when it holds
// the separator, '"', CR or LF.
void AppendField(std::string& out, std::string_view text, char separator);
// The header line: the time heading then the headings, separated, then the line end.
void AppendHeader(std::string& out, const std::vector<std::string>& headings, char separator,
                  std::string_view lineEnd);
// One data set: columns 0 (time) .. itemColumns; a row with fewer columns gives empty
// fields, so every line has the header's field count.
void AppendRow(std::string& out, const CompactDataSet& row, int itemColumns, char separator,
               std::string_view lineEnd);

}  // namespace AcquiredDataText
