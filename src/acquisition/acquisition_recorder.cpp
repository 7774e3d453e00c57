#include "acquisition/acquisition_recorder.h"

#include <zlib.h>

#include <algorithm>
#include <unordered_map>

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
constexpr char kFileReplaced[] = "the database file was replaced during the acquisition";
constexpr char kFileVanished[] = "the database file is no longer at %s";
constexpr char kIdentityUnknown[] = "the database file %s cannot be identified: %s";
constexpr char kEndNotOneRow[] =
    "the end of the acquisition %d changed %d rows of OPCAcq instead of one";
constexpr char kLockFailed[] = "the recording lock of acquisition %d cannot be taken: %s";
// The highest id any row ever used: the Config mark, the acquisitions and their groups.
// The data rows are scanned only while the file has no mark yet (their index is not
// usable), since every acquisition made since then is below the mark.
constexpr char kHighestAcquisitionId[] =
    "SELECT MAX( x) FROM ( SELECT MAX( OPCAcq_Id) AS x FROM OPCAcq UNION ALL SELECT MAX( "
    "OPCAcq_Id) FROM OPCAcqGrp UNION ALL SELECT Config_IntData FROM Config WHERE Config_Mnemo = "
    "'%s' UNION ALL SELECT MAX( OPCAcq_Id) FROM OPCAcqData WHERE NOT EXISTS ( SELECT 1 FROM "
    "Config WHERE Config_Mnemo = '%s'))";
constexpr char kHighestGroupId[] =
    "SELECT MAX( x) FROM ( SELECT MAX( OPCAcqGrp_Id) AS x FROM OPCAcqGrp UNION ALL SELECT MAX( "
    "OPCAcqGrp_Id) FROM OPCAcqItem)";
constexpr char kSetIdMark[] =
    "INSERT OR REPLACE INTO Config( Config_Mnemo, Config_DataType, Config_IntData, "
    "Config_FloatData, Config_StrData) VALUES( '%s', 0, %d, -1.00, 'NA')";
// From the oldest row asked for: a long acquisition's older rows are counted by range.
constexpr char kOwnRows[] =
    "SELECT OPCAcqData_Id, OPCAcqData_Time FROM OPCAcqData WHERE OPCAcqData_Id >= %lld AND "
    "OPCAcq_Id = %d";
constexpr char kOwnRowsInRange[] =
    "SELECT COUNT(*) FROM OPCAcqData WHERE OPCAcqData_Id BETWEEN %lld AND %lld AND OPCAcq_Id = %d";

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
    recorded = CheckResume(acquisitionId);
  } else {
    std::string cause;
    if (!ReadFileIdentity(m_db.Path(), m_identity, cause))
      m_failure = {SQLITE_CANTOPEN, Format(kIdentityUnknown, m_db.Path().c_str(), cause.c_str())};
    else
      recorded = RecordConfiguration(configuration, acquisitionId);
  }
  m_db.Close();
  return recorded;
}

bool CAcquisitionRecorder::CheckResume(int acquisitionId) {
  std::string cause;
  if (!IsOwnFile(cause)) {
    m_failure = {SQLITE_NOTFOUND, cause};
    return false;
  }
  if (m_lock.AcquisitionId() != acquisitionId && !m_lock.Acquire(m_db.Path(), acquisitionId)) {
    m_failure = {SQLITE_BUSY, Format(kLockFailed, acquisitionId, m_lock.Cause().c_str())};
    return false;
  }
  const int exists = m_db.RowExists(Format(kAcquisitionExists, acquisitionId));
  if (exists == 1)
    return true;
  if (exists == 0)
    m_failure = {SQLITE_NOTFOUND, Format(kAcquisitionGone, acquisitionId)};
  else
    TakeDbFailure();
  m_lock.Release();
  return false;
}

bool CAcquisitionRecorder::IsOwnFile(std::string& cause) {
  FileIdentity now;
  std::string error;
  if (!ReadFileIdentity(m_db.Path(), now, error)) {
    cause = Format(kFileVanished, m_db.Path().c_str());
    return false;
  }
  if (!now.SameFileAs(m_identity)) {
    cause = kFileReplaced;
    return false;
  }
  return true;
}

