// Acquisition of the largest configuration (16 groups, 128 acquired and 128 calculated
// items) on the simulated clock, recorded into a real database file. Prints the median
// cycle time near 1 000 and near the last data set, their ratio (at most 1.2), the heap
// bytes per data set kept in HistoricalDataList (at most 3 KB) and the database bytes per
// data set.
//
// Usage: acquisition_bench [CYCLES [FOLDER]]   (default 100000 cycles in /dev/shm)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "acquisition/acquisition_engine.h"
#include "acquisition/acquisition_services.h"
#include "base/console_prompt.h"
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

}  // namespace

int main(int argc, char** argv) {
  const int cycles = argc > 1 ? std::max(2000, std::atoi(argv[1])) : 100000;
  // The file lives in memory-backed /dev/shm when there is one, so the figures measure the
  // program rather than the disk's sync time (argument 2 names another folder).
  const std::filesystem::path base = argc > 2 ? std::filesystem::path(argv[2])
                                     : std::filesystem::is_directory("/dev/shm")
                                         ? std::filesystem::path("/dev/shm")
                                         : std::filesystem::temp_directory_path();
  const std::filesystem::path folder = base / "velmora-acquisition-bench";
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
  std::vector<double> early;
  std::vector<double> late;
  const auto start = std::chrono::steady_clock::now();
  for (int cycle = 1; cycle <= cycles; ++cycle) {
    clock.AdvanceMs(1000);
    const auto t0 = std::chrono::steady_clock::now();
    static_cast<void>(engine.Tick());  // a healthy run: nothing to report
    const double us =
        std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - t0).count();
    if (cycle > 500 && cycle <= 1500)
      early.push_back(us);
    if (cycle > cycles - 1000)
      late.push_back(us);
  }
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  const int count = engine.DataSetCount();
  engine.Stop(false);

  const double medianEarly = MedianUs(early);
  const double medianLate = MedianUs(late);
  const double bytesPerDataSet = static_cast<double>(engine.History().HeapBytes()) / count;
  const double dbBytesPerDataSet = static_cast<double>(std::filesystem::file_size(path)) / count;
  std::printf("configuration: 16 groups, %d item columns, %d cycles in %.1f s (%s)\n",
              engine.History().ItemColumns(), cycles, seconds, path.c_str());
  std::printf("median cycle at 1 000 rows:   %.1f us\n", medianEarly);
  std::printf("median cycle at %d rows: %.1f us\n", count, medianLate);
  std::printf("ratio late / early:           %.3f (target <= 1.2)\n", medianLate / medianEarly);
  std::printf("HistoricalDataList per data set: %.0f bytes (target <= 3072)\n", bytesPerDataSet);
  std::printf("database per data set:        %.0f bytes\n", dbBytesPerDataSet);
  std::filesystem::remove_all(folder);
  return 0;
}
