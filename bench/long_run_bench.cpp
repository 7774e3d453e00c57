// A long acquisition of the largest configuration (16 groups, 128 acquired and 128
// calculated items) on the simulated clock, recorded into a real database file. Prints,
// beside the floor of the same run, the resident memory and the median cycle cost at
// 1 000 data sets, at 6 and 12 hours, at 1 day and at the end (3 days by default, 30 days
// with --days 30). The floors: the resident memory before the first data set and the
// median cycle of the first 1 000. Targets: at most 512 MB resident at 30 days, 12 h at
// most 1.1 x 6 h, cycle cost late / early at most 1.2. Beside each wall-clock median the
// median of the cycle's own CPU time (user and system, this thread only) is printed: on a
// loaded machine it shows the cost of the cycle without the waits for a core.
// At the end, the live chart of the whole acquisition (256 columns) is drawn from the
// history's block summary, beside a chart of the last hour.
//
// Usage: long_run_bench [--days N] [FOLDER]   (default 3 days in /dev/shm)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include <time.h>

#include "acquisition/acquisition_engine.h"
#include "acquisition/acquisition_services.h"
#include "base/console_prompt.h"
#include "chart/chart_block_fill.h"
#include "chart/chart_row_source.h"
#include "chart/chart_series_fill.h"
#include "chart/chart_view_rules.h"
#include "db/database_check.h"
#include "opc/default_names.h"
#include "opc/opc_items.h"
#include "opc/opc_server.h"
#include "platform/sim/sim_ids.h"
#include "platform/sim/sim_runtime.h"
#include "wide_configuration.h"

namespace {

double MedianUs(std::vector<double> values) {
  if (values.empty())
    return 0;
  std::nth_element(values.begin(), values.begin() + static_cast<long>(values.size() / 2),
                   values.end());
  return values[values.size() / 2];
}

// A field of /proc/self/status in kB ("VmRSS", "VmHWM"); 0 when unknown.
long StatusKb(const char* field) {
  std::ifstream status("/proc/self/status");
  std::string line;
  const size_t length = std::strlen(field);
  while (std::getline(status, line)) {
    if (line.compare(0, length, field) == 0 && line.size() > length && line[length] == ':')
      return std::atol(line.c_str() + length + 1);
  }
  return 0;
}

// The CPU time this thread used so far, in microseconds.
double ThreadCpuUs() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) * 1e6 + static_cast<double>(now.tv_nsec) / 1e3;
}

// The last 1 000 values of a measure.
class CRecent {
 public:
  void Add(double value) {
    if (m_values.size() < kSize)
      m_values.push_back(value);
    else
      m_values[m_nNext] = value;
    m_nNext = (m_nNext + 1) % kSize;
  }
  double Median() const { return MedianUs(m_values); }

 private:
  static constexpr size_t kSize = 1000;
  std::vector<double> m_values;
  size_t m_nNext = 0;
};

// Ms to draw rows [first, last] of every item column the way the live chart does.
double ChartFillMs(const IChartRowSource& source, int first, int last, int columnCount,
                   int& drawn) {
  std::vector<int> columns;
  for (int c = 1; c <= columnCount; ++c)
    columns.push_back(c);
  std::vector<double> times(kChartMaxPoints);
  std::vector<double> values(static_cast<size_t>(kChartMaxPoints) * columns.size());
  std::vector<double> row(columns.size());
  const ChartPointBuffers buffers{times.data(), values.data(), row.data()};
  const auto t0 = std::chrono::steady_clock::now();
  const ChartFill fill = last - first + 1 > 8 * kChartMaxPoints
                             ? FillFromBlocks(source, first, last, columns, buffers)
                             : FillDecimated(source, first, last, columns, buffers);
  drawn = fill.drawn;
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
}

struct Checkpoint {
  const char* name;
  int dataSets;
  long rssKb = 0;
  double medianUs = 0;
  double cpuUs = 0;
};

}  // namespace

