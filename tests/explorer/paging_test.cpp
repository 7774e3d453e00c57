// A recording read in pages: far rows from their pages with a bounded cache, the walk's
// results, the export streamed from the database with the bytes of a whole load, and a
// reload (the change token) while the worker reads pages.
#include <algorithm>
#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>

#include <sqlite3.h>
#include <zlib.h>

#include "acquisition/value_text.h"
#include "db/catalogue_store.h"
#include "explorer/acquisition_loader.h"
#include "explorer/export_file.h"
#include "explorer/export_rows.h"
#include "explorer/project_data.h"
#include "explorer/table_text.h"
#include "explorer_fixture.h"

namespace {

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// Waits until the pages have arrived (the owner's poll), at most a few seconds.
bool WaitForPages(const CRecordingPages& recording, std::vector<int> pages) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (!pages.empty() && std::chrono::steady_clock::now() < deadline) {
    for (const int page : recording.TakeArrivedPages())
      pages.erase(std::remove(pages.begin(), pages.end(), page), pages.end());
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return pages.empty();
}

// A statement that waits while the worker reads (as the recorder waits for readers).
int ExecWaiting(const std::string& path, const std::string& sql) {
  sqlite3* db = nullptr;
  sqlite3_open(path.c_str(), &db);
  sqlite3_busy_timeout(db, 20000);
  const int code = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr);
  sqlite3_close(db);
  return code;
}

class PagingTest : public ExplorerTest {
 protected:
  // The acquisition by the recorder, its rows ("row-column" cells) inserted in one
  // transaction (the recorder commits every data set).
  int RecordRows(int rows) {
    const int id = Record(Configuration({{"A", "B"}}), 0, [](int, int) { return ""; });
    sqlite3* raw = nullptr;
    EXPECT_EQ(sqlite3_open(path.c_str(), &raw), SQLITE_OK);
    sqlite3_exec(raw, "BEGIN;", nullptr, nullptr, nullptr);
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(raw,
                       "INSERT INTO OPCAcqData (OPCAcq_Id, OPCAcqData_Time, OPCAcqData_Value) "
                       "VALUES (?1, ?2, ?3)",
                       -1, &insert, nullptr);
    // One stream for every row (a stream made per row costs more than the row).
    z_stream stream{};
    EXPECT_EQ(deflateInit(&stream, Z_DEFAULT_COMPRESSION), Z_OK);
    std::vector<uint8_t> blob(256);
    for (int row = 0; row < rows; ++row) {
      std::string text = Format("%d-1;;%d-2;;", row, row);
      deflateReset(&stream);
      stream.next_in = reinterpret_cast<Bytef*>(text.data());
      stream.avail_in = static_cast<uInt>(text.size());
      stream.next_out = blob.data();
      stream.avail_out = static_cast<uInt>(blob.size());
      EXPECT_EQ(deflate(&stream, Z_FINISH), Z_STREAM_END);
      blob.resize(blob.size() - stream.avail_out);
      const std::string time = TimeText(row);
      sqlite3_bind_int(insert, 1, id);
      sqlite3_bind_text(insert, 2, time.c_str(), -1, SQLITE_TRANSIENT);
      sqlite3_bind_blob(insert, 3, blob.data(), static_cast<int>(blob.size()), SQLITE_TRANSIENT);
      EXPECT_EQ(sqlite3_step(insert), SQLITE_DONE);
      sqlite3_reset(insert);
      blob.resize(256);
    }
    deflateEnd(&stream);
    sqlite3_finalize(insert);
    sqlite3_exec(raw, "COMMIT;", nullptr, nullptr, nullptr);
    sqlite3_close(raw);
    EXPECT_EQ(
        SqliteExec(
            path, Format("UPDATE OPCAcq SET OPCAcq_DataCount = %d WHERE OPCAcq_Id = %d", rows, id)),
        SQLITE_OK);
    return id;
  }
  CProjectData data{db, test.context};
};

