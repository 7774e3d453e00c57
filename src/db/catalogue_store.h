#pragma once
// CCatalogueStore: the statements of the acquisition catalogue on OPCAcq and the rows
// of an acquisition: the catalogue and item list texts (shown through a list control,
// which logs them), the chart's item statement, the repair's count, last time and end
// update, the deletion and the compaction after it. Values are bound, or quoted with
// SQLite's %q where the text is logged.
// Thread rule: that of the connection.
#include <cstdint>
#include <string>

#include "db/sqlite_db.h"

class CCatalogueStore {
 public:
  explicit CCatalogueStore(CSQLite& db) : m_db(db) {}

  // The keyed catalogue statement (hidden key: OPCAcq_Id) ordered by an expression.
  static std::string CatalogueStatement(const char* orderBy);
  // The item list of an acquisition, in recording order (the order of the value fields).
  static std::string ItemListStatement(int acquisitionId);
  // The items of an acquisition as the chart reads them, in recording order: qualified
  // name, short name, data, item type, data type.
  static std::string ChartItemStatement(int acquisitionId);
  // The end update of a repair, as logged.
  static std::string RepairEndText(const std::string& endDate, const std::string& endTime,
                                   int count, int acquisitionId);
  // One script: the rows, items, groups and the acquisition itself, in one transaction.
  static std::string DeleteScript(int acquisitionId);

  // On the open handle: how many data rows the acquisition has.
  DbResult<int64_t> DataRowCount(int acquisitionId);
  // On the open handle: the time text of its last data row (kNoRow when it has none).
  DbResult<std::string> LastDataRowTime(int acquisitionId);
  // On the open handle, logged on channel: the end and count of the repair.
  DbStatus RepairEnd(const std::string& endDate, const std::string& endTime, int count,
                     int acquisitionId, int channel);
  // Deletes the acquisition (logged on channel); the handle stays open.
  DbStatus Delete(int acquisitionId, const SqlRun& how);
  // On the open handle: gives the file back the space of deleted rows (VACUUM). One try:
  // a reader that holds the file makes it kFailed at once, never a wait.
  DbStatus Compact();

 private:
  CSQLite& m_db;
};
