// The statement stores against temporary databases: typed answers, the one id source,
// hostile values (quotes, unicode, percent signs) stored as they are, and the logged
// statement texts unchanged for ordinary values.
#include <gtest/gtest.h>

#include "db/catalogue_store.h"
#include "db/project_list.h"
#include "db/project_rows.h"
#include "db/recording_list_control.h"
#include "db/recording_store.h"
#include "db/row_ids.h"
#include "db/schema.h"
#include "db/transaction.h"
#include "db_test_util.h"
#include "temp_dir.h"
#include "test_context.h"

namespace {

// A quote that would end an SQL text, a percent sign that a printf format would eat,
// and non-ASCII text (é, €, 漢).
const std::string kHostile = "O'Brien's \"x\" 100% %s %q \xC3\xA9\xE2\x82\xAC\xE6\xBC\xA2 ');--";

class Stores : public ::testing::Test {
 protected:
  void SetUp() override {
    db.SetPath(path);
    ASSERT_EQ(db.OpenFile(), DbStatus::kOk);
    ASSERT_TRUE(CreateSchema(db));
  }
  std::string Value(const std::string& statement) {
    RawConnection raw(path);
    return raw.Value(statement);
  }

  TempDir dir;
  std::string path = dir.File("Velmora.sq3");
  TestContext ctx;
  CSQLite db{ctx.context};
};

TEST_F(Stores, TypedAnswersTellFailuresApart) {
  EXPECT_EQ(db.ExecSQL("CREATE TABLE t( a INTEGER, b TEXT);"), DbStatus::kOk);
  EXPECT_EQ(db.ExecSQL("INSERT INTO nowhere VALUES( 1);"), DbStatus::kFailed);
  std::vector<QueryCell> cells;
  EXPECT_EQ(db.GetQueryData("SELECT a FROM nowhere", {}, cells).Status(), DbStatus::kNotPrepared);
  const DbResult<int> none = db.GetQueryData("SELECT a FROM t", {}, cells);
  ASSERT_TRUE(none.Ok());
  EXPECT_EQ(none.Value(), 0);
  EXPECT_EQ(db.QueryInt64("SELECT a FROM t").Status(), DbStatus::kNoRow);
  const std::string text = kHostile;
  ASSERT_EQ(db.ExecBound("INSERT INTO t VALUES( 7, ?)", {SqlBinding::Text(text)}), DbStatus::kOk);
  const DbResult<bool> found = db.HasRow("SELECT a FROM t WHERE b = ?", {SqlBinding::Text(text)});
  ASSERT_TRUE(found.Ok());
  EXPECT_TRUE(found.Value());
  EXPECT_FALSE(db.HasRow("SELECT a FROM t WHERE b = ?", {SqlBinding::Text(text + "x")}).Value());
  const DbResult<int64_t> a =
      db.QueryInt64("SELECT a FROM t WHERE b = ?", {SqlBinding::Text(text)});
  ASSERT_TRUE(a.Ok());
  EXPECT_EQ(a.Value(), 7);
  db.Close();
  db.SetPath(dir.File("no such folder/Velmora.sq3"));
  EXPECT_EQ(db.ExecSQL("SELECT 1;", SqlRun().Opening()), DbStatus::kOpenFailed);
  EXPECT_EQ(db.QueryInt64("SELECT 1", {}, SqlRun().Opening()).Status(), DbStatus::kOpenFailed);
}

TEST_F(Stores, NewIdIsTheInsertsOwnRowId) {
  // Rows of a higher id that are not the one inserted must not be taken for it.
  ASSERT_EQ(db.ExecSQL("INSERT INTO OPCPrj( OPCPrj_Id, OPCPrj_Name) VALUES( 50, 'high');"),
            DbStatus::kOk);
  ASSERT_EQ(db.ExecSQL("DELETE FROM OPCPrj;"), DbStatus::kOk);
  const DbResult<int64_t> id =
      InsertRow(db, "INSERT INTO OPCPrj( OPCPrj_Id, OPCPrj_Name) VALUES( ?, ?)",
                {SqlBinding::Integer(7), SqlBinding::Text(kHostile)});
  ASSERT_TRUE(id.Ok());
  EXPECT_EQ(id.Value(), 7);
  EXPECT_EQ(Value("SELECT OPCPrj_Name FROM OPCPrj WHERE OPCPrj_Id = 7"), kHostile);
  EXPECT_EQ(InsertRow(db, "INSERT INTO nowhere VALUES( ?)", {SqlBinding::Integer(1)}).Status(),
            DbStatus::kNotPrepared);
}

TEST_F(Stores, AcquisitionIdsAreNeverReused) {
  EXPECT_EQ(FirstUnusedAcquisitionId(db).Value(), 1);
  CRecordingStore store(db, kLogDataAcquisition);
  const DbResult<int64_t> first = store.InsertAcquisition("Sim.1", "Local Host", "guid");
  ASSERT_TRUE(first.Ok());
  EXPECT_EQ(first.Value(), 1);
  EXPECT_EQ(Value("SELECT Config_IntData FROM Config WHERE Config_Mnemo = 'ACQ_LAST_ID'"), "1");
  ASSERT_EQ(db.ExecSQL("DELETE FROM OPCAcq;"), DbStatus::kOk);
  // The deleted acquisition's id stays used: the mark remembers it.
  const DbResult<int64_t> second = store.InsertAcquisition("Sim.1", "Local Host", "guid");
  ASSERT_TRUE(second.Ok());
  EXPECT_EQ(second.Value(), 2);
  ASSERT_EQ(MarkAcquisitionIdUsed(db, 40), DbStatus::kOk);
  EXPECT_EQ(FirstUnusedAcquisitionId(db).Value(), 41);
  // Group ids stay above every item's group, orphans included.
  ASSERT_EQ(db.ExecSQL("INSERT INTO OPCAcqItem( OPCAcqGrp_Id) VALUES( 9);"), DbStatus::kOk);
  EXPECT_EQ(FirstUnusedAcquisitionGroupId(db).Value(), 10);
}

TEST_F(Stores, RecordingKeepsHostileTextsAndItsLoggedTexts) {
  CRecordingStore store(db, kLogDataAcquisition);
  const DbResult<int64_t> id = store.InsertAcquisition(kHostile, "Host'1", "{guid}");
  ASSERT_TRUE(id.Ok());
  EXPECT_EQ(Value("SELECT OPCAcq_ServerId FROM OPCAcq"), kHostile);
  EXPECT_EQ(Value("SELECT OPCAcq_ServerHost FROM OPCAcq"), "Host'1");
  EXPECT_TRUE(ctx.sink.Contains(
      "Executing SQL Transaction: INSERT INTO OPCAcq( OPCAcq_Id, OPCAcq_ServerId, "
      "OPCAcq_ServerHost, OPCacq_ServerGuid, OPCAcq_StartDate, OPCAcq_StartTime, OPCAcq_EndDate, "
      "OPCAcq_EndTime, OPCAcq_DataCount)VALUES( 1, 'O''Brien''s \"x\" 100% %s %q "
      "\xC3\xA9\xE2\x82\xAC\xE6\xBC\xA2 '');--', 'Host''1', '{guid}','Undefined', 'Undefined', "
      "'Undefined', 'Undefined', -1)",
      kLogDataAcquisition));

  const int acquisition = static_cast<int>(id.Value());
  const DbResult<int64_t> group = store.InsertGroup(5, acquisition, kHostile, 1000);
  ASSERT_TRUE(group.Ok());
  EXPECT_EQ(group.Value(), 5);
  EXPECT_EQ(store.InsertItem(5, kHostile, "short'", "100%", 5, 0), DbStatus::kOk);
  EXPECT_EQ(Value("SELECT OPCAcqGrp_Name FROM OPCAcqGrp"), kHostile);
  EXPECT_EQ(Value("SELECT OPCAcqItem_QualifiedName || '|' || OPCAcqItem_ShortName || '|' || "
                  "OPCAcqItem_Data FROM OPCAcqItem"),
            kHostile + "|short'|100%");

  // The logged update texts are the ones always logged for ordinary values.
  EXPECT_EQ(store.RecordFirstRead(acquisition, 1000, "05/Mar/2026", "09:04:07.250"), DbStatus::kOk);
  EXPECT_TRUE(ctx.sink.Contains(
      "Executing SQL Transaction: UPDATE OPCAcq Set OPCAcq_UpdateRate = 1000,  OPCAcq_StartDate = "
      "'05/Mar/2026', OPCAcq_StartTime = '09:04:07.250' WHERE OPCAcq_Id = 1",
      kLogDataAcquisition));
  const DbResult<int> changed = store.RecordEnd(acquisition, "05/Mar/2026", "09:05:07.250", 60);
  ASSERT_TRUE(changed.Ok());
  EXPECT_EQ(changed.Value(), 1);
  EXPECT_TRUE(
      ctx.sink.Contains("Executing SQL Transaction: UPDATE OPCAcq Set OPCAcq_EndDate = "
                        "'05/Mar/2026', OPCAcq_EndTime = '09:05:07.250', OPCAcq_DataCount = 60 "
                        "WHERE OPCAcq_Id = 1",
                        kLogDataAcquisition));
  // A quote in a time text no longer breaks the statement.
  const DbResult<int> odd = store.RecordEnd(acquisition, "05/Mar/2026", "9'05", 61);
  ASSERT_TRUE(odd.Ok());
  EXPECT_EQ(Value("SELECT OPCAcq_EndTime FROM OPCAcq"), "9'05");
  EXPECT_EQ(store.RecordEnd(acquisition + 1, "d", "t", 1).Value(), 0);

  const std::vector<unsigned char> blob = {1, 0, 2};
  bool prepared = false;
  ASSERT_EQ(store.WriteDataSet(acquisition, CRecordingStore::kNewRow, kHostile, blob.data(),
                               blob.size(), &prepared),
            SQLITE_DONE);
  const DbResult<std::vector<RecordedRowKey>> rows = store.DataRows(acquisition);
  ASSERT_TRUE(rows.Ok());
  ASSERT_EQ(rows.Value().size(), 1u);
  EXPECT_EQ(rows.Value()[0].timeText, kHostile);
  EXPECT_TRUE(store.AcquisitionExists(acquisition).Value());
  EXPECT_FALSE(store.AcquisitionExists(acquisition + 1).Value());
}

TEST_F(Stores, CatalogueRepairAndDelete) {
  CCatalogueStore store(db);
  ASSERT_EQ(db.ExecSQL("INSERT INTO OPCAcq( OPCAcq_Id) VALUES( 3);"
                       "INSERT INTO OPCAcqGrp( OPCAcqGrp_Id, OPCAcq_Id) VALUES( 4, 3);"
                       "INSERT INTO OPCAcqItem( OPCAcqGrp_Id) VALUES( 4);"
                       "INSERT INTO OPCAcqData( OPCAcq_Id, OPCAcqData_Time) VALUES( 3, 'a'), "
                       "( 3, '05/Mar/2026 09:04:07.250');"),
            DbStatus::kOk);
  EXPECT_EQ(store.DataRowCount(3).Value(), 2);
  EXPECT_EQ(store.DataRowCount(9).Value(), 0);
  EXPECT_EQ(store.LastDataRowTime(3).Value(), "05/Mar/2026 09:04:07.250");
  EXPECT_EQ(store.LastDataRowTime(9).Status(), DbStatus::kNoRow);
  EXPECT_EQ(CCatalogueStore::RepairEndText("05/Mar/2026", "09:04:07.250", 2, 3),
            "UPDATE OPCAcq SET OPCAcq_EndDate = '05/Mar/2026', OPCAcq_EndTime = '09:04:07.250', "
            "OPCAcq_DataCount = 2 WHERE OPCAcq_Id = 3");
  EXPECT_EQ(store.RepairEnd("05/Mar/2026", "it's", 2, 3, kLogProjects), DbStatus::kOk);
  EXPECT_EQ(Value("SELECT OPCAcq_EndTime FROM OPCAcq"), "it's");
  EXPECT_TRUE(ctx.sink.Contains("OPCAcq_EndTime = 'it''s'", kLogProjects));
  EXPECT_EQ(store.Delete(3, SqlRun::Logged(kLogProjects)), DbStatus::kOk);
  EXPECT_EQ(Value("SELECT COUNT(*) FROM OPCAcqData") + Value("SELECT COUNT(*) FROM OPCAcqItem") +
                Value("SELECT COUNT(*) FROM OPCAcq"),
            "000");
}

TEST_F(Stores, ProjectRowsByHostileNames) {
  CProjectRows rows(db);
  const DbResult<int64_t> other = rows.InsertProject("other", "s", "h", "g", "d", "t");
  const DbResult<int64_t> project =
      rows.InsertProject(kHostile, kHostile, "h'", "g", "2026-03-05", "09:04:07");
  ASSERT_TRUE(other.Ok());
  ASSERT_TRUE(project.Ok());
  EXPECT_EQ(project.Value(), other.Value() + 1);
  const DbResult<int64_t> group = rows.InsertGroup(project.Value(), {kHostile, true, 500, 0, 0, 1});
  ASSERT_TRUE(group.Ok());
  EXPECT_EQ(rows.InsertItems(group.Value(), {{kHostile, "s'", "100%", 5}}, 0), DbStatus::kOk);
  EXPECT_EQ(Value("SELECT OPCItem_QualifiedName FROM OPCItem"), kHostile);
  EXPECT_TRUE(rows.NameExists(kHostile).Value());
  EXPECT_FALSE(rows.NameExists("O'Brien").Value());
  EXPECT_EQ(rows.LatestId(kHostile).Value(), project.Value());
  EXPECT_EQ(rows.LatestId("none").Status(), DbStatus::kNoRow);
  const DbResult<ProjectHead> head = rows.LatestHead(kHostile);
  ASSERT_TRUE(head.Ok());
  EXPECT_EQ(head.Value().id, project.Value());
  EXPECT_EQ(head.Value().serverId, kHostile);
  EXPECT_EQ(head.Value().host, "h'");
  EXPECT_EQ(rows.LatestHead("O'Brien").Status(), DbStatus::kNoRow);
  // A name that would be code in a raw text removes its own project only.
  EXPECT_EQ(rows.Delete("x' OR '1'='1"), DbStatus::kOk);
  EXPECT_EQ(Value("SELECT COUNT(*) FROM OPCPrj"), "2");
  EXPECT_EQ(rows.Clean(kHostile), DbStatus::kOk);
  EXPECT_EQ(Value("SELECT OPCPrj_Name FROM OPCPrj"), "other");
  EXPECT_EQ(Value("SELECT COUNT(*) FROM OPCItem") + Value("SELECT COUNT(*) FROM OPCGrp"), "00");
}

TEST_F(Stores, ProjectListsShowHostileNamesAndLogTheirStatements) {
  CProjectRows rows(db);
  const DbResult<int64_t> project = rows.InsertProject(kHostile, "s", "h", "g", "d", "t");
  ASSERT_TRUE(project.Ok());
  const DbResult<int64_t> group = rows.InsertGroup(project.Value(), {kHostile, true, 500, 0, 0, 1});
  ASSERT_TRUE(group.Ok());
  ASSERT_EQ(rows.InsertItems(group.Value(), {{"Item'1 100%", "s", "", 5}}, 0), DbStatus::kOk);
  const std::string id = std::to_string(project.Value());

  CRecordingListControl list;
  ASSERT_EQ(db.UpdateListCtrl(CProjectRows::ListStatement(true, kSortByName), list).ValueOr(-1), 1);
  EXPECT_EQ(list.Cell(0, kProjectNameColumn), kHostile);
  EXPECT_EQ(list.Cell(0, 5), "1");  // groups
  EXPECT_EQ(list.Cell(0, 6), "1");  // items
  ASSERT_EQ(db.UpdateListCtrl(CProjectRows::GroupListStatement(project.Value()), list,
                              ListCtrlForm::kKeyed)
                .ValueOr(-1),
            1);
  EXPECT_EQ(list.Cell(0, 0), kHostile);
  EXPECT_TRUE(ctx.sink.Contains(
      "Executing SQL Transaction: SELECT OPCGrp_Id, OPCGrp_Name AS 'Group Name', OPCGrp_Active "
      "AS 'Active Status', OPCGrp_UpdateRate AS 'Update Rate (ms)' FROM OPCGrp WHERE OPCPrj_Id = " +
      id + " ORDER BY OPCGrp_Id"));
  ASSERT_EQ(db.UpdateListCtrl(CProjectRows::ItemListStatement(project.Value()), list,
                              ListCtrlForm::kKeyed)
                .ValueOr(-1),
            1);
  EXPECT_EQ(list.Cell(0, 0), kHostile);
  EXPECT_EQ(list.Cell(0, 1), "Item'1 100%");
  EXPECT_NE(CProjectRows::ItemListStatement(project.Value())
                .find("WHERE OPCPrj_Id = " + id +
                      " ORDER BY OPCGrp_Id) ORDER BY "
                      "OPCItem.OPCGrp_Id, OPCItem.OPCItem_Id"),
            std::string::npos);
}

TEST_F(Stores, ChartItemsOfOneAcquisitionInRecordingOrder) {
  CRecordingStore recording(db, kLogDataAcquisition);
  const int first = static_cast<int>(recording.InsertAcquisition("s", "h", "g").Value());
  const int second = static_cast<int>(recording.InsertAcquisition("s", "h", "g").Value());
  ASSERT_EQ(recording.InsertGroup(1, first, "G", 1000).Status(), DbStatus::kOk);
  ASSERT_EQ(recording.InsertGroup(2, second, "G", 1000).Status(), DbStatus::kOk);
  ASSERT_EQ(recording.InsertItem(1, kHostile, "short'%", "100% 'd'", 5, 0), DbStatus::kOk);
  ASSERT_EQ(recording.InsertItem(2, "other", "o", "", 5, 0), DbStatus::kOk);
  ASSERT_EQ(recording.InsertItem(1, "calc", "c", "A + 1", 4, 1), DbStatus::kOk);
  const std::string statement = CCatalogueStore::ChartItemStatement(first);
  EXPECT_NE(statement.find("WHERE OPCAcq_Id = " + std::to_string(first) + ")"), std::string::npos);
  std::vector<QueryCell> cells;
  const DbResult<int> columns = db.GetQueryData(statement, {}, cells);
  ASSERT_TRUE(columns.Ok());
  EXPECT_EQ(columns.Value(), 5);
  ASSERT_EQ(cells.size(), 10u);  // two items of the first acquisition, five cells each
  EXPECT_EQ(cells[0].text, kHostile);
  EXPECT_EQ(cells[1].text, "short'%");
  EXPECT_EQ(cells[2].text, "100% 'd'");
  EXPECT_EQ(cells[3].intValue, 0);
  EXPECT_EQ(cells[4].intValue, 5);
  EXPECT_EQ(cells[5].text, "calc");
  EXPECT_EQ(cells[8].intValue, 1);
}

TEST_F(Stores, CompactionNeedsTheOpenHandleAndGivesSpaceBack) {
  CCatalogueStore store(db);
  const std::string big(4000, 'x');
  ASSERT_EQ(BeginTransaction(db), DbStatus::kOk);
  for (int i = 0; i < 200; ++i) {
    ASSERT_EQ(db.ExecBound("INSERT INTO OPCAcqData( OPCAcq_Id, OPCAcqData_Time) VALUES( 3, ?)",
                           {SqlBinding::Text(big)}),
              DbStatus::kOk);
  }
  ASSERT_EQ(CommitTransaction(db), DbStatus::kOk);
  ASSERT_EQ(store.Delete(3, {}), DbStatus::kOk);
  const int64_t pagesBefore = db.QueryInt64("PRAGMA page_count").Value();
  EXPECT_EQ(store.Compact(), DbStatus::kOk);
  EXPECT_LT(db.QueryInt64("PRAGMA page_count").Value(), pagesBefore / 4);
  // A reader in the middle of a statement holds the file: one try, no wait.
  RawConnection reader(path);
  sqlite3_stmt* reading = nullptr;
  ASSERT_EQ(
      sqlite3_prepare_v2(reader.Handle(), "SELECT name FROM sqlite_master", -1, &reading, nullptr),
      SQLITE_OK);
  ASSERT_EQ(sqlite3_step(reading), SQLITE_ROW);
  EXPECT_EQ(store.Compact(), DbStatus::kFailed);
  sqlite3_finalize(reading);
  db.Close();
  EXPECT_EQ(store.Compact(), DbStatus::kOpenFailed);
}

TEST_F(Stores, TransactionsKeepHostileValuesAndRollBackWhatIsLeftOpen) {
  const std::string name = kHostile;
  ctx.sink.Clear();
  ASSERT_EQ(BeginImmediateTransaction(db, kLogDataAcquisition), DbStatus::kOk);
  // Another connection cannot write meanwhile: the write lock was taken at the start.
  RawConnection other(path);
  EXPECT_EQ(other.Exec("INSERT INTO OPCPrj( OPCPrj_Name) VALUES( 'other');"), SQLITE_BUSY);
  ASSERT_EQ(db.ExecBound("INSERT INTO OPCPrj( OPCPrj_Name) VALUES( ?)", {SqlBinding::Text(name)}),
            DbStatus::kOk);
  ASSERT_EQ(CommitTransaction(db, kLogDataAcquisition), DbStatus::kOk);
  EXPECT_EQ(Value("SELECT OPCPrj_Name FROM OPCPrj"), kHostile);
  EXPECT_TRUE(RollbackIfOpen(db));  // nothing open: nothing to do

  ASSERT_EQ(BeginTransaction(db), DbStatus::kOk);
  ASSERT_EQ(db.ExecBound("INSERT INTO OPCPrj( OPCPrj_Name) VALUES( ?)", {SqlBinding::Text(name)}),
            DbStatus::kOk);
  EXPECT_EQ(sqlite3_get_autocommit(db.Handle()), 0);
  EXPECT_TRUE(RollbackIfOpen(db));
  EXPECT_EQ(sqlite3_get_autocommit(db.Handle()), 1);
  EXPECT_EQ(Value("SELECT COUNT(*) FROM OPCPrj"), "1");
  EXPECT_EQ(CommitTransaction(db), DbStatus::kFailed);  // none is open
  db.Close();
  EXPECT_TRUE(RollbackIfOpen(db));
  EXPECT_EQ(BeginTransaction(db), DbStatus::kFailed);
  EXPECT_TRUE(ctx.sink.lines.empty()) << ctx.sink.Dump();  // never logged
}

}  // namespace
