// Pushing a recorded acquisition of 100 000 rows x 256 item columns to PostgreSQL, beside
// the floor: the time PostgreSQL's own COPY takes to load the same value rows from a file
// into the same table, on the same server in the same run. Target: push <= 1.5 x floor.
// The server is the benchmark's own (initdb in a temporary folder, a Unix socket).
//
// Usage: forward_bench [ROWS [FOLDER]]   (default 100000 rows in /dev/shm)
#include <sqlite3.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "acquisition/value_text.h"
#include "db/schema.h"
#include "forward/central_store.h"
#include "forward/forward_session.h"
#include "forward/local_instant.h"
#include "forward/pg_connection.h"
#include "test_pg_server.h"

namespace {

constexpr int kColumns = 256;
constexpr double kTarget = 1.5;
using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

std::string TimeText(int second) {
  const int s = 8 * 3600 + second;
  char text[32];
  std::snprintf(text, sizeof text, "%02d/Mar/2026 %02d:%02d:%02d.000", 1 + s / 86400, s / 3600 % 24,
                s / 60 % 60, s % 60);
  return text;
}

std::string Cell(int row, int column) {
  char text[32];
  std::snprintf(text, sizeof text, "%d.%02d", (row * 7 + column * 13) % 10000, column % 100);
  return text;
}

// The recording as the recorder leaves it: one acquisition, 16 groups of 16 items.
bool Record(const std::string& path, int rows) {
  sqlite3* db = nullptr;
  if (sqlite3_open(path.c_str(), &db) != SQLITE_OK)
    return false;
  sqlite3_exec(db, "PRAGMA synchronous = OFF", nullptr, nullptr, nullptr);
  std::string script = CreateSchemaScript();
  script +=
      "BEGIN; INSERT INTO OPCAcq VALUES (1, 'Velmora.SimServer.1', 'Local Host', '', 1000, "
      "'01/Mar/2026', '08:00:00.000', 'Undefined', 'Undefined', -1);";
  for (int g = 0; g < 16; ++g) {
    script += "INSERT INTO OPCAcqGrp VALUES (" + std::to_string(g + 1) + ", 1, 'Group " +
              std::to_string(g + 1) + "', 1000);";
    for (int i = 0; i < 16; ++i)
      script +=
          "INSERT INTO OPCAcqItem (OPCAcqGrp_Id, OPCAcqItem_QualifiedName, "
          "OPCAcqItem_ShortName, OPCAcqItem_Data, OPCAcqItem_DataType, OPCAcqItem_ItemType) "
          "VALUES (" +
          std::to_string(g + 1) + ", 'Plant.Unit" + std::to_string(g + 1) + ".Signal" +
          std::to_string(i) + "', 'G" + std::to_string(g + 1) + "_" + std::to_string(i) +
          "', '', 5, " + (i < 8 ? "0" : "1") + ");";
  }
  if (sqlite3_exec(db, script.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK)
    return false;
  sqlite3_stmt* insert = nullptr;
  sqlite3_prepare_v2(db,
                     "INSERT INTO OPCAcqData (OPCAcq_Id, OPCAcqData_Time, OPCAcqData_Value) "
                     "VALUES (1, ?, ?)",
                     -1, &insert, nullptr);
  std::vector<uint8_t> compressed;
  for (int r = 0; r < rows; ++r) {
    std::string text;
    for (int c = 0; c < kColumns; ++c)
      text += Cell(r, c) + ";;";
    CompressValueText(text, compressed);
    const std::string time = TimeText(r);
    sqlite3_bind_text(insert, 1, time.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_blob(insert, 2, compressed.data(), static_cast<int>(compressed.size()),
                      SQLITE_TRANSIENT);
    sqlite3_step(insert);
    sqlite3_reset(insert);
  }
  sqlite3_finalize(insert);
  const bool ok = sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK;
  sqlite3_close(db);
  return ok;
}

// The same value rows as COPY's text file, for the server to read itself.
bool WriteCopyFile(const std::string& path, const std::string& station, int rows) {
  std::ofstream out(path, std::ios::binary);
  CLocalInstants instants;
  std::string line;
  for (int r = 0; r < rows; ++r) {
    const std::string head = station + "\t1\t" + std::to_string(r + 1) + "\t" +
                             UtcTimestampText(*instants.Next(TimeText(r))) + "\t";
    for (int c = 0; c < kColumns; ++c) {
      line = head + "G" + std::to_string(c / 16 + 1) + "_" + std::to_string(c % 16) + "\t" +
             Cell(r, c) + "\t\\N\tgood\tf\n";
      out << line;
    }
  }
  return static_cast<bool>(out);
}

bool Exec(CTestPgServer& server, const std::string& database, const std::string& sql) {
  CPgConnection connection;
  std::string error;
  if (!connection.Connect(server.Url(database), error) || !connection.Exec(sql, error)) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  // Each figure as it comes: a full run takes a while.
  std::setvbuf(stdout, nullptr, _IOLBF, 0);
  const int rows = argc > 1 ? std::atoi(argv[1]) : 100000;
  const std::string folderRoot = argc > 2 ? argv[2] : "/dev/shm";
  // The server's cluster beside the recording (a memory file system by default), so the
  // disk of a busy machine does not decide the figures.
  setenv("TMPDIR", folderRoot.c_str(), 1);
  CTestPgServer* server = CTestPgServer::Shared();
  if (server == nullptr) {
    std::fprintf(stderr, "forward_bench: %s\n", CTestPgServer::Why().c_str());
    return 1;
  }
  const std::string folder = folderRoot + "/velmora-forward-bench-" + std::to_string(getpid());
  std::filesystem::create_directories(folder);
  std::filesystem::permissions(folder, std::filesystem::perms(0755));
  const std::string database = folder + "/Velmora.sq3";
  const std::string copyFile = folder + "/values.copy";
  std::printf("forward_bench: %d rows x %d columns (%lld values)\n", rows, kColumns,
              static_cast<long long>(rows) * kColumns);
  auto start = Clock::now();
  if (!Record(database, rows)) {
    std::fprintf(stderr, "forward_bench: the recording could not be written\n");
    return 1;
  }
  std::printf("  recording written in %.1f s\n", SecondsSince(start));

  // The station id the push will use, so the file holds the very same rows.
  CForwardSession session;
  std::string error;
  if (!session.OpenLocal(database, error)) {
    std::fprintf(stderr, "forward_bench: %s\n", error.c_str());
    return 1;
  }
  if (!WriteCopyFile(copyFile, session.Station(), rows))
    return 1;
  std::filesystem::permissions(copyFile, std::filesystem::perms(0644));

  // Floor: the server's own COPY from the file into the schema's table.
  server->NewDatabase("floor");
  if (!Exec(*server, "floor", CentralSchemaScript()))
    return 1;
  start = Clock::now();
  if (!Exec(*server, "floor",
            "COPY velmora_values (station, acquisition, row_id, time, item, "
            "value, text_value, quality, interpolated) FROM '" +
                copyFile + "'"))
    return 1;
  const double floorSeconds = SecondsSince(start);
  std::printf("  COPY from a file (floor): %.2f s\n", floorSeconds);
  std::filesystem::remove(copyFile);

  // The push: read back from the recording, inflated, converted, sent in batches.
  const std::string url = server->NewDatabase("pushed");
  start = Clock::now();
  int64_t total = 0;
  bool done = false;
  bool ok = session.Connect(url, error) && session.SendAcquisition(1, error);
  while (ok && !done) {
    int64_t sent = 0;
    ok = session.SendBatch(1, sent, done, error);
    total += sent;
  }
  session.FlushConfirmed();
  const double pushSeconds = SecondsSince(start);
  if (!ok) {
    std::fprintf(stderr, "forward_bench: push failed: %s\n", error.c_str());
    return 1;
  }
  const std::string stored = server->Scalar("pushed", "SELECT count(*) FROM velmora_values");
  const double ratio = pushSeconds / floorSeconds;
  std::printf("  push of the recording:    %.2f s (%lld rows, %s values stored)\n", pushSeconds,
              static_cast<long long>(total), stored.c_str());
  std::printf("  ratio %.2f (target <= %.1f): %s\n", ratio, kTarget,
              ratio <= kTarget ? "met" : "NOT met");
  std::filesystem::remove_all(folder);
  return ratio <= kTarget && std::to_string(static_cast<long long>(rows) * kColumns) == stored ? 0
                                                                                               : 1;
}
