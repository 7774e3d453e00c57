#pragma once
// The texts made from a loaded table: the clipboard text (every title and every cell
// followed by ",", lines ended by CR LF), the CSV file (fields joined by the separator,
// lines ended by CR LF; a field holding the separator, a double quote, CR or LF is quoted
// the RFC 4180 way so spreadsheets read it back in one piece) and the preview lines,
// built one at a time on demand, plain or aligned (" | " and right padding).
// Thread rule: the caller's thread, while the table has no writer (or on its rows so far).
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "explorer/loaded_table.h"
#include "explorer/recording_pages.h"

std::string ClipboardText(const CLoadedTable& table);

// The CSV field as written by the one field writer (base/csv_field.h) for one separator.
void AppendCsvField(std::string_view field, char separator, std::string& out);
// The whole file: header line and one line per row.
std::string ExportText(const CLoadedTable& table, char separator);
// The same text in pieces of about chunkBytes, each handed to sink as it is made (so a
// long export is written while the next piece is built, from memory still in cache).
// Stops at the first piece sink refuses; returns false then.
bool ExportTextInChunks(const CLoadedTable& table, char separator, size_t chunkBytes,
                        const std::function<bool(const std::string&)>& sink);

// The same texts of a recording read in pages, streamed from the database row by row (the
// same bytes as those of the recording loaded whole). False (and the text so far) when
// the database cannot be read.
bool ClipboardText(const CRecordingPages& recording, std::string& text);
bool ExportText(const CRecordingPages& recording, char separator, std::string& text);
bool ExportTextInChunks(const CRecordingPages& recording, char separator, size_t chunkBytes,
                        const std::function<bool(const std::string&)>& sink, std::string& cause);

// Preview lines: line 0 the titles, line r + 1 row r; each without its line break. The
// lines are those of the rows and columns the table had when the preview was made.
class CPreviewLines {
 public:
  CPreviewLines(const CLoadedTable& table, char separator, bool aligned);
  // A recording read in pages; aligned widths come from its walk (once complete).
  CPreviewLines(const CRecordingPages& recording, char separator, bool aligned);
  int LineCount() const { return m_nRows + 1; }
  std::string Line(int line) const;

 private:
  const CLoadedTable* m_pTable = nullptr;
  const CRecordingPages* m_pRecording = nullptr;
  char m_cSeparator;
  bool m_bAligned;
  int m_nRows;
  int m_nColumns;
  std::vector<size_t> m_widths;  // aligned: the longest text of each column
};
