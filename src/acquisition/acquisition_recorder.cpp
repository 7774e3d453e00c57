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
constexpr char kCompressionFailed[] = "Error Storing OPC Data !!! Compression Error %d";
constexpr char kAcquisitionExists[] = "SELECT OPCAcq_Id FROM OPCAcq WHERE OPCAcq_Id = %d";
constexpr char kAcquisitionGone[] = "the acquisition %d is no longer in the database";
constexpr char kDataRowGone[] = "the data set row %lld is no longer in the database";

}  // namespace

void CAcquisitionRecorder::TakeDbFailure() {
  m_failure.code = m_db.LastResult();
  m_failure.message =
      m_db.LastErrorText().empty() ? CSQLite::ErrorText(m_failure.code) : m_db.LastErrorText();
}

bool CAcquisitionRecorder::Exec(const std::string& statement, bool log) {
  if (m_db.ExecSQL(statement, false, false, log, kLogDataAcquisition) == 1)
    return true;
  TakeDbFailure();
  return false;
}

bool CAcquisitionRecorder::RecordStart(const RecordedConfiguration& configuration,
                                       int& acquisitionId) {
  m_failure = RecordFailure();
  // Never created here: a database that is not where it was is an error to report.
  if (m_db.OpenExisting() != 1) {
    TakeDbFailure();
    m_db.Context().log.Log(kOpenFailed, kLogOpcServer);
    return false;
  }
  bool recorded = false;
  if (acquisitionId != -1) {  // Resume: the same OPCAcq row, if it is still there
    const int exists = m_db.RowExists(Format(kAcquisitionExists, acquisitionId));
    recorded = exists == 1;
    if (exists == 0)
      m_failure = {SQLITE_NOTFOUND, Format(kAcquisitionGone, acquisitionId)};
    else if (exists != 1)
      TakeDbFailure();
  } else {
    recorded = RecordConfiguration(configuration, acquisitionId);
  }
  m_db.Close();
  return recorded;
}

bool CAcquisitionRecorder::RecordConfiguration(const RecordedConfiguration& configuration,
                                               int& acquisitionId) {
  // One transaction: a failure or a kill half-way leaves no acquisition with a partial
  // snapshot, whose data would be matched to the wrong items. IMMEDIATE takes the write
  // lock first, so that MAX(id) is this acquisition's own even beside another writer.
  if (!Exec("BEGIN IMMEDIATE;", false))
    return false;
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
  if (Exec(insert, true)) {
    const int id = m_db.QueryInteger("SELECT MAX( OPCAcq_Id) from OPCAcq");
    if (id > 0) {
      recorded = RecordGroups(configuration, id) && Exec("COMMIT;", false);
      if (recorded)
        acquisitionId = id;
    } else {
      TakeDbFailure();
    }
  }
  // A failed statement has rolled the transaction back already; anything else has not.
  if (!recorded && m_db.Handle() != nullptr && sqlite3_get_autocommit(m_db.Handle()) == 0)
    m_db.ExecSQL("ROLLBACK;");
  return recorded;
}

