#include <gtest/gtest.h>
#include <sys/resource.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "acquisition/backup_coordinator.h"
#include "acquisition/backup_save.h"
#include "acquisition/clipboard_copy.h"
#include "base/atomic_file.h"
#include "base/database_files.h"
#include "base/settings.h"
#include "engine_fixture.h"

namespace {

namespace fs = std::filesystem;

// Forwards the engine's backup hook to the coordinator, as the view and the CLI do.
class BackupObserver : public RecordingObserver {
 public:
  void OnBackup(bool final) override {
    RecordingObserver::OnBackup(final);
    if (coordinator != nullptr)
      coordinator->OnBackup(final);
  }
  CBackupCoordinator* coordinator = nullptr;
};

class RecordingDisplay : public IBackupDisplay {
 public:
  void OnJobStarted(int kind, const std::string& caption, int maximum,
                    const std::string& text) override {
    started.push_back(Format("%d %s 0..%d %s", kind, caption.c_str(), maximum, text.c_str()));
  }
  void OnJobProgress(int, int position, const std::string& text) override {
    lastPosition = position;
    progress.push_back(text);
  }
  void OnJobEnded(int kind, const std::string& text) override {
    ended.push_back(Format("%d %s", kind, text.c_str()));
  }
  bool SetClipboardText(const std::string& text) override {
    clipboard.push_back(text);
    return clipboardWorks;
  }
  std::vector<std::string> started, progress, ended, clipboard;
  int lastPosition = -1;
  bool clipboardWorks = true;
};

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

std::vector<std::string> SplitCrLf(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
    lines.push_back(text.substr(start, end - start));
  EXPECT_EQ(start, text.size()) << "the text does not end with CR LF";
  return lines;
}

class BackupTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    backups = dir.Path() / "backups";
    fs::create_directories(backups);
    coordinator = std::make_unique<CBackupCoordinator>(test.context, *engine);
    coordinator->SetDisplay(&display);
    backupObserver.coordinator = coordinator.get();
    engine->SetObserver(&backupObserver);
    backupTarget = &backupObserver;
    AddGroup("Group01", 1000, {"Signals.Ramp.R8", "Signals.Counter.I4"});
  }
  void TearDown() override {
    coordinator.reset();
    EngineTest::TearDown();
  }
  // Lets the workers end and reports them, as the next tick would.
  void Finish() {
    coordinator->WaitForWorkers();
    coordinator->Poll();
  }
  std::vector<std::string> Saved(const std::string& name) {
    return SplitCrLf(ReadFile(backups / name));
  }
  void UseSettings(int type, int frequency = 0, const std::string& root = "Line1") {
    BackupSettings settings;
    settings.path = backups.string();
    settings.nameRoot = root;
    settings.type = type;
    settings.frequency = frequency;
    coordinator->SetSettings(settings);
  }

  fs::path backups;
  std::unique_ptr<CBackupCoordinator> coordinator;
  RecordingDisplay display;
  BackupObserver backupObserver;
};