TEST_F(PagingTest, AFarRowComesFromItsPageAndTheCacheStaysBounded) {
  const int pages = static_cast<int>(CRecordingPages::kCachedPages) + 8;
  const int rows = pages * CRecordingPages::kPageRows - 5;
  const int id = RecordRows(rows);
  ASSERT_TRUE(data.StartLoad(id));
  const CRecordingPages& recording = data.Recording();
  // Every row is there at once; the first page comes first.
  EXPECT_EQ(recording.RowCount(), rows);
  ASSERT_TRUE(WaitForPages(recording, {0}));
  EXPECT_EQ(recording.CachedPage(0, false)->Cell(1, 2), "1-2");
  data.WaitForLoad();
  EXPECT_EQ(data.Job().State(), kJobFinished);
  EXPECT_EQ(data.DamageText(), "");
  // The last page, asked of the worker as the view asks.
  const int lastPage = (rows - 1) / CRecordingPages::kPageRows;
  EXPECT_EQ(recording.CachedPage(lastPage, true), nullptr);
  ASSERT_TRUE(WaitForPages(recording, {lastPage}));
  const CRecordingPages::Page page = recording.CachedPage(lastPage, false);
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(page->RowCount(), rows - lastPage * CRecordingPages::kPageRows);
  EXPECT_EQ(page->Cell(page->RowCount() - 1, 1), Format("%d-1", rows - 1));
  // Read now, on the owner's thread: any row.
  EXPECT_EQ(recording.Cell(rows / 2, 2), Format("%d-2", rows / 2));
  for (int p = 0; p < pages; ++p)
    ASSERT_NE(recording.ReadPage(p), nullptr);
  EXPECT_LE(recording.CachedPageCount(), CRecordingPages::kCachedPages);
  // The walk's results: times, widths, extremes of every block.
  EXPECT_EQ(recording.ScannedRows(), rows);
  EXPECT_NE(recording.RowTimeMs(rows - 1), kNoRowTime);
  EXPECT_EQ(recording.RowTimeMs(1) - recording.RowTimeMs(0), 1000);
  EXPECT_EQ(recording.ColumnWidth(1), Format("%d-1", rows - 1).size());
  double minimum = 0, maximum = 0;
  bool minFirst = false;
  const int lastBlock = recording.BlockCount() - 1;
  ASSERT_TRUE(recording.BlockExtremes(lastBlock, 1, minimum, maximum, minFirst));
  EXPECT_EQ(minimum, lastBlock * CRecordingPages::kBlockRows);
  EXPECT_EQ(maximum, rows - 1);
  EXPECT_TRUE(minFirst);
}

TEST_F(PagingTest, TheExportReachesEveryRowWithTheBytesOfAWholeLoad) {
  const int rows = 3 * CRecordingPages::kPageRows + 17;
  const int id = RecordRows(rows);
  // A value holding the separator: its field is quoted.
  std::vector<uint8_t> blob;
  ASSERT_EQ(CompressValueText("x%3By;;600-2;;", blob), Z_OK);
  std::string hex;
  for (const uint8_t byte : blob)
    hex += Format("%02X", byte);
  ASSERT_EQ(SqliteExec(path, Format("UPDATE OPCAcqData SET OPCAcqData_Value = X'%s' WHERE "
                                    "OPCAcqData_Time = '%s'",
                                    hex.c_str(), TimeText(600).c_str())),
            SQLITE_OK);
  ASSERT_TRUE(data.LoadNow(id));
  CLoadedTable whole;
  whole.Reset(data.Recording().Titles());
  CWorkerJob job;
  LoadAcquisitionRows(path, id, whole, job);
  ASSERT_EQ(whole.RowCount(), rows);
  const std::string file = dir.File("export.csv");
  std::string cause;
  ASSERT_TRUE(WriteExportFile(file, data.Recording(), ';', cause)) << cause;
  const std::string written = ReadFile(file);
  EXPECT_EQ(written, ExportText(whole, ';'));
  EXPECT_NE(
      written.find(Format("\r\n%s;%d-1;%d-2\r\n", TimeText(rows - 1).c_str(), rows - 1, rows - 1)),
      std::string::npos);
  EXPECT_NE(written.find("\"x;y\""), std::string::npos);
  EXPECT_EQ(ClipboardOf(data.Recording()), ClipboardText(whole));
  // Nothing of it was held: the export read no page into the cache.
  EXPECT_EQ(data.Recording().CachedPageCount(), 1u);
}

