// The project explorer on a recorded acquisition of 100 000 rows x 256 item columns,
// written by the recorder itself on a simulated clock. Prints, each beside its floor or
// target:
//   P3  loading with the worker into the compact table, against stepping the same SELECT
//       with sqlite3_column_blob and inflating every row into a reused buffer (<= 1.5);
//   the loaded table's heap bytes against the inflated text bytes (<= 1.3);
//   the longest gap between ticks of a 10 ms timer on the GUI thread while the load runs
//       (the recording read in pages and walked) with the table model attached to a shown
//       table view (<= 100 ms), and beside it the first painting of the reset table;
//   P4  exporting to CSV against one write() of a prepared buffer of the same bytes (<= 2).
//
// Usage: explorer_bench [ROWS [FOLDER]]   (default 100000 rows in /dev/shm)
#include <fcntl.h>
#include <sqlite3.h>
#include <unistd.h>
#include <zlib.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QTableView>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "acquisition/acquisition_recorder.h"
#include "acquisition/value_inflater.h"
#include "base/console_prompt.h"
#include "base/log.h"
#include "base/number_text.h"
#include "base/time_text.h"
#include "db/database_check.h"
#include "db/transaction.h"
#include "explorer/acquisition_loader.h"
#include "explorer/export_file.h"
#include "explorer/gui/loaded_table_model.h"
#include "explorer/project_data.h"
#include "explorer/table_text.h"
#include "wide_configuration.h"

