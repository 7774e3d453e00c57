// Backups of a long acquisition: a day at one data set per second with the largest
// configuration (256 item columns). Prints what the acquisition thread pays to hand the
// rows to a worker (the snapshot, at most 50 ms), and the worker's time to build and write
// the file and to build the clipboard text.
//
// Usage: backup_bench [ROWS [FOLDER]]   (default 86400 rows in /dev/shm)
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "acquisition/acquired_rows.h"
#include "acquisition/backup_save.h"
#include "acquisition/clipboard_copy.h"
#include "acquisition/historical_data_list.h"
#include "acquisition/opc_data_job.h"
#include "base/log.h"

namespace {

constexpr int kColumns = 256;

double MsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
      .count();
}

}  // namespace

int main(int argc, char** argv) {
  const int rows = argc > 1 ? std::atoi(argv[1]) : 86400;
  const std::filesystem::path folder = argc > 2 ? argv[2] : "/dev/shm";
  HistoricalDataList history;
  history.Reset(kColumns);
  std::vector<std::string> headings;
  for (int c = 1; c <= kColumns; ++c)
    headings.push_back(Format("Plant.Line%d.Signal%03d", c % 4, c));
  for (int r = 0; r < rows; ++r) {
    DataSet row(Format("07/Dec/2026 %02d:%02d:%02d.250", r / 3600 % 24, r / 60 % 60, r % 60),
                kColumns);
    for (int c = 1; c <= kColumns; ++c)
      row.SetCell(c, Format("%d.%02d", (r * 7 + c) % 1000, c % 100));
    history.Append(row);
  }

  auto start = std::chrono::steady_clock::now();
  COPCDataJob save(kJobKindSave);
  save.m_pRows = TakeAcquiredRows(history, headings, 0, history.Count());
  const double snapshotMs = MsSince(start);
  save.m_cSeparator = ';';
  save.m_sFullPath = (folder / "velmora_backup_bench.csv").string();
  CWorker worker;
  start = std::chrono::steady_clock::now();
  worker.Start(save, [&save](CWorkerJob&) { RunBackupSave(save); });
  worker.Join();
  const double saveMs = MsSince(start);
  const auto bytes = std::filesystem::file_size(save.m_sFullPath);
  std::filesystem::remove(save.m_sFullPath);

  COPCDataJob copy(kJobKindClipboard);
  copy.m_pRows = save.m_pRows;
  start = std::chrono::steady_clock::now();
  worker.Start(copy, [&copy](CWorkerJob&) { RunClipboardCopy(copy); });
  worker.Join();
  const double copyMs = MsSince(start);

  std::printf(
      "%d rows x %d columns: snapshot %.1f ms (target <= 50), save %.0f ms (%.1f MB, %s),"
      " clipboard text %.0f ms (%s)\n",
      rows, kColumns, snapshotMs, saveMs, bytes / 1e6,
      save.State() == kJobFinished ? "done" : "FAILED", copyMs,
      copy.State() == kJobFinished ? "done" : "FAILED");
  return snapshotMs <= 50.0 && save.State() == kJobFinished && copy.State() == kJobFinished ? 0 : 1;
}