TEST_F(BackupTest, FullThenIncrementalBackupsWriteTheHeaderAndTheNewRows) {
  UseSettings(kFullBackup);
  ASSERT_TRUE(engine->StartCommand());
  Ticks(45);
  ASSERT_EQ(engine->DataSetCount(), 45);
  ASSERT_TRUE(coordinator->SaveTo(backups.string(), "full.csv", ';'));
  EXPECT_TRUE(coordinator->IsSaving());
  Finish();
  EXPECT_FALSE(coordinator->IsSaving());
  std::vector<std::string> lines = Saved("full.csv");
  ASSERT_EQ(lines.size(), 46u);
  const std::vector<std::string> headings = engine->ItemHeadings(0);
  EXPECT_EQ(lines[0], "Acquisition Date & Time;" + headings[0] + ";" + headings[1]);
  for (int row = 0; row < 45; ++row) {
    DataSetPtr data = engine->History().Row(row);
    EXPECT_EQ(lines[row + 1], std::string(data->TimeText()) + ";" + std::string(data->Cell(1)) +
                                  ";" + std::string(data->Cell(2)));
  }
  EXPECT_EQ(engine->BackupClock().NextRowToSave(), 45);
  EXPECT_FALSE(engine->HasAcquiredData());
  EXPECT_TRUE(test.sink.Contains("OPC Acquired Data Saved Successfully to File " +
                                     (backups / "full.csv").string() + "  (45 Data Set saved in ",
                                 kLogDataAcquisition));
  EXPECT_EQ(display.started,
            (std::vector<std::string>{"1 Saving Acquired OPC Data 0..20 Saving ..."}));
  ASSERT_EQ(display.ended.size(), 1u);

  Ticks(10);
  UseSettings(kIncrementalBackup);
  ASSERT_TRUE(coordinator->SaveTo(backups.string() + "/", "incremental.csv", ','));
  Finish();
  lines = Saved("incremental.csv");
  ASSERT_EQ(lines.size(), 11u);
  EXPECT_EQ(lines[1].substr(0, lines[1].find(',')), engine->History().Row(45)->TimeText());
  EXPECT_EQ(lines[10].substr(0, lines[10].find(',')), engine->History().Row(54)->TimeText());
  EXPECT_EQ(engine->BackupClock().NextRowToSave(), 55);
  // A full backup always starts at the first data set.
  UseSettings(kFullBackup);
  ASSERT_TRUE(coordinator->SaveTo(backups.string(), "full.csv", ';'));
  Finish();
  EXPECT_EQ(Saved("full.csv").size(), 56u);
  EXPECT_EQ(coordinator->SavesDone(), 3);
}

TEST_F(BackupTest, AFolderWithOrWithoutItsTrailingSeparatorGivesTheSameFile) {
  ASSERT_TRUE(engine->StartCommand());
  Ticks(3);
  UseSettings(kFullBackup);
  ASSERT_TRUE(coordinator->SaveTo(backups.string(), "same.csv", ';'));
  Finish();
  const std::string first = coordinator->LastSavePath();
  ASSERT_TRUE(coordinator->SaveTo(backups.string() + "/", "same.csv", ';'));
  Finish();
  EXPECT_EQ(coordinator->LastSavePath(), first);
  EXPECT_EQ(fs::path(first), backups / "same.csv");
  EXPECT_EQ(std::distance(fs::directory_iterator(backups), fs::directory_iterator()), 1);
}

TEST_F(BackupTest, AFileThatCannotBeOpenedWritesNothingAndKeepsTheNextRowToSave) {
  UseSettings(kIncrementalBackup);
  ASSERT_TRUE(engine->StartCommand());
  Ticks(5);
  engine->BackupClock().SetNextRowToSave(2);
  const fs::path missing = backups / "no such folder";
  ASSERT_TRUE(coordinator->SaveTo(missing.string(), "x.csv", ';'));
  Finish();
  EXPECT_FALSE(fs::exists(missing));
  EXPECT_EQ(engine->BackupClock().NextRowToSave(), 2);
  EXPECT_TRUE(engine->HasAcquiredData());
  const std::vector<std::string> messages = test.sink.Messages(kLogDataAcquisition);
  const auto error =
      std::find(messages.begin(), messages.end(),
                "Error Saving OPC Acquired Data to File " + (missing / "x.csv").string());
  ASSERT_NE(error, messages.end()) << test.sink.Dump();
  ASSERT_NE(error + 1, messages.end());
  EXPECT_EQ(*(error + 1), "Unable to Open File ... File Not Found");
  EXPECT_EQ(coordinator->SavesFailed(), 1);
  EXPECT_EQ(display.ended.back(),
            "1 Error Saving OPC Acquired Data to File " + (missing / "x.csv").string());
  // The next backup after the fault still writes every unsaved row.
  ASSERT_TRUE(coordinator->SaveTo(backups.string(), "y.csv", ';'));
  Finish();
  EXPECT_EQ(Saved("y.csv").size(), 4u);
}

