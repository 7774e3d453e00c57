// Damaged and hostile value rows: every row that cannot be read is counted, marked and
// told ("K of N data sets could not be read"); inflating is bounded by what a row of the
// acquisition's columns can hold; a zero byte in a string never shifts a column; a table
// whose acquisition changed since it was loaded is loaded again.
#include <sys/resource.h>
#include <zlib.h>

#include <algorithm>

#include "acquisition/value_text.h"
#include "explorer/acquisition_loader.h"
#include "explorer/project_data.h"
#include "explorer/table_text.h"
#include "explorer_fixture.h"

namespace {

std::string Hex(const std::vector<uint8_t>& bytes) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string text;
  for (uint8_t byte : bytes) {
    text += kDigits[byte >> 4];
    text += kDigits[byte & 15];
  }
  return text;
}

// A zlib stream of `repeats` copies of `unit` then `tail`, made piece by piece so a
// stream of gigabytes needs no such buffer.
std::vector<uint8_t> Deflated(const std::string& unit, size_t repeats, const std::string& tail) {
  z_stream stream{};
  EXPECT_EQ(deflateInit(&stream, Z_BEST_COMPRESSION), Z_OK);
  std::string block;
  while (block.size() < (1u << 20))
    block += unit;
  const size_t perBlock = block.size() / unit.size();
  std::vector<uint8_t> out;
  std::vector<uint8_t> buffer(1 << 16);
  auto feed = [&](const std::string& bytes, int flush) {
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
    stream.avail_in = static_cast<uInt>(bytes.size());
    do {
      stream.next_out = buffer.data();
      stream.avail_out = static_cast<uInt>(buffer.size());
      deflate(&stream, flush);
      out.insert(out.end(), buffer.data(), buffer.data() + (buffer.size() - stream.avail_out));
    } while (stream.avail_out == 0 || stream.avail_in != 0);
  };
  for (size_t done = 0; done + perBlock <= repeats; done += perBlock)
    feed(block, Z_NO_FLUSH);
  std::string rest;
  for (size_t i = 0; i < repeats % perBlock; ++i)
    rest += unit;
  feed(rest + tail, Z_FINISH);
  deflateEnd(&stream);
  return out;
}

long PeakKilobytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

class DamagedRowsTest : public ExplorerTest {
 protected:
  // Three rows of two items; returns the acquisition id.
  int RecordThree() {
    return Record(Configuration({{"A", "B"}}), 3,
                  [](int row, int column) { return Format("%d.%d", row, column); });
  }
  std::string RowId(int id, int index) {
    return Format(
        "(SELECT OPCAcqData_Id FROM OPCAcqData WHERE OPCAcq_Id = %d ORDER BY OPCAcqData_Id "
        "LIMIT 1 OFFSET %d)",
        id, index);
  }
  void Damage(int id, int index, const std::string& value) {
    ASSERT_EQ(SqliteExec(path, "UPDATE OPCAcqData SET OPCAcqData_Value = " + value +
                                   " WHERE OPCAcqData_Id = " + RowId(id, index)),
              SQLITE_OK);
  }
  // The second row damaged by value: 1 of 3 told, the row marked with its time alone,
  // the other rows whole.
  void ExpectSecondRowDamaged(int id) {
    ASSERT_TRUE(data.LoadNow(id));
    const CRecordingPages& table = data.Recording();
    ASSERT_EQ(table.RowCount(), 3);
    EXPECT_EQ(table.DamagedRows(), 1);
    EXPECT_TRUE(table.IsDamaged(1));
    EXPECT_FALSE(table.IsDamaged(0));
    EXPECT_FALSE(table.IsDamaged(2));
    EXPECT_EQ(table.Cell(1, 0), TimeText(1));
    EXPECT_EQ(table.Cell(1, 1), "");
    EXPECT_EQ(table.Cell(2, 2), "2.2");
    EXPECT_EQ(data.UnreadableDataSets(), 1);
    EXPECT_EQ(data.DataSetCount(), 3);
    EXPECT_EQ(data.DamageText(), "1 of 3 data sets could not be read");
  }
  CProjectData data{db, test.context};
};

