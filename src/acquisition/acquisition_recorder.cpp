#include "acquisition/acquisition_recorder.h"

#include <zlib.h>

#include "acquisition/value_text.h"
#include "base/log.h"
#include "base/time_text.h"
#include "db/sql_format.h"

namespace {

constexpr char kOpenFailed[] = "Error Opening Database ... Data won't be stored !!! ";
constexpr char kBufferTooSmall[] =
    "Error Storing OPC Data !!! Destination Buffer is Not Enough Long ... SQL Data: %ld  "
    "Destination Length: %ld... Please Contact Quorix.";
constexpr char kNoMemory[] =
    "Error Storing OPC Data !!! Not Enough Memory to Compress OPC Data ... Please Contact "
    "Quorix.";
constexpr char kDataError[] =
    "Error Storing OPC Data !!! Corrupted Data to Uncompress ... Please Contact Quorix.";
constexpr char kStreamError[] =
    "Error Storing OPC Data !!! Destination Buffer is NULL ... Please Contact Quorix.";
constexpr char kPrepareFailed[] =
    "Error Storing OPC Data !!! Preparation of SQL Statement Failed ... Please Contact Quorix.";
constexpr char kWriteFailed[] =
    "Fail to Write OPC Data to Velmora Database !!! Cause: %s ... End of Job";

}  // namespace

bool CAcquisitionRecorder::RecordStart(const RecordedConfiguration& configuration,
                                       int& acquisitionId) {
  if (m_db.Open() != 1) {
    m_db.Context().log.Log(kOpenFailed, kLogOpcServer);
    return false;
  }
  if (acquisitionId != -1) {  // Resume: same OPCAcq row
    m_db.Close();
    return true;
  }
  const std::string insert =
      std::string(
          "INSERT INTO OPCAcq( OPCAcq_ServerId, OPCAcq_ServerHost, OPCacq_ServerGuid, "
          "OPCAcq_StartDate, OPCAcq_StartTime, OPCAcq_EndDate, OPCAcq_EndTime, "
          "OPCAcq_DataCount)") +
      "VALUES( " + SqlPrintf("'%q', ", configuration.serverId.c_str()) +
      SqlPrintf("'%q', ", configuration.host.c_str()) +
      SqlPrintf("'%q',", configuration.classIdText.c_str()) +
      "'Undefined', 'Undefined', 'Undefined', 'Undefined', -1)";
  bool recorded = false;
  if (m_db.ExecSQL(insert, false, false, true, kLogDataAcquisition) == 1) {
    acquisitionId = m_db.QueryInteger("SELECT MAX( OPCAcq_Id) from OPCAcq");
    recorded = RecordGroups(configuration, acquisitionId);
  }
  m_db.Close();
  return recorded;
}

bool CAcquisitionRecorder::RecordGroups(const RecordedConfiguration& configuration,
                                        int acquisitionId) {
  for (const RecordedGroup& group : configuration.groups) {
    const std::string insert = Format(
        "INSERT INTO OPCAcqGrp( OPCAcq_Id, OPCAcqGrp_Name, OPCAcqGrp_UpdateRate) VALUES( %d, "
        "%s, %d)",
        acquisitionId, SqlPrintf("'%q'", group.name.c_str()).c_str(), group.updateRate);
    if (m_db.ExecSQL(insert) != 1)
      continue;
    const int groupRowId = m_db.QueryInteger("SELECT MAX( OPCAcqGrp_Id) from OPCAcqGrp");
    if (!RecordItems(group, groupRowId))
      return false;
  }
  return true;
}

bool CAcquisitionRecorder::RecordItems(const RecordedGroup& group, int groupRowId) {
  for (const RecordedItem& item : group.items) {
    // Item texts are quoted like every other text: an apostrophe in a description must
    // neither break the recording nor reach the SQL as code.
    const std::string insert =
        std::string(
            "INSERT INTO OPCAcqItem( OPCAcqGrp_Id, OPCAcqItem_QualifiedName, "
            "OPCAcqItem_ShortName, OPCAcqItem_Data, OPCAcqItem_DataType, OPCAcqItem_ItemType) ") +
        SqlPrintf("VALUES( %d, '%q', '%q', '%q', %d, %d)", groupRowId, item.qualifiedId.c_str(),
                  item.shortId.c_str(), item.data.c_str(), item.dataType, item.itemType);
    if (m_db.ExecSQL(insert) != 1)
      return false;
  }
  return true;
}

bool CAcquisitionRecorder::RecordFirstRead(int acquisitionId, int basePeriodMs,
                                           const LocalTime& readTime) {
  const std::string date =
      Format("%02d/%s/%d", readTime.day, MonthAbbreviation(readTime.month), readTime.year);
  const std::string time = Format("%02d:%02d:%02d.%03d", readTime.hour, readTime.minute,
                                  readTime.second, readTime.millisecond);
  const std::string update = Format(
      "UPDATE OPCAcq Set OPCAcq_UpdateRate = %d,  OPCAcq_StartDate = '%s', OPCAcq_StartTime = "
      "'%s' WHERE OPCAcq_Id = %d",
      basePeriodMs, date.c_str(), time.c_str(), acquisitionId);
  return m_db.ExecSQL(update, false, false, true, kLogDataAcquisition) == 1;
}