TEST_F(BackupTest, ABackupOntoTheDatabaseIsRefusedAndTheDatabaseKept) {
  UseSettings(kFullBackup);
  ASSERT_TRUE(engine->StartCommand());
  Ticks(5);
  engine->StopCommand();
  const std::string before = ReadFile(path);
  // The recording lock file stays next to the database; a backup must not write over it.
  const std::string lockBefore = ReadFile(path + ".lock");
  for (const std::string& name : {std::string("Velmora.sq3"), std::string("Velmora.sq3-wal"),
                                  std::string("Velmora.sq3.lock")}) {
    ASSERT_TRUE(coordinator->SaveTo(dir.Path().string(), name, ';'));
    Finish();
    EXPECT_TRUE(
        test.sink.Contains("Error Saving OPC Acquired Data to File " + (dir.Path() / name).string(),
                           kLogDataAcquisition))
        << name;
  }
  EXPECT_EQ(ReadFile(path), before);
  EXPECT_EQ(ReadFile(path + ".lock"), lockBefore);
  EXPECT_FALSE(fs::exists(dir.Path() / "Velmora.sq3-wal"));
  EXPECT_EQ(coordinator->SavesFailed(), 3);
  EXPECT_EQ(coordinator->SavesDone(), 0);
  EXPECT_TRUE(test.sink.Contains(std::string("Critical Velmora File Exception !!! Unable to Save "
                                             "Velmora Backup File ") +
                                     path + " ... Cause: " + kDatabaseTargetCause,
                                 kLogDataAcquisition))
      << test.sink.Dump();
}

// A size limit is met part-way through the file (the program ignores SIGXFSZ, so the
// write fails with EFBIG): the file it was to replace stays whole, nothing else is left.
TEST_F(BackupTest, ABackupFailingPartWayKeepsThePreviousFileAndLeavesNoPartialFile) {
  UseSettings(kFullBackup);
  ASSERT_TRUE(engine->StartCommand());
  Ticks(200);
  engine->StopCommand();
  const std::string previous = "previous backup\r\n";
  {
    std::ofstream out(backups / "line.csv", std::ios::binary);
    out << previous;
  }
  IgnoreFileSizeLimitSignal();
  rlimit saved{};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
  rlimit small = saved;
  small.rlim_cur = 4096;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  const bool started = coordinator->SaveTo(backups.string(), "line.csv", ';');
  coordinator->WaitForWorkers();
  ::setrlimit(RLIMIT_FSIZE, &saved);
  ASSERT_TRUE(started);
  coordinator->Poll();
  EXPECT_EQ(ReadFile(backups / "line.csv"), previous);
  EXPECT_EQ(std::distance(fs::directory_iterator(backups), fs::directory_iterator()), 1);
  EXPECT_EQ(coordinator->SavesFailed(), 1);
  EXPECT_TRUE(
      test.sink.Contains("Critical Velmora File Exception !!! Unable to Save Velmora "
                         "Backup File " +
                             (backups / "line.csv").string() + " ... Cause: File Too Large",
                         kLogDataAcquisition))
      << test.sink.Dump();
}

TEST_F(BackupTest, TheFailedBackupIsNamedAfterLaterSuccessfulOnes) {
  UseSettings(kFullBackup);
  ASSERT_TRUE(engine->StartCommand());
  Ticks(3);
  EXPECT_EQ(coordinator->LastFailedSavePath(), "");
  ASSERT_TRUE(coordinator->SaveTo(backups.string(), "a.csv", ';'));
  Finish();
  const fs::path missing = backups / "gone" / "b.csv";
  ASSERT_TRUE(coordinator->SaveTo((backups / "gone").string(), "b.csv", ';'));
  Finish();
  ASSERT_TRUE(coordinator->SaveTo(backups.string(), "c.csv", ';'));
  Finish();
  EXPECT_EQ(coordinator->SavesDone(), 2);
  EXPECT_EQ(coordinator->SavesFailed(), 1);
  EXPECT_EQ(coordinator->LastFailedSavePath(), missing.string());
  EXPECT_EQ(coordinator->LastSavePath(), (backups / "c.csv").string());
}

