#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "acquisition/acquisition_recorder.h"
#include "acquisition/value_text.h"
#include "base/log.h"
#include "db/database_check.h"
#include "sqlite_scalar.h"
#include "temp_dir.h"
#include "test_context.h"

namespace {

class RecorderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    path = dir.File("Velmora.sq3");
    ASSERT_TRUE(CheckVelmoraDatabase(db, path));
  }

  // Reads one value of the test database with a separate connection.
  std::string Scalar(const std::string& sql) { return SqliteScalar(path, sql); }

  std::string StoredValueText(int dataId) {
    sqlite3* handle = nullptr;
    sqlite3_open(path.c_str(), &handle);
    sqlite3_stmt* statement = nullptr;
    std::string text;
    sqlite3_prepare_v2(handle, "SELECT OPCAcqData_Value FROM OPCAcqData WHERE OPCAcqData_Id = ?",
                       -1, &statement, nullptr);
    sqlite3_bind_int(statement, 1, dataId);
    if (sqlite3_step(statement) == SQLITE_ROW) {
      DecompressValueText(static_cast<const uint8_t*>(sqlite3_column_blob(statement, 0)),
                          static_cast<size_t>(sqlite3_column_bytes(statement, 0)), text);
    }
    sqlite3_finalize(statement);
    sqlite3_close(handle);
    return text;
  }

  RecordedConfiguration Configuration() {
    RecordedConfiguration configuration;
    configuration.serverId = "Velmora.SimServer.1";
    configuration.host = "Local Host";
    configuration.classIdText = "0b7e1c4a-3f1d-4c8e-9a55-1c2d3e4f5a6b";
    RecordedGroup group;
    group.name = "O'Neil";
    group.updateRate = 1000;
    group.items.push_back({"Plant.Line1.Tank1.Level", "G01_A001", "Tank 'A' level", 5, 0});
    group.items.push_back({"C1", "C1", "G01_A001 * 2", 4, 1});
    configuration.groups.push_back(group);
    return configuration;
  }

  TempDir dir;
  std::string path;
  TestContext test;
  CSQLite db{test.context};
};

TEST_F(RecorderTest, StartRecordsTheConfigurationWithApostrophesQuoted) {
  CAcquisitionRecorder recorder(db);
  int acquisitionId = -1;
  ASSERT_TRUE(recorder.RecordStart(Configuration(), acquisitionId));
  EXPECT_EQ(acquisitionId, 1);
  EXPECT_EQ(Scalar("SELECT OPCAcqGrp_Name FROM OPCAcqGrp"), "O'Neil");
  EXPECT_EQ(Scalar("SELECT OPCAcqItem_Data FROM OPCAcqItem WHERE OPCAcqItem_ItemType = 0"),
            "Tank 'A' level");
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM OPCAcqItem"), "2");
  EXPECT_EQ(Scalar("SELECT OPCAcq_StartDate || OPCAcq_DataCount FROM OPCAcq"), "Undefined-1");
  EXPECT_FALSE(db.IsOpen());

  // Resume keeps the row.
  ASSERT_TRUE(recorder.RecordStart(Configuration(), acquisitionId));
  EXPECT_EQ(acquisitionId, 1);
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM OPCAcq"), "1");
}

