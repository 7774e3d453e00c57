// The creation and upgrade scripts, byte for byte, and what they leave in a file.
#include <gtest/gtest.h>

#include <map>

#include "db/schema.h"
#include "db_test_util.h"
#include "temp_dir.h"
#include "test_context.h"

namespace {

// The statements as the file format defines them, written out here once more so that a
// slip in the program's copy shows up.
const char* const kConfig =
    "CREATE TABLE Config( Config_Id INTEGER PRIMARY KEY, Config_Mnemo VARCHAR(25) UNIQUE, "
    "Config_DataType INTEGER, Config_IntData INTEGER, Config_FloatData FLOAT, Config_StrData "
    "VARCHAR( 500));";
const char* const kIdxConfig = "CREATE UNIQUE INDEX IdxConfig ON Config( 'Config_Mnemo');";
const char* const kPrj =
    "CREATE Table OPCPrj( OPCPrj_Id INTEGER PRIMARY KEY, OPCPrj_Name VARCHAR( 128), "
    "OPCPrj_ServerId VARCHAR( 256), OPCPrj_ServerHost VARCHAR( 256), OPCPrj_ServerGuid VARCHAR( "
    "128), OPCPrj_Date VARCHAR( 16), OPCPrj_Time VARCHAR( 16)); ";
const char* const kIdxPrj = "CREATE INDEX IdxOPCPrjName ON OPCPrj( 'OPCPrj_Name'); ";
const char* const kGrp =
    "CREATE Table OPCGrp( OPCGrp_Id INTEGER PRIMARY KEY, OPCPrj_Id INTEGER, OPCGrp_Name VARCHAR( "
    "64), OPCGrp_Active INTEGER, OPCGrp_UpdateRate INTEGER, OPCGrp_TimeBias INTEGER, "
    "OPCGrp_DeadBand FLOAT, OPCGrp_ReadInterface INTEGER); ";
const char* const kIdxGrp = "CREATE INDEX IdxOPCGrpPrjId ON OPCGrp( 'OPCPrj_Id'); ";
const char* const kItem =
    "CREATE Table OPCItem( OPCItem_Id INTEGER PRIMARY KEY, OPCGrp_Id INTEGER, "
    "OPCItem_QualifiedName VARCHAR( 196), OPCItem_ShortName VARCHAR( 64), OPCItem_Data VARCHAR( "
    "1024), OPCItem_DataType INTEGER, OPCItem_ItemType INTEGER); ";
const char* const kIdxItem = "CREATE INDEX IdxOPCItemGrpId ON OPCItem( 'OPCGrp_Id'); ";
const char* const kAcq =
    "CREATE Table OPCAcq( OPCAcq_Id INTEGER PRIMARY KEY, OPCAcq_ServerId VARCHAR( 256), "
    "OPCAcq_ServerHost VARCHAR( 256), OPCacq_ServerGuid VARCHAR( 128), OPCAcq_UpdateRate INTEGER, "
    "OPCAcq_StartDate VARCHAR( 16), OPCAcq_StartTime VARCHAR( 16), OPCAcq_EndDate VARCHAR( 16), "
    "OPCAcq_EndTime VARCHAR( 16), OPCAcq_DataCount INTEGER);";
const char* const kAcqGrp =
    "CREATE Table OPCAcqGrp( OPCAcqGrp_Id INTEGER PRIMARY KEY, OPCAcq_Id INTEGER, OPCAcqGrp_Name "
    "VARCHAR( 64), OPCAcqGrp_UpdateRate INTEGER); ";
const char* const kIdxAcqGrp = "CREATE INDEX IdxOPCAcqGrpAcqId ON OPCAcqGrp( 'OPCAcq_Id'); ";
const char* const kAcqItem =
    "CREATE Table OPCAcqItem( OPCAcqItem_Id INTEGER PRIMARY KEY, OPCAcqGrp_Id INTEGER, "
    "OPCAcqItem_QualifiedName VARCHAR( 196), OPCAcqItem_ShortName VARCHAR( 64), OPCAcqItem_Data "
    "VARCHAR( 1024), OPCAcqItem_DataType INTEGER, OPCAcqItem_ItemType INTEGER); ";
const char* const kIdxAcqItem =
    "CREATE INDEX IdxOPCAcqItemAcqGrpId ON OPCAcqItem( 'OPCAcqGrp_Id'); ";
const char* const kAcqData =
    "CREATE TABLE OPCAcqData( OPCAcqData_Id INTEGER PRIMARY KEY, OPCAcq_Id INTEGER, "
    "OPCAcqData_Time VARCHAR( 24), OPCAcqData_Value BLOB);";
const char* const kIdxAcqDataId = "CREATE INDEX IdxOPCAcqDataId ON OPCAcqData( 'OPCAcq_Id');";
const char* const kIdxAcqDataTime =
    "CREATE INDEX IdxOPCAcqDataTime ON OPCAcqData( 'OPCAcqData_Time');";
const char* const kOleVariant =
    "CREATE TABLE OleVariant ( Variant_Value INTEGER, Variant_Symbol VARCHAR( 20), Variant_Descr "
    "VARCHAR (25)); ";
const char* const kIdxOleVariant =
    "CREATE INDEX IdxOleVariantValue ON OleVariant( 'Variant_Value'); ";

struct Variant {
  int value;
  std::string symbol;
  std::string description;
};
const std::vector<Variant> kVariants = {
    {0, "VT_EMPTY", "Empty"},
    {0, "VT_EMPTY", "Native"},
    {1, "VT_NULL", "Null"},
    {2, "VT_I2", "Short"},
    {3, "VT_I4", "Long"},
    {4, "VT_R4", "Float"},
    {5, "VT_R8", "Double"},
    {6, "VT_CY", "Cy"},
    {7, "VT_DATE", "Date"},
    {8, "VT_BSTR", "String"},
    {9, "VT_DISPATCH", "Dispatch"},
    {10, "VT_ERROR", "Error"},
    {11, "VT_BOOL", "Boolean"},
    {12, "VT_VARIANT", "Ole Variant"},
    {13, "VT_UNKNOWN", "Unknown"},
    {14, "VT_DECIMAL", "Decimal"},
    {16, "VT_I1", "Char"},
    {17, "VT_UI1", "Unsigned Char"},
    {18, "VT_UI2", "Word"},
    {19, "VT_UI4", "Double Word"},
    {20, "VT_I8", "64 Bits Int"},
    {21, "VT_UI8", "64 Bits Unsigned Int"},
    {22, "VT_INT", "Integer"},
    {23, "VT_UINT", "Unsigned Integer"},
    {24, "VT_VOID", "Void"},
    {25, "VT_HRESULT", "Handle"},
    {26, "VT_PTR", "Pointer"},
    {27, "VT_SAFEARRAY", "Array"},
    {28, "VT_CARRAY", "Array"},
    {29, "VT_USERDEFINED", "User Defined"},
    {30, "VT_LPSTR", "Long Pointer to String"},
    {31, "VT_LPWSTR", "Long Pointer to Wide String"},
    {36, "VT_RECORD", "Record"},
    {37, "VT_INT_PTR", "Integer Pointer"},
    {38, "VT_UINT_PTR", "Unsigned Integer Pointer"},
    {64, "VT_FILETIME", "File Time"},
    {65, "VT_BLOB", "Binary Large Object"},
    {66, "VT_STREAM", "Stream"},
    {67, "VT_STORAGE", "Storage"},
    {68, "VT_STREAMED_OBJECT", "Streamed Object"},
    {69, "VT_STORED_OBJECT", "Stored Object"},
    {70, "VT_BLOB_OBJECT", "Binary Large Object"},
    {71, "VT_CF", "CF"},
    {72, "VT_CLSID", "CLSID"},
    {73, "VT_VERSIONED_STREAM", "Versioned Stream"},
    {4095, "VT_BSTR_BLOB", "String Blob"},
    {4096, "VT_VECTOR", "Vector"},
    {8192, "VT_ARRAY", "Array"},
    {8196, "VT_ARRAY|VT_R4", "Float Array"},
    {8197, "VT_ARRAY|VT_R8", "Double Array"},
    {16384, "VT_BYREF", "By Reference"},
    {32768, "VT_RESERVED", "Reserved"},
    {65535, "VT_ILLEGAL", "Illegal"},
    {4095, "VT_ILLEGALMASKED", "Illegal Masked"},
    {4095, "VT_TYPEMASK", "Type mask"},
};

std::string ExpectedCreateScript() {
  std::string script = "BEGIN TRANSACTION;";
  for (const char* statement : {kConfig,
                                kIdxConfig,
                                kPrj,
                                kIdxPrj,
                                kGrp,
                                kIdxGrp,
                                kItem,
                                kIdxItem,
                                "DROP Table IF EXISTS OPCAcqData; ",
                                "DROP Index IF EXISTS IdxOPCAcqDataId; ",
                                "DROP Index IF EXISTS IdxOPCAcqDataTime; ",
                                kAcq,
                                kAcqGrp,
                                kIdxAcqGrp,
                                kAcqItem,
                                kIdxAcqItem,
                                kAcqData,
                                kIdxAcqDataId,
                                kIdxAcqDataTime,
                                "DROP Table IF EXISTS OleVariant; ",
                                "DROP Index IF EXISTS IdxOleVariantValue; ",
                                kOleVariant,
                                kIdxOleVariant})
    script += statement;
  for (const Variant& v : kVariants) {
    script += "INSERT INTO OleVariant( Variant_Value, Variant_Symbol, Variant_Descr) VALUES( " +
              std::to_string(v.value) + ", '" + v.symbol + "', '" + v.description + "'); ";
  }
  return script + "COMMIT;";
}

std::string ExpectedUpgradeScript() {
  std::string script = "BEGIN TRANSACTION;";
  for (const char* statement : {"DROP Table IF EXISTS Config; ",
                                "DROP Index IF EXISTS IdxConfig; ",
                                kConfig,
                                kIdxConfig,
                                "INSERT INTO Config VALUES( 0, 'APP_RELEASE', 0, 2, -1.00, 'NA');",
                                "DROP Table IF EXISTS OPCAcq; ",
                                "DROP Table IF EXISTS OPCAcqGrp; ",
                                "DROP Table IF EXISTS OPCAcqItem; ",
                                "DROP Table IF EXISTS OPCAcqData; ",
                                "DROP Index IF EXISTS IdxOPCAcqGrpAcqId; ",
                                "DROP Index IF EXISTS IdxOPCAcqItemAcqGrpId; ",
                                "DROP Index IF EXISTS IdxOPCAcqDataId; ",
                                "DROP Index IF EXISTS IdxOPCAcqDataTime; ",
                                kAcq,
                                kAcqGrp,
                                kIdxAcqGrp,
                                kAcqItem,
                                kIdxAcqItem,
                                kAcqData,
                                kIdxAcqDataId,
                                kIdxAcqDataTime})
    script += statement;
  return script + "COMMIT;";
}

// What sqlite_master keeps of a statement: no ";" and nothing after it, and the first two
// keywords in capitals.
std::string Stored(std::string statement) {
  statement = statement.substr(0, statement.find_last_of(';'));
  if (statement.rfind("CREATE Table", 0) == 0)
    statement.replace(0, 12, "CREATE TABLE");
  return statement;
}

std::map<std::string, std::string> ExpectedMaster() {
  std::map<std::string, std::string> master;
  const std::pair<const char*, const char*> objects[] = {{"Config", kConfig},
                                                         {"IdxConfig", kIdxConfig},
                                                         {"OPCPrj", kPrj},
                                                         {"IdxOPCPrjName", kIdxPrj},
                                                         {"OPCGrp", kGrp},
                                                         {"IdxOPCGrpPrjId", kIdxGrp},
                                                         {"OPCItem", kItem},
                                                         {"IdxOPCItemGrpId", kIdxItem},
                                                         {"OPCAcq", kAcq},
                                                         {"OPCAcqGrp", kAcqGrp},
                                                         {"IdxOPCAcqGrpAcqId", kIdxAcqGrp},
                                                         {"OPCAcqItem", kAcqItem},
                                                         {"IdxOPCAcqItemAcqGrpId", kIdxAcqItem},
                                                         {"OPCAcqData", kAcqData},
                                                         {"IdxOPCAcqDataId", kIdxAcqDataId},
                                                         {"IdxOPCAcqDataTime", kIdxAcqDataTime},
                                                         {"OleVariant", kOleVariant},
                                                         {"IdxOleVariantValue", kIdxOleVariant}};
  for (const auto& [name, sql] : objects)
    master[name] = Stored(sql);
  return master;
}

std::map<std::string, std::string> ActualMaster(RawConnection& raw) {
  std::map<std::string, std::string> master;
  for (const auto& row : raw.Rows("SELECT name, sql FROM sqlite_master WHERE sql IS NOT NULL"))
    master[row[0]] = row[1];
  return master;
}

class SchemaTest : public ::testing::Test {
 protected:
  SchemaTest() { db.SetPath(path); }
  TempDir dir;
  std::string path = dir.File("Velmora.sq3");
  TestContext ctx;
  CSQLite db{ctx.context};
};

TEST(SchemaScripts, CreationScriptIsByteExact) {
  EXPECT_EQ(CreateSchemaScript(), ExpectedCreateScript());
}

TEST(SchemaScripts, UpgradeScriptIsByteExact) {
  EXPECT_EQ(UpgradeSchemaScript(), ExpectedUpgradeScript());
}

TEST_F(SchemaTest, CreatedFileHoldsExactlyTheQuotedSchema) {
  ASSERT_EQ(db.OpenFile(), DbStatus::kOk);
  ASSERT_TRUE(CreateSchema(db));
  db.Close();
  RawConnection raw(path);
  EXPECT_EQ(ActualMaster(raw), ExpectedMaster());
  EXPECT_EQ(raw.Value("SELECT COUNT(*) FROM Config"), "0");
  const auto rows = raw.Rows(
      "SELECT Variant_Value, Variant_Symbol, Variant_Descr FROM OleVariant ORDER BY rowid");
  ASSERT_EQ(rows.size(), kVariants.size());
  for (size_t i = 0; i < rows.size(); ++i) {
    EXPECT_EQ(rows[i], (std::vector<std::string>{std::to_string(kVariants[i].value),
                                                 kVariants[i].symbol, kVariants[i].description}))
        << "row " << i;
  }
  // The quoted index column names still index the columns.
  const auto plan = raw.Rows("EXPLAIN QUERY PLAN SELECT * FROM OleVariant WHERE Variant_Value = 8");
  ASSERT_FALSE(plan.empty());
  EXPECT_NE(plan[0].back().find("IdxOleVariantValue"), std::string::npos) << plan[0].back();
}

TEST_F(SchemaTest, CreationOnAFileThatHasTablesFailsAndLeavesNothingBehind) {
  RawConnection raw(path);
  raw.Exec("CREATE TABLE OPCPrj(x);");
  ASSERT_EQ(db.OpenFile(), DbStatus::kOk);
  EXPECT_FALSE(CreateSchema(db));
  EXPECT_EQ(db.LastErrorText(), "table OPCPrj already exists");
  db.Close();
  EXPECT_EQ(raw.Value("SELECT group_concat(name) FROM sqlite_master"), "OPCPrj");
}

TEST_F(SchemaTest, CurrentFileIsLeftAlone) {
  ASSERT_EQ(db.OpenFile(), DbStatus::kOk);
  ASSERT_TRUE(CreateSchema(db));
  ASSERT_EQ(db.ExecSQL("INSERT INTO OPCAcq(OPCAcq_ServerId) VALUES('Kept');"), DbStatus::kOk);
  int from = 0;
  int to = 0;
  EXPECT_TRUE(UpgradeSchema(db, from, to));
  EXPECT_EQ(from, 2);
  EXPECT_EQ(to, 2);
  EXPECT_EQ(db.QueryInt64("SELECT COUNT(*) FROM OPCAcq").Value(), 1);
  EXPECT_EQ(db.QueryInt64("SELECT COUNT(*) FROM Config").Value(), 0);
}

TEST_F(SchemaTest, VersionOneFileGetsConfigAndEmptyAcquisitionTables) {
  {
    RawConnection raw(path);
    ASSERT_EQ(raw.Exec(std::string(kPrj) + kIdxPrj + kGrp + kItem +
                       "CREATE TABLE OPCAcq(OPCAcq_Id INTEGER PRIMARY KEY, Old TEXT);"
                       "CREATE TABLE OPCAcqData(OPCAcqData_Id INTEGER PRIMARY KEY, X BLOB);"
                       "CREATE INDEX IdxOPCAcqDataId ON OPCAcqData(X);"
                       "INSERT INTO OPCPrj(OPCPrj_Name) VALUES('Boiler room');"
                       "INSERT INTO OPCAcq(Old) VALUES('gone');"),
              SQLITE_OK);
  }
  ASSERT_EQ(db.OpenFile(), DbStatus::kOk);
  int from = 0;
  int to = 0;
  EXPECT_TRUE(UpgradeSchema(db, from, to));
  EXPECT_EQ(from, 1);
  EXPECT_EQ(to, 2);
  db.Close();
  RawConnection raw(path);
  EXPECT_EQ(raw.Value("SELECT OPCPrj_Name FROM OPCPrj"), "Boiler room");
  EXPECT_EQ(raw.Value("SELECT COUNT(*) FROM OPCAcq"), "0");
  EXPECT_EQ(raw.Rows("SELECT * FROM Config"),
            (std::vector<std::vector<std::string>>{{"0", "APP_RELEASE", "0", "2", "-1.0", "NA"}}));
  auto master = ActualMaster(raw);
  const auto expected = ExpectedMaster();
  for (const char* name :
       {"Config", "IdxConfig", "OPCAcq", "OPCAcqGrp", "IdxOPCAcqGrpAcqId", "OPCAcqItem",
        "IdxOPCAcqItemAcqGrpId", "OPCAcqData", "IdxOPCAcqDataId", "IdxOPCAcqDataTime"}) {
    EXPECT_EQ(master[name], expected.at(name)) << name;
  }
}

TEST_F(SchemaTest, UpgradeRefusesAFileWhoseTablesCannotBeListed) {
  {
    RawConnection raw(path);
    ASSERT_EQ(raw.Exec(std::string(kConfig) + "CREATE TABLE OPCAcq(a); INSERT INTO OPCAcq "
                                              "VALUES(1);"),
              SQLITE_OK);
  }
  RawConnection locker(path);
  ASSERT_EQ(locker.Exec("BEGIN EXCLUSIVE;"), SQLITE_OK);
  db.SetBusyWait(0);
  ASSERT_EQ(db.OpenFile(), DbStatus::kOk);
  int from = 0;
  int to = 0;
  EXPECT_FALSE(UpgradeSchema(db, from, to));
  EXPECT_EQ(from, 1);
  EXPECT_EQ(to, 2);
  EXPECT_EQ(db.LastErrorText(), "database is locked");
  db.Close();
  locker.Exec("COMMIT;");
  EXPECT_EQ(locker.Value("SELECT COUNT(*) FROM OPCAcq"), "1");  // recorded data untouched
}

}  // namespace
