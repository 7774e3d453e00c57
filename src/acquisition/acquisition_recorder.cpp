#include "acquisition/acquisition_recorder.h"

#include <zlib.h>

#include <algorithm>
#include <unordered_map>

#include "acquisition/value_text.h"
#include "base/log.h"
#include "base/time_text.h"
#include "db/transaction.h"

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
constexpr char kAcquisitionGone[] = "the acquisition %d is no longer in the database";
constexpr char kDataRowGone[] = "the data set row %lld is no longer in the database";
constexpr char kFileReplaced[] = "the database file was replaced during the acquisition";
constexpr char kFileVanished[] = "the database file is no longer at %s";
constexpr char kIdentityUnknown[] = "the database file %s cannot be identified: %s";
constexpr char kEndNotOneRow[] =
    "the end of the acquisition %d changed %d rows of OPCAcq instead of one";
constexpr char kLockFailed[] = "the recording lock of acquisition %d cannot be taken: %s";
}  // namespace

void CAcquisitionRecorder::TakeDbFailure() {
  m_failure.code = m_db.LastResult();
  m_failure.message =
      m_db.LastErrorText().empty() ? CSQLite::ErrorText(m_failure.code) : m_db.LastErrorText();
}

bool CAcquisitionRecorder::Succeeded(DbStatus status) {
  if (status == DbStatus::kOk)
    return true;
  TakeDbFailure();
  return false;
}