TEST_F(BackupTest, AutomaticBackupsEveryFrequencyMinutesAndAtStop) {
  test.clock.Set(LocalTime{2026, 12, 7, 9, 0, 7, 0, 1});
  UseSettings(kIncrementalBackup, 5, "Line1");
  ASSERT_TRUE(engine->StartCommand());
  for (int second = 0; second < 600; ++second) {
    Ticks(1);
    Finish();
  }
  EXPECT_EQ(backupObserver.automaticBackups, 2);
  EXPECT_TRUE(fs::exists(backups / "Line1_07_Dec_2026_09_05_07.csv"));
  EXPECT_TRUE(fs::exists(backups / "Line1_07_Dec_2026_09_10_07.csv"));
  EXPECT_EQ(Saved("Line1_07_Dec_2026_09_05_07.csv").size(), 301u);
  EXPECT_EQ(Saved("Line1_07_Dec_2026_09_10_07.csv").size(), 301u);
  Ticks(30);
  engine->Stop(engine->BackupClock().IsAutomatic());
  Finish();
  EXPECT_EQ(backupObserver.finalBackups, 1);
  EXPECT_EQ(Saved("Line1_07_Dec_2026_09_10_37.csv").size(), 31u);
  // A final backup in the same second as the automatic one gets its own name.
  ASSERT_TRUE(engine->ResumeCommand());
  EXPECT_EQ(engine->BackupClock().NextRowToSave(), 0);  // Resume saves everything again
  test.clock.AdvanceMs(300 * 1000 - 1000);
  Ticks(1);
  ASSERT_EQ(backupObserver.automaticBackups, 3);
  Finish();
  engine->Stop(true);
  Finish();
  EXPECT_TRUE(fs::exists(backups / "Line1_07_Dec_2026_09_15_37.csv"));
  EXPECT_TRUE(fs::exists(backups / "Line1_07_Dec_2026_09_15_37_2.csv"));
  EXPECT_EQ(Saved("Line1_07_Dec_2026_09_15_37.csv").size(), 632u);
  EXPECT_EQ(Saved("Line1_07_Dec_2026_09_15_37_2.csv").size(), 1u);
  EXPECT_EQ(coordinator->SavesDone(), 5);
}

TEST_F(BackupTest, ASecondSaveOrCopyIsRefusedUntilTheFirstIsReported) {
  ASSERT_TRUE(engine->StartCommand());
  Ticks(4);
  UseSettings(kFullBackup);
  ASSERT_TRUE(coordinator->CopyToClipboard());
  EXPECT_FALSE(coordinator->CopyToClipboard());
  EXPECT_EQ(test.sink.Count(kOperationInProgress, kLogOpcServer), 1);
  ASSERT_TRUE(coordinator->SaveTo(backups.string(), "a.csv", ';'));
  EXPECT_FALSE(coordinator->SaveTo(backups.string(), "b.csv", ';'));
  EXPECT_EQ(test.sink.Count(kOperationInProgress, kLogOpcServer), 2);
  Ticks(2);  // the acquisition goes on meanwhile
  Finish();
  EXPECT_FALSE(fs::exists(backups / "b.csv"));
  EXPECT_EQ(Saved("a.csv").size(), 5u);
  // The first copy is whole: header, 4 rows with tabs and LF, then one CR LF.
  ASSERT_EQ(display.clipboard.size(), 1u);
  const std::string& text = display.clipboard[0];
  const std::vector<std::string> headings = engine->ItemHeadings(0);
  std::string expected = "Acquisition Date & Time\t" + headings[0] + "\t" + headings[1] + "\n";
  for (int row = 0; row < 4; ++row) {
    DataSetPtr data = engine->History().Row(row);
    expected += std::string(data->TimeText()) + "\t" + std::string(data->Cell(1)) + "\t" +
                std::string(data->Cell(2)) + "\n";
  }
  EXPECT_EQ(text, expected + "\r\n");
  EXPECT_TRUE(test.sink.Contains(
      "Copying OPC Acquired Data to Clipboard Successfully (4 Data Set saved in ",
      kLogDataAcquisition));
  EXPECT_EQ(display.started[0], "2 Copying Acquired OPC Data to Clipboard 0..4 Copying ...");
  // Once reported, a new copy starts.
  display.clipboardWorks = false;
  ASSERT_TRUE(coordinator->CopyToClipboard());
  Finish();
  EXPECT_TRUE(
      test.sink.Contains("Error Copying OPC Acquired Data to Clipboard", kLogDataAcquisition));
}