TEST_F(DamagedRowsTest, WholeRowsReportNothing) {
  const int id = RecordThree();
  ASSERT_TRUE(data.LoadNow(id));
  EXPECT_EQ(data.Recording().DamagedRows(), 0);
  EXPECT_EQ(data.UnreadableDataSets(), 0);
  EXPECT_EQ(data.DamageText(), "");
}

TEST_F(DamagedRowsTest, RandomBytesAreADamagedRow) {
  const int id = RecordThree();
  Damage(id, 1, "randomblob(300)");
  ExpectSecondRowDamaged(id);
}

TEST_F(DamagedRowsTest, TruncatedBlobIsADamagedRow) {
  const int id = RecordThree();
  Damage(id, 1, "substr(OPCAcqData_Value, 1, length(OPCAcqData_Value) - 3)");
  ExpectSecondRowDamaged(id);
}

TEST_F(DamagedRowsTest, NullValueIsADamagedRow) {
  const int id = RecordThree();
  Damage(id, 1, "NULL");
  ExpectSecondRowDamaged(id);
}

TEST_F(DamagedRowsTest, TextInsteadOfBlobIsADamagedRow) {
  const int id = RecordThree();
  Damage(id, 1, "'1.1;;1.2;;'");
  ExpectSecondRowDamaged(id);
}

TEST_F(DamagedRowsTest, WrongNumberOfCellsIsADamagedRow) {
  const int id = RecordThree();
  std::vector<uint8_t> blob;
  ASSERT_EQ(CompressValueText("1.1;;", blob), Z_OK);  // one cell for two items
  Damage(id, 1, "X'" + Hex(blob) + "'");
  ExpectSecondRowDamaged(id);
  // Three cells for two items, and a mark that is not one.
  ASSERT_EQ(CompressValueText("1;;2;;3;;", blob), Z_OK);
  Damage(id, 1, "X'" + Hex(blob) + "'");
  ExpectSecondRowDamaged(id);
  ASSERT_EQ(CompressValueText("1;;2;9;", blob), Z_OK);
  Damage(id, 1, "X'" + Hex(blob) + "'");
  ExpectSecondRowDamaged(id);
}

TEST_F(DamagedRowsTest, BytesAfterTheStreamAreADamagedRow) {
  const int id = RecordThree();
  Damage(id, 1, "OPCAcqData_Value || X'00'");
  ExpectSecondRowDamaged(id);
}

TEST_F(DamagedRowsTest, MissingItemRowsMakeEveryRowDamaged) {
  const int id = RecordThree();
  ASSERT_EQ(SqliteExec(path, "DELETE FROM OPCAcqItem"), SQLITE_OK);
  ASSERT_TRUE(data.LoadNow(id));
  EXPECT_EQ(data.Recording().ColumnCount(), 1);
  EXPECT_EQ(data.Recording().DamagedRows(), 3);
  EXPECT_EQ(data.DamageText(), "3 of 3 data sets could not be read");
}

TEST_F(DamagedRowsTest, OneMissingItemRowMakesEveryRowDamaged) {
  const int id = RecordThree();
  ASSERT_EQ(SqliteExec(path, "DELETE FROM OPCAcqItem WHERE OPCAcqItem_QualifiedName = 'B'"),
            SQLITE_OK);
  ASSERT_TRUE(data.LoadNow(id));
  EXPECT_EQ(data.Recording().ColumnCount(), 2);
  EXPECT_EQ(data.DamageText(), "3 of 3 data sets could not be read");
}

