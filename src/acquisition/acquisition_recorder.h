#pragma once
// Records an acquisition in the database: the OPCAcq row with a snapshot of the groups
// and items at Start (one transaction: all of it or nothing), the first read's start
// time, one OPCAcqData row per data set (zlib-compressed value text; a rewritten data set
// updates its own row, known by id) and the end at Stop. Every failure keeps SQLite's
// code and message for the report that stops or refuses the acquisition.
// The recorder proves where it writes: the file opened at Start is known by its identity,
// and every later open checks that the file at the path is still that one and that it
// still holds the acquisition. While an acquisition is recorded its recording lock is
// held, so other programs see it and leave it alone. A new acquisition's id is above
// every id the file ever used (a high-water mark kept in Config), so rows left behind by
// a deleted acquisition never join a new one.
// Thread rule: acquisition (GUI) thread; uses the connection the caller opened where
// the operation says so.
#include <string>
#include <vector>

#include "acquisition/data_set.h"
#include "acquisition/historical_data_list.h"
#include "acquisition/value_compressor.h"
#include "db/file_identity.h"
#include "db/recording_lock.h"
#include "db/recording_store.h"
#include "db/sqlite_db.h"

// What is recorded of the configuration at Start.
struct RecordedItem {
  std::string qualifiedId;
  std::string shortId;
  std::string data;  // description, or the expression of a calculated item
  int dataType = 0;
  int itemType = 0;  // 0 acquired, 1 calculated
};
struct RecordedGroup {
  std::string name;
  int updateRate = 0;
  std::vector<RecordedItem> items;  // acquired items, then calculated items
};
struct RecordedConfiguration {
  std::string serverId;
  std::string host;
  std::string classIdText;  // lower-case 8-4-4-4-12, or empty
  std::vector<RecordedGroup> groups;
};

enum class StoreResult {
  kStored,
  kNotStored,  // nothing to store: no acquisition running, or no time text
  kFailed,     // the data set could not be written: the acquisition must stop
  kLocked,     // another program held the database past the bound: not stored in time
};

// What the open of a cycle found.
enum class CycleOpen {
  kOpen,             // the acquisition's own file, holding its row: the cycle may store
  kNotNow,           // not openable or locked for now: tried again at the next cycle
  kVanished,         // no file at the path any more
  kReplaced,         // another file is at the path
  kAcquisitionGone,  // the file no longer holds the acquisition
};

// Why the last operation failed: SQLite's result code (0 when the failure is not
// SQLite's, such as a compression error) and the message.
struct RecordFailure {
  int code = 0;
  std::string message;
};

class CAcquisitionRecorder {
 public:
  explicit CAcquisitionRecorder(CSQLite& db) : m_db(db), m_store(db, kLogDataAcquisition) {}

  // At Start (acquisitionId -1): opens the existing database, writes the OPCAcq row and
  // the snapshot in one transaction and closes it; sets acquisitionId. At Resume (an id
  // set): checks that the acquisition's row is still there. False, with LastFailure,
  // when the acquisition must not run: nothing of it is left in the database then.
  bool RecordStart(const RecordedConfiguration& configuration, int& acquisitionId);
  // At the first read after Start or Resume, inside the cycle's open database.
  bool RecordFirstRead(int acquisitionId, int basePeriodMs, const LocalTime& readTime);
  // One data set, inside the cycle's open database. rowId: kNoDataRowId inserts a new
  // row and sets it to the row's id; any other id updates that row.
  StoreResult StoreDataSet(int acquisitionId, bool running, const CompactDataSet& row,
                           int64_t& rowId);
  // At Stop: the last data set's date and time parts and the stored row count. Opens the
  // existing file and closes it; writes only into the acquisition's own file, and only
  // when exactly its row changes. Releases the recording lock.
  bool RecordEnd(int acquisitionId, const std::string& lastTimeText, int storedCount);
  // The cycle's open: the existing file, checked to be the one of the Start and to hold
  // the acquisition. On kOpen the database stays open; otherwise it is closed and
  // LastFailure says what happened.
  CycleOpen OpenForCycle(int acquisitionId);
  // How many of the rows this acquisition inserted are in the file now at the path (the
  // one counted in a summary after a replacement). -1 when it cannot be read. Opens and
  // closes the database.
  int CountRowsStillStored(int acquisitionId, const std::vector<StoredRow>& rows);
  // The same for rows no longer in memory, known by their id ranges only (their time texts
  // are not kept): the rows of the acquisition in each range, at most the run's count.
  int CountRunsStillStored(int acquisitionId, const std::vector<StoredRun>& runs);
  // The recording lock is dropped (the acquisition is over without its end record).
  void ReleaseLock() { m_lock.Release(); }
  bool HoldsLock() const { return m_lock.Held(); }

  const RecordFailure& LastFailure() const { return m_failure; }

 private:
  bool RecordConfiguration(const RecordedConfiguration& configuration, int& acquisitionId);
  bool RecordGroups(const RecordedConfiguration& configuration, int acquisitionId);
  // After the open: the file at the path is the one identified at Start.
  bool IsOwnFile(std::string& cause);
  // Resume: the Start's file, the lock again, and the row still there.
  bool CheckResume(int acquisitionId);
  bool RecordItems(const RecordedGroup& group, int groupRowId);
  // True for kOk; otherwise keeps the failure.
  bool Succeeded(DbStatus status);
  // Keeps SQLite's answer to the last failed call as the failure.
  void TakeDbFailure();
  void LogStoreFailure(const std::string& text);

  CSQLite& m_db;
  CRecordingStore m_store;
  CValueCompressor m_compressor;  // kept: a data set every second needs no new state
  std::vector<uint8_t> m_compressed;
  RecordFailure m_failure;
  FileIdentity m_identity;  // of the file the acquisition was started in
  CRecordingLock m_lock;
  int m_nNextGroupId = 0;
};