// The export text decoded on more threads comes in row order with the same bytes, in
// pieces of whole batches; a refused piece stops it.
TEST_F(PagingTest, TheExportDecodedOnMoreThreadsKeepsTheRowOrder) {
  const int rows = 9 * CRecordingPages::kPageRows + 31;
  const int id = RecordRows(rows);
  ASSERT_TRUE(data.LoadNow(id));
  CLoadedTable whole;
  whole.Reset(data.Recording().Titles());
  CWorkerJob job;
  LoadAcquisitionRows(path, id, whole, job);
  const std::string expected = ExportText(whole, ',');
  const std::string header = expected.substr(0, expected.find('\n') + 1);
  for (const int threads : {0, 1, 3}) {
    std::string text = header;
    int pieces = 0;
    std::string cause;
    ASSERT_TRUE(StreamRecordingText(
        data.Recording(), threads,
        [](const CLoadedTable::CRowBuilder& row, std::string& out) {
          AppendExportLine(row, ',', 3, out);
        },
        [&](std::string_view piece) {
          text.append(piece);
          ++pieces;
          return true;
        },
        cause))
        << cause;
    EXPECT_EQ(text, expected) << threads << " threads";
    EXPECT_GE(pieces, 1);
    int offered = 0;
    EXPECT_FALSE(StreamRecordingText(
        data.Recording(), threads,
        [](const CLoadedTable::CRowBuilder& row, std::string& out) {
          AppendExportLine(row, ',', 3, out);
        },
        [&](std::string_view) {
          ++offered;
          return false;
        },
        cause));
    EXPECT_TRUE(cause.empty());
    EXPECT_EQ(offered, 1);
  }
}

TEST_F(PagingTest, AnUnreadableDatabaseFailsTheExportAndKeepsTheFile) {
  const int id = RecordRows(10);
  ASSERT_TRUE(data.LoadNow(id));
  const std::string file = dir.File("export.csv");
  {
    std::ofstream before(file, std::ios::binary);
    before << "before";
  }
  ASSERT_EQ(SqliteExec(path, "DROP TABLE OPCAcqData"), SQLITE_OK);
  std::string cause;
  EXPECT_FALSE(WriteExportFile(file, data.Recording(), ';', cause));
  EXPECT_FALSE(cause.empty());
  EXPECT_EQ(ReadFile(file), "before");
}

TEST_F(PagingTest, AReloadWhilePagesAreReadShowsTheRowsThereAreNow) {
  const int rows = 12 * CRecordingPages::kPageRows;
  const int id = RecordRows(rows);
  ASSERT_TRUE(data.StartLoad(id));
  data.WaitForLoad();
  int expected = rows;
  for (int round = 0; round < 4; ++round) {
    // Pages asked for and being read by the worker...
    for (int page = 11; page >= 0; --page)
      data.Recording().CachedPage(page, true);
    // ...while a data set is added: the change token tells, and the load starts anew.
    ASSERT_EQ(ExecWaiting(path, Format("INSERT INTO OPCAcqData (OPCAcq_Id, OPCAcqData_Time, "
                                       "OPCAcqData_Value) SELECT OPCAcq_Id, OPCAcqData_Time, "
                                       "OPCAcqData_Value FROM OPCAcqData WHERE OPCAcqData_Id = "
                                       "(SELECT MIN(OPCAcqData_Id) FROM OPCAcqData WHERE "
                                       "OPCAcq_Id = %d)",
                                       id)),
              SQLITE_OK);
    ++expected;
    ASSERT_TRUE(data.NeedsLoad(id));
    ASSERT_TRUE(data.StartLoad(id));
    EXPECT_EQ(data.Recording().RowCount(), expected);
    // Pages arriving from the load before belong to no one: none is announced.
    for (const int page : data.Recording().TakeArrivedPages())
      EXPECT_EQ(page, 0);
    data.WaitForLoad();
    EXPECT_FALSE(data.NeedsLoad(id));
    EXPECT_EQ(data.Recording().Cell(expected - 1, 1), "0-1");
    EXPECT_EQ(data.Recording().ScannedRows(), expected);
  }
}