TEST_F(RecorderTest, DataSetsAreInsertedThenUpdatedByIdAndTheEndIsRecorded) {
  CAcquisitionRecorder recorder(db);
  int acquisitionId = -1;
  ASSERT_TRUE(recorder.RecordStart(Configuration(), acquisitionId));
  ASSERT_EQ(db.OpenExistingFile(), DbStatus::kOk);
  EXPECT_TRUE(recorder.RecordFirstRead(acquisitionId, 1000, LocalTime{2026, 3, 3, 9, 5, 7, 42, 2}));
  DataSet row("03/Mar/2026 09:05:07.042", 2);
  row.SetCell(1, "1.00");
  row.OrStatus(2, kStatusInactive);
  int64_t firstId = kNoDataRowId;
  EXPECT_EQ(recorder.StoreDataSet(acquisitionId, true, CompactDataSet(row), firstId),
            StoreResult::kStored);
  EXPECT_EQ(firstId, 1);
  // The same time text again (the clock went back) is a new data set, never a rewrite.
  int64_t secondId = kNoDataRowId;
  EXPECT_EQ(recorder.StoreDataSet(acquisitionId, true, CompactDataSet(row), secondId),
            StoreResult::kStored);
  EXPECT_EQ(secondId, 2);
  row.SetCell(2, "2.00");
  EXPECT_EQ(recorder.StoreDataSet(acquisitionId, true, CompactDataSet(row), firstId),
            StoreResult::kStored);
  EXPECT_EQ(recorder.StoreDataSet(acquisitionId, false, CompactDataSet(row), firstId),
            StoreResult::kNotStored);
  int64_t goneId = 99;
  EXPECT_EQ(recorder.StoreDataSet(acquisitionId, true, CompactDataSet(row), goneId),
            StoreResult::kFailed);
  db.Close();
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM OPCAcqData"), "2");
  EXPECT_EQ(StoredValueText(1), "1.00;;2.00;2;");
  EXPECT_EQ(StoredValueText(2), "1.00;;;2;");
  EXPECT_EQ(Scalar("SELECT OPCAcq_StartDate || ' ' || OPCAcq_StartTime || ' ' || "
                   "OPCAcq_UpdateRate FROM OPCAcq"),
            "03/Mar/2026 09:05:07.042 1000");

  ASSERT_TRUE(recorder.RecordEnd(acquisitionId, "03/Mar/2026 09:05:09.042", 3));
  EXPECT_EQ(Scalar("SELECT OPCAcq_EndDate || '|' || OPCAcq_EndTime || '|' || OPCAcq_DataCount "
                   "FROM OPCAcq"),
            "03/Mar/2026|09:05:09.042|3");
  ASSERT_TRUE(recorder.RecordEnd(acquisitionId, "", 0));
  EXPECT_EQ(Scalar("SELECT OPCAcq_EndDate || '|' || OPCAcq_EndTime || '|' || OPCAcq_DataCount "
                   "FROM OPCAcq"),
            "||0");
  EXPECT_FALSE(db.IsOpen());
}

TEST_F(RecorderTest, AStartThatFailsHalfWayLeavesNothingAndSaysWhy) {
  // A refused item insert (the last of the snapshot), then a refused group insert.
  ASSERT_EQ(
      SqliteExec(path,
                 "CREATE TRIGGER refuse_item BEFORE INSERT ON OPCAcqItem WHEN "
                 "NEW.OPCAcqItem_ItemType = 1 BEGIN SELECT RAISE(ABORT, 'item refused'); END;"),
      SQLITE_OK);
  CAcquisitionRecorder recorder(db);
  int acquisitionId = -1;
  EXPECT_FALSE(recorder.RecordStart(Configuration(), acquisitionId));
  EXPECT_EQ(acquisitionId, -1);
  EXPECT_EQ(recorder.LastFailure().message, "item refused");
  ASSERT_EQ(SqliteExec(path,
                       "DROP TRIGGER refuse_item; CREATE TRIGGER refuse_group BEFORE INSERT ON "
                       "OPCAcqGrp BEGIN SELECT RAISE(ABORT, 'group refused'); END;"),
            SQLITE_OK);
  EXPECT_FALSE(recorder.RecordStart(Configuration(), acquisitionId));
  EXPECT_EQ(recorder.LastFailure().message, "group refused");
  EXPECT_EQ(Scalar("SELECT (SELECT COUNT(*) FROM OPCAcq) || (SELECT COUNT(*) FROM OPCAcqGrp) || "
                   "(SELECT COUNT(*) FROM OPCAcqItem)"),
            "000");
  EXPECT_FALSE(db.IsOpen());

  // Resume of an acquisition whose row was deleted in between is refused too.
  ASSERT_EQ(SqliteExec(path, "DROP TRIGGER refuse_group;"), SQLITE_OK);
  ASSERT_TRUE(recorder.RecordStart(Configuration(), acquisitionId));
  ASSERT_EQ(SqliteExec(path, "DELETE FROM OPCAcq;"), SQLITE_OK);
  EXPECT_FALSE(recorder.RecordStart(Configuration(), acquisitionId));
  EXPECT_NE(recorder.LastFailure().message.find("no longer in the database"), std::string::npos);
}