namespace {

constexpr int kColumns = 256;

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// Records the rows through the recorder, one data set per simulated second.
bool Record(CSQLite& db, FakeClock& clock, int rows, int& acquisitionId) {
  CAcquisitionRecorder recorder(db);
  if (!recorder.RecordStart(WideRecordedConfiguration(), acquisitionId) ||
      db.OpenExistingFile() != DbStatus::kOk)
    return false;
  recorder.RecordFirstRead(acquisitionId, 1000, clock.LocalNow());
  BeginTransaction(db);
  std::string lastTime;
  for (int row = 0; row < rows; ++row) {
    lastTime = FormatTimeStampMs(clock.LocalNow());
    DataSet set(lastTime, kColumns);
    for (int column = 1; column <= kColumns; ++column) {
      set.SetCell(column, FormatFixed(100.0 * std::sin(row * 0.01 + column) + column, 2));
      if ((row + column) % 97 == 0)
        set.OrStatus(column, kStatusInterpolated);
    }
    int64_t rowId = kNoDataRowId;
    if (recorder.StoreDataSet(acquisitionId, true, CompactDataSet(set), rowId) !=
        StoreResult::kStored)
      return false;
    clock.AdvanceMs(1000);
  }
  CommitTransaction(db);
  db.Close();
  return recorder.RecordEnd(acquisitionId, lastTime, rows);
}

// The floor of P3: the same SELECT, every blob inflated into one reused buffer, by zlib as
// when the target was set, or by the program's own inflater.
double FloorLoad(const std::string& path, int acquisitionId, size_t& inflatedBytes,
                 bool withZlib = true) {
  const auto start = Clock::now();
  sqlite3* db = nullptr;
  sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
  sqlite3_stmt* query = nullptr;
  const std::string statement = Format(
      "SELECT OPCAcqData_Time, OPCAcqData_Value FROM OPCAcqData WHERE OPCAcq_Id = %d ORDER BY "
      "OPCAcqData_Id",
      acquisitionId);
  sqlite3_prepare_v2(db, statement.c_str(), -1, &query, nullptr);
  std::vector<unsigned char> buffer(1 << 16);
  CValueInflater inflater;
  inflatedBytes = 0;
  while (sqlite3_step(query) == SQLITE_ROW) {
    const void* blob = sqlite3_column_blob(query, 1);
    const int size = sqlite3_column_bytes(query, 1);
    if (withZlib) {
      uLongf length = static_cast<uLongf>(buffer.size());
      if (uncompress(buffer.data(), &length, static_cast<const Bytef*>(blob),
                     static_cast<uLong>(size)) == Z_OK)
        inflatedBytes += length;
    } else {
      std::string_view text;
      if (inflater.Inflate(blob, static_cast<size_t>(size), buffer.size(), text))
        inflatedBytes += text.size();
    }
  }
  sqlite3_finalize(query);
  sqlite3_close(db);
  return SecondsSince(start);
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  const int rows = argc > 1 ? std::max(1000, std::atoi(argv[1])) : 100000;
  const std::filesystem::path base = argc > 2 ? std::filesystem::path(argv[2])
                                     : std::filesystem::is_directory("/dev/shm")
                                         ? std::filesystem::path("/dev/shm")
                                         : std::filesystem::temp_directory_path();
  const std::filesystem::path folder = base / "velmora-explorer-bench";
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  const std::string path = (folder / "Velmora.sq3").string();

  FakeClock clock;
  CLog log(clock);
  CConsolePrompt prompt(std::cerr);
  InMemorySettingsStore settings;
  AppContext context{clock, log, prompt, settings};
  CSQLite db(context);
  int acquisitionId = -1;
  const auto recordStart = Clock::now();
  if (!CheckVelmoraDatabase(db, path) || !Record(db, clock, rows, acquisitionId)) {
    std::fprintf(stderr, "set-up failed\n");
    return 1;
  }
  std::printf("recorded %d rows x %d columns in %.1f s (%s, %.0f MB)\n", rows, kColumns,
              SecondsSince(recordStart), path.c_str(),
              static_cast<double>(std::filesystem::file_size(path)) / 1e6);

  // P3 and memory: the floor first (it also warms the file cache for both).
  size_t inflatedBytes = 0;
  FloorLoad(path, acquisitionId, inflatedBytes);
  const double floorSeconds = FloorLoad(path, acquisitionId, inflatedBytes);
  CProjectData data(db, context);
  data.Prepare(acquisitionId);
  CLoadedTable table;
  table.Reset(data.Recording().Titles());
  CAcquisitionLoader loader;
  const auto loadStart = Clock::now();
  loader.Start(path, acquisitionId, rows, table);
  loader.Wait();
  const double loadSeconds = SecondsSince(loadStart);
  if (loader.Job().State() != kJobFinished || table.RowCount() != rows) {
    std::fprintf(stderr, "the load failed\n");
    return 1;
  }
  std::printf("P3 load:    %.3f s beside floor %.3f s: ratio %.2f (target <= 1.5)\n", loadSeconds,
              floorSeconds, loadSeconds / floorSeconds);
  size_t ownBytes = 0;
  const double ownFloorSeconds = FloorLoad(path, acquisitionId, ownBytes, false);
  std::printf(
      "            beside the same read inflated by the program's inflater %.3f s: ratio %.2f\n",
      ownFloorSeconds, loadSeconds / ownFloorSeconds);
  std::printf("memory:     %.1f MB beside %.1f MB of inflated text: ratio %.2f (target <= 1.3)\n",
              static_cast<double>(table.HeapBytes()) / 1e6,
              static_cast<double>(inflatedBytes) / 1e6,
              static_cast<double>(table.HeapBytes()) / static_cast<double>(inflatedBytes));

  // Responsiveness: the load on the worker, the model attached and the view shown.
  {
    CRecordingPages shown;
    CWorkerJob job;
    CLoadedTableModel model(shown);
    QTableView view;
    view.resize(1200, 800);
    // As the data view sets its table: fixed row heights, so rows cost nothing to place.
    view.verticalHeader()->setDefaultSectionSize(view.fontMetrics().height() + 4);
    view.verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view.setModel(&model);
    view.show();
    model.BeginReset();
    shown.Reset(path, acquisitionId, data.Recording().Titles(), rows);
    model.EndReset();
    // The first painting of the reset table (its row count is known before the load
    // starts) is part of opening it: timed on its own, before the ticks.
    QElapsedTimer firstPaint;
    firstPaint.start();
    application.processEvents();
    view.viewport()->repaint();
    const qint64 firstPaintMs = firstPaint.elapsed();
    QElapsedTimer sinceTick;
    qint64 longestGap = 0;
    QTimer ticker;
    ticker.setInterval(10);
    QObject::connect(&ticker, &QTimer::timeout,
                     [&] { longestGap = std::max(longestGap, sinceTick.restart()); });
    QTimer batches;
    batches.setInterval(100);
    QObject::connect(&batches, &QTimer::timeout, [&] {
      model.SyncRows();
      view.scrollToBottom();
      if (job.IsFinal())
        application.quit();
    });
    shown.Start(job);
    sinceTick.start();
    ticker.start();
    batches.start();
    application.exec();
    shown.Stop();
    std::printf(
        "stall:      longest gap between 10 ms ticks %lld ms while loading %d rows "
        "(target <= 100 ms); the first painting before it %lld ms\n",
        static_cast<long long>(longestGap), model.rowCount(), static_cast<long long>(firstPaintMs));
  }

  // P4: the export file against one write of the same bytes.
  const std::string exportPath = (folder / "VelmoraExport.csv").string();
  const auto exportStart = Clock::now();
  std::string cause;
  if (!WriteExportFile(exportPath, table, ';', cause)) {
    std::fprintf(stderr, "the export failed: %s\n", cause.c_str());
    return 1;
  }
  const double exportSeconds = SecondsSince(exportStart);
  const std::string prepared = ExportText(table, ';');
  const std::string floorPath = (folder / "floor.csv").string();
  const auto writeStart = Clock::now();
  const int file = ::open(floorPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
  const ssize_t written = ::write(file, prepared.data(), prepared.size());
  ::close(file);
  const double writeSeconds = SecondsSince(writeStart);
  if (written != static_cast<ssize_t>(prepared.size()))
    return 1;
  std::printf("P4 export:  %.3f s beside one write %.3f s (%.0f MB): ratio %.2f (target <= 2)\n",
              exportSeconds, writeSeconds, static_cast<double>(prepared.size()) / 1e6,
              exportSeconds / writeSeconds);
  std::filesystem::remove_all(folder);
  return 0;
}
