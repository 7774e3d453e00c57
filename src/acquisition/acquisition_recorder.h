#pragma once
// Records an acquisition in the database: the OPCAcq row with a snapshot of the groups
// and items at Start, the first read's start time, one OPCAcqData row per data set
// (zlib-compressed value text, inserted or updated by time) and the end at Stop.
// Thread rule: acquisition (GUI) thread; uses the connection the caller opened where
// the operation says so.
#include <string>
#include <vector>

#include "acquisition/data_set.h"
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
  kNotStored,
  kStopAcquisition,  // the database is full or read-only
};

class CAcquisitionRecorder {
 public:
  explicit CAcquisitionRecorder(CSQLite& db) : m_db(db) {}

  // At Start: opens the database, inserts the rows (unless acquisitionId is already set,
  // which is a Resume) and closes it. Sets acquisitionId; false when nothing could be
  // recorded.
  bool RecordStart(const RecordedConfiguration& configuration, int& acquisitionId);
  // At the first read after Start or Resume, inside the cycle's open database.
  bool RecordFirstRead(int acquisitionId, int basePeriodMs, const LocalTime& readTime);
  // One data set, inside the cycle's open database.
  StoreResult StoreDataSet(int acquisitionId, bool running, const CompactDataSet& row);
  // At Stop: the last data set's date and time parts and the count. Opens and closes.
  bool RecordEnd(int acquisitionId, const std::string& lastTimeText, int dataSetCount);

 private:
  bool RecordGroups(const RecordedConfiguration& configuration, int acquisitionId);
  bool RecordItems(const RecordedGroup& group, int groupRowId);
  void LogStoreFailure(const std::string& text);

  CSQLite& m_db;
  std::vector<uint8_t> m_compressed;
};