bool CAcquisitionRecorder::RecordStart(const RecordedConfiguration& configuration,
                                       int& acquisitionId) {
  m_failure = RecordFailure();
  // Never created here: a database that is not where it was is an error to report.
  if (m_db.OpenExistingFile() != DbStatus::kOk) {
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
  const DbResult<bool> exists = m_store.AcquisitionExists(acquisitionId);
  if (exists && exists.Value())
    return true;
  if (exists)
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
  if (m_db.OpenExistingFile() != DbStatus::kOk) {
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
  const DbResult<bool> exists = m_store.AcquisitionExists(acquisitionId);
  if (exists && exists.Value())
    return CycleOpen::kOpen;
  if (exists) {
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
  int count = 0;
  if (rows.empty())
    return 0;
  int64_t oldest = rows.front().rowId;
  for (const StoredRow& row : rows)
    oldest = std::min(oldest, row.rowId);
  if (m_db.OpenExistingFile() == DbStatus::kOk) {
    const DbResult<std::vector<RecordedRowKey>> stored = m_store.DataRows(acquisitionId, oldest);
    m_db.Close();
    if (!stored)
      return -1;
    std::unordered_map<int64_t, std::string> present;
    for (const RecordedRowKey& key : stored.Value())
      present.emplace(key.rowId, key.timeText);
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
  if (m_db.OpenExistingFile() != DbStatus::kOk)
    return 0;
  int count = 0;
  for (const StoredRun& run : runs) {
    const DbResult<int64_t> found =
        m_store.CountDataRowsInRange(acquisitionId, run.firstRowId, run.lastRowId);
    if (!found) {
      m_db.Close();
      return -1;
    }
    count += static_cast<int>(std::min<int64_t>(found.Value(), run.count));
  }
  m_db.Close();
  return count;
}

bool CAcquisitionRecorder::RecordConfiguration(const RecordedConfiguration& configuration,
                                               int& acquisitionId) {
  // One transaction: a failure or a kill half-way leaves no acquisition with a partial
  // snapshot, whose data would be matched to the wrong items. IMMEDIATE takes the write
  // lock first, so that the new id is this acquisition's own even beside another writer.
  if (!Succeeded(BeginImmediateTransaction(m_db, kLogDataAcquisition)))
    return false;
  bool recorded = false;
  const DbResult<int64_t> firstGroupId = FirstUnusedAcquisitionGroupId(m_db);
  const DbResult<int64_t> id =
      firstGroupId ? m_store.InsertAcquisition(configuration.serverId, configuration.host,
                                               configuration.classIdText)
                   : DbResult<int64_t>(firstGroupId.Status());
  if (!id) {
    TakeDbFailure();
  } else {
    m_nNextGroupId = static_cast<int>(firstGroupId.Value());
    const int newId = static_cast<int>(id.Value());
    if (!m_lock.Acquire(m_db.Path(), newId)) {
      // Taken before the row is visible: no other program ever sees it unlocked.
      m_failure = {SQLITE_CANTOPEN, Format(kLockFailed, newId, m_lock.Cause().c_str())};
    } else {
      recorded = RecordGroups(configuration, newId) &&
                 Succeeded(CommitTransaction(m_db, kLogDataAcquisition));
      if (recorded)
        acquisitionId = newId;
      else
        m_lock.Release();
    }
  }
  // A failed statement has rolled the transaction back already; anything else has not.
  if (!recorded)
    RollbackIfOpen(m_db);
  return recorded;
}

bool CAcquisitionRecorder::RecordGroups(const RecordedConfiguration& configuration,
                                        int acquisitionId) {
  for (const RecordedGroup& group : configuration.groups) {
    // Above every group id the items ever used: orphan item rows never join a group.
    // A group left out would shift every later column onto the wrong item names.
    const DbResult<int64_t> groupRowId =
        m_store.InsertGroup(m_nNextGroupId++, acquisitionId, group.name, group.updateRate);
    if (!groupRowId) {
      TakeDbFailure();
      return false;
    }
    if (!RecordItems(group, static_cast<int>(groupRowId.Value())))
      return false;
  }
  return true;
}

bool CAcquisitionRecorder::RecordItems(const RecordedGroup& group, int groupRowId) {
  for (const RecordedItem& item : group.items) {
    // Item texts are bound: an apostrophe in a description must neither break the
    // recording nor reach the SQL as code.
    if (m_store.InsertItem(groupRowId, item.qualifiedId, item.shortId, item.data, item.dataType,
                           item.itemType) != DbStatus::kOk) {
      TakeDbFailure();
      return false;
    }
  }
  return true;
}

bool CAcquisitionRecorder::RecordFirstRead(int acquisitionId, int basePeriodMs,
                                           const LocalTime& readTime) {
  const std::string date =
      Format("%02d/%s/%d", readTime.day, MonthAbbreviation(readTime.month), readTime.year);
  const std::string time = Format("%02d:%02d:%02d.%03d", readTime.hour, readTime.minute,
                                  readTime.second, readTime.millisecond);
  m_failure = RecordFailure();
  if (m_store.RecordFirstRead(acquisitionId, basePeriodMs, date, time) == DbStatus::kOk)
    return true;
  TakeDbFailure();
  return false;
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
  const int zresult = m_compressor.Compress(valueText, m_compressed);
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
  bool prepared = false;
  const int code =
      m_store.WriteDataSet(acquisitionId, insert ? CRecordingStore::kNewRow : rowId, timeText,
                           m_compressed.data(), m_compressed.size(), &prepared);
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
  // The existing file only: the end of an acquisition whose file vanished has nowhere to
  // go, and another file put in its place must not take it.
  bool done = false;
  if (m_db.OpenExistingFile() != DbStatus::kOk) {
    TakeDbFailure();
  } else {
    std::string cause;
    DbResult<int> changed = DbStatus::kFailed;
    if (!IsOwnFile(cause)) {
      m_failure = {SQLITE_NOTFOUND, cause};
    } else if (!(changed = m_store.RecordEnd(acquisitionId, date, time, storedCount))) {
      TakeDbFailure();
    } else if (changed.Value() != 1) {
      m_failure = {SQLITE_NOTFOUND, Format(kEndNotOneRow, acquisitionId, changed.Value())};
    } else {
      done = true;
    }
  }
  m_db.Close();
  m_lock.Release();
  return done;
}
