#pragma once
// CForwardSession: sends one station's recorded acquisitions to one PostgreSQL, batch by
// batch, from where the server stands. Used by the forwarder thread and by the push.
// Thread rule: one thread per object.
#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "forward/central_store.h"
#include "forward/local_instant.h"
#include "forward/local_spool.h"
#include "forward/pg_connection.h"

inline constexpr int kDefaultForwardBatchRows = 2000;

class CForwardSession {
 public:
  // Opens the local database (the spool); false with the cause when it cannot be used.
  bool OpenLocal(const std::string& databasePath, std::string& error);
  // Connects and makes the schema and the station's row.
  bool Connect(const std::string& url, std::string& error);
  void Disconnect() { m_connection.Close(); }
  bool IsConnected() const { return m_connection.IsConnected(); }
  bool LastFailureWasAuthentication() const { return m_connection.LastFailureWasAuthentication(); }

  void SetBatchRows(int rows) { m_nBatchRows = rows > 0 ? rows : kDefaultForwardBatchRows; }
  void SetProject(const std::string& project) { m_sProject = project; }

  // Sends the acquisition's row and items (again: its end and count change).
  bool SendAcquisition(int acquisitionId, std::string& error);
  // Sends the next batch of rows; sent: rows now confirmed by the server; done: no row
  // was left to send when it looked.
  // holdBack: the last rows of a running acquisition that interpolation may still rewrite
  // are left for later.
  bool SendBatch(int acquisitionId, int64_t& sent, bool& done, std::string& error,
                 int holdBack = 0);
  // Rows of the acquisition the destination has not confirmed (from the local record of
  // what it confirmed: usable while the server is away).
  bool Waiting(int acquisitionId, int64_t& waiting, std::string& error);
  // Notes the rows confirmed since the last note in the local database.
  void FlushConfirmed();
  CLocalSpool& Spool() { return m_spool; }
  const std::string& Station() const { return m_sStation; }
  const std::string& Destination() const { return m_sDestination; }
  // Which server and database a URL names, for the local notes (set before connecting,
  // so rows waiting for a server never reached are counted against it).
  void SetDestination(const std::string& url) { m_sDestination = PgDestination(url); }

 private:
  struct AcquisitionState {
    bool known = false;  // items read and the server's last row asked
    std::vector<SpoolItem> items;
    int64_t lastRow = 0;
    CLocalInstants instants;
    int64_t notedRow = 0;  // the last row noted in the local database
    int batchesUnnoted = 0;
  };
  bool Prepare(int acquisitionId, AcquisitionState& state, std::string& error);
  void Note(int acquisitionId, AcquisitionState& state);

  CLocalSpool m_spool;
  CPgConnection m_connection;
  std::string m_sDatabasePath;
  std::string m_sStation;
  std::string m_sDestination;
  std::string m_sProject;
  int m_nBatchRows = kDefaultForwardBatchRows;
  std::map<int, AcquisitionState> m_states;
};

// The host name of this station.
std::string StationHostName();
