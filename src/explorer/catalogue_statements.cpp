#include "explorer/catalogue_statements.h"

#include "base/log.h"
#include "base/report.h"
#include "explorer/explorer_reports.h"

namespace {

constexpr char kCatalogueHead[] =
    "SELECT OPCAcq_Id AS 'Project Id', OPCAcq_ServerId AS 'OPC Server Id', OPCAcq_ServerHost as "
    "'OPC Server Host', "
    "OPCAcq_ServerGuid as 'OPC Server Guid', OPCAcq_StartDate AS 'Acq. Start Date', "
    "OPCAcq_StartTime AS 'Acq. Start Time', "
    "OPCAcq_EndDate AS 'Acq. End Date', OPCAcq_EndTime AS 'Acq. End Time', OPCAcq_DataCount AS "
    "'Acq. Data Count' FROM OPCAcq ORDER BY ";

constexpr char kItemList[] =
    "SELECT OPCAcqGrp.OPCAcqGrp_Name AS 'Group Name', OPCAcqItem_QualifiedName AS 'Qualified "
    "Name', OPCAcqItem_ShortName AS 'Short Name', OPCAcqItem_Data AS 'Additional Data', "
    "( SELECT CASE OPCAcqItem_ItemType WHEN 0 THEN 'Acquired Data' WHEN 1 THEN 'Calculated Data' "
    "ELSE 'Unknown TYPE' END) AS 'Item Type', OPCAcqItem_DataType AS 'Data Type' "
    "FROM OPCAcqItem INNER JOIN OPCAcqGrp ON OPCAcqItem.OPCAcqGrp_Id = OPCAcqGrp.OPCAcqGrp_Id "
    "WHERE OPCAcqItem.OPCAcqGrp_Id IN ( SELECT OPCAcqGrp_Id FROM OPCAcqGrp WHERE OPCAcq_Id = %d)";
// The item ids follow the column order of the value rows; the list keeps that order.
constexpr char kItemOrder[] = " ORDER BY OPCAcqItem.OPCAcqItem_Id";

constexpr char kRepairCount[] = "Select Count( OPCAcqData_Id) FROM OPCAcqData WHERE OPCAcq_Id = %d";
constexpr char kRepairLastTime[] =
    "SELECT OPCAcqData_Time FROM OPCAcqData WHERE OPCAcqData_Id = (SELECT MAX( OPCAcqData_Id) FROM "
    "OPCAcqData WHERE OPCAcq_Id = %d)";
constexpr char kRepairUpdate[] =
    "UPDATE OPCAcq SET OPCAcq_EndDate = '%s', OPCAcq_EndTime = '%s', OPCAcq_DataCount = %d WHERE "
    "OPCAcq_Id = %d";
constexpr char kDeleteScript[] =
    "BEGIN TRANSACTION;"
    "DELETE FROM OPCAcqData WHERE OPCAcq_Id = %d;"
    "DELETE FROM OPCAcqItem WHERE OPCAcqGrp_Id IN ( SELECT OPCAcqGrp_Id FROM OPCAcqGrp WHERE "
    "OPCAcq_Id = %d);"
    "DELETE FROM OPCAcqGrp WHERE OPCAcq_Id = %d;"
    "DELETE FROM OPCAcq WHERE OPCAcq_Id = %d;"
    "END TRANSACTION;";

constexpr char kRecordingRejection[] =
    "{\\f1\\cb1\\cf2\\b Request for Velmora Project %s} \\par\\par \\fs18 {\\b Warning} The "
    "Velmora Project is Being Recorded !!! \\par"
    "\\par Server Id: {\\b %s}"
    "\\par OPC Server Host: {\\b %s}"
    "\\par Project Id (in Velmora Database): {\\b %d}"
    "\\par \\par {\\f1 \\b Please Stop First its Data Acquisition Before Velmora Project %s} "
    "\\par}";

}  // namespace

ReportRequest RecordingRejectionReport(const char* request, const std::string& serverId,
                                       const std::string& host, int acquisitionId) {
  return CReportBuilder()
      .Raw(Format(kRecordingRejection, request, serverId.c_str(), host.c_str(), acquisitionId,
                  request))
      .Request(kRejectionTitle, kReportOk);
}

const std::vector<std::string>& CatalogueSortChoices() {
  static const std::vector<std::string> choices = {"Project Id", "OPC Server Id", "OPC Server Host",
                                                   "Acquisition Start", "Acquisition Count"};
  return choices;
}

const char* CatalogueSortExpression(int sortIndex) {
  // "Acquisition Start" goes to SQLite unchanged: it adds the two texts as numbers.
  static const char* const expressions[] = {"OPCAcq_Id", "OPCAcq_ServerId", "OPCAcq_ServerHost",
                                            "OPCAcq_StartDate + OPCAcq_StartTime",
                                            "OPCAcq_DataCount"};
  if (sortIndex < 0 || sortIndex >= kCatalogueSortChoiceCount)
    sortIndex = 0;
  return expressions[sortIndex];
}

std::string CatalogueStatement(int sortIndex) {
  return std::string(kCatalogueHead) + CatalogueSortExpression(sortIndex);
}

std::string AcquisitionItemListStatement(int acquisitionId) {
  return Format(kItemList, acquisitionId) + kItemOrder;
}

std::string RepairCountStatement(int acquisitionId) {
  return Format(kRepairCount, acquisitionId);
}

std::string RepairLastTimeStatement(int acquisitionId) {
  return Format(kRepairLastTime, acquisitionId);
}

std::string RepairUpdateStatement(const std::string& endDate, const std::string& endTime, int count,
                                  int acquisitionId) {
  return Format(kRepairUpdate, endDate.c_str(), endTime.c_str(), count, acquisitionId);
}

std::string DeleteAcquisitionScript(int acquisitionId) {
  return Format(kDeleteScript, acquisitionId, acquisitionId, acquisitionId, acquisitionId);
}

std::string FileSizeText(uint64_t size) {
  return Format("%llu.%03llu.%03llu bytes", static_cast<unsigned long long>(size / 1000000),
                static_cast<unsigned long long>((size / 1000) % 1000),
                static_cast<unsigned long long>(size % 1000));
}
