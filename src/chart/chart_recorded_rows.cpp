#include "chart/chart_recorded_rows.h"

#include <sqlite3.h>

#include "acquisition/historical_data_list.h"
#include "acquisition/value_text.h"
#include "base/log.h"
#include "db/sqlite_db.h"

namespace {

constexpr char kAcquisition[] = "SELECT OPCAcq_UpdateRate FROM OPCAcq WHERE OPCAcq_Id = ?";
constexpr char kRows[] =
    "SELECT OPCAcqData_Time, OPCAcqData_Value FROM OPCAcqData WHERE OPCAcq_Id = ? ORDER BY "
    "OPCAcqData_Id";

// Closes the database whatever way the load ends.
struct CloseGuard {
  CSQLite& db;
  ~CloseGuard() { db.Close(); }
};

}  // namespace

bool LoadChartRecordedRows(CSQLite& db, int acquisitionId, HistoricalDataList& list,
                           ChartRecordedAcquisition& info, std::string& error) {
  info = ChartRecordedAcquisition();
  list.Clear();
  if (db.OpenExisting() != 1) {
    error = "the database cannot be opened";
    return false;
  }
  CloseGuard guard{db};
  sqlite3_stmt* statement = nullptr;
  if (sqlite3_prepare_v2(db.Handle(), kAcquisition, -1, &statement, nullptr) != SQLITE_OK) {
    error = sqlite3_errmsg(db.Handle());
    return false;
  }
  sqlite3_bind_int(statement, 1, acquisitionId);
  const bool found = sqlite3_step(statement) == SQLITE_ROW;
  if (found)
    info.updateRateMs = static_cast<uint32_t>(sqlite3_column_int(statement, 0));
  sqlite3_finalize(statement);
  if (!found) {
    error = Format("no acquisition %d", acquisitionId);
    return false;
  }
  if (sqlite3_prepare_v2(db.Handle(), kRows, -1, &statement, nullptr) != SQLITE_OK) {
    error = sqlite3_errmsg(db.Handle());
    return false;
  }
  sqlite3_bind_int(statement, 1, acquisitionId);
  std::string text;
  std::vector<StoredValueField> fields;
  int code = SQLITE_ROW;
  bool ok = true;
  while (ok && (code = sqlite3_step(statement)) == SQLITE_ROW) {
    const auto* time = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
    const auto* blob = static_cast<const uint8_t*>(sqlite3_column_blob(statement, 1));
    const int bytes = sqlite3_column_bytes(statement, 1);
    text.clear();
    if (DecompressValueText(blob, static_cast<size_t>(bytes), text) != 0 ||
        !SplitValueText(text, fields)) {
      error = Format("row %d of acquisition %d cannot be inflated", info.rows + 1, acquisitionId);
      ok = false;
      break;
    }
    if (info.rows == 0)
      list.Reset(static_cast<int>(fields.size()));
    DataSet row(time != nullptr ? time : "", list.ItemColumns());
    for (size_t c = 0; c < fields.size() && static_cast<int>(c) < list.ItemColumns(); ++c) {
      row.SetCell(static_cast<int>(c) + 1, std::move(fields[c].text));
      row.OrStatus(static_cast<int>(c) + 1, fields[c].status);
    }
    list.Append(row);
    ++info.rows;
  }
  if (ok && code != SQLITE_DONE) {
    error = sqlite3_errmsg(db.Handle());
    ok = false;
  }
  sqlite3_finalize(statement);
  if (!ok)
    list.Clear();
  return ok;
}
