#include "forward/central_store.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <ctime>

#include "forward/local_instant.h"

namespace {

constexpr char kSchema[] =
    "CREATE TABLE IF NOT EXISTS velmora_stations (\n"
    "  station uuid PRIMARY KEY,\n"
    "  host_name text NOT NULL\n"
    ");\n"
    "CREATE TABLE IF NOT EXISTS velmora_acquisitions (\n"
    "  station uuid NOT NULL REFERENCES velmora_stations,\n"
    "  acquisition integer NOT NULL,\n"
    "  project text,\n"
    "  server text,\n"
    "  server_host text,\n"
    "  start_time timestamptz,\n"
    "  end_time timestamptz,\n"
    "  data_count bigint,\n"
    "  PRIMARY KEY (station, acquisition)\n"
    ");\n"
    "CREATE TABLE IF NOT EXISTS velmora_items (\n"
    "  station uuid NOT NULL,\n"
    "  acquisition integer NOT NULL,\n"
    "  item text NOT NULL,\n"
    "  qualified_id text,\n"
    "  group_name text,\n"
    "  data_type integer,\n"
    "  calculated boolean NOT NULL,\n"
    "  column_index integer NOT NULL,\n"
    "  PRIMARY KEY (station, acquisition, item)\n"
    ");\n"
    "CREATE TABLE IF NOT EXISTS velmora_values (\n"
    "  station uuid NOT NULL,\n"
    "  acquisition integer NOT NULL,\n"
    "  row_id bigint NOT NULL,\n"
    "  time timestamptz,\n"
    "  item text NOT NULL,\n"
    "  value double precision,\n"
    "  text_value text,\n"
    "  quality text NOT NULL,\n"
    "  interpolated boolean NOT NULL,\n"
    "  PRIMARY KEY (station, acquisition, row_id, item)\n"
    ");\n"
    "CREATE INDEX IF NOT EXISTS velmora_values_item_time ON velmora_values (item, time);\n";

// Two sessions may make the schema at once; a lock on a fixed key lets one do it.
constexpr char kSchemaLock[] = "SELECT pg_advisory_xact_lock(7429001)";
constexpr int kStatusBadQuality = 1;
constexpr int kStatusInactive = 2;
constexpr int kStatusInterpolated = 4;

std::optional<int64_t> InstantOf(const std::string& date, const std::string& time,
                                 std::optional<int64_t> notBefore = std::nullopt) {
  CLocalInstants instants;
  instants.SetPrevious(notBefore);
  return instants.Next(date + " " + time);
}

std::string TimestampOrNull(const std::optional<int64_t>& unixMs) {
  return unixMs ? PgQuote(UtcTimestampText(*unixMs)) : "NULL";
}

// A text as COPY's text format has it.
void AppendCopyText(std::string& out, const std::string& text) {
  for (const char c : text) {
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case '\t':
        out += "\\t";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      default:
        out += c;
    }
  }
}

// The number of a cell text (the stored texts always use the decimal point).
std::optional<double> NumberOf(const std::string& text) {
  if (text.empty())
    return std::nullopt;
  double value = 0;
  const char* begin = text.data();
  const char* end = begin + text.size();
  if (*begin == '+')
    ++begin;
  const auto [ptr, ec] = std::from_chars(begin, end, value);
  if (ec != std::errc() || ptr != end)
    return std::nullopt;
  return value;
}

}  // namespace

const char* CentralSchemaScript() {
  return kSchema;
}

bool IsNumericDataType(int dataType) {
  // VT_I2, VT_I4, VT_R4, VT_R8, VT_CY, VT_BOOL, VT_I1 .. VT_UI8, VT_INT, VT_UINT.
  switch (dataType & 0x0FFF) {
    case 2:
    case 3:
    case 4:
    case 5:
    case 6:
    case 11:
    case 16:
    case 17:
    case 18:
    case 19:
    case 20:
    case 21:
    case 22:
    case 23:
      return (dataType & 0x2000) == 0;  // not an array
    default:
      return false;
  }
}

std::string UtcTimestampText(int64_t unixMs) {
  int64_t seconds = unixMs / 1000;
  int64_t ms = unixMs % 1000;
  if (ms < 0) {
    ms += 1000;
    --seconds;
  }
  const std::time_t t = static_cast<std::time_t>(seconds);
  std::tm tm{};
  gmtime_r(&t, &tm);
  char text[48];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d.%03d+00", tm.tm_year + 1900,
                tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec, static_cast<int>(ms));
  return text;
}

