#include "acquisition/recorded_row_reader.h"

#include <sqlite3.h>

#include "acquisition/value_inflater.h"
#include "acquisition/value_text.h"

namespace {

// The row id range comes first: it is the primary key, so only the asked rows are read.
constexpr char kStoredRows[] =
    "SELECT OPCAcqData_Id, OPCAcqData_Time, OPCAcqData_Value FROM OPCAcqData WHERE "
    "OPCAcqData_Id BETWEEN ? AND ? AND OPCAcq_Id = ? ORDER BY OPCAcqData_Id LIMIT ? OFFSET ?";
// The acquisition writes a row at a time: a reader waits for it rather than failing.
constexpr int kBusyTimeoutMs = 10000;

}  // namespace

DataSetPtr DecodeStoredDataSet(const std::string& timeText, const void* blob, size_t size,
                               int itemColumns, CValueInflater& inflater) {
  std::string_view inflated;
  if (!inflater.Inflate(blob, size, StoredValueTextLimit(itemColumns), inflated))
    return nullptr;
  std::vector<StoredValueField> fields;
  if (!SplitValueText(inflated, fields))
    return nullptr;
  DataSet row(timeText, itemColumns);
  const int columns = std::min(itemColumns, static_cast<int>(fields.size()));
  for (int k = 0; k < columns; ++k) {
    StoredValueField& field = fields[static_cast<size_t>(k)];
    row.SetCell(k + 1, std::move(field.text));
    if (field.status != 0)
      row.OrStatus(k + 1, field.status);
  }
  return std::make_shared<const CompactDataSet>(row);
}

bool CRecordedRowReader::ReadStoredRows(int64_t firstRowId, int64_t lastRowId, int offset,
                                        int count, int itemColumns,
                                        std::vector<RecordedRow>& rows) const {
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(m_sPath.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
    sqlite3_close(db);
    return false;
  }
  sqlite3_busy_timeout(db, kBusyTimeoutMs);
  sqlite3_stmt* statement = nullptr;
  bool read = sqlite3_prepare_v2(db, kStoredRows, -1, &statement, nullptr) == SQLITE_OK;
  if (read) {
    sqlite3_bind_int64(statement, 1, firstRowId);
    sqlite3_bind_int64(statement, 2, lastRowId);
    sqlite3_bind_int(statement, 3, m_nAcquisitionId);
    sqlite3_bind_int(statement, 4, count);
    sqlite3_bind_int(statement, 5, offset);
    CValueInflater inflater;
    int step = SQLITE_ROW;
    while ((step = sqlite3_step(statement)) == SQLITE_ROW) {
      const int64_t id = sqlite3_column_int64(statement, 0);
      const unsigned char* time = sqlite3_column_text(statement, 1);
      const std::string timeText = time != nullptr ? reinterpret_cast<const char*>(time) : "";
      DataSetPtr row;
      if (sqlite3_column_type(statement, 2) == SQLITE_BLOB) {
        row = DecodeStoredDataSet(timeText, sqlite3_column_blob(statement, 2),
                                  static_cast<size_t>(sqlite3_column_bytes(statement, 2)),
                                  itemColumns, inflater);
      }
      rows.emplace_back(id, std::move(row));
    }
    read = step == SQLITE_DONE;
  }
  sqlite3_finalize(statement);
  sqlite3_close(db);
  return read;
}
