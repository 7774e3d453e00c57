#include "db/schema.h"

#include <algorithm>
#include <initializer_list>
#include <string_view>

namespace {

// The statements as the file's schema holds them; blanks, trailing blanks and the
// quoted index column names belong to the text.
constexpr char kBegin[] = "BEGIN TRANSACTION;";
constexpr char kCommit[] = "COMMIT;";

constexpr char kCreateConfig[] =
    "CREATE TABLE Config( Config_Id INTEGER PRIMARY KEY, Config_Mnemo VARCHAR(25) UNIQUE, "
    "Config_DataType INTEGER, Config_IntData INTEGER, Config_FloatData FLOAT, Config_StrData "
    "VARCHAR( 500));";
constexpr char kIndexConfig[] = "CREATE UNIQUE INDEX IdxConfig ON Config( 'Config_Mnemo');";
constexpr char kReleaseRow[] = "INSERT INTO Config VALUES( 0, 'APP_RELEASE', 0, 2, -1.00, 'NA');";

constexpr char kCreateOPCPrj[] =
    "CREATE Table OPCPrj( OPCPrj_Id INTEGER PRIMARY KEY, OPCPrj_Name VARCHAR( 128), "
    "OPCPrj_ServerId VARCHAR( 256), OPCPrj_ServerHost VARCHAR( 256), OPCPrj_ServerGuid VARCHAR( "
    "128), OPCPrj_Date VARCHAR( 16), OPCPrj_Time VARCHAR( 16)); ";
constexpr char kIndexOPCPrj[] = "CREATE INDEX IdxOPCPrjName ON OPCPrj( 'OPCPrj_Name'); ";

constexpr char kCreateOPCGrp[] =
    "CREATE Table OPCGrp( OPCGrp_Id INTEGER PRIMARY KEY, OPCPrj_Id INTEGER, OPCGrp_Name VARCHAR( "
    "64), OPCGrp_Active INTEGER, OPCGrp_UpdateRate INTEGER, OPCGrp_TimeBias INTEGER, "
    "OPCGrp_DeadBand FLOAT, OPCGrp_ReadInterface INTEGER); ";
constexpr char kIndexOPCGrp[] = "CREATE INDEX IdxOPCGrpPrjId ON OPCGrp( 'OPCPrj_Id'); ";

constexpr char kCreateOPCItem[] =
    "CREATE Table OPCItem( OPCItem_Id INTEGER PRIMARY KEY, OPCGrp_Id INTEGER, "
    "OPCItem_QualifiedName VARCHAR( 196), OPCItem_ShortName VARCHAR( 64), OPCItem_Data VARCHAR( "
    "1024), OPCItem_DataType INTEGER, OPCItem_ItemType INTEGER); ";
constexpr char kIndexOPCItem[] = "CREATE INDEX IdxOPCItemGrpId ON OPCItem( 'OPCGrp_Id'); ";

constexpr char kCreateOPCAcq[] =
    "CREATE Table OPCAcq( OPCAcq_Id INTEGER PRIMARY KEY, OPCAcq_ServerId VARCHAR( 256), "
    "OPCAcq_ServerHost VARCHAR( 256), OPCacq_ServerGuid VARCHAR( 128), OPCAcq_UpdateRate INTEGER, "
    "OPCAcq_StartDate VARCHAR( 16), OPCAcq_StartTime VARCHAR( 16), OPCAcq_EndDate VARCHAR( 16), "
    "OPCAcq_EndTime VARCHAR( 16), OPCAcq_DataCount INTEGER);";

constexpr char kCreateOPCAcqGrp[] =
    "CREATE Table OPCAcqGrp( OPCAcqGrp_Id INTEGER PRIMARY KEY, OPCAcq_Id INTEGER, OPCAcqGrp_Name "
    "VARCHAR( 64), OPCAcqGrp_UpdateRate INTEGER); ";
constexpr char kIndexOPCAcqGrp[] = "CREATE INDEX IdxOPCAcqGrpAcqId ON OPCAcqGrp( 'OPCAcq_Id'); ";

constexpr char kCreateOPCAcqItem[] =
    "CREATE Table OPCAcqItem( OPCAcqItem_Id INTEGER PRIMARY KEY, OPCAcqGrp_Id INTEGER, "
    "OPCAcqItem_QualifiedName VARCHAR( 196), OPCAcqItem_ShortName VARCHAR( 64), OPCAcqItem_Data "
    "VARCHAR( 1024), OPCAcqItem_DataType INTEGER, OPCAcqItem_ItemType INTEGER); ";
constexpr char kIndexOPCAcqItem[] =
    "CREATE INDEX IdxOPCAcqItemAcqGrpId ON OPCAcqItem( 'OPCAcqGrp_Id'); ";

constexpr char kCreateOPCAcqData[] =
    "CREATE TABLE OPCAcqData( OPCAcqData_Id INTEGER PRIMARY KEY, OPCAcq_Id INTEGER, "
    "OPCAcqData_Time VARCHAR( 24), OPCAcqData_Value BLOB);";
constexpr char kIndexOPCAcqDataId[] = "CREATE INDEX IdxOPCAcqDataId ON OPCAcqData( 'OPCAcq_Id');";
constexpr char kIndexOPCAcqDataTime[] =
    "CREATE INDEX IdxOPCAcqDataTime ON OPCAcqData( 'OPCAcqData_Time');";

constexpr char kCreateOleVariant[] =
    "CREATE TABLE OleVariant ( Variant_Value INTEGER, Variant_Symbol VARCHAR( 20), Variant_Descr "
    "VARCHAR (25)); ";
constexpr char kIndexOleVariant[] =
    "CREATE INDEX IdxOleVariantValue ON OleVariant( 'Variant_Value'); ";
constexpr char kInsertOleVariant[] =
    "INSERT INTO OleVariant( Variant_Value, Variant_Symbol, Variant_Descr) VALUES( ";

constexpr char kDropConfig[] = "DROP Table IF EXISTS Config; ";
constexpr char kDropIdxConfig[] = "DROP Index IF EXISTS IdxConfig; ";
constexpr char kDropOPCAcq[] = "DROP Table IF EXISTS OPCAcq; ";
constexpr char kDropOPCAcqGrp[] = "DROP Table IF EXISTS OPCAcqGrp; ";
constexpr char kDropOPCAcqItem[] = "DROP Table IF EXISTS OPCAcqItem; ";
constexpr char kDropOPCAcqData[] = "DROP Table IF EXISTS OPCAcqData; ";
constexpr char kDropIdxOPCAcqGrp[] = "DROP Index IF EXISTS IdxOPCAcqGrpAcqId; ";
constexpr char kDropIdxOPCAcqItem[] = "DROP Index IF EXISTS IdxOPCAcqItemAcqGrpId; ";
constexpr char kDropIdxOPCAcqDataId[] = "DROP Index IF EXISTS IdxOPCAcqDataId; ";
constexpr char kDropIdxOPCAcqDataTime[] = "DROP Index IF EXISTS IdxOPCAcqDataTime; ";
constexpr char kDropOleVariant[] = "DROP Table IF EXISTS OleVariant; ";
constexpr char kDropIdxOleVariant[] = "DROP Index IF EXISTS IdxOleVariantValue; ";

constexpr char kConfigTable[] = "Config";

struct OleVariantRow {
  int value;
  const char* symbol;
  const char* description;
};

// The names of the variant type codes, in the order the table receives them (0 and 4095
// repeat on purpose): every code of the OLE variant enumeration, plus "Native", and the
// two array types servers deliver most, so items of those types find their name.
constexpr OleVariantRow kOleVariantRows[] = {
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
static_assert(sizeof(kOleVariantRows) / sizeof(kOleVariantRows[0]) == 55);

}  // namespace

std::string VariantTypeLabel(int code) {
  for (const OleVariantRow& row : kOleVariantRows) {
    if (row.value == code)
      return std::string(row.symbol) + " (" + row.description + ")";
  }
  return std::to_string(code);
}

namespace {

std::string Script(std::initializer_list<std::string_view> statements) {
  std::string script;
  for (std::string_view statement : statements)
    script += statement;
  return script;
}

std::string AcquisitionTables() {
  return Script({kCreateOPCAcq, kCreateOPCAcqGrp, kIndexOPCAcqGrp, kCreateOPCAcqItem,
                 kIndexOPCAcqItem, kCreateOPCAcqData, kIndexOPCAcqDataId, kIndexOPCAcqDataTime});
}

}  // namespace

std::string CreateSchemaScript() {
  std::string script = Script({kBegin, kCreateConfig, kIndexConfig, kCreateOPCPrj, kIndexOPCPrj,
                               kCreateOPCGrp, kIndexOPCGrp, kCreateOPCItem, kIndexOPCItem,
                               kDropOPCAcqData, kDropIdxOPCAcqDataId, kDropIdxOPCAcqDataTime});
  script += AcquisitionTables();
  script += Script({kDropOleVariant, kDropIdxOleVariant, kCreateOleVariant, kIndexOleVariant});
  for (const OleVariantRow& row : kOleVariantRows) {
    script += kInsertOleVariant;
    script += Format("%d, '%s', '%s'); ", row.value, row.symbol, row.description);
  }
  script += kCommit;
  return script;
}

std::string UpgradeSchemaScript() {
  std::string script =
      Script({kBegin, kDropConfig, kDropIdxConfig, kCreateConfig, kIndexConfig, kReleaseRow,
              kDropOPCAcq, kDropOPCAcqGrp, kDropOPCAcqItem, kDropOPCAcqData, kDropIdxOPCAcqGrp,
              kDropIdxOPCAcqItem, kDropIdxOPCAcqDataId, kDropIdxOPCAcqDataTime});
  script += AcquisitionTables();
  script += kCommit;
  return script;
}

bool CreateSchema(CSQLite& db) {
  return db.ExecSQL(CreateSchemaScript()) == DbStatus::kOk;
}

bool UpgradeSchema(CSQLite& db, int& nFromVersion, int& nToVersion) {
  nFromVersion = kSchemaVersion;
  nToVersion = kSchemaVersion;
  std::vector<std::string> tables;
  const DbStatus listed = db.ListTables(tables);
  if (std::find(tables.begin(), tables.end(), kConfigTable) != tables.end())
    return true;
  nFromVersion = kSchemaVersionWithoutConfig;
  // Without a listing the file may well be current: the script would drop its
  // recorded acquisitions, so stop here (LastErrorText says why).
  if (listed != DbStatus::kOk)
    return false;
  return db.ExecSQL(UpgradeSchemaScript()) == DbStatus::kOk;
}