void CCentralStore::Rollback() {
  std::string ignored;
  m_connection.Exec("ROLLBACK", ignored);
}

bool CCentralStore::EnsureSchema(std::string& error) {
  std::vector<std::vector<std::string>> rows;
  if (!m_connection.Exec("BEGIN", error))
    return false;
  if (!m_connection.Query(kSchemaLock, {}, rows, error) || !m_connection.Exec(kSchema, error)) {
    Rollback();
    return false;
  }
  return m_connection.Exec("COMMIT", error);
}

bool CCentralStore::PutStation(const std::string& station, const std::string& hostName,
                               std::string& error) {
  std::vector<std::vector<std::string>> rows;
  return m_connection.Query(
      "INSERT INTO velmora_stations (station, host_name) VALUES ($1, $2) ON CONFLICT (station) "
      "DO UPDATE SET host_name = EXCLUDED.host_name",
      {station, hostName}, rows, error);
}

bool CCentralStore::PutAcquisition(const std::string& station, const SpoolAcquisition& acquisition,
                                   const std::string& project, const std::vector<SpoolItem>& items,
                                   std::optional<int64_t> lastRowUnixMs, std::string& error) {
  const std::optional<int64_t> start = InstantOf(acquisition.startDate, acquisition.startTime);
  // The end is the last row's time: not before that row (nor the start).
  std::optional<int64_t> notBefore = start;
  if (lastRowUnixMs)
    notBefore = *lastRowUnixMs - 1;
  const std::optional<int64_t> end = InstantOf(acquisition.endDate, acquisition.endTime, notBefore);
  std::string sql =
      "BEGIN; INSERT INTO velmora_acquisitions (station, acquisition, project, server, "
      "server_host, start_time, end_time, data_count) VALUES (" +
      PgQuote(station) + ", " + std::to_string(acquisition.id) + ", " +
      (project.empty() ? std::string("NULL") : PgQuote(project)) + ", " +
      PgQuote(acquisition.serverId) + ", " + PgQuote(acquisition.serverHost) + ", " +
      TimestampOrNull(start) + ", " + TimestampOrNull(end) + ", " +
      (acquisition.dataCount >= 0 ? std::to_string(acquisition.dataCount) : "NULL") +
      ") ON CONFLICT (station, acquisition) DO UPDATE SET project = COALESCE(EXCLUDED.project, "
      "velmora_acquisitions.project), server = EXCLUDED.server, server_host = "
      "EXCLUDED.server_host, start_time = EXCLUDED.start_time, end_time = EXCLUDED.end_time, "
      "data_count = EXCLUDED.data_count;";
  if (!items.empty()) {
    sql +=
        " INSERT INTO velmora_items (station, acquisition, item, qualified_id, group_name, "
        "data_type, calculated, column_index) VALUES ";
    for (size_t i = 0; i < items.size(); ++i) {
      const SpoolItem& item = items[i];
      sql += (i > 0 ? ", (" : "(") + PgQuote(station) + ", " + std::to_string(acquisition.id) +
             ", " + PgQuote(item.shortId) + ", " + PgQuote(item.qualifiedId) + ", " +
             PgQuote(item.group) + ", " + std::to_string(item.dataType) + ", " +
             (item.calculated ? "true" : "false") + ", " + std::to_string(i + 1) + ")";
    }
    sql += " ON CONFLICT DO NOTHING;";
  }
  sql += " COMMIT;";
  if (!m_connection.Exec(sql, error)) {
    Rollback();
    return false;
  }
  return true;
}

bool CCentralStore::LastRow(const std::string& station, int acquisition, int64_t& rowId,
                            std::optional<int64_t>& unixMs, std::string& error) {
  std::vector<std::vector<std::string>> rows;
  if (!m_connection.Query(
          "SELECT row_id, COALESCE(floor(extract(epoch FROM time) * 1000)::bigint::text, '') "
          "FROM velmora_values WHERE station = $1 AND acquisition = $2 ORDER BY row_id DESC "
          "LIMIT 1",
          {station, std::to_string(acquisition)}, rows, error))
    return false;
  rowId = 0;
  unixMs.reset();
  if (!rows.empty()) {
    rowId = std::stoll(rows[0][0]);
    if (!rows[0][1].empty())
      unixMs = std::stoll(rows[0][1]);
  }
  return true;
}

