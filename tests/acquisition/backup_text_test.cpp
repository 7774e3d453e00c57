#include <gtest/gtest.h>

#include <filesystem>

#include "acquisition/acquired_data_text.h"
#include "acquisition/backup_settings.h"
#include "base/settings.h"
#include "base/settings_store.h"

namespace {

DataSetPtr Row(const std::string& time, const std::vector<std::string>& cells) {
  DataSet row(time, static_cast<int>(cells.size()));
  for (size_t i = 0; i < cells.size(); ++i)
    row.SetCell(static_cast<int>(i) + 1, cells[i]);
  row.OrStatus(1, kStatusBadQuality);  // status bits never reach the text
  return std::make_shared<const CompactDataSet>(row);
}

std::string Lines(const std::vector<std::string>& headings, const std::vector<DataSetPtr>& rows,
                  char separator, const char* lineEnd) {
  std::string text;
  AcquiredDataText::AppendHeader(text, headings, separator, lineEnd);
  for (const DataSetPtr& row : rows)
    AcquiredDataText::AppendRow(text, *row, static_cast<int>(headings.size()), separator, lineEnd);
  return text;
}

TEST(AcquiredDataText, HeaderThenOneLinePerDataSetWithTheCellsAsShown) {
  const std::vector<DataSetPtr> rows = {Row("07/Dec/2026 09:05:07.250", {"12.50", "ON", ""}),
                                        Row("07/Dec/2026 09:05:08.250", {"-3", "OFF", "x"})};
  EXPECT_EQ(Lines({"Plant.R8", "Plant.Flag", "Calc"}, rows, ';', AcquiredDataText::kFileLineEnd),
            "Acquisition Date & Time;Plant.R8;Plant.Flag;Calc\r\n"
            "07/Dec/2026 09:05:07.250;12.50;ON;\r\n"
            "07/Dec/2026 09:05:08.250;-3;OFF;x\r\n");
  EXPECT_EQ(Lines({"A"}, {}, '\t', AcquiredDataText::kClipboardLineEnd),
            "Acquisition Date & Time\tA\n");
  // A row shorter than the header still gives every field.
  EXPECT_EQ(Lines({"A", "B"}, {Row("t", {"1"})}, ',', "\n"), "Acquisition Date & Time,A,B\nt,1,\n");
}

TEST(AcquiredDataText, FieldsHoldingTheSeparatorAQuoteOrALineBreakAreQuoted) {
  const std::vector<DataSetPtr> rows = {
      Row("t", {"a;b", "say \"hi\"", "two\nlines", "cr\r", "a,b", "plain"})};
  EXPECT_EQ(Lines({"x;y", "B", "C", "D", "E", "F"}, rows, ';', "\r\n"),
            "Acquisition Date & Time;\"x;y\";B;C;D;E;F\r\n"
            "t;\"a;b\";\"say \"\"hi\"\"\";\"two\nlines\";\"cr\r\";a,b;plain\r\n");
  // The comma is quoted only where it separates.
  std::string comma;
  AcquiredDataText::AppendField(comma, "a,b", ',');
  EXPECT_EQ(comma, "\"a,b\"");
  std::string tab;
  AcquiredDataText::AppendField(tab, "a\tb;c", '\t');
  EXPECT_EQ(tab, "\"a\tb;c\"");
}

TEST(BackupNames, AutomaticNamesCarryTheTimeWithEnglishMonths) {
  const LocalTime time{2026, 12, 7, 9, 5, 7, 0, 1};
  EXPECT_EQ(AutomaticBackupFileName("Line1", time), "Line1_07_Dec_2026_09_05_07.csv");
  EXPECT_EQ(AutoSaveNameSample("Line1", time), "Line1_07_Dec_2026_09_05_07.csv");
  EXPECT_EQ(AutoSaveNameSample("", time), "RootName_07_Dec_2026_09_05_07.csv");
  EXPECT_EQ(BackupTimeSuffix(LocalTime{2027, 1, 31, 23, 59, 58, 999, 0}), "_31_Jan_2027_23_59_58");
}

TEST(BackupNames, RootsAreAcceptedWithCsvAndReducedToABareName) {
  EXPECT_EQ(AcceptedNameRoot("Plant"), "Plant.csv");
  EXPECT_EQ(AcceptedNameRoot("Plant.csv"), "Plant.csv");
  EXPECT_EQ(ReducedNameRoot("Plant.csv"), "Plant");
  EXPECT_EQ(ReducedNameRoot(AcceptedNameRoot("Plant")), "Plant");
  EXPECT_EQ(ReducedNameRoot("C:\\Data\\Plant.csv"), "Plant");
  EXPECT_EQ(ReducedNameRoot("/srv/backups/Line1.txt"), "Line1");
  EXPECT_EQ(ReducedNameRoot("Line1"), "Line1");
}

TEST(BackupNames, FolderAndNameAreJoinedWithExactlyOneSeparator) {
  const char sep = static_cast<char>(std::filesystem::path::preferred_separator);
  EXPECT_EQ(BackupFullPath("/srv/backups", "a.csv"), std::string("/srv/backups") + sep + "a.csv");
  EXPECT_EQ(BackupFullPath("/srv/backups/", "a.csv"), BackupFullPath("/srv/backups", "a.csv"));
  EXPECT_EQ(BackupFullPath("C:\\Data\\", "a.csv"), "C:\\Data\\a.csv");
  EXPECT_EQ(BackupFullPath("", "a.csv"), "a.csv");
  EXPECT_EQ(FolderOfFile("/srv/db/Velmora.sq3"), "/srv/db");
  EXPECT_EQ(FolderOfFile("C:\\Velmora\\Velmora.sq3"), "C:\\Velmora");
  EXPECT_EQ(FolderOfFile("/Velmora.sq3"), "/");
  EXPECT_EQ(FolderOfFile("Velmora.sq3"), "");
}

TEST(BackupSettingsTables, FrequenciesTypesAndDefaults) {
  EXPECT_EQ(kBackupFrequencyCount, 12);
  EXPECT_EQ(BackupFrequencyMinutes(-1), 0);  // no selection
  EXPECT_EQ(BackupFrequencyMinutes(2), 10);
  EXPECT_EQ(BackupFrequencyMinutes(11), 1440);
  EXPECT_EQ(BackupFrequencyMinutes(12), 0);
  EXPECT_EQ(BackupFrequencyIndex(0), 0);
  EXPECT_EQ(BackupFrequencyIndex(45), 6);
  EXPECT_EQ(BackupFrequencyIndex(7), 7);  // not in the table: "Every Hour"
  EXPECT_STREQ(kBackupFrequencies[BackupFrequencyIndex(7)].entry, "Every Hour");
  EXPECT_STREQ(BackupTypeText(0), "Full Backup");
  EXPECT_STREQ(BackupTypeText(1), "Incremental Backup");

  InMemorySettingsStore store;
  BackupSettings defaults = ReadBackupSettings(store);
  EXPECT_EQ(defaults.path, "");
  EXPECT_EQ(defaults.nameRoot, "");
  EXPECT_EQ(defaults.separator, ';');
  EXPECT_EQ(defaults.frequency, 0);
  EXPECT_EQ(defaults.type, kIncrementalBackup);
  settings::Write(store, settings::kSaveOPCDataPath, "/srv/backups");
  settings::Write(store, settings::kBackupType, 0);
  const BackupSettings stored = ReadBackupSettings(store);
  EXPECT_EQ(stored.path, "/srv/backups");
  EXPECT_EQ(stored.type, kFullBackup);
}

}  // namespace