bool CAcquisitionRecorder::RecordGroups(const RecordedConfiguration& configuration,
                                        int acquisitionId) {
  for (const RecordedGroup& group : configuration.groups) {
    const std::string insert = Format(
        "INSERT INTO OPCAcqGrp( OPCAcq_Id, OPCAcqGrp_Name, OPCAcqGrp_UpdateRate) VALUES( %d, "
        "%s, %d)",
        acquisitionId, SqlPrintf("'%q'", group.name.c_str()).c_str(), group.updateRate);
    // A group left out would shift every later column onto the wrong item names.
    if (!Exec(insert, false))
      return false;
    const int groupRowId = m_db.QueryInteger("SELECT MAX( OPCAcqGrp_Id) from OPCAcqGrp");
    if (groupRowId <= 0) {
      TakeDbFailure();
      return false;
    }
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
    if (!Exec(insert, false))
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
  m_failure = RecordFailure();
  return Exec(update, true);
}

void CAcquisitionRecorder::LogStoreFailure(const std::string& text) {
  m_db.Context().log.Log(text, kLogDataAcquisition);
}

StoreResult CAcquisitionRecorder::StoreDataSet(int acquisitionId, bool running,
                                               const CompactDataSet& row, int64_t& rowId) {
  m_failure = RecordFailure();
  const std::string valueText = OPCAcqValueText(row);
  const std::string timeText(row.TimeText());
  if (!running || timeText.empty())
    return StoreResult::kNotStored;

  // The buffer is sized for the text, so every configuration is stored whole.
  const int zresult = CompressValueText(valueText, m_compressed);
  if (zresult != Z_OK) {
    std::string message;
    switch (zresult) {
      case Z_BUF_ERROR:
        message = Format(kBufferTooSmall, static_cast<long>(valueText.size()),
                         static_cast<long>(m_compressed.size()));
        break;
      case Z_MEM_ERROR:
        message = kNoMemory;
        break;
      case Z_DATA_ERROR:
        message = kDataError;
        break;
      case Z_STREAM_ERROR:
        message = kStreamError;
        break;
      default:
        message = Format(kCompressionFailed, zresult);
        break;
    }
    LogStoreFailure(message);
    m_failure = {0, message};
    return StoreResult::kFailed;
  }

  // Rows are known by id, never by time text: local time repeats itself when the clock
  // goes back, and a new data set must never overwrite an older one.
  const bool insert = rowId == kNoDataRowId;
  std::vector<SqlBinding> bindings;
  if (insert) {
    bindings = {SqlBinding::Integer(acquisitionId), SqlBinding::Text(timeText),
                SqlBinding::Blob(m_compressed.data(), m_compressed.size())};
  } else {
    bindings = {SqlBinding::Blob(m_compressed.data(), m_compressed.size()),
                SqlBinding::Integer(rowId)};
  }
  bool prepared = false;
  const int code = m_db.ExecBound(
      insert ? "INSERT INTO OPCAcqData( OPCAcq_Id, OPCAcqData_Time, OPCAcqData_Value) VALUES( ?, "
               "?, ?)"
             : "UPDATE OPCAcqData Set OPCAcqData_Value = ? WHERE OPCAcqData_Id = ?",
      bindings, &prepared, kLogDataAcquisition);
  if (code != SQLITE_DONE) {
    LogStoreFailure(prepared ? Format(kWriteFailed, m_db.LastErrorText().c_str())
                             : std::string(kPrepareFailed));
    TakeDbFailure();
    return StoreResult::kFailed;
  }
  if (insert) {
    rowId = m_db.LastInsertRowId();
  } else if (m_db.Changes() != 1) {
    m_failure = {SQLITE_NOTFOUND, Format(kDataRowGone, static_cast<long long>(rowId))};
    LogStoreFailure(Format(kWriteFailed, m_failure.message.c_str()));
    return StoreResult::kFailed;
  }
  return StoreResult::kStored;
}

bool CAcquisitionRecorder::RecordEnd(int acquisitionId, const std::string& lastTimeText,
                                     int storedCount) {
  m_failure = RecordFailure();
  const std::string date = lastTimeText.substr(0, 11);
  const std::string time =
      lastTimeText.size() >= 12 ? lastTimeText.substr(lastTimeText.size() - 12) : lastTimeText;
  const std::string update = Format(
      "UPDATE OPCAcq Set OPCAcq_EndDate = '%s', OPCAcq_EndTime = '%s', OPCAcq_DataCount = %d "
      "WHERE OPCAcq_Id = %d",
      date.c_str(), time.c_str(), storedCount, acquisitionId);
  // The existing file only: the end of an acquisition whose file vanished has nowhere to go.
  const int result =
      m_db.OpenExisting() == 1 ? m_db.ExecSQL(update, false, false, true, kLogDataAcquisition) : -3;
  if (result != 1)
    TakeDbFailure();
  m_db.Close();
  return result == 1;
}
