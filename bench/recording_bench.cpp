// A recorded acquisition of a month: 2 600 000 rows x 256 item columns (a smaller count by
// the first argument for quick runs), written fast with direct SQLite inserts in the
// stored format (the configuration by the recorder, then the value rows cycled from 61
// compressed texts). Prints, each beside its floor measured in the same run:
//   first rows on screen after a load starts (target <= 1 s), beside a bare SELECT of
//       the first page;
//   a jump to the last row (target <= 200 ms), beside a bare SELECT of the same rows;
//   resident memory with the recording open and walked (target <= 1 GB), beside the
//       process before it;
//   the CSV export streamed from the database (target <= 1.5 x one sequential read and
//       write of the same bytes, flushed to the disk as the export is, and at most 256 MB
//       more resident memory);
//   the project chart of the whole recording, drawn from the block extremes (target
//       <= 200 ms), beside the chart of one page of 1600 rows drawn from the rows.
// The walk that builds the extremes (once per opening) is printed too.
//
// Usage: recording_bench [ROWS [FOLDER]]   (default 2600000 rows in /tmp)
#include <fcntl.h>
#include <sqlite3.h>
#include <sys/resource.h>
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QTableView>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <thread>
#include <vector>

#include "acquisition/acquisition_recorder.h"
#include "acquisition/value_inflater.h"
#include "acquisition/value_text.h"
#include "base/console_prompt.h"
#include "base/log.h"
#include "base/number_text.h"
#include "base/settings.h"
#include "base/time_text.h"
#include "chart/chart_loaded_rows.h"
#include "chart/chart_model.h"
#include "chart/chart_view_model.h"
#include "db/database_check.h"
#include "explorer/export_file.h"
#include "explorer/gui/loaded_table_model.h"
#include "explorer/project_data.h"
#include "wide_configuration.h"

