#include "explorer/acquisition_loader.h"

#include <sqlite3.h>
#include <zlib.h>

#include <cstring>

#include "base/log.h"

namespace {

constexpr char kRowsStatement[] =
    "SELECT OPCAcqData_Time, OPCAcqData_Value FROM OPCAcqData WHERE OPCAcq_Id = %d ORDER BY "
    "OPCAcqData_Id";
constexpr char kLoadingText[] = "Loading Project Data %d of %d ...";
constexpr char kLoadedText[] = "Loading Project Data Successfully (%d Data Set Loaded in %d msec)";
constexpr int kBusyTimeoutMs = 30000;
constexpr size_t kFirstBufferBytes = 16384;

// Inflates plain zlib streams into one buffer that grows as far as a row needs.
class CInflater {
 public:
  CInflater() { m_bReady = inflateInit(&m_stream) == Z_OK; }
  ~CInflater() {
    if (m_bReady)
      inflateEnd(&m_stream);
  }
  CInflater(const CInflater&) = delete;
  CInflater& operator=(const CInflater&) = delete;

  // The inflated text, or false when the stream is broken.
  bool Inflate(const void* data, size_t size, std::string_view& text) {
    if (!m_bReady || inflateReset(&m_stream) != Z_OK)
      return false;
    if (m_buffer.empty())
      m_buffer.resize(kFirstBufferBytes);
    m_stream.next_in = static_cast<Bytef*>(const_cast<void*>(data));
    m_stream.avail_in = static_cast<uInt>(size);
    size_t produced = 0;
    for (;;) {
      m_stream.next_out = reinterpret_cast<Bytef*>(m_buffer.data() + produced);
      m_stream.avail_out = static_cast<uInt>(m_buffer.size() - produced);
      const int result = inflate(&m_stream, Z_FINISH);
      produced = m_buffer.size() - m_stream.avail_out;
      if (result == Z_STREAM_END)
        break;
      if (result == Z_BUF_ERROR && m_stream.avail_out == 0) {
        m_buffer.resize(m_buffer.size() * 2);
        continue;
      }
      return false;  // data error, or the input ended before the stream did
    }
    text = std::string_view(m_buffer.data(), produced);
    return true;
  }

 private:
  z_stream m_stream{};
  bool m_bReady = false;
  std::string m_buffer;
};

void AppendDecoded(std::string_view field, CLoadedTable::CRowBuilder& row) {
  size_t position = 0;
  while (position < field.size()) {
    const size_t percent = field.find('%', position);
    if (percent == std::string_view::npos) {
      row.AppendToCell(field.substr(position));
      return;
    }
    row.AppendToCell(field.substr(position, percent - position));
    const std::string_view code = field.substr(percent, 3);
    if (code == "%3B") {
      row.AppendToCell(';');
      position = percent + 3;
    } else if (code == "%25") {
      row.AppendToCell('%');
      position = percent + 3;
    } else {
      row.AppendToCell('%');
      position = percent + 1;
    }
  }
}

}  // namespace

namespace {

// The general decoder: encoded characters, marks of any form.
void DecodeEncoded(std::string_view text, CLoadedTable::CRowBuilder& row) {
  const char* p = text.data();
  const char* const end = p + text.size();
  while (p < end) {
    const auto* cellEnd =
        static_cast<const char*>(std::memchr(p, ';', static_cast<size_t>(end - p)));
    if (cellEnd == nullptr)
      return;
    AppendDecoded(std::string_view(p, static_cast<size_t>(cellEnd - p)), row);
    const char* next = cellEnd + 1;
    const auto* statusEnd =
        static_cast<const char*>(std::memchr(next, ';', static_cast<size_t>(end - next)));
    const char* fieldEnd = statusEnd != nullptr ? statusEnd : end;
    uint8_t status = 0;
    if (fieldEnd - next == 1 && *next >= '1' && *next <= '7')
      status = static_cast<uint8_t>(*next - '0');
    row.FinishCell(status);
    if (statusEnd == nullptr)
      return;
    p = statusEnd + 1;
  }
}

}  // namespace

void DecodeValueTextInto(std::string_view text, CLoadedTable::CRowBuilder& row) {
  // Rows with an encoded character, or that do not end in ";", take the general way;
  // the others (nearly all) are copied byte by byte in one pass with ";" as the stop.
  if (text.empty())
    return;
  if (text.back() != ';')
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
    if (p < end && *p == ';') {
      ++p;
    } else if (p + 1 < end && p[1] == ';') {
      if (*p >= '1' && *p <= '7')
        status = static_cast<uint8_t>(*p - '0');
      p += 2;
    } else {
      // A mark of several characters: read up to its ";" (there is one: the text ends so).
      while (p < end && *p != ';')
        ++p;
      ++p;
    }
    if (p > end) {  // the last cell had no mark field
      out = row.EndCell(out, status);
      return;
    }
    out = row.EndCell(out, status);
  }
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
  const std::string statement = Format(kRowsStatement, acquisitionId);
  if (sqlite3_prepare_v2(db, statement.c_str(), -1, &query, nullptr) != SQLITE_OK) {
    const std::string cause = sqlite3_errmsg(db);
    sqlite3_close(db);
    job.Fail(2, cause);
    return;
  }
  CInflater inflater;
  CLoadedTable::CRowBuilder row;
  int rows = 0;
  int code = SQLITE_ROW;
  while ((code = sqlite3_step(query)) == SQLITE_ROW) {
    const auto* time = reinterpret_cast<const char*>(sqlite3_column_text(query, 0));
    row.Begin(time != nullptr
                  ? std::string_view(time, static_cast<size_t>(sqlite3_column_bytes(query, 0)))
                  : std::string_view());
    const void* blob = sqlite3_column_blob(query, 1);
    const int size = sqlite3_column_bytes(query, 1);
    std::string_view text;
    // A row that does not inflate keeps only its time.
    if (blob != nullptr && size > 0 && inflater.Inflate(blob, static_cast<size_t>(size), text))
      DecodeValueTextInto(text, row);
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