// Rows of another acquisition inside this one's id range: the count starts as the range
// and ends exact, and no row of the other acquisition is shown or exported.
TEST_F(PagingTest, TheRowCountEndsExactWithOtherRowsInsideTheIdRange) {
  const int rows = 2 * CRecordingPages::kPageRows + 9;
  const int id = RecordRows(rows);
  const int other = id + 100;
  ASSERT_EQ(SqliteExec(path, Format("INSERT INTO OPCAcqData (OPCAcq_Id, OPCAcqData_Time, "
                                    "OPCAcqData_Value) SELECT %d, OPCAcqData_Time, "
                                    "OPCAcqData_Value FROM OPCAcqData WHERE OPCAcq_Id = %d",
                                    other, id)),
            SQLITE_OK);
  // One more row of this acquisition after them (a copy of its first).
  ASSERT_EQ(SqliteExec(path, Format("INSERT INTO OPCAcqData (OPCAcq_Id, OPCAcqData_Time, "
                                    "OPCAcqData_Value) SELECT OPCAcq_Id, OPCAcqData_Time, "
                                    "OPCAcqData_Value FROM OPCAcqData WHERE OPCAcqData_Id = "
                                    "(SELECT MIN(OPCAcqData_Id) FROM OPCAcqData WHERE "
                                    "OPCAcq_Id = %d)",
                                    id)),
            SQLITE_OK);
  const int expected = rows + 1;
  ASSERT_TRUE(data.StartLoad(id));
  EXPECT_GE(data.Recording().RowCount(), expected);
  data.WaitForLoad();
  EXPECT_EQ(data.Recording().RowCount(), expected);
  EXPECT_EQ(data.Recording().ScannedRows(), expected);
  EXPECT_EQ(data.Job().Total(), expected);
  EXPECT_EQ(data.Recording().Cell(expected - 1, 1), "0-1");
  EXPECT_EQ(data.Recording().Cell(expected - 2, 1), Format("%d-1", rows - 1));
  EXPECT_EQ(data.Recording().CachedPage(expected / CRecordingPages::kPageRows + 1, false), nullptr);
  const std::string text = ExportOf(data.Recording(), ';');
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), expected + 1);
  // The same exact count from a load on this thread.
  ASSERT_TRUE(data.LoadNow(id));
  EXPECT_EQ(data.Recording().RowCount(), expected);
}

// Rows recorded after the view opened are not shown until it loads again: the export of
// the recording as opened holds the rows it had.
TEST_F(PagingTest, RowsAddedAfterOpeningWaitForTheNextLoad) {
  const int rows = CRecordingPages::kPageRows + 3;
  const int id = RecordRows(rows);
  ASSERT_TRUE(data.LoadNow(id));
  ASSERT_EQ(ExecWaiting(path, Format("INSERT INTO OPCAcqData (OPCAcq_Id, OPCAcqData_Time, "
                                     "OPCAcqData_Value) SELECT OPCAcq_Id, OPCAcqData_Time, "
                                     "OPCAcqData_Value FROM OPCAcqData WHERE OPCAcq_Id = %d",
                                     id)),
            SQLITE_OK);
  EXPECT_EQ(data.Recording().RowCount(), rows);
  const std::string text = ExportOf(data.Recording(), ';');
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), rows + 1);
  EXPECT_TRUE(data.NeedsLoad(id));
  ASSERT_TRUE(data.LoadNow(id));
  EXPECT_EQ(data.Recording().RowCount(), 2 * rows);
}

// The change token: another recording leaves it alone; a first row removed, or the
// acquisition deleted, is a change.
TEST_F(PagingTest, TheChangeTokenSeesRemovedRowsAndNotOtherRecordings) {
  const int id = RecordRows(10);
  ASSERT_TRUE(data.LoadNow(id));
  EXPECT_FALSE(data.NeedsLoad(id));
  Record(Configuration({{"C"}}), 3, [](int, int) { return "7"; });
  EXPECT_FALSE(data.NeedsLoad(id));
  ASSERT_EQ(SqliteExec(path, Format("DELETE FROM OPCAcqData WHERE OPCAcqData_Id = (SELECT "
                                    "MIN(OPCAcqData_Id) FROM OPCAcqData WHERE OPCAcq_Id = %d)",
                                    id)),
            SQLITE_OK);
  EXPECT_TRUE(data.NeedsLoad(id));
  ASSERT_TRUE(data.LoadNow(id));
  EXPECT_EQ(data.Recording().RowCount(), 9);
  EXPECT_FALSE(data.NeedsLoad(id));
  ASSERT_EQ(SqliteExec(path, CCatalogueStore::DeleteScript(id)), SQLITE_OK);
  EXPECT_TRUE(data.NeedsLoad(id));
  ASSERT_TRUE(data.LoadNow(id));
  EXPECT_EQ(data.Recording().RowCount(), 0);
}

}  // namespace