TEST_F(RecorderTest, AVanishedFileIsNeverCreatedAgain) {
  ASSERT_EQ(std::remove(path.c_str()), 0);
  CAcquisitionRecorder recorder(db);
  int acquisitionId = -1;
  EXPECT_FALSE(recorder.RecordStart(Configuration(), acquisitionId));
  EXPECT_FALSE(recorder.RecordEnd(1, "", 0));
  EXPECT_FALSE(std::ifstream(path).good());
  EXPECT_EQ(recorder.LastFailure().message, "unable to open database file");
}

TEST_F(RecorderTest, AWideConfigurationWithLongStringsIsStoredWhole) {
  CAcquisitionRecorder recorder(db);
  int acquisitionId = -1;
  ASSERT_TRUE(recorder.RecordStart(Configuration(), acquisitionId));
  DataSet row("03/Mar/2026 09:05:07.042", 256);
  for (int column = 1; column <= 256; ++column) {
    row.SetCell(column, std::string(200, static_cast<char>('A' + column % 26)) + ",'x" +
                            std::to_string(column));
  }
  ASSERT_EQ(db.OpenExistingFile(), DbStatus::kOk);
  int64_t rowId = kNoDataRowId;
  EXPECT_EQ(recorder.StoreDataSet(acquisitionId, true, CompactDataSet(row), rowId),
            StoreResult::kStored);
  db.Close();
  EXPECT_EQ(StoredValueText(1), OPCAcqValueText(row));
  EXPECT_GT(StoredValueText(1).size(), 5000u);
}

TEST_F(RecorderTest, AReadOnlyDatabaseFailsTheWriteWithSqlitesReason) {
  CAcquisitionRecorder recorder(db);
  int acquisitionId = -1;
  ASSERT_TRUE(recorder.RecordStart(Configuration(), acquisitionId));
  std::string error;
  ASSERT_EQ(db.OpenWithFlags(SQLITE_OPEN_READONLY, error), DbStatus::kOk);
  DataSet row("03/Mar/2026 09:05:07.042", 2);
  int64_t rowId = kNoDataRowId;
  EXPECT_EQ(recorder.StoreDataSet(acquisitionId, true, CompactDataSet(row), rowId),
            StoreResult::kFailed);
  db.Close();
  EXPECT_TRUE(test.sink.Contains("Fail to Write OPC Data to Velmora Database !!! Cause: "));
  EXPECT_EQ(recorder.LastFailure().message, "attempt to write a readonly database");
  EXPECT_EQ(rowId, kNoDataRowId);
}

TEST_F(RecorderTest, IdsAreNeverReusedSoLeftOverRowsNeverJoinANewAcquisition) {
  CAcquisitionRecorder recorder(db);
  int first = -1;
  int second = -1;
  ASSERT_TRUE(recorder.RecordStart(Configuration(), first));
  ASSERT_TRUE(recorder.RecordStart(Configuration(), second));
  EXPECT_EQ(first, 1);
  EXPECT_EQ(second, 2);
  // Another program deletes the newest acquisition but leaves its data and item rows.
  ASSERT_EQ(SqliteExec(path,
                       "INSERT INTO OPCAcqData( OPCAcq_Id, OPCAcqData_Time) VALUES( 2, 'x');"
                       "DELETE FROM OPCAcqGrp WHERE OPCAcq_Id = 2; DELETE FROM OPCAcq WHERE "
                       "OPCAcq_Id = 2;"),
            SQLITE_OK);
  int third = -1;
  ASSERT_TRUE(recorder.RecordStart(Configuration(), third));
  EXPECT_EQ(third, 3);
  // The group ids stay above the left-over item rows too.
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM OPCAcqItem WHERE OPCAcqGrp_Id IN ( SELECT OPCAcqGrp_Id "
                   "FROM OPCAcqGrp WHERE OPCAcq_Id = 3)"),
            "2");
  // Everything gone: the mark in Config still knows the highest id.
  ASSERT_EQ(SqliteExec(path,
                       "DELETE FROM OPCAcq; DELETE FROM OPCAcqGrp; DELETE FROM OPCAcqItem; "
                       "DELETE FROM OPCAcqData;"),
            SQLITE_OK);
  int fourth = -1;
  ASSERT_TRUE(recorder.RecordStart(Configuration(), fourth));
  EXPECT_EQ(fourth, 4);
  EXPECT_EQ(Scalar("SELECT Config_IntData FROM Config WHERE Config_Mnemo = 'ACQ_LAST_ID'"), "4");
  // A file without the mark: data rows of an acquisition that is gone count too.
  ASSERT_EQ(SqliteExec(path,
                       "DELETE FROM Config WHERE Config_Mnemo = 'ACQ_LAST_ID';"
                       "INSERT INTO OPCAcqData( OPCAcq_Id, OPCAcqData_Time) VALUES( 9, 'x');"),
            SQLITE_OK);
  int fifth = -1;
  ASSERT_TRUE(recorder.RecordStart(Configuration(), fifth));
  EXPECT_EQ(fifth, 10);
}

