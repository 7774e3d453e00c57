#include "explorer/acquisition_loader.h"

#include <sqlite3.h>

#include <algorithm>
#include <cstring>

#include "acquisition/value_text.h"
#include "base/log.h"

namespace {

constexpr char kRowsStatement[] =
    "SELECT OPCAcqData_Time, OPCAcqData_Value FROM OPCAcqData WHERE OPCAcq_Id = ?1 ORDER BY "
    "OPCAcqData_Id";
constexpr char kLoadingText[] = "Loading Project Data %d of %d ...";
constexpr char kLoadedText[] = "Loading Project Data Successfully (%d Data Set Loaded in %d msec)";
constexpr int kBusyTimeoutMs = 30000;
// A zero byte cannot stay in a cell (the table ends its cells with one, the exports turn
// those into separators): it is shown as U+FFFD REPLACEMENT CHARACTER.
constexpr std::string_view kZeroByteShown = "\xEF\xBF\xBD";

}  // namespace

namespace {

// Appends a piece of a cell with its zero bytes shown as kZeroByteShown.
void AppendShown(std::string_view piece, CLoadedTable::CRowBuilder& row) {
  size_t position = 0;
  for (;;) {
    const size_t zero = piece.find('\0', position);
    if (zero == std::string_view::npos) {
      row.AppendToCell(piece.substr(position));
      return;
    }
    row.AppendToCell(piece.substr(position, zero - position));
    row.AppendToCell(kZeroByteShown);
    position = zero + 1;
  }
}

void AppendDecoded(std::string_view field, CLoadedTable::CRowBuilder& row) {
  size_t position = 0;
  while (position < field.size()) {
    const size_t percent = field.find('%', position);
    if (percent == std::string_view::npos) {
      AppendShown(field.substr(position), row);
      return;
    }
    AppendShown(field.substr(position, percent - position), row);
    const std::string_view code = field.substr(percent, 3);
    if (code == "%3B") {
      row.AppendToCell(';');
      position = percent + 3;
    } else if (code == "%25") {
      row.AppendToCell('%');
      position = percent + 3;
    } else if (code == "%00") {
      row.AppendToCell(kZeroByteShown);
      position = percent + 3;
    } else {
      row.AppendToCell('%');
      position = percent + 1;
    }
  }
}

}  // namespace

namespace {

// The general decoder: encoded characters, zero bytes, marks of any form. False when
// the text is not a sequence of text ";" [digit 1-7] ";" (the cells before the fault
// are kept).
bool DecodeEncoded(std::string_view text, CLoadedTable::CRowBuilder& row) {
  const char* p = text.data();
  const char* const end = p + text.size();
  while (p < end) {
    const auto* cellEnd =
        static_cast<const char*>(std::memchr(p, ';', static_cast<size_t>(end - p)));
    if (cellEnd == nullptr)
      return false;
    AppendDecoded(std::string_view(p, static_cast<size_t>(cellEnd - p)), row);
    const char* next = cellEnd + 1;
    const auto* statusEnd =
        static_cast<const char*>(std::memchr(next, ';', static_cast<size_t>(end - next)));
    const char* fieldEnd = statusEnd != nullptr ? statusEnd : end;
    const ptrdiff_t markBytes = fieldEnd - next;
    uint8_t status = 0;
    if (markBytes == 1 && *next >= '1' && *next <= '7')
      status = static_cast<uint8_t>(*next - '0');
    row.FinishCell(status);
    if (statusEnd == nullptr || (markBytes != 0 && status == 0))
      return false;
    p = statusEnd + 1;
  }
  return true;
}

}  // namespace

bool DecodeValueTextInto(std::string_view text, CLoadedTable::CRowBuilder& row) {
  // Rows with an encoded character or a zero byte, or that do not end in ";", take the
  // general way; the others (nearly all) are copied byte by byte in one pass with ";" as
  // the stop.
  if (text.empty())
    return true;
  if (text.back() != ';' || std::memchr(text.data(), '\0', text.size()) != nullptr)
    return DecodeEncoded(text, row);
  row.Reserve(text.size(), text.size() / 2 + 1);
  const char* p = text.data();
  const char* const end = p + text.size();
  char* out = row.TextEnd();
  while (p < end) {
    char c;
    while ((c = *p) != ';' && c != '%') {  // the text ends in ";": no other bound needed
      *out++ = c;
      ++p;
    }
    if (c == '%') {  // an encoded character: the row starts again the general way
      row.KeepTimeOnly();
      return DecodeEncoded(text, row);
    }
    ++p;  // the cell's ";"
    uint8_t status = 0;
    bool wellFormed = true;
    if (p < end && *p == ';') {
      ++p;
    } else if (p + 1 < end && p[1] == ';') {
      if (*p >= '1' && *p <= '7')
        status = static_cast<uint8_t>(*p - '0');
      else
        wellFormed = false;
      p += 2;
    } else {
      // A mark of several characters: read up to its ";" (there is one: the text ends so).
      while (p < end && *p != ';')
        ++p;
      ++p;
      wellFormed = false;
    }
    out = row.EndCell(out, status);
    if (p > end || !wellFormed)  // the last cell had no mark field, or a mark is not one
      return false;
  }
  return true;
}

