#pragma once
// A temporary database with recorded acquisitions, written by the recorder itself.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "acquisition/acquisition_recorder.h"
#include "base/log.h"
#include "db/database_check.h"
#include "explorer/table_text.h"
#include "sqlite_scalar.h"
#include "temp_dir.h"
#include "test_context.h"

// The export and clipboard texts of a recording read in pages (a read failure fails the
// test).
inline std::string ExportOf(const CRecordingPages& recording, char separator) {
  std::string text;
  EXPECT_TRUE(ExportText(recording, separator, text));
  return text;
}
inline std::string ClipboardOf(const CRecordingPages& recording) {
  std::string text;
  EXPECT_TRUE(ClipboardText(recording, text));
  return text;
}

class ExplorerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    path = dir.File("Velmora.sq3");
    ASSERT_TRUE(CheckVelmoraDatabase(db, path));
  }

  // The configuration: groups of the given item names (the last of each group calculated
  // when calcLast is set).
  static RecordedConfiguration Configuration(const std::vector<std::vector<std::string>>& groups,
                                             bool calcLast = false) {
    RecordedConfiguration configuration;
    configuration.serverId = "Velmora.SimServer.1";
    configuration.host = "Local Host";
    int index = 0;
    for (const auto& names : groups) {
      RecordedGroup group;
      group.name = "Group " + std::to_string(++index);
      group.updateRate = 1000;
      for (size_t i = 0; i < names.size(); ++i) {
        RecordedItem item;
        item.qualifiedId = names[i];
        item.shortId = names[i];
        item.dataType = 5;
        item.itemType = calcLast && i + 1 == names.size() ? 1 : 0;
        group.items.push_back(item);
      }
      configuration.groups.push_back(group);
    }
    return configuration;
  }

  static std::string TimeText(int second) {
    return Format("07/Dec/2026 10:%02d:%02d.000", second / 60 % 60, second % 60);
  }

  // Records rows data sets of the configuration; cell(row, column) gives each cell and
  // status(row, column) its bits. closed: the end and count are written as at Stop.
  int Record(const RecordedConfiguration& configuration, int rows,
             const std::function<std::string(int, int)>& cell,
             const std::function<uint8_t(int, int)>& status = nullptr, bool closed = true) {
    CAcquisitionRecorder recorder(db);
    int id = -1;
    EXPECT_TRUE(recorder.RecordStart(configuration, id));
    int columns = 0;
    for (const auto& group : configuration.groups)
      columns += static_cast<int>(group.items.size());
    EXPECT_EQ(db.OpenExistingFile(), DbStatus::kOk);
    EXPECT_TRUE(recorder.RecordFirstRead(id, 1000, LocalTime{2026, 12, 7, 10, 0, 0, 0, 1}));
    for (int row = 0; row < rows; ++row) {
      DataSet set(TimeText(row), columns);
      for (int column = 1; column <= columns; ++column) {
        set.SetCell(column, cell(row, column));
        if (status)
          set.OrStatus(column, status(row, column));
      }
      int64_t rowId = kNoDataRowId;
      EXPECT_EQ(recorder.StoreDataSet(id, true, CompactDataSet(set), rowId), StoreResult::kStored);
    }
    db.Close();
    if (closed) {
      EXPECT_TRUE(recorder.RecordEnd(id, rows > 0 ? TimeText(rows - 1) : "", rows));
    }
    return id;
  }

  std::string Scalar(const std::string& sql) { return SqliteScalar(path, sql); }

  TempDir dir;
  std::string path;
  TestContext test;
  CSQLite db{test.context};
};