CycleOpen CAcquisitionRecorder::OpenForCycle(int acquisitionId) {
  m_failure = RecordFailure();
  if (m_db.OpenExisting() != 1) {
    TakeDbFailure();
    FileIdentity ignored;
    std::string error;
    if (!ReadFileIdentity(m_db.Path(), ignored, error)) {
      m_failure = {SQLITE_NOTFOUND, Format(kFileVanished, m_db.Path().c_str())};
      return CycleOpen::kVanished;
    }
    return CycleOpen::kNotNow;
  }
  // Checked after the open: the handle holds the file that was at the path then, so a
  // file put in its place before the open is seen here.
  std::string cause;
  if (!IsOwnFile(cause)) {
    m_db.Close();
    m_failure = {SQLITE_NOTFOUND, cause};
    FileIdentity ignored;
    std::string error;
    return ReadFileIdentity(m_db.Path(), ignored, error) ? CycleOpen::kReplaced
                                                         : CycleOpen::kVanished;
  }
  const int exists = m_db.RowExists(Format(kAcquisitionExists, acquisitionId));
  if (exists == 1)
    return CycleOpen::kOpen;
  if (exists == 0) {
    m_failure = {SQLITE_NOTFOUND, Format(kAcquisitionGone, acquisitionId)};
    m_db.Close();
    return CycleOpen::kAcquisitionGone;
  }
  TakeDbFailure();
  m_db.Close();
  return CycleOpen::kNotNow;
}

int CAcquisitionRecorder::CountRowsStillStored(int acquisitionId,
                                               const std::vector<StoredRow>& rows) {
  std::vector<QueryCell> cells;
  int count = 0;
  if (rows.empty())
    return 0;
  int64_t oldest = rows.front().rowId;
  for (const StoredRow& row : rows)
    oldest = std::min(oldest, row.rowId);
  if (m_db.OpenExisting() == 1) {
    const int result =
        m_db.GetQueryData(Format(kOwnRows, static_cast<long long>(oldest), acquisitionId), cells);
    m_db.Close();
    if (result < 0)
      return -1;
    std::unordered_map<int64_t, std::string> present;
    for (size_t i = 0; i + 1 < cells.size(); i += 2)
      present.emplace(cells[i].intValue, cells[i + 1].text);
    // A row counts when its id holds this acquisition's data set of that time; another
    // file's rows of the same acquisition id do not.
    for (const StoredRow& row : rows) {
      const auto found = present.find(row.rowId);
      if (found != present.end() && found->second == row.timeText)
        ++count;
    }
    return count;
  }
  return 0;  // no file: nothing of it is stored anywhere that can be found
}

int CAcquisitionRecorder::CountRunsStillStored(int acquisitionId,
                                               const std::vector<StoredRun>& runs) {
  if (runs.empty())
    return 0;
  if (m_db.OpenExisting() != 1)
    return 0;
  int count = 0;
  for (const StoredRun& run : runs) {
    const int found =
        m_db.QueryInteger(Format(kOwnRowsInRange, static_cast<long long>(run.firstRowId),
                                 static_cast<long long>(run.lastRowId), acquisitionId));
    if (found < 0) {
      m_db.Close();
      return -1;
    }
    count += std::min(found, run.count);
  }
  m_db.Close();
  return count;
}