bool CCentralStore::CopyRows(const std::string& table, const std::string& station, int acquisition,
                             const std::vector<SpoolItem>& items,
                             const std::vector<CentralRow>& rows, int64_t afterRowId,
                             std::string& error) {
  if (!m_connection.CopyBegin("COPY " + table +
                                  " (station, acquisition, row_id, time, item, value, "
                                  "text_value, quality, interpolated) FROM STDIN",
                              error))
    return false;
  // Per item: the fixed start of its line's item field and whether it is numeric.
  std::vector<std::string> itemFields(items.size());
  for (size_t i = 0; i < items.size(); ++i)
    AppendCopyText(itemFields[i], items[i].shortId);
  const std::string rowStart = station + "\t" + std::to_string(acquisition) + "\t";
  std::string out;
  out.reserve(1 << 20);
  bool ok = true;
  char number[32];
  for (const CentralRow& row : rows) {
    if (row.rowId <= afterRowId)
      continue;
    const std::string head = rowStart + std::to_string(row.rowId) + "\t" +
                             (row.unixMs ? UtcTimestampText(*row.unixMs) : "\\N") + "\t";
    const size_t columns = std::min(items.size(), row.cells.size());
    for (size_t c = 0; c < columns; ++c) {
      const auto& [text, status] = row.cells[c];
      out += head;
      out += itemFields[c];
      out += '\t';
      const std::optional<double> value =
          IsNumericDataType(items[c].dataType) || items[c].calculated ? NumberOf(text)
                                                                      : std::nullopt;
      if (value) {
        const auto [end, ec] = std::to_chars(number, number + sizeof number, *value);
        out.append(number, ec == std::errc() ? end : number);
        out += "\t\\N\t";
      } else {
        out += "\\N\t";
        if (text.empty())
          out += "\\N";
        else
          AppendCopyText(out, text);
        out += '\t';
      }
      out += (status & kStatusBadQuality) != 0 ? "bad"
             : (status & kStatusInactive) != 0 ? "inactive"
                                               : "good";
      out += (status & kStatusInterpolated) != 0 ? "\tt\n" : "\tf\n";
    }
    if (out.size() > (1 << 20) - 65536) {
      ok = m_connection.CopyData(out.data(), out.size(), error);
      out.clear();
      if (!ok)
        break;
    }
  }
  if (ok && !out.empty())
    ok = m_connection.CopyData(out.data(), out.size(), error);
  std::string endError;
  const bool ended = m_connection.CopyEnd(endError);
  if (ok && !ended)
    error = endError;
  return ok && ended;
}

bool CCentralStore::SendRows(const std::string& station, int acquisition,
                             const std::vector<SpoolItem>& items,
                             const std::vector<CentralRow>& rows, std::string& error) {
  if (rows.empty())
    return true;
  std::vector<std::vector<std::string>> result;
  // One sender per acquisition at a time (a push beside a forwarder waits its turn); what
  // the server already holds is then known exactly, and the rest goes by plain COPY.
  if (!m_connection.Exec("BEGIN", error))
    return false;
  if (!m_connection.Query("SELECT pg_advisory_xact_lock(hashtext($1), $2::integer)",
                          {station, std::to_string(acquisition)}, result, error)) {
    Rollback();
    return false;
  }
  int64_t lastRow = 0;
  std::optional<int64_t> lastInstant;
  if (!LastRow(station, acquisition, lastRow, lastInstant, error)) {
    Rollback();
    return false;
  }
  if (rows.back().rowId <= lastRow) {
    Rollback();
    return true;  // all there already
  }
  if (!CopyRows("velmora_values", station, acquisition, items, rows, lastRow, error)) {
    Rollback();
    if (m_connection.LastState() != "23505")
      return false;
    // Rows in the middle already there (sent out of order): a repeat is ignored.
    error.clear();
    if (!m_connection.Exec("BEGIN; CREATE TEMP TABLE IF NOT EXISTS velmora_incoming (LIKE "
                           "velmora_values) ON COMMIT DELETE ROWS",
                           error) ||
        !CopyRows("velmora_incoming", station, acquisition, items, rows, lastRow, error) ||
        !m_connection.Exec(
            "INSERT INTO velmora_values SELECT * FROM velmora_incoming ON CONFLICT DO NOTHING",
            error)) {
      Rollback();
      return false;
    }
  }
  return m_connection.Exec("COMMIT", error);
}
