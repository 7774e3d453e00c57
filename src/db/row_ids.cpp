#include "db/row_ids.h"

namespace {

// The highest id any row ever used: the Config mark, the acquisitions and their groups.
// The data rows are scanned only while the file has no mark yet (their index is not
// usable), since every acquisition made since then is below the mark.
constexpr char kHighestAcquisitionId[] =
    "SELECT MAX( x) FROM ( SELECT MAX( OPCAcq_Id) AS x FROM OPCAcq UNION ALL SELECT MAX( "
    "OPCAcq_Id) FROM OPCAcqGrp UNION ALL SELECT Config_IntData FROM Config WHERE Config_Mnemo = "
    "?1 UNION ALL SELECT MAX( OPCAcq_Id) FROM OPCAcqData WHERE NOT EXISTS ( SELECT 1 FROM "
    "Config WHERE Config_Mnemo = ?1))";
constexpr char kHighestGroupId[] =
    "SELECT MAX( x) FROM ( SELECT MAX( OPCAcqGrp_Id) AS x FROM OPCAcqGrp UNION ALL SELECT MAX( "
    "OPCAcqGrp_Id) FROM OPCAcqItem)";
constexpr char kSetIdMark[] =
    "INSERT OR REPLACE INTO Config( Config_Mnemo, Config_DataType, Config_IntData, "
    "Config_FloatData, Config_StrData) VALUES( ?, 0, ?, -1.00, 'NA')";

// One above the answer (a null maximum, an empty file, reads as 0).
DbResult<int64_t> OneAbove(const DbResult<int64_t>& highest) {
  if (!highest)
    return highest.Status() == DbStatus::kNoRow ? DbStatus::kFailed : highest.Status();
  return highest.Value() + 1;
}

}  // namespace

DbResult<int64_t> InsertRow(CSQLite& db, const std::string& insert,
                            const std::vector<SqlBinding>& bindings, const SqlRun& how) {
  if (bindings.empty()) {
    const DbStatus status = db.ExecSQL(insert, how);
    if (status != DbStatus::kOk)
      return status;
  } else {
    const DbStatus status = db.ExecBound(insert, bindings, how.channel);
    if (status != DbStatus::kOk)
      return status;
  }
  return db.LastInsertRowId();
}

DbResult<int64_t> FirstUnusedAcquisitionId(CSQLite& db) {
  const std::string mark = kAcquisitionIdMark;
  return OneAbove(db.QueryInt64(kHighestAcquisitionId, {SqlBinding::Text(mark)}));
}

DbResult<int64_t> FirstUnusedAcquisitionGroupId(CSQLite& db) {
  return OneAbove(db.QueryInt64(kHighestGroupId));
}

DbStatus MarkAcquisitionIdUsed(CSQLite& db, int64_t id) {
  const std::string mark = kAcquisitionIdMark;
  return db.ExecBound(kSetIdMark, {SqlBinding::Text(mark), SqlBinding::Integer(id)});
}
