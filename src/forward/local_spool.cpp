#include "forward/local_spool.h"

#include <sqlite3.h>

#include <cstdio>
#include <filesystem>
#include <random>

namespace {

constexpr int kBusyTimeoutMs = 5000;
constexpr char kCreateTables[] =
    "CREATE TABLE IF NOT EXISTS ForwardStation( ForwardStation_Uuid VARCHAR( 36) NOT NULL); "
    "CREATE TABLE IF NOT EXISTS ForwardProgress( OPCAcq_Id INTEGER NOT NULL, "
    "ForwardProgress_Destination VARCHAR( 256) NOT NULL, ForwardProgress_RowId INTEGER NOT NULL, "
    "PRIMARY KEY( OPCAcq_Id, ForwardProgress_Destination));";

std::string Text(sqlite3_stmt* statement, int column) {
  const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
  return text != nullptr ? text : "";
}

// A prepared statement finalised on every way out.
class CStatement {
 public:
  CStatement(sqlite3* db, const char* sql) {
    m_nCode = sqlite3_prepare_v2(db, sql, -1, &m_p, nullptr);
  }
  ~CStatement() { sqlite3_finalize(m_p); }
  CStatement(const CStatement&) = delete;
  CStatement& operator=(const CStatement&) = delete;
  bool Ok() const { return m_nCode == SQLITE_OK; }
  sqlite3_stmt* Get() const { return m_p; }

 private:
  sqlite3_stmt* m_p = nullptr;
  int m_nCode = SQLITE_ERROR;
};

}  // namespace

CLocalSpool::~CLocalSpool() {
  Close();
}

void CLocalSpool::Close() {
  if (m_pDb != nullptr) {
    sqlite3_close(m_pDb);
    m_pDb = nullptr;
  }
}

bool CLocalSpool::Exec(const char* sql, std::string& error) {
  char* message = nullptr;
  if (sqlite3_exec(m_pDb, sql, nullptr, nullptr, &message) == SQLITE_OK)
    return true;
  error = message != nullptr ? message : sqlite3_errmsg(m_pDb);
  sqlite3_free(message);
  return false;
}

