// The texts of a loaded table: clipboard, CSV file and preview lines; the export file.
#include <gtest/gtest.h>

#include <cerrno>
#include <fstream>
#include <sstream>

#include "explorer/export_file.h"
#include "explorer/table_text.h"
#include "temp_dir.h"

namespace {

class TableTextTest : public ::testing::Test {
 protected:
  void SetUp() override {
    table.Reset({"OPC Acquisition Time", "A", "B"});
    AddRow("07/Dec/2026 10:00:00.000", "1.50", "ON");
    AddRow("07/Dec/2026 10:00:01.000", "12.25", "");
  }
  void AddRow(const std::string& time, const std::string& a, const std::string& b) {
    CLoadedTable::CRowBuilder row;
    row.Begin(time);
    row.AddCell(a, 0);
    row.AddCell(b, 1);
    table.AppendRow(row);
  }
  static std::string ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
  }
  CLoadedTable table;
  TempDir dir;
};

TEST_F(TableTextTest, ClipboardFollowsEveryFieldWithAComma) {
  const std::string text = ClipboardText(table);
  EXPECT_EQ(text.substr(0, text.find("\r\n") + 2), "OPC Acquisition Time,A,B,\r\n");
  EXPECT_EQ(text,
            "OPC Acquisition Time,A,B,\r\n"
            "07/Dec/2026 10:00:00.000,1.50,ON,\r\n"
            "07/Dec/2026 10:00:01.000,12.25,,\r\n");
}

TEST_F(TableTextTest, ExportGivesThreeLinesWithoutTrailingSeparators) {
  EXPECT_EQ(ExportText(table, ','),
            "OPC Acquisition Time,A,B\r\n"
            "07/Dec/2026 10:00:00.000,1.50,ON\r\n"
            "07/Dec/2026 10:00:01.000,12.25,\r\n");
  CLoadedTable empty;
  empty.Reset({"OPC Acquisition Time", "A"});
  EXPECT_EQ(ExportText(empty, ';'), "OPC Acquisition Time;A\r\n");
}

TEST_F(TableTextTest, FieldsWithSeparatorQuoteOrLineBreakAreQuoted) {
  AddRow("t", "a;b,c", "say \"hi\"\r\nbye");
  const std::string semicolon = ExportText(table, ';');
  EXPECT_NE(semicolon.find("\r\nt;\"a;b,c\";\"say \"\"hi\"\"\r\nbye\"\r\n"), std::string::npos);
  const std::string comma = ExportText(table, ',');
  EXPECT_NE(comma.find("\r\nt,\"a;b,c\",\"say \"\"hi\"\"\r\nbye\"\r\n"), std::string::npos);
  // A field holding only the other separator stays as it is.
  AddRow("u", "x,y", "");
  EXPECT_NE(ExportText(table, ';').find("\r\nu;x,y;\r\n"), std::string::npos);
}

TEST_F(TableTextTest, AlignedPreviewPadsAndLeavesTheFileAlone) {
  const std::string before = ExportText(table, ';');
  const CPreviewLines aligned(table, ';', true);
  ASSERT_EQ(aligned.LineCount(), 3);
  EXPECT_EQ(aligned.Line(0), "OPC Acquisition Time     | A     | B ");
  EXPECT_EQ(aligned.Line(2), "07/Dec/2026 10:00:01.000 | 12.25 |   ");
  const CPreviewLines plain(table, ';', false);
  EXPECT_EQ(plain.Line(1), "07/Dec/2026 10:00:00.000;1.50;ON");
  EXPECT_EQ(plain.Line(3), "");
  EXPECT_EQ(ExportText(table, ';'), before);
  // The table refilled with other columns: the old preview shows nothing of it.
  table.Reset({"OPC Acquisition Time", "A", "B", "C"});
  EXPECT_EQ(aligned.LineCount(), 3);
  EXPECT_EQ(aligned.Line(0), "");
}

TEST_F(TableTextTest, ExportReplacesAnExistingFile) {
  const std::string path = dir.File("VelmoraExport.csv");
  std::ofstream(path) << std::string(10000, 'x');
  std::string cause;
  ASSERT_TRUE(WriteExportFile(path, ExportText(table, ','), cause));
  EXPECT_EQ(ReadFile(path), ExportText(table, ','));
  AddRow("t", "a;b", "c");
  ASSERT_TRUE(WriteExportFile(path, table, ';', cause));
  EXPECT_EQ(ReadFile(path), ExportText(table, ';'));
  std::string pieces;
  EXPECT_TRUE(ExportTextInChunks(table, ';', 10, [&pieces](const std::string& piece) {
    pieces += piece;
    return true;
  }));
  EXPECT_EQ(pieces, ExportText(table, ';'));
  EXPECT_FALSE(WriteExportFile(dir.File("no/such/folder/x.csv"), "x", cause));
  EXPECT_EQ(cause, "File Not Found");
  EXPECT_FALSE(WriteExportFile(dir.Path().string(), "x", cause));
  EXPECT_EQ(cause, "Invalid File");
}

TEST(ExportFileTest, DefaultNameSitsNextToTheDatabase) {
  EXPECT_EQ(DefaultExportPath("/data/velmora/Velmora.sq3"), "/data/velmora/VelmoraExport.csv");
  const FileRequest request = ExportFileRequest("/data/Velmora.sq3");
  EXPECT_TRUE(request.save);
  EXPECT_EQ(request.title, "Save Velmora Project Export Data File");
  EXPECT_EQ(request.filter, "Data Export Files (*.csv)|*.csv");
  EXPECT_EQ(request.defaultExtension, "csv");
  EXPECT_FALSE(request.confirmOverwrite);
  EXPECT_EQ(FileErrorCause(EACCES), "Access Denied");
  EXPECT_EQ(FileErrorCause(ENOSPC), "Disk Full");
  EXPECT_EQ(FileErrorCause(12345), "Unknown Error !!!");
}

}  // namespace