TEST_F(BackupTest, ASaveEndingAfterANewStartLeavesTheNewNextRowToSave) {
  UseSettings(kIncrementalBackup);
  ASSERT_TRUE(engine->StartCommand());
  Ticks(6);
  ASSERT_TRUE(coordinator->SaveTo(backups.string(), "old.csv", ';'));
  engine->Stop(false);
  ASSERT_TRUE(engine->StartCommand());
  Ticks(2);
  Finish();
  EXPECT_EQ(Saved("old.csv").size(), 7u);               // the rows it was given
  EXPECT_EQ(engine->BackupClock().NextRowToSave(), 0);  // not the old acquisition's 6
}

TEST_F(BackupTest, SettingsOkSchedulesTheAutomaticBackupWithABareRoot) {
  ASSERT_TRUE(engine->StartCommand());
  BackupSettings chosen;
  chosen.nameRoot = "Plant.csv";
  chosen.frequency = 10;
  chosen.type = kFullBackup;
  coordinator->ApplySettings(chosen);
  const BackupSettings applied = coordinator->Settings();
  EXPECT_EQ(applied.nameRoot, "Plant");
  EXPECT_EQ(applied.path, dir.Path().string());  // the database's folder
  EXPECT_EQ(applied.frequency, 10);
  EXPECT_EQ(engine->BackupClock().Frequency(), 10);
  EXPECT_EQ(engine->BackupClock().NextTime(), test.clock.SecondsSince1970() + 600);
  EXPECT_TRUE(
      test.sink.Contains("Data AutoSave Activated ... Type: Full Backup Frequency: 10 Min. "
                         "Path: " +
                             dir.Path().string() + " Name Root: Plant",
                         kLogDataAcquisition));
  EXPECT_EQ(settings::Read(test.settings, settings::kBackupType), kFullBackup);
  chosen.frequency = 0;
  coordinator->ApplySettings(chosen);
  EXPECT_EQ(engine->BackupClock().Frequency(), 0);
  EXPECT_TRUE(
      test.sink.Contains("Backup OPC Data AutoSave is Desactivated ... ", kLogDataAcquisition));
  // The view reset switches the automatic backup off.
  chosen.frequency = 5;
  coordinator->ApplySettings(chosen);
  engine->Stop(false);
  engine->ResetView();
  EXPECT_EQ(coordinator->Settings().frequency, 0);
}

TEST_F(BackupTest, ProgressGoesInFivePercentStepsAndIsShownFromThePoll) {
  ASSERT_TRUE(engine->StartCommand());
  Ticks(40);
  UseSettings(kFullBackup);
  ASSERT_TRUE(coordinator->SaveTo(backups.string(), "p.csv", ';'));
  coordinator->WaitForWorkers();
  EXPECT_EQ(coordinator->SaveJob().ProgressSteps(), 20);
  EXPECT_EQ(coordinator->SaveJob().Done(), 40);
  coordinator->Poll();
  // The end is reported with a full bar, not a stale step.
  ASSERT_EQ(display.progress.size(), size_t(1));
  EXPECT_EQ(display.lastPosition, kSaveProgressSteps);
  EXPECT_EQ(display.progress[0].rfind("OPC Acquired Data Saved Successfully to File", 0), 0u);
  EXPECT_EQ(coordinator->SaveJob().ErrorCause(), "None");
}

