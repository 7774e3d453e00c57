#pragma once
// The central schema in PostgreSQL and the statements that fill it. Tables are made when
// missing; every value row is keyed by (station, acquisition, row_id, item) so a row sent
// twice is stored once.
// Thread rule: the caller's connection, on the caller's thread.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "forward/local_spool.h"
#include "forward/pg_connection.h"

// The schema script (also shown in the documentation).
const char* CentralSchemaScript();

// Numeric OLE variant types: their values go to the value column.
bool IsNumericDataType(int dataType);

// One row ready to send: its id, its instant (nothing when the time text is not one) and
// its cells (text, status bits) in column order.
struct CentralRow {
  int64_t rowId = 0;
  std::optional<int64_t> unixMs;
  std::vector<std::pair<std::string, uint8_t>> cells;
};

class CCentralStore {
 public:
  explicit CCentralStore(CPgConnection& connection) : m_connection(connection) {}

  bool EnsureSchema(std::string& error);
  bool PutStation(const std::string& station, const std::string& hostName, std::string& error);
  // The acquisition's row (updated: its end and count change while it records) and items.
  // lastRowUnixMs: the instant of the last row sent, which places an end text of the
  // autumn's repeated hour.
  bool PutAcquisition(const std::string& station, const SpoolAcquisition& acquisition,
                      const std::string& project, const std::vector<SpoolItem>& items,
                      std::optional<int64_t> lastRowUnixMs, std::string& error);
  // The last row the server holds for the acquisition (0 when none) and its instant.
  bool LastRow(const std::string& station, int acquisition, int64_t& rowId,
               std::optional<int64_t>& unixMs, std::string& error);
  // Sends the rows in one transaction; rows the server already holds are skipped. True:
  // the server holds every row of the batch.
  bool SendRows(const std::string& station, int acquisition, const std::vector<SpoolItem>& items,
                const std::vector<CentralRow>& rows, std::string& error);

 private:
  bool CopyRows(const std::string& table, const std::string& station, int acquisition,
                const std::vector<SpoolItem>& items, const std::vector<CentralRow>& rows,
                int64_t afterRowId, std::string& error);
  void Rollback();

  CPgConnection& m_connection;
};

// "YYYY-MM-DD HH:MM:SS.mmm+00" of an instant.
std::string UtcTimestampText(int64_t unixMs);