int main(int argc, char** argv) {
  int days = 3;
  std::filesystem::path base = std::filesystem::is_directory("/dev/shm")
                                   ? std::filesystem::path("/dev/shm")
                                   : std::filesystem::temp_directory_path();
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--days") == 0 && i + 1 < argc) {
      days = std::max(1, std::atoi(argv[++i]));
    } else {
      base = argv[i];
    }
  }
  const int cycles = days * 86400;
  // In memory-backed /dev/shm by default: the figures measure the program, not the disk.
  const std::filesystem::path folder = base / "velmora-long-run-bench";
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  const std::string path = (folder / "Velmora.sq3").string();

  FakeClock clock;
  CLog log(clock);  // no sink: the cycle's log lines cost nothing here
  CConsolePrompt prompt(std::cerr);
  InMemorySettingsStore settings;
  AppContext context{clock, log, prompt, settings};
  CSimRuntime::Instance().SetClock(&clock);

  COPCServer server(context);
  CSQLite db(context);
  if (!CheckVelmoraDatabase(db, path) || !server.Connect(kSimServerProgId, kLocalHost, GUID_NULL)) {
    std::fprintf(stderr, "set-up failed\n");
    return 1;
  }
  AddWideConfiguration(server);

  CAcquisitionEngine engine(context, server, db, MakeAcquisitionServices(server, context));
  if (!engine.StartCommand()) {
    std::fprintf(stderr, "the acquisition did not start\n");
    return 1;
  }
  const long floorKb = StatusKb("VmRSS");
  std::vector<Checkpoint> checkpoints = {
      {"1 000 data sets", 1000}, {"6 hours", 21600}, {"12 hours", 43200}, {"1 day", 86400}};
  static const std::string kDayNames[] = {"3 days", "7 days", "14 days"};
  for (int i = 0; i < 3; ++i) {
    const int day = i == 0 ? 3 : i == 1 ? 7 : 14;
    if (day < days)
      checkpoints.push_back({kDayNames[i].c_str(), day * 86400});
  }
  static const std::string kEndName = std::to_string(days) + (days > 1 ? " days" : " day");
  if (days > 1)
    checkpoints.push_back({kEndName.c_str(), cycles});
  CRecent wall;  // the last 1 000 cycle costs
  CRecent cpu;
  double floorUs = 0;
  double floorCpuUs = 0;
  size_t next = 0;
  const auto start = std::chrono::steady_clock::now();
  for (int cycle = 1; cycle <= cycles; ++cycle) {
    clock.AdvanceMs(1000);
    const double cpu0 = ThreadCpuUs();
    const auto t0 = std::chrono::steady_clock::now();
    (void)engine.Tick();  // the bench has no one to show a report to
    const double us =
        std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - t0).count();
    wall.Add(us);
    cpu.Add(ThreadCpuUs() - cpu0);
    if (cycle == 1000) {
      floorUs = wall.Median();
      floorCpuUs = cpu.Median();
      std::printf(
          "floor: %.1f MB resident before the first data set, %.1f us median cycle of "
          "the first 1 000 (CPU %.1f us)\n",
          floorKb / 1024.0, floorUs, floorCpuUs);
    }
    if (next < checkpoints.size() && cycle == checkpoints[next].dataSets) {
      Checkpoint& point = checkpoints[next++];
      point.rssKb = StatusKb("VmRSS");
      point.medianUs = wall.Median();
      point.cpuUs = cpu.Median();
      // Printed as reached: a month's run shows its figures while it goes on.
      std::printf(
          "%-16s %7.1f MB resident (floor + %.1f MB)   median cycle %7.1f us (x %.2f the "
          "floor), CPU %7.1f us (x %.2f)\n",
          point.name, point.rssKb / 1024.0, (point.rssKb - floorKb) / 1024.0, point.medianUs,
          point.medianUs / floorUs, point.cpuUs, point.cpuUs / floorCpuUs);
      std::fflush(stdout);
    }
  }
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  const int count = engine.DataSetCount();
  // The live chart: the last hour (mostly rows in memory), then the whole acquisition.
  const CHistoryRowSource source(engine.History());
  const int columnCount = engine.History().ItemColumns();
  int hourPoints = 0;
  int allPoints = 0;
  const double hourMs =
      ChartFillMs(source, std::max(0, count - 3600), count - 1, columnCount, hourPoints);
  const double allMs = ChartFillMs(source, 0, count - 1, columnCount, allPoints);
  engine.Stop(false);

  std::printf("ran: 16 groups, %d item columns, %d data sets (%d day%s) in %.0f s (%s)\n",
              engine.History().ItemColumns(), count, days, days > 1 ? "s" : "", seconds,
              path.c_str());
  const Checkpoint& six = checkpoints[1];
  const Checkpoint& twelve = checkpoints[2];
  const Checkpoint& last = checkpoints.back();
  std::printf("12 h / 6 h memory:  %.3f (target <= 1.1)\n",
              static_cast<double>(twelve.rssKb) / six.rssKb);
  std::printf("cycle late / early: %.3f (target <= 1.2), CPU %.3f\n", last.medianUs / floorUs,
              last.cpuUs / floorCpuUs);
  std::printf("peak resident:      %.1f MB (target <= 512 MB at 30 days)\n",
              StatusKb("VmHWM") / 1024.0);
  std::printf("history in memory:  %d data sets of %d, %zu heap bytes\n",
              count - engine.History().FirstInMemory(), count, engine.History().HeapBytes());
  std::printf(
      "live chart of it all: %.1f ms, %d points per column (the last hour: %.1f ms, %d "
      "points)\n",
      allMs, allPoints, hourMs, hourPoints);
  std::printf("database:           %.0f bytes per data set\n",
              static_cast<double>(std::filesystem::file_size(path)) / count);
  std::filesystem::remove_all(folder);
  return 0;
}