TEST(BackupWorkers, WithoutRowsTheSaveFailsAndTheCopyNamesTheNullView) {
  COPCDataJob save(kJobKindSave);
  CWorker saver;
  ASSERT_TRUE(saver.Start(save, [&save](CWorkerJob&) { RunBackupSave(save); }));
  saver.Join();
  EXPECT_EQ(save.State(), kJobFailed);
  EXPECT_EQ(save.ErrorCause(), "None");

  COPCDataJob copy(kJobKindClipboard);
  CWorker copier;
  ASSERT_TRUE(copier.Start(copy, [&copy](CWorkerJob&) { RunClipboardCopy(copy); }));
  copier.Join();
  EXPECT_EQ(copy.State(), kJobFailed);
  EXPECT_EQ(copy.ErrorCode(), kCopyNoViewCode);
  EXPECT_EQ(copy.ErrorCause(), kNullCopyView);
}

TEST(BackupWorkers, FileCauseTexts) {
  EXPECT_STREQ(FileCauseText(1), "Unspecified Error Occurred");
  EXPECT_STREQ(FileCauseText(13), "Disk Full");
  EXPECT_STREQ(FileCauseText(14), "Unexpected End of File");
  EXPECT_STREQ(FileCauseText(15), "");
  EXPECT_EQ(OpenFailureText(5), "Unable to Open File ... Access Denied");
  EXPECT_EQ(OpenFailureText(0), "Unknown Error !!!");
  EXPECT_EQ(FileCauseFromErrno(ENOSPC), 13);
  EXPECT_EQ(FileCauseFromErrno(EACCES), 5);
}

// The workers read rows while the acquisition appends and rewrites them (a slow group is
// interpolated): run under ThreadSanitizer, this is where a race would show. The
// incremental files hold every data set once, as it finally is: rows still to be
// interpolated wait for the next backup.
TEST_F(BackupTest, WorkersRunWhileTheAcquisitionAppendsAndRewritesRows) {
  AddGroup("Slow", 3000, {"Signals.Ramp.R8"});
  UseSettings(kIncrementalBackup);
  ASSERT_TRUE(engine->StartCommand());
  Ticks(31);
  EXPECT_EQ(engine->SettledRowCount(), 31);
  Ticks(1);
  EXPECT_EQ(engine->SettledRowCount(), 31);  // rows 31 waits for the slow group
  std::vector<std::string> lines;
  for (int round = 0; round <= 8; ++round) {
    if (round == 8)
      engine->Stop(false);  // the last backup takes every row
    const int first = engine->BackupClock().NextRowToSave();
    const int end = round == 8 ? engine->DataSetCount() : engine->SettledRowCount();
    ASSERT_TRUE(coordinator->SaveTo(backups.string(), Format("r%d.csv", round), ';'));
    ASSERT_TRUE(coordinator->CopyToClipboard());
    for (int i = 0; i < 5 && round < 8; ++i) {
      Ticks(1);
      coordinator->Poll();
    }
    Finish();
    const std::vector<std::string> saved = Saved(Format("r%d.csv", round));
    ASSERT_EQ(saved.size(), static_cast<size_t>(end - first + 1)) << round;
    lines.insert(lines.end(), saved.begin() + 1, saved.end());
  }
  ASSERT_EQ(static_cast<int>(lines.size()), engine->DataSetCount());
  for (int row = 0; row < engine->DataSetCount(); ++row) {
    DataSetPtr data = engine->History().Row(row);
    ASSERT_EQ(lines[static_cast<size_t>(row)],
              Format("%s;%s;%s;%s", std::string(data->TimeText()).c_str(),
                     std::string(data->Cell(1)).c_str(), std::string(data->Cell(2)).c_str(),
                     std::string(data->Cell(3)).c_str()))
        << row;
    // Filled by the interpolation, except after the slow group's last read.
    if (row < engine->DataSetCount() - 2) {
      EXPECT_FALSE(data->Cell(3).empty()) << row;
    }
  }
  EXPECT_EQ(coordinator->SavesDone(), 9);
}

}  // namespace