bool CAcquisitionRecorder::RecordConfiguration(const RecordedConfiguration& configuration,
                                               int& acquisitionId) {
  // One transaction: a failure or a kill half-way leaves no acquisition with a partial
  // snapshot, whose data would be matched to the wrong items. IMMEDIATE takes the write
  // lock first, so that the new id is this acquisition's own even beside another writer.
  if (!Exec("BEGIN IMMEDIATE;", false))
    return false;
  bool recorded = false;
  const int highest =
      m_db.QueryInteger(Format(kHighestAcquisitionId, kAcquisitionIdMark, kAcquisitionIdMark));
  const int highestGroup = highest >= 0 ? m_db.QueryInteger(kHighestGroupId) : -1;
  if (highest < 0 || highestGroup < 0) {
    TakeDbFailure();
  } else {
    m_nNextGroupId = highestGroup + 1;
    const std::string insert =
        std::string(
            "INSERT INTO OPCAcq( OPCAcq_Id, OPCAcq_ServerId, OPCAcq_ServerHost, OPCacq_ServerGuid, "
            "OPCAcq_StartDate, OPCAcq_StartTime, OPCAcq_EndDate, OPCAcq_EndTime, "
            "OPCAcq_DataCount)") +
        "VALUES( " + std::to_string(highest + 1) + ", " +
        SqlPrintf("'%q', ", configuration.serverId.c_str()) +
        SqlPrintf("'%q', ", configuration.host.c_str()) +
        SqlPrintf("'%q',", configuration.classIdText.c_str()) +
        "'Undefined', 'Undefined', 'Undefined', 'Undefined', -1)";
    if (Exec(insert, true)) {
      const int id = static_cast<int>(m_db.LastInsertRowId());
      if (!Exec(Format(kSetIdMark, kAcquisitionIdMark, id), false)) {
      } else if (!m_lock.Acquire(m_db.Path(), id)) {
        // Taken before the row is visible: no other program ever sees it unlocked.
        m_failure = {SQLITE_CANTOPEN, Format(kLockFailed, id, m_lock.Cause().c_str())};
      } else {
        recorded = RecordGroups(configuration, id) && Exec("COMMIT;", false);
        if (recorded)
          acquisitionId = id;
        else
          m_lock.Release();
      }
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
    // Above every group id the items ever used: orphan item rows never join a group.
    const std::string insert = Format(
        "INSERT INTO OPCAcqGrp( OPCAcqGrp_Id, OPCAcq_Id, OPCAcqGrp_Name, OPCAcqGrp_UpdateRate) "
        "VALUES( %d, %d, %s, %d)",
        m_nNextGroupId++, acquisitionId, SqlPrintf("'%q'", group.name.c_str()).c_str(),
        group.updateRate);
    // A group left out would shift every later column onto the wrong item names.
    if (!Exec(insert, false))
      return false;
    const int groupRowId = static_cast<int>(m_db.LastInsertRowId());
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
  if (code == SQLITE_BUSY) {
    // Another program kept the lock past the bound (or a signal ended the wait): this
    // data set is missed, the acquisition goes on.
    TakeDbFailure();
    return StoreResult::kLocked;
  }
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
  // Split at the blank, never cut by length: a five-digit year keeps all its digits.
  const size_t blank = lastTimeText.rfind(' ');
  const std::string date =
      blank != std::string::npos ? lastTimeText.substr(0, blank) : lastTimeText.substr(0, 11);
  const std::string time = blank != std::string::npos ? lastTimeText.substr(blank + 1)
                           : lastTimeText.size() >= 12
                               ? lastTimeText.substr(lastTimeText.size() - 12)
                               : lastTimeText;
  const std::string update = Format(
      "UPDATE OPCAcq Set OPCAcq_EndDate = '%s', OPCAcq_EndTime = '%s', OPCAcq_DataCount = %d "
      "WHERE OPCAcq_Id = %d",
      date.c_str(), time.c_str(), storedCount, acquisitionId);
  // The existing file only: the end of an acquisition whose file vanished has nowhere to
  // go, and another file put in its place must not take it.
  bool done = false;
  if (m_db.OpenExisting() != 1) {
    TakeDbFailure();
  } else {
    std::string cause;
    if (!IsOwnFile(cause)) {
      m_failure = {SQLITE_NOTFOUND, cause};
    } else if (m_db.ExecSQL(update, false, false, true, kLogDataAcquisition) != 1) {
      TakeDbFailure();
    } else if (m_db.Changes() != 1) {
      m_failure = {SQLITE_NOTFOUND, Format(kEndNotOneRow, acquisitionId, m_db.Changes())};
    } else {
      done = true;
    }
  }
  m_db.Close();
  m_lock.Release();
  return done;
}