void CAcquisitionRecorder::LogStoreFailure(const std::string& text) {
  m_db.Context().log.Log(text, kLogDataAcquisition);
}

StoreResult CAcquisitionRecorder::StoreDataSet(int acquisitionId, bool running,
                                               const CompactDataSet& row) {
  const std::string valueText = OPCAcqValueText(row);
  const std::string timeText(row.TimeText());
  if (!running || timeText.empty())
    return StoreResult::kNotStored;

  // The buffer is sized for the text, so every configuration is stored whole.
  const int zresult = CompressValueText(valueText, m_compressed);
  if (zresult != Z_OK) {
    switch (zresult) {
      case Z_BUF_ERROR:
        LogStoreFailure(Format(kBufferTooSmall, static_cast<long>(valueText.size()),
                               static_cast<long>(m_compressed.size())));
        break;
      case Z_MEM_ERROR:
        LogStoreFailure(kNoMemory);
        break;
      case Z_DATA_ERROR:
        LogStoreFailure(kDataError);
        break;
      case Z_STREAM_ERROR:
        LogStoreFailure(kStreamError);
        break;
      default:
        break;
    }
    return StoreResult::kNotStored;
  }

  // "+" keeps SQLite on the time index: without statistics it would pick the acquisition
  // index and scan every row of the acquisition, a cost that grows with each data set.
  const int existingId = m_db.QueryInteger(
      SqlPrintf("SELECT OPCAcqData_Id FROM OPCAcqData WHERE +OPCAcq_Id = %d AND OPCAcqData_Time "
                "= '%q'",
                acquisitionId, timeText.c_str()));
  sqlite3* handle = m_db.Handle();
  sqlite3_stmt* statement = nullptr;
  const char* sql = existingId == -1
                        ? "INSERT INTO OPCAcqData( OPCAcq_Id, OPCAcqData_Time, OPCAcqData_Value) "
                          "VALUES( ?, ?, ?)"
                        : "UPDATE OPCAcqData Set OPCAcqData_Value = ? WHERE OPCAcqData_Id = ?";
  if (handle == nullptr || sqlite3_prepare_v2(handle, sql, -1, &statement, nullptr) != SQLITE_OK) {
    sqlite3_finalize(statement);
    LogStoreFailure(kPrepareFailed);
    return StoreResult::kNotStored;
  }
  const int blobSize = static_cast<int>(m_compressed.size());
  if (existingId == -1) {
    sqlite3_bind_int(statement, 1, acquisitionId);
    sqlite3_bind_text(statement, 2, timeText.c_str(), static_cast<int>(timeText.size()),
                      SQLITE_STATIC);
    sqlite3_bind_blob(statement, 3, m_compressed.data(), blobSize, SQLITE_STATIC);
  } else {
    sqlite3_bind_blob(statement, 1, m_compressed.data(), blobSize, SQLITE_STATIC);
    sqlite3_bind_int(statement, 2, existingId);
  }

  // Another process holding the file is waited out within the database's busy bound.
  int stepResult = sqlite3_step(statement);
  uint32_t waitedMs = 0;
  while (stepResult == SQLITE_BUSY && waitedMs < m_db.BusyTimeoutMs()) {
    m_db.Context().clock.SleepMs(m_db.BusyRetryMs());
    waitedMs += m_db.BusyRetryMs();
    sqlite3_reset(statement);
    stepResult = sqlite3_step(statement);
  }
  std::string message;
  if (stepResult != SQLITE_DONE) {
    message = sqlite3_errmsg(handle);
    LogStoreFailure(Format(kWriteFailed, message.c_str()));
  }
  const int finalResult = sqlite3_finalize(statement);
  if (stepResult == SQLITE_DONE && finalResult != SQLITE_OK) {
    LogStoreFailure(Format(kWriteFailed, sqlite3_errmsg(handle)));
  }
  const int code = (stepResult != SQLITE_DONE ? stepResult : finalResult) & 0xFF;
  if (code == SQLITE_FULL || code == SQLITE_READONLY)
    return StoreResult::kStopAcquisition;
  return stepResult == SQLITE_DONE ? StoreResult::kStored : StoreResult::kNotStored;
}

bool CAcquisitionRecorder::RecordEnd(int acquisitionId, const std::string& lastTimeText,
                                     int dataSetCount) {
  const std::string date = lastTimeText.substr(0, 11);
  const std::string time =
      lastTimeText.size() >= 12 ? lastTimeText.substr(lastTimeText.size() - 12) : lastTimeText;
  const std::string update = Format(
      "UPDATE OPCAcq Set OPCAcq_EndDate = '%s', OPCAcq_EndTime = '%s', OPCAcq_DataCount = %d "
      "WHERE OPCAcq_Id = %d",
      date.c_str(), time.c_str(), dataSetCount, acquisitionId);
  return m_db.ExecSQL(update, true, true, true, kLogDataAcquisition) == 1;
}