bool CLocalSpool::Open(const std::string& path, std::string& error) {
  Close();
  std::error_code ignored;
  if (!std::filesystem::is_regular_file(path, ignored)) {
    error = "no database file at " + path;
    return false;
  }
  if (sqlite3_open_v2(path.c_str(), &m_pDb, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
    error = m_pDb != nullptr ? sqlite3_errmsg(m_pDb) : "out of memory";
    Close();
    return false;
  }
  sqlite3_busy_timeout(m_pDb, kBusyTimeoutMs);
  if (!Exec(kCreateTables, error)) {
    Close();
    return false;
  }
  return true;
}

std::string NewUuid() {
  std::random_device device;
  uint8_t bytes[16];
  for (uint8_t& b : bytes)
    b = static_cast<uint8_t>(device());
  bytes[6] = static_cast<uint8_t>((bytes[6] & 0x0F) | 0x40);  // version 4
  bytes[8] = static_cast<uint8_t>((bytes[8] & 0x3F) | 0x80);  // RFC 4122 variant
  char text[37];
  std::snprintf(text, sizeof text,
                "%02x%02x%02x%02x-%02x%02x-%02x%02x-%02x%02x-%02x%02x%02x%02x%02x%02x", bytes[0],
                bytes[1], bytes[2], bytes[3], bytes[4], bytes[5], bytes[6], bytes[7], bytes[8],
                bytes[9], bytes[10], bytes[11], bytes[12], bytes[13], bytes[14], bytes[15]);
  return text;
}

bool CLocalSpool::StationId(std::string& uuid, std::string& error) {
  // Made and read in one write transaction: two programs starting at once agree.
  if (!Exec("BEGIN IMMEDIATE;", error))
    return false;
  {
    CStatement read(m_pDb, "SELECT ForwardStation_Uuid FROM ForwardStation LIMIT 1");
    if (read.Ok() && sqlite3_step(read.Get()) == SQLITE_ROW)
      uuid = Text(read.Get(), 0);
  }
  if (uuid.empty()) {
    uuid = NewUuid();
    const std::string insert = "INSERT INTO ForwardStation VALUES ('" + uuid + "');";
    if (!Exec(insert.c_str(), error)) {
      std::string ignored;
      Exec("ROLLBACK;", ignored);
      return false;
    }
  }
  return Exec("COMMIT;", error);
}

bool CLocalSpool::Acquisitions(std::vector<int>& ids, std::string& error) {
  ids.clear();
  CStatement query(m_pDb, "SELECT OPCAcq_Id FROM OPCAcq ORDER BY OPCAcq_Id");
  if (!query.Ok()) {
    error = sqlite3_errmsg(m_pDb);
    return false;
  }
  int code;
  while ((code = sqlite3_step(query.Get())) == SQLITE_ROW)
    ids.push_back(sqlite3_column_int(query.Get(), 0));
  if (code != SQLITE_DONE)
    error = sqlite3_errmsg(m_pDb);
  return code == SQLITE_DONE;
}

bool CLocalSpool::Acquisition(int id, SpoolAcquisition& acquisition, std::string& error) {
  CStatement query(
      m_pDb,
      "SELECT OPCAcq_ServerId, OPCAcq_ServerHost, OPCAcq_StartDate, OPCAcq_StartTime, "
      "OPCAcq_EndDate, OPCAcq_EndTime, OPCAcq_DataCount FROM OPCAcq WHERE OPCAcq_Id = ?");
  if (!query.Ok()) {
    error = sqlite3_errmsg(m_pDb);
    return false;
  }
  sqlite3_bind_int(query.Get(), 1, id);
  const int code = sqlite3_step(query.Get());
  if (code != SQLITE_ROW) {
    error = code == SQLITE_DONE ? "no acquisition with id " + std::to_string(id)
                                : std::string(sqlite3_errmsg(m_pDb));
    return false;
  }
  acquisition.id = id;
  acquisition.serverId = Text(query.Get(), 0);
  acquisition.serverHost = Text(query.Get(), 1);
  acquisition.startDate = Text(query.Get(), 2);
  acquisition.startTime = Text(query.Get(), 3);
  acquisition.endDate = Text(query.Get(), 4);
  acquisition.endTime = Text(query.Get(), 5);
  acquisition.dataCount = sqlite3_column_int64(query.Get(), 6);
  return true;
}

bool CLocalSpool::Items(int acquisitionId, std::vector<SpoolItem>& items, std::string& error) {
  items.clear();
  // The recorder inserts the items in column order.
  CStatement query(m_pDb,
                   "SELECT OPCAcqItem_ShortName, OPCAcqItem_QualifiedName, OPCAcqGrp_Name, "
                   "OPCAcqItem_DataType, OPCAcqItem_ItemType FROM OPCAcqItem INNER JOIN OPCAcqGrp "
                   "ON OPCAcqItem.OPCAcqGrp_Id = OPCAcqGrp.OPCAcqGrp_Id WHERE OPCAcqGrp.OPCAcq_Id "
                   "= ? ORDER BY OPCAcqItem.OPCAcqItem_Id");
  if (!query.Ok()) {
    error = sqlite3_errmsg(m_pDb);
    return false;
  }
  sqlite3_bind_int(query.Get(), 1, acquisitionId);
  int code;
  while ((code = sqlite3_step(query.Get())) == SQLITE_ROW) {
    SpoolItem& item = items.emplace_back();
    item.shortId = Text(query.Get(), 0);
    item.qualifiedId = Text(query.Get(), 1);
    item.group = Text(query.Get(), 2);
    item.dataType = sqlite3_column_int(query.Get(), 3);
    item.calculated = sqlite3_column_int(query.Get(), 4) == 1;
  }
  if (code != SQLITE_DONE)
    error = sqlite3_errmsg(m_pDb);
  return code == SQLITE_DONE;
}

bool CLocalSpool::RowsAfter(int acquisitionId, int64_t afterRowId, int limit,
                            std::vector<SpoolRow>& rows, std::string& error) {
  rows.clear();
  CStatement query(m_pDb,
                   "SELECT OPCAcqData_Id, OPCAcqData_Time, OPCAcqData_Value FROM OPCAcqData WHERE "
                   "OPCAcq_Id = ? AND OPCAcqData_Id > ? ORDER BY OPCAcqData_Id LIMIT ?");
  if (!query.Ok()) {
    error = sqlite3_errmsg(m_pDb);
    return false;
  }
  sqlite3_bind_int(query.Get(), 1, acquisitionId);
  sqlite3_bind_int64(query.Get(), 2, afterRowId);
  sqlite3_bind_int(query.Get(), 3, limit);
  int code;
  while ((code = sqlite3_step(query.Get())) == SQLITE_ROW) {
    SpoolRow& row = rows.emplace_back();
    row.rowId = sqlite3_column_int64(query.Get(), 0);
    row.time = Text(query.Get(), 1);
    row.isBlob = sqlite3_column_type(query.Get(), 2) == SQLITE_BLOB;
    if (row.isBlob) {
      const auto* data = static_cast<const uint8_t*>(sqlite3_column_blob(query.Get(), 2));
      row.value.assign(data, data + sqlite3_column_bytes(query.Get(), 2));
    }
  }
  if (code != SQLITE_DONE)
    error = sqlite3_errmsg(m_pDb);
  return code == SQLITE_DONE;
}

bool CLocalSpool::HeldBackFrom(int acquisitionId, int holdBack, int64_t& rowId,
                               std::string& error) {
  rowId = 0;
  if (holdBack <= 0)
    return true;
  CStatement query(m_pDb,
                   "SELECT OPCAcqData_Id FROM OPCAcqData WHERE OPCAcq_Id = ? ORDER BY "
                   "OPCAcqData_Id DESC LIMIT 1 OFFSET ?");
  if (!query.Ok()) {
    error = sqlite3_errmsg(m_pDb);
    return false;
  }
  sqlite3_bind_int(query.Get(), 1, acquisitionId);
  sqlite3_bind_int(query.Get(), 2, holdBack - 1);
  const int code = sqlite3_step(query.Get());
  if (code == SQLITE_ROW)
    rowId = sqlite3_column_int64(query.Get(), 0);
  else if (code != SQLITE_DONE)
    error = sqlite3_errmsg(m_pDb);
  return code == SQLITE_ROW || code == SQLITE_DONE;
}

bool CLocalSpool::CountAfter(int acquisitionId, int64_t afterRowId, int64_t& count,
                             std::string& error) {
  count = 0;
  CStatement query(m_pDb,
                   "SELECT COUNT(*) FROM OPCAcqData WHERE OPCAcq_Id = ? AND OPCAcqData_Id > ?");
  if (!query.Ok()) {
    error = sqlite3_errmsg(m_pDb);
    return false;
  }
  sqlite3_bind_int(query.Get(), 1, acquisitionId);
  sqlite3_bind_int64(query.Get(), 2, afterRowId);
  if (sqlite3_step(query.Get()) != SQLITE_ROW) {
    error = sqlite3_errmsg(m_pDb);
    return false;
  }
  count = sqlite3_column_int64(query.Get(), 0);
  return true;
}

bool CLocalSpool::Confirmed(int acquisitionId, const std::string& destination, int64_t& rowId,
                            std::string& error) {
  rowId = 0;
  CStatement query(m_pDb,
                   "SELECT ForwardProgress_RowId FROM ForwardProgress WHERE OPCAcq_Id = ? AND "
                   "ForwardProgress_Destination = ?");
  if (!query.Ok()) {
    error = sqlite3_errmsg(m_pDb);
    return false;
  }
  sqlite3_bind_int(query.Get(), 1, acquisitionId);
  sqlite3_bind_text(query.Get(), 2, destination.c_str(), -1, SQLITE_TRANSIENT);
  const int code = sqlite3_step(query.Get());
  if (code == SQLITE_ROW)
    rowId = sqlite3_column_int64(query.Get(), 0);
  else if (code != SQLITE_DONE)
    error = sqlite3_errmsg(m_pDb);
  return code == SQLITE_ROW || code == SQLITE_DONE;
}

bool CLocalSpool::SetConfirmed(int acquisitionId, const std::string& destination, int64_t rowId,
                               std::string& error) {
  CStatement write(
      m_pDb,
      "INSERT OR REPLACE INTO ForwardProgress( OPCAcq_Id, ForwardProgress_Destination, "
      "ForwardProgress_RowId) VALUES (?, ?, ?)");
  if (!write.Ok()) {
    error = sqlite3_errmsg(m_pDb);
    return false;
  }
  sqlite3_bind_int(write.Get(), 1, acquisitionId);
  sqlite3_bind_text(write.Get(), 2, destination.c_str(), -1, SQLITE_TRANSIENT);
  sqlite3_bind_int64(write.Get(), 3, rowId);
  if (sqlite3_step(write.Get()) != SQLITE_DONE) {
    error = sqlite3_errmsg(m_pDb);
    return false;
  }
  return true;
}