namespace {

constexpr int kColumns = 256;
constexpr int kTemplates = 61;

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

double ResidentMb() {
  std::ifstream statm("/proc/self/statm");
  long pages = 0, resident = 0;
  statm >> pages >> resident;
  return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / 1e6;
}

// The configuration through the recorder, then the rows by direct inserts.
bool Generate(CSQLite& db, FakeClock& clock, int rows, int& acquisitionId) {
  CAcquisitionRecorder recorder(db);
  if (!recorder.RecordStart(WideRecordedConfiguration(), acquisitionId) ||
      db.OpenExistingFile() != DbStatus::kOk)
    return false;
  recorder.RecordFirstRead(acquisitionId, 1000, clock.LocalNow());
  db.Close();
  std::vector<std::vector<uint8_t>> blobs(kTemplates);
  for (int t = 0; t < kTemplates; ++t) {
    std::string text;
    for (int column = 1; column <= kColumns; ++column) {
      text += FormatFixed(100.0 * std::sin(t * 0.1 + column) + column, 2);
      text += (t + column) % 97 == 0 ? ";4;" : ";;";
    }
    if (CompressValueText(text, blobs[static_cast<size_t>(t)]) != 0)
      return false;
  }
  sqlite3* raw = nullptr;
  if (sqlite3_open(db.Path().c_str(), &raw) != SQLITE_OK)
    return false;
  sqlite3_exec(raw, "PRAGMA synchronous = OFF; PRAGMA journal_mode = OFF; BEGIN;", nullptr, nullptr,
               nullptr);
  sqlite3_stmt* insert = nullptr;
  sqlite3_prepare_v2(raw,
                     "INSERT INTO OPCAcqData (OPCAcq_Id, OPCAcqData_Time, OPCAcqData_Value) "
                     "VALUES (?1, ?2, ?3)",
                     -1, &insert, nullptr);
  std::string lastTime;
  bool ok = insert != nullptr;
  for (int row = 0; ok && row < rows; ++row) {
    lastTime = FormatTimeStampMs(clock.LocalNow());
    const std::vector<uint8_t>& blob = blobs[static_cast<size_t>(row % kTemplates)];
    sqlite3_bind_int(insert, 1, acquisitionId);
    sqlite3_bind_text(insert, 2, lastTime.c_str(), static_cast<int>(lastTime.size()),
                      SQLITE_TRANSIENT);
    sqlite3_bind_blob(insert, 3, blob.data(), static_cast<int>(blob.size()), SQLITE_STATIC);
    ok = sqlite3_step(insert) == SQLITE_DONE;
    sqlite3_reset(insert);
    clock.AdvanceMs(1000);
  }
  sqlite3_finalize(insert);
  ok = ok && sqlite3_exec(raw, "COMMIT;", nullptr, nullptr, nullptr) == SQLITE_OK;
  sqlite3_close(raw);
  return ok && recorder.RecordEnd(acquisitionId, lastTime, rows);
}

// A bare read of count rows from the first: SELECT, blob, inflate.
double FloorRows(const std::string& path, int acquisitionId, int first, int count) {
  const auto start = Clock::now();
  sqlite3* db = nullptr;
  sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
  sqlite3_stmt* query = nullptr;
  sqlite3_prepare_v2(db,
                     "SELECT OPCAcqData_Time, OPCAcqData_Value FROM OPCAcqData WHERE OPCAcq_Id = "
                     "?1 ORDER BY OPCAcqData_Id LIMIT ?3 OFFSET ?2",
                     -1, &query, nullptr);
  sqlite3_bind_int(query, 1, acquisitionId);
  sqlite3_bind_int(query, 2, first);
  sqlite3_bind_int(query, 3, count);
  // The program's own inflater: the floor is what reading and inflating cost it.
  CValueInflater inflater;
  std::string_view text;
  while (sqlite3_step(query) == SQLITE_ROW) {
    const void* blob = sqlite3_column_blob(query, 1);
    const int size = sqlite3_column_bytes(query, 1);
    inflater.Inflate(blob, static_cast<size_t>(size), StoredValueTextLimit(kColumns), text);
  }
  sqlite3_finalize(query);
  sqlite3_close(db);
  return SecondsSince(start);
}

// User and system time of the whole process so far.
double ProcessCpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  const auto seconds = [](const timeval& time) {
    return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) / 1e6;
  };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// One sequential read of a file and one write of the same bytes, in 1 MB pieces, flushed
