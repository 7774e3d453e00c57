// A long acquisition keeps a bounded window of data sets in memory; the older ones are
// read back from the recording by the history, the backups and the clipboard copy.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <thread>

#include "acquisition/backup_coordinator.h"
#include "base/settings.h"
#include "engine_fixture.h"

namespace {

namespace fs = std::filesystem;

// Time, every cell and its status bits: what the history shows of a row.
std::string RowText(const CompactDataSet& row) {
  std::string text(row.TimeText());
  for (int column = 1; column <= row.ItemColumns(); ++column) {
    text += '|';
    text += row.Cell(column);
    text += '#';
    text += std::to_string(row.Status(column));
  }
  return text;
}

class ClipboardDisplay : public IBackupDisplay {
 public:
  bool SetClipboardText(const std::string& text) override {
    clipboard = text;
    return true;
  }
  std::string clipboard;
};

class HistoryWindowTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    AddGroup("Fast", 1000, {"Signals.Ramp.R8", "Signals.Counter.I4"});
    // Read every third tick: the rows between are interpolated, then stored again.
    AddGroup("Slow", 3000, {"Signals.Ramp.R4"});
    engine->SetHistoryDisplayRows(kDisplayRows);
  }
  // Ticks, keeping the last text each row had while it was in memory.
  void TicksSeen(int count) {
    for (int i = 0; i < count; ++i) {
      Ticks(1);
      const HistoricalDataList& history = engine->History();
      for (int row = history.FirstInMemory(); row < history.Count(); ++row)
        seen[generation][row] = RowText(*history.Row(row));
    }
  }
  void ExpectEveryRowAsSeen() {
    const HistoricalDataList& history = engine->History();
    ASSERT_EQ(static_cast<int>(seen[generation].size()), history.Count());
    for (int row = 0; row < history.Count(); ++row) {
      DataSetPtr data = history.Row(row);
      ASSERT_NE(data, nullptr) << row;
      EXPECT_EQ(RowText(*data), seen[generation][row]) << row;
    }
  }

  static constexpr int kDisplayRows = 10;
  int generation = 0;
  std::map<int, std::map<int, std::string>> seen;
};

TEST_F(HistoryWindowTest, RowsNoLongerInMemoryAreReadBackAsTheyWere) {
  ASSERT_TRUE(engine->StartCommand());
  TicksSeen(200);
  const HistoricalDataList& history = engine->History();
  ASSERT_EQ(history.Count(), 200);
  // The slowest group's period, two more and the display rows stay in memory.
  EXPECT_EQ(history.Count() - history.FirstInMemory(), 3 + 2 + kDisplayRows);
  ExpectEveryRowAsSeen();
  // Interpolated cells come back with their marks.
  EXPECT_EQ(history.Row(1)->Status(3), kStatusInterpolated);
  // Snapshot over old and new rows alike.
  const std::vector<DataSetPtr> rows = history.Snapshot(50, 400);
  ASSERT_EQ(rows.size(), 150u);
  for (size_t i = 0; i < rows.size(); ++i)
    EXPECT_EQ(RowText(*rows[i]), seen[0][50 + static_cast<int>(i)]) << i;
  engine->Stop(false);
  ExpectEveryRowAsSeen();
}

