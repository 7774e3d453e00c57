#pragma once
// CLocalSpool: the forwarder's side of the local database. The recording is the spool:
// rows are read back from OPCAcqData in row order; the station's identity and the rows
// confirmed by each destination live in two tables of the forwarder's own (created when
// missing; the program's other readers never look at them).
// Thread rule: one thread per object (its own SQLite connection).
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct sqlite3;

inline constexpr char kStationTable[] = "ForwardStation";
inline constexpr char kProgressTable[] = "ForwardProgress";

struct SpoolAcquisition {
  int id = -1;
  std::string serverId, serverHost, startDate, startTime, endDate, endTime;
  int64_t dataCount = -1;
};

struct SpoolItem {
  std::string shortId, qualifiedId, group;
  int dataType = 0;
  bool calculated = false;
};

struct SpoolRow {
  int64_t rowId = 0;
  std::string time;
  bool isBlob = false;
  std::vector<uint8_t> value;
};

class CLocalSpool {
 public:
  CLocalSpool() = default;
  ~CLocalSpool();
  CLocalSpool(const CLocalSpool&) = delete;
  CLocalSpool& operator=(const CLocalSpool&) = delete;

  // Opens the database (which must exist) and makes the forwarder's tables.
  bool Open(const std::string& path, std::string& error);
  void Close();

  // The station's UUID, made on first use and kept.
  bool StationId(std::string& uuid, std::string& error);

  bool Acquisitions(std::vector<int>& ids, std::string& error);
  bool Acquisition(int id, SpoolAcquisition& acquisition, std::string& error);
  // The items in column order.
  bool Items(int acquisitionId, std::vector<SpoolItem>& items, std::string& error);
  // At most limit rows of the acquisition after afterRowId, in row order.
  bool RowsAfter(int acquisitionId, int64_t afterRowId, int limit, std::vector<SpoolRow>& rows,
                 std::string& error);
  // The id of the row holdBack rows before the end of the acquisition (the first row
  // not to send yet); 0 when holdBack is 0 or the acquisition has no more rows.
  bool HeldBackFrom(int acquisitionId, int holdBack, int64_t& rowId, std::string& error);
  // Rows of the acquisition after afterRowId.
  bool CountAfter(int acquisitionId, int64_t afterRowId, int64_t& count, std::string& error);

  // The last row confirmed by a destination (0 when none).
  bool Confirmed(int acquisitionId, const std::string& destination, int64_t& rowId,
                 std::string& error);
  bool SetConfirmed(int acquisitionId, const std::string& destination, int64_t rowId,
                    std::string& error);

 private:
  bool Exec(const char* sql, std::string& error);
  sqlite3* m_pDb = nullptr;
};

// A random (version 4) UUID in its text form.
std::string NewUuid();