TEST_F(DamagedRowsTest, CountWithoutRowsIsTold) {
  const int id = Record(Configuration({{"A"}}), 0, [](int, int) { return ""; });
  ASSERT_EQ(
      SqliteExec(path, Format("UPDATE OPCAcq SET OPCAcq_DataCount = 20 WHERE OPCAcq_Id = %d", id)),
      SQLITE_OK);
  ASSERT_TRUE(data.LoadNow(id));
  EXPECT_EQ(data.Recording().RowCount(), 0);
  EXPECT_EQ(data.DamageText(), "20 of 20 data sets could not be read");
}

TEST_F(DamagedRowsTest, CountAboveTheRowsCountsTheMissingOnes) {
  const int id = RecordThree();
  ASSERT_EQ(SqliteExec(path, "UPDATE OPCAcq SET OPCAcq_DataCount = 5"), SQLITE_OK);
  Damage(id, 0, "NULL");
  ASSERT_TRUE(data.LoadNow(id));
  EXPECT_EQ(data.DamageText(), "3 of 5 data sets could not be read");
}

TEST_F(DamagedRowsTest, RowsOfARecordingNotYetClosedAreNotMissing) {
  const int id = Record(
      Configuration({{"A"}}), 4, [](int, int) { return "1"; }, nullptr, false);
  ASSERT_TRUE(data.LoadNow(id));
  EXPECT_EQ(data.Summary().dataCount, -1);
  EXPECT_EQ(data.DamageText(), "");
}

TEST_F(DamagedRowsTest, InflatingIsBoundedByWhatTheColumnsCanHold) {
  // One item column: a well-formed single cell of 1 GB from about 1 MB of blob.
  const int id = RecordThree();
  const std::vector<uint8_t> bomb = Deflated(std::string(1024, 'x'), size_t{1} << 20, ";;");
  ASSERT_LT(bomb.size(), size_t{2} << 20);
  Damage(id, 1, "X'" + Hex(bomb) + "'");
  const long before = PeakKilobytes();
  ExpectSecondRowDamaged(id);
  EXPECT_LT(PeakKilobytes() - before, 64 * 1024) << "the loader's memory grew with the bomb";
  // The same bound for the readers of single values.
  std::string text;
  EXPECT_EQ(DecompressValueText(bomb.data(), bomb.size(), text, StoredValueTextLimit(2)),
            Z_BUF_ERROR);
  EXPECT_LE(text.size(), StoredValueTextLimit(2));
}

TEST_F(DamagedRowsTest, TheLongestCellsTheRecorderWritesStillLoad) {
  const std::string semicolons(20000, ';');  // stored cut to the cell limit, each in three
  const int id = Record(
      Configuration({{"S", "T"}}), 1, [&](int, int) { return semicolons; },
      [](int, int) -> uint8_t { return 7; });
  ASSERT_TRUE(data.LoadNow(id));
  EXPECT_EQ(data.DamageText(), "");
  EXPECT_EQ(data.Recording().Cell(0, 2), std::string(kMaxValueCellText, ';'));
  EXPECT_EQ(data.Recording().Status(0, 2), 7);
}