TEST_F(HistoryWindowTest, BackupsAndTheCopyCoverRowsNoLongerInMemory) {
  CBackupCoordinator coordinator(test.context, *engine);
  ClipboardDisplay display;
  coordinator.SetDisplay(&display);
  BackupSettings settings;
  settings.path = dir.Path().string();
  settings.nameRoot = "Line1";
  settings.type = kFullBackup;
  coordinator.SetSettings(settings);
  ASSERT_TRUE(engine->StartCommand());
  TicksSeen(300);
  engine->Stop(false);
  ASSERT_GT(engine->History().FirstInMemory(), 250);

  ASSERT_TRUE(coordinator.SaveTo(dir.Path().string(), "full.csv", ';'));
  ASSERT_TRUE(coordinator.CopyToClipboard());
  coordinator.WaitForWorkers();
  coordinator.Poll();
  EXPECT_EQ(coordinator.SavesDone(), 1);

  std::ifstream in(dir.Path() / "full.csv", std::ios::binary);
  std::stringstream file;
  file << in.rdbuf();
  std::string expected = "Acquisition Date & Time";
  std::string copy = "Acquisition Date & Time";
  for (const std::string& heading : engine->ItemHeadings(0)) {
    expected += ";" + heading;
    copy += "\t" + heading;
  }
  expected += "\r\n";
  copy += "\n";
  for (int row = 0; row < 300; ++row) {
    // The text as seen while the row was in memory, fields without the marks.
    std::string line;
    std::string copied;
    std::stringstream fields(seen[0][row]);
    std::string field;
    bool firstField = true;
    while (std::getline(fields, field, '|')) {
      const std::string cell = firstField ? field : field.substr(0, field.rfind('#'));
      line += (firstField ? "" : ";") + cell;
      copied += (firstField ? "" : "\t") + cell;
      firstField = false;
    }
    expected += line + "\r\n";
    copy += copied + "\n";
  }
  EXPECT_EQ(file.str(), expected);
  EXPECT_EQ(display.clipboard, copy + "\r\n");
}

TEST_F(HistoryWindowTest, ARangeTakenBeforeAClearKeepsItsRows) {
  ASSERT_TRUE(engine->StartCommand());
  TicksSeen(300);
  const std::shared_ptr<const CHistoryRange> range = engine->History().TakeRange(0, 300);
  const uint64_t before = engine->History().Generation();
  engine->ClearCommand();  // stops, clears and resumes
  EXPECT_NE(engine->History().Generation(), before);
  ++generation;
  TicksSeen(300);
  ExpectEveryRowAsSeen();
  const std::vector<DataSetPtr> rows = range->Read(0, 300);
  ASSERT_EQ(rows.size(), 300u);
  for (int row = 0; row < 300; ++row)
    EXPECT_EQ(RowText(*rows[static_cast<size_t>(row)]), seen[0][row]) << row;
}

TEST_F(HistoryWindowTest, AClearAndAResumeWhileOlderRowsAreRead) {
  ASSERT_TRUE(engine->StartCommand());
  TicksSeen(100);
  std::atomic<bool> stop{false};
  std::atomic<int> attempts{0};
  std::atomic<int> pages{0};
  // A reader on another thread, as the history table's page worker: whatever it reads is
  // a whole row of some generation, never a torn one.
  std::thread reader([&] {
    const HistoricalDataList& history = engine->History();
    while (!stop.load()) {
      const uint64_t generation = history.Generation();
      const std::vector<DataSetPtr> rows = history.Snapshot(0, 64);
      for (const DataSetPtr& row : rows) {
        if (row) {
          EXPECT_EQ(row->ItemColumns(), 3);
        }
      }
      if (history.Generation() == generation)
        pages.fetch_add(1);
      attempts.fetch_add(1);
    }
  });
  // On a loaded machine the reader may start late: let it read once before the rounds so
  // that its reads overlap them, and once more in a steady generation after them.
  const auto waitFor = [](const std::atomic<int>& counter, int above) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (counter.load() <= above && std::chrono::steady_clock::now() < deadline)
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
  };
  waitFor(attempts, 0);
  for (int round = 0; round < 3; ++round) {
    TicksSeen(40);
    engine->ClearCommand();
    ++generation;
    TicksSeen(40);
    engine->Stop(false);
    ASSERT_TRUE(engine->ResumeCommand());
  }
  TicksSeen(40);
  waitFor(pages, 0);
  stop = true;
  reader.join();
  EXPECT_GT(pages.load(), 0);
  ExpectEveryRowAsSeen();
}

}  // namespace
