#pragma once
// CRecordingStore: the statements of an acquisition's recording in OPCAcq, OPCAcqGrp,
// OPCAcqItem and OPCAcqData. Every operation runs on the connection's open handle (the
// recorder opens, closes and holds the transaction). Texts are bound or quoted with
// SQLite's own %q; the statements that are logged keep their logged text.
// Thread rule: that of the connection.
#include <cstdint>
#include <string>
#include <vector>

#include "db/row_ids.h"
#include "db/sqlite_db.h"

// What tells whether a recording changed, read without counting its rows: the id range
// of its data rows (a row added, removed or replaced moves an end) and its end and count.
struct RecordingMarks {
  bool hasRows = false;  // the ids are 0 when it has none
  int64_t firstRowId = 0;
  int64_t lastRowId = 0;
  std::string endDate;
  std::string endTime;
  int64_t dataCount = 0;
  bool operator==(const RecordingMarks&) const = default;
};

// A data row of an acquisition: its id and time text.
struct RecordedRowKey {
  int64_t rowId = 0;
  std::string timeText;
};

class CRecordingStore {
 public:
  // Statements that are logged go to channel.
  CRecordingStore(CSQLite& db, int channel) : m_db(db), m_nChannel(channel) {}

  // Whether the acquisition's OPCAcq row exists.
  DbResult<bool> AcquisitionExists(int acquisitionId);
  // The ids and time texts of the acquisition's data rows.
  DbResult<std::vector<RecordedRowKey>> DataRows(int acquisitionId, int64_t fromRowId = 0);
  // The id range, end and count (two index look-ups, no scan); kNoRow when the
  // acquisition's OPCAcq row does not exist.
  DbResult<RecordingMarks> Marks(int acquisitionId, const SqlRun& how = {});
  // The summary columns (logged): server id, host, [update rate,] start date, start time,
  // end date, end time, data count. The column count of the result (0: no row).
  DbResult<int> Summary(int acquisitionId, bool withUpdateRate, std::vector<QueryCell>& cells,
                        const SqlRun& how);
  // How many rows of the acquisition have ids in [firstRowId, lastRowId].
  DbResult<int64_t> CountDataRowsInRange(int acquisitionId, int64_t firstRowId, int64_t lastRowId);

  // Inserts the OPCAcq row (logged) with the first unused acquisition id and raises the
  // id mark to it. The new id.
  DbResult<int64_t> InsertAcquisition(const std::string& serverId, const std::string& host,
                                      const std::string& classIdText);
  // The OPCAcqGrp row with the given id; the row id.
  DbResult<int64_t> InsertGroup(int64_t groupId, int acquisitionId, const std::string& name,
                                int updateRate);
  // One OPCAcqItem row.
  DbStatus InsertItem(int groupRowId, const std::string& qualifiedId, const std::string& shortId,
                      const std::string& data, int dataType, int itemType);
  // The update rate and start of the first read (logged).
  DbStatus RecordFirstRead(int acquisitionId, int basePeriodMs, const std::string& date,
                           const std::string& time);
  // The end and the count (logged); the number of rows it changed.
  DbResult<int> RecordEnd(int acquisitionId, const std::string& date, const std::string& time,
                          int storedCount);

  // Writes a data set: a new row (rowId kNewRow) or the value of an existing one. SQLite's
  // code (SQLITE_DONE on success, SQLITE_BUSY for a lock that outlasted the bound);
  // *prepared is false when the statement could not be prepared.
  static constexpr int64_t kNewRow = -1;
  // The value bytes are bound without a copy.
  int WriteDataSet(int acquisitionId, int64_t rowId, const std::string& timeText, const void* value,
                   size_t valueSize, bool* prepared);

  // The statement texts as logged.
  static std::string InsertAcquisitionText(int64_t acquisitionId, const std::string& serverId,
                                           const std::string& host, const std::string& classIdText);
  static std::string FirstReadText(int acquisitionId, int basePeriodMs, const std::string& date,
                                   const std::string& time);
  static std::string SummaryText(int acquisitionId, bool withUpdateRate);
  static std::string EndText(int acquisitionId, const std::string& date, const std::string& time,
                             int storedCount);

 private:
  CSQLite& m_db;
  int m_nChannel;
};