TEST_F(DamagedRowsTest, ZeroByteInAStringNeverShiftsAColumn) {
  const std::string withZero("a\0b;c", 5);
  const int id = Record(Configuration({{"S", "T", "U"}}), 2, [&](int, int column) {
    return column == 1 ? withZero : Format("%d", column);
  });
  ASSERT_EQ(Scalar(Format("SELECT COUNT(*) FROM OPCAcqData WHERE OPCAcq_Id = %d", id)), "2");
  // Also a row written before zero bytes were encoded: the byte stored as it was.
  std::vector<uint8_t> blob;
  ASSERT_EQ(CompressValueText(std::string("x\0y;;2;;3;;", 11), blob), Z_OK);
  Damage(id, 1, "X'" + Hex(blob) + "'");
  ASSERT_TRUE(data.LoadNow(id));
  EXPECT_EQ(data.DamageText(), "");
  const CRecordingPages& table = data.Recording();
  EXPECT_EQ(table.Cell(0, 1),
            "a\xEF\xBF\xBD"
            "b;c");
  EXPECT_EQ(table.Cell(1, 1), "x\xEF\xBF\xBDy");
  EXPECT_EQ(table.Cell(0, 3), "3");
  for (const std::string& text : {ExportOf(table, ';'), ExportOf(table, ','), ClipboardOf(table)}) {
    EXPECT_EQ(text.find('\0'), std::string::npos);
    size_t lines = 0;
    size_t start = 0;
    for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
      const std::string line = text.substr(start, end - start);
      if (lines++ == 0)
        continue;
      // Quoted fields aside, every line has its three separators (the clipboard four).
      EXPECT_TRUE(line.find(std::string("a\xEF\xBF\xBD")) != std::string::npos ||
                  line.find(std::string("x\xEF\xBF\xBDy")) != std::string::npos)
          << line;
      EXPECT_EQ(line.substr(line.size() - 1), text == ClipboardOf(table) ? "," : "3");
    }
    EXPECT_EQ(lines, 3u);
  }
  // The stored form: the zero byte as %00, read back whole by the value-text reader.
  std::string stored;
  ASSERT_EQ(OPCAcqValueText(DataSet("t", 1)).size(), 2u);
  DataSet set("t", 1);
  set.SetCell(1, withZero);
  stored = OPCAcqValueText(set);
  EXPECT_EQ(stored, "a%00b%3Bc;;");
  std::vector<StoredValueField> fields;
  ASSERT_TRUE(SplitValueText(stored, fields));
  EXPECT_EQ(fields[0].text, withZero);
}

TEST_F(DamagedRowsTest, TableIsLoadedAgainWhenTheAcquisitionGrewOrEnded) {
  const int id = Record(Configuration({{"A"}}), 3, [](int, int) { return "1"; });
  ASSERT_TRUE(data.LoadNow(id));
  EXPECT_FALSE(data.NeedsLoad(id));
  // A Resume: more rows under the same id, then a new end.
  CAcquisitionRecorder recorder(db);
  ASSERT_EQ(db.OpenExistingFile(), DbStatus::kOk);
  DataSet set(TimeText(10), 1);
  set.SetCell(1, "2");
  int64_t rowId = kNoDataRowId;
  ASSERT_EQ(recorder.StoreDataSet(id, true, CompactDataSet(set), rowId), StoreResult::kStored);
  db.Close();
  EXPECT_TRUE(data.NeedsLoad(id));
  ASSERT_TRUE(data.LoadNow(id));
  EXPECT_EQ(data.Recording().RowCount(), 4);
  EXPECT_FALSE(data.NeedsLoad(id));
  // The end written as a Resume's Stop writes it (the recorder writes it only into the file
  // it started in, so it is set here directly).
  ASSERT_EQ(SqliteExec(path, Format("UPDATE OPCAcq SET OPCAcq_EndTime = '00:00:10.000', "
                                    "OPCAcq_DataCount = 4 WHERE OPCAcq_Id = %d",
                                    id)),
            SQLITE_OK);
  EXPECT_TRUE(data.NeedsLoad(id));
  ASSERT_TRUE(data.LoadNow(id));
  EXPECT_FALSE(data.NeedsLoad(id));
  // A row replaced by another (same count, other last id) is a change too.
  ASSERT_EQ(SqliteExec(path, Format("DELETE FROM OPCAcqData WHERE OPCAcqData_Id = (SELECT "
                                    "MIN(OPCAcqData_Id) FROM OPCAcqData WHERE OPCAcq_Id = %d); "
                                    "INSERT INTO OPCAcqData(OPCAcq_Id, OPCAcqData_Time, "
                                    "OPCAcqData_Value) SELECT OPCAcq_Id, OPCAcqData_Time, "
                                    "OPCAcqData_Value FROM OPCAcqData WHERE OPCAcq_Id = %d "
                                    "LIMIT 1",
                                    id, id)),
            SQLITE_OK);
  EXPECT_TRUE(data.NeedsLoad(id));
}

}  // namespace