// to the disk at the end as the export's file is before it replaces the old one.
double FloorCopy(const std::string& from, const std::string& to) {
  const auto start = Clock::now();
  const int in = ::open(from.c_str(), O_RDONLY);
  const int out = ::open(to.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
  std::vector<char> buffer(size_t{1} << 20);
  ssize_t got = 0;
  while ((got = ::read(in, buffer.data(), buffer.size())) > 0) {
    if (::write(out, buffer.data(), static_cast<size_t>(got)) != got)
      break;
  }
  ::fsync(out);
  ::close(in);
  ::close(out);
  return SecondsSince(start);
}

// Runs the event loop until done() or the time is out; the seconds it took.
template <typename Done>
double Until(QApplication& application, Done done, double limit = 120.0) {
  const auto start = Clock::now();
  while (!done() && SecondsSince(start) < limit) {
    application.processEvents(QEventLoop::AllEvents, 1);
    std::this_thread::sleep_for(std::chrono::microseconds(200));
  }
  return SecondsSince(start);
}

const char* Verdict(bool met) {
  return met ? "met" : "NOT MET";
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  const int rows = argc > 1 ? std::max(10000, std::atoi(argv[1])) : 2600000;
  const std::filesystem::path base =
      argc > 2 ? std::filesystem::path(argv[2]) : std::filesystem::temp_directory_path();
  const std::filesystem::path folder = base / "velmora-recording-bench";
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  const std::string path = (folder / "Velmora.sq3").string();
  const double scale = 2600000.0 / rows;

  FakeClock clock;
  CLog log(clock);
  CConsolePrompt prompt(std::cerr);
  InMemorySettingsStore settings;
  AppContext context{clock, log, prompt, settings};
  CSQLite db(context);
  int acquisitionId = -1;
  const auto generateStart = Clock::now();
  if (!CheckVelmoraDatabase(db, path) || !Generate(db, clock, rows, acquisitionId)) {
    std::fprintf(stderr, "set-up failed\n");
    return 1;
  }
  std::printf("generated %d rows x %d columns in %.1f s (%s, %.0f MB)%s\n", rows, kColumns,
              SecondsSince(generateStart), path.c_str(),
              static_cast<double>(std::filesystem::file_size(path)) / 1e6,
              rows < 2600000 ? " - a smaller run: times scaled to 2.6 million rows are shown" : "");
  // The file cache warmed for every figure alike; the time is the export's lower bound on
  // one core (every stored row read and inflated, nothing formatted or written).
  const double floorInflate = FloorRows(path, acquisitionId, 0, rows);
  const double baseMb = ResidentMb();

  CProjectData data(db, context);
  CLoadedTableModel model(data.Recording());
  QTableView view;
  view.resize(1200, 800);
  view.verticalHeader()->setDefaultSectionSize(view.fontMetrics().height() + 4);
  view.verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  view.setModel(&model);
  view.show();
  // The first painting sets up the fonts: done before anything is timed.
  Until(
      application, [&] { return view.isVisible(); }, 5.0);
  view.viewport()->repaint();

  // First rows on screen.
  const double floorFirst = FloorRows(path, acquisitionId, 0, CRecordingPages::kPageRows);
  const auto loadStart = Clock::now();
  model.BeginReset();
  data.StartLoad(acquisitionId);
  model.EndReset();
  const double startSeconds = SecondsSince(loadStart);
  Until(application, [&] {
    model.SyncRows();
    return !model.data(model.index(0, 1)).toString().isEmpty();
  });
  view.viewport()->repaint();
  const double firstSeconds = SecondsSince(loadStart);
  std::printf(
      "first rows: %.3f s (%.3f s of it the summary, row count and columns) beside a bare read "
      "of the first page %.3f s (target <= 1 s: %s)\n",
      firstSeconds, startSeconds, floorFirst, Verdict(firstSeconds <= 1.0));

  // A jump to the last row, once the row ids are read (the walk goes on meanwhile).
  Until(application, [&] { return data.Recording().IdsReady(); });
  const int last = rows - 1;
  const int lastPageFirst = last / CRecordingPages::kPageRows * CRecordingPages::kPageRows;
  const double floorJump = FloorRows(path, acquisitionId, lastPageFirst, last - lastPageFirst + 1);
  const auto jumpStart = Clock::now();
  view.scrollToBottom();
  Until(application, [&] {
    model.SyncRows();
    return !model.data(model.index(last, 1)).toString().isEmpty();
  });
  view.viewport()->repaint();
  const double jumpSeconds = SecondsSince(jumpStart);
  std::printf(
      "jump:       %.3f s to row %d beside a bare read of its rows %.3f s (target <= 0.2 s: %s)\n",
      jumpSeconds, rows, floorJump, Verdict(jumpSeconds <= 0.2));

  // The walk: damaged rows, times, extremes.
  Until(
      application, [&] { return !data.IsLoading(); }, 3600.0);
  const double walkTotal = SecondsSince(loadStart);
  std::printf("walk:       %.1f s for %d rows (scaled to 2.6 million: %.1f s), damage \"%s\"\n",
              walkTotal, data.Recording().ScannedRows(), walkTotal * scale,
              data.DamageText().c_str());
  const double openMb = ResidentMb();
  std::printf(
      "memory:     %.0f MB resident with the recording open and walked beside %.0f MB before "
      "(%.0f MB of it the recording's; scaled: %.0f MB; target <= 1 GB: %s)\n",
      openMb, baseMb, static_cast<double>(data.Recording().HeapBytes()) / 1e6,
      baseMb + (openMb - baseMb) * scale, Verdict(baseMb + (openMb - baseMb) * scale <= 1000.0));

  // The project chart of the whole recording, beside one page of 1600 rows.
  CChartModel chart;
  settings::Write(settings, settings::kChartTimeSpan, rows / 60 + 60);
  CChartViewModel chartView(context, chart);
  CLoadedTableRowSource source(data.Recording());
  chartView.Create();
  chartView.SetLiveMode(false);
  chartView.SetItemQuery([&db](const std::string& statement, std::vector<QueryCell>& cells) {
    return db.GetQueryData(statement, {}, cells, SqlRun().Opening().Closing());
  });
  chartView.SetSource(&source);
  chartView.SetAcquisitionId(acquisitionId);
  chartView.SetAcquisitionPeriodMs(1000);
  chartView.OnShown();  // the series and the first drawing
  const auto chartStart = Clock::now();
  chartView.Redraw();
  const double chartSeconds = SecondsSince(chartStart);
  const int wholePoints = chartView.PointCount();
  const int wholeDrawn = chartView.DrawnPoints();
  chartView.SetSpanPosition(ChartSpanPosition(30));  // 1800 rows a page
  chartView.UpdateChart(chartView.AcquisitionStart() + 0.5);
  const auto pageStart = Clock::now();
  chartView.Redraw();
  const double pageSeconds = SecondsSince(pageStart);
  std::printf(
      "chart:      whole recording (%d rows, %d points) %.3f s beside a page of %d rows from "
      "the rows %.3f s (target <= 0.2 s: %s)\n",
      wholePoints, wholeDrawn, chartSeconds, chartView.PointCount(), pageSeconds,
      Verdict(chartSeconds <= 0.2));

  // The export, streamed from the database, beside one read and write of its bytes.
  const std::string exportPath = (folder / "VelmoraExport.csv").string();
  const double residentBefore = ResidentMb();
  // The resident memory sampled while the export runs.
  std::atomic<bool> exporting{true};
  std::atomic<double> highest{residentBefore};
  std::thread sampler([&] {
    while (exporting.load()) {
      highest.store(std::max(highest.load(), ResidentMb()));
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
  });
  const double cpuBefore = ProcessCpuSeconds();
  const auto exportStart = Clock::now();
  std::string cause;
  const bool exported = WriteExportFile(exportPath, data.Recording(), ';', cause);
  const double exportSeconds = SecondsSince(exportStart);
  const double exportCpu = ProcessCpuSeconds() - cpuBefore;
  exporting.store(false);
  sampler.join();
  if (!exported) {
    std::fprintf(stderr, "the export failed: %s\n", cause.c_str());
    return 1;
  }
  const double exportGrowth = highest.load() - residentBefore;
  const double floorCopy = FloorCopy(exportPath, (folder / "floor.csv").string());
  const double exportMb = static_cast<double>(std::filesystem::file_size(exportPath)) / 1e6;
  std::printf(
      "export:     %.1f s (%.0f MB) beside one read and flushed write of the same bytes %.1f s: "
      "ratio "
      "%.2f (target <= 1.5: %s); resident growth %.0f MB (target <= 256 MB: %s)\n"
      "            beside a bare read and inflate of every row on one thread %.1f s: ratio %.2f; "
      "%.1f s of CPU on %d decoder threads\n",
      exportSeconds, exportMb, floorCopy, exportSeconds / floorCopy,
      Verdict(exportSeconds <= 1.5 * floorCopy), exportGrowth, Verdict(exportGrowth <= 256.0),
      floorInflate, exportSeconds / floorInflate, exportCpu, RecordingTextThreads());
  std::filesystem::remove_all(folder);
  return 0;
}