TEST_F(RecorderTest, TheCycleOpenProvesTheFileAndTheAcquisition) {
  CAcquisitionRecorder recorder(db);
  int id = -1;
  ASSERT_TRUE(recorder.RecordStart(Configuration(), id));
  ASSERT_EQ(recorder.OpenForCycle(id), CycleOpen::kOpen);
  EXPECT_TRUE(db.IsOpen());
  db.Close();
  EXPECT_TRUE(recorder.HoldsLock());
  EXPECT_EQ(CRecordingLockProbe(path).State(id), RecordingLockState::kRecorded);

  // An older copy put in its place (a restore, a sync tool) is another file.
  const std::string copy = dir.File("copy.sq3");
  std::filesystem::copy_file(path, copy);
  std::filesystem::rename(copy, path);
  EXPECT_EQ(recorder.OpenForCycle(id), CycleOpen::kReplaced);
  EXPECT_FALSE(db.IsOpen());
  EXPECT_EQ(recorder.LastFailure().message,
            "the database file was replaced during the acquisition");
  // Its end is not written into the file that is there now.
  EXPECT_FALSE(recorder.RecordEnd(id, "03/Mar/2026 09:05:09.042", 3));
  EXPECT_EQ(Scalar("SELECT OPCAcq_DataCount FROM OPCAcq"), "-1");
  EXPECT_FALSE(recorder.HoldsLock());

  // In its own file, the acquisition's row deleted by another program.
  CAcquisitionRecorder other(db);
  int otherId = -1;
  ASSERT_TRUE(other.RecordStart(Configuration(), otherId));
  ASSERT_EQ(SqliteExec(path, Format("DELETE FROM OPCAcq WHERE OPCAcq_Id = %d", otherId)),
            SQLITE_OK);
  EXPECT_EQ(other.OpenForCycle(otherId), CycleOpen::kAcquisitionGone);
  // The end must change exactly one row.
  EXPECT_FALSE(other.RecordEnd(otherId, "03/Mar/2026 09:05:09.042", 3));
  EXPECT_NE(other.LastFailure().message.find("changed 0 rows"), std::string::npos);

  std::filesystem::remove(path);
  EXPECT_EQ(other.OpenForCycle(otherId), CycleOpen::kVanished);
}

TEST_F(RecorderTest, TheEndTextIsSplitAtTheBlankNotCut) {
  CAcquisitionRecorder recorder(db);
  int id = -1;
  ASSERT_TRUE(recorder.RecordStart(Configuration(), id));
  ASSERT_TRUE(recorder.RecordEnd(id, "01/Jan/10000 00:00:01.000", 3));
  EXPECT_EQ(Scalar("SELECT OPCAcq_EndDate || '|' || OPCAcq_EndTime FROM OPCAcq"),
            "01/Jan/10000|00:00:01.000");
}

}  // namespace