bool CValueRowReader::Inflate(bool isBlob, const void* data, size_t size, int itemColumns,
                              std::string_view& text) {
  return isBlob && data != nullptr && size > 0 &&
         m_inflater.Inflate(data, size, StoredValueTextLimit(itemColumns), text);
}

bool CValueRowReader::Read(bool isBlob, const void* data, size_t size, int itemColumns,
                           CLoadedTable::CRowBuilder& row) {
  std::string_view text;
  const bool inflated = Inflate(isBlob, data, size, itemColumns, text);
  return DecodeInflatedText(inflated, text, itemColumns, row);
}

bool DecodeInflatedText(bool inflated, std::string_view text, int itemColumns,
                        CLoadedTable::CRowBuilder& row) {
  // Only a blob that inflates within the limit to a well-formed text of one cell per item
  // column is a row; anything else keeps its time alone and is marked damaged.
  const bool readable =
      inflated && DecodeValueTextInto(text, row) && row.Cells() == itemColumns + 1;
  if (!readable)
    row.MarkDamaged();
  return readable;
}

bool ReadInflatedValues(const char* time, size_t timeBytes, bool inflated, std::string_view text,
                        int itemColumns, CLoadedTable::CRowBuilder& row) {
  row.Begin(time != nullptr ? std::string_view(time, timeBytes) : std::string_view());
  const bool read = DecodeInflatedText(inflated, text, itemColumns, row);
  // A row without its time cannot be placed either.
  if (read && time == nullptr) {
    row.MarkDamaged();
    return false;
  }
  return read;
}

bool ReadStoredValues(const char* time, size_t timeBytes, bool isBlob, const void* blob,
                      size_t size, CValueRowReader& reader, int itemColumns,
                      CLoadedTable::CRowBuilder& row) {
  std::string_view text;
  const bool inflated = reader.Inflate(isBlob, blob, size, itemColumns, text);
  return ReadInflatedValues(time, timeBytes, inflated, text, itemColumns, row);
}

bool ReadStoredRow(sqlite3_stmt* query, int timeColumn, CValueRowReader& reader, int itemColumns,
                   CLoadedTable::CRowBuilder& row) {
  const auto* time = reinterpret_cast<const char*>(sqlite3_column_text(query, timeColumn));
  const size_t timeBytes = static_cast<size_t>(sqlite3_column_bytes(query, timeColumn));
  const int valueColumn = timeColumn + 1;
  const bool isBlob = sqlite3_column_type(query, valueColumn) == SQLITE_BLOB;
  const void* blob = isBlob ? sqlite3_column_blob(query, valueColumn) : nullptr;
  const int size = isBlob ? sqlite3_column_bytes(query, valueColumn) : 0;
  return ReadStoredValues(time, timeBytes, isBlob, blob, static_cast<size_t>(size), reader,
                          itemColumns, row);
}

void LoadAcquisitionRows(const std::string& databasePath, int acquisitionId, CLoadedTable& table,
                         CWorkerJob& job) {
  job.SetState(kLoadStateLoading);
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(databasePath.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
    sqlite3_close(db);
    job.Fail(1, kLoadOpenFailed);
    return;
  }
  sqlite3_busy_timeout(db, kBusyTimeoutMs);
  sqlite3_stmt* query = nullptr;
  if (sqlite3_prepare_v2(db, kRowsStatement, -1, &query, nullptr) != SQLITE_OK) {
    const std::string cause = sqlite3_errmsg(db);
    sqlite3_close(db);
    job.Fail(2, cause);
    return;
  }
  sqlite3_bind_int(query, 1, acquisitionId);
  CValueRowReader reader;
  CLoadedTable::CRowBuilder row;
  // A row of these columns inflates to at most this much; more is a damaged row.
  const int itemColumns = std::max(0, table.ColumnCount() - 1);
  int rows = 0;
  int code = SQLITE_ROW;
  while ((code = sqlite3_step(query)) == SQLITE_ROW) {
    ReadStoredRow(query, 0, reader, itemColumns, row);
    table.AppendRow(row);
    job.SetDone(++rows);
  }
  const std::string cause = code == SQLITE_DONE ? std::string() : sqlite3_errmsg(db);
  sqlite3_finalize(query);
  sqlite3_close(db);
  if (code != SQLITE_DONE)
    job.Fail(3, cause);
  else
    job.SetState(kJobFinished);
}

bool CAcquisitionLoader::Start(const std::string& databasePath, int acquisitionId, int expectedRows,
                               CLoadedTable& table) {
  if (m_worker.IsRunning())
    return false;
  m_worker.Join();
  m_nAcquisitionId = acquisitionId;
  m_job.SetTotal(expectedRows);
  return m_worker.Start(m_job, [databasePath, acquisitionId, &table](CWorkerJob& job) {
    LoadAcquisitionRows(databasePath, acquisitionId, table, job);
  });
}

std::string LoadingProgressText(int rowsRead, int expectedRows) {
  return Format(kLoadingText, rowsRead, expectedRows);
}

std::string LoadedText(int rowsLoaded, int elapsedMs) {
  return Format(kLoadedText, rowsLoaded, elapsedMs);
}
