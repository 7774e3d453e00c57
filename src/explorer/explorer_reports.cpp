#include "explorer/explorer_reports.h"

#include "base/log.h"
#include "base/report.h"

namespace {

constexpr char kUpdateError[] =
    "{\\f1\\cb5\\cf5\\b Error Occured Updating Velmora Project Data} "
    "\\par \\fs18 \\par Acquisition Data Count: {\\b %d} "
    "\\par Acquisition End Date and Time: {\\b %s}"
    "\\par \\par {\\f1 \\b %s is Unable to Update Project Data } \\par "
    "\\par}";
constexpr char kRejection[] =
    "{\\f1\\cb1\\cf2\\b Request for Velmora Project Deletion} \\par\\par \\fs18 {\\b Warning} The "
    "Velmora Project to Delete is the Active Project !!! \\par"
    "\\par Server Id: {\\b %s}"
    "\\par OPC Server Host: {\\b %s}"
    "\\par Project Id (in Velmora Database): {\\b %d}"
    "\\par Active Project Id (Acquisition Running): {\\b %d}"
    "\\par \\par {\\f1 \\b Please Close First Active Project Before Velmora Project Deletion} "
    "\\par}";
constexpr char kConfirmation[] =
    "{\\f1\\cb1\\cf2\\b Request for Velmora Project Deletion} \\par\\par \\fs18 {\\b Warning} "
    "Velmora Project Data will be erased with {\\b NO} way to Retrieve Data !!! \\par"
    "\\par Server Id: {\\b %s}"
    "\\par OPC Server Host: {\\b %s}"
    "\\par Acquisition Start Date & Time: {\\b %s %s}"
    "\\par Acquisition End Date & Time: {\\b %s %s}"
    "\\par Number of Data Acquired: {\\b %s}"
    "\\par \\par {\\f1 \\b Please Confirm Definitive Velmora Project Deletion} \\par}";
constexpr char kRetrieval[] =
    "{\\f1\\cb5\\cf5\\b Error Occured Getting Velmora Project Data} "
    "\\par \\fs18 \\par Number of Data to Retrieve: {\\b %d} "
    "\\par Number of Data Retrieved: {\\b %d}"
    "\\par \\par {\\f1 \\b %s is Unable to Update Project Data } \\par "
    "\\par \\fs18 {\\b *} Please Restart %s and Check if Error occurs again "
    "\\par \\fs18 {\\b *} If it's still the case, Rename the Velmora Database (Velmora.sq3) "
    "\\par \\fs18 {\\b *} Restart %s and Acquire some OPC Data"
    "\\par \\fs18 {\\b *} Check if Error occurs again "
    "\\par \\fs18 {\\b *} If it's still the case, Please Contact Quorix "
    "\\par}";
constexpr char kCopyError[] =
    "{\\f1\\cb5\\cf5\\b Error Occured when Copying Data to Clipboard} "
    "\\par \\fs18 \\par Cause: {\\b %s} "
    "\\par \\par {\\f1 \\b %s is Unable to Copy Velmora Project Data } \\par "
    "\\par}";
constexpr char kDamagedData[] =
    "{\\f1\\cb5\\cf5\\b Error Occured Reading Velmora Project Data} "
    "\\par \\fs18 \\par {\\b %s} "
    "\\par \\par The data sets that could not be read are marked in the table and hold their "
    "time only; a data set counted by the acquisition but not stored has no row. "
    "\\par}";
constexpr char kExportError[] =
    "{\\f1\\cb5\\cf5\\b Error Occured when Creating Velmora Project Export Data File} "
    "\\par File Name: {\\b %s}"
    "\\par \\fs18 \\par Cause: {\\b %s} "
    "\\par \\par {\\f1 \\b %s is Unable to Export Velmora Project Data } \\par "
    "\\par}";
constexpr int kSummaryFieldsNamed = 7;

ReportRequest Request(const std::string& body, const char* title, int buttonMode = kReportOk) {
  return CReportBuilder().Raw(body).Request(title, buttonMode);
}

}  // namespace

ReportRequest UpdateErrorReport(int count, const std::string& lastTime) {
  return Request(Format(kUpdateError, count, lastTime.c_str(), kProductName), kUpdateErrorTitle);
}

ReportRequest DeletionRejectionReport(const std::string& serverId, const std::string& host,
                                      int runningId, int selectedId) {
  return Request(Format(kRejection, serverId.c_str(), host.c_str(), runningId, selectedId),
                 kRejectionTitle);
}

ReportRequest DeletionConfirmationReport(const std::string& serverId, const std::string& host,
                                         const std::string& startDate, const std::string& startTime,
                                         const std::string& endDate, const std::string& endTime,
                                         const std::string& count) {
  return Request(Format(kConfirmation, serverId.c_str(), host.c_str(), startDate.c_str(),
                        startTime.c_str(), endDate.c_str(), endTime.c_str(), count.c_str()),
                 kConfirmationTitle, kReportOkCancel);
}

ReportRequest RetrievalErrorReport(int columnsRetrieved) {
  return Request(Format(kRetrieval, kSummaryFieldsNamed, columnsRetrieved, kProductName,
                        kProductName, kProductName),
                 kRetrievalErrorTitle);
}

ReportRequest DamagedDataReport(const std::string& damageText) {
  return Request(Format(kDamagedData, damageText.c_str()), kRetrievalErrorTitle);
}

ReportRequest CopyErrorReport(const std::string& cause) {
  return Request(Format(kCopyError, cause.c_str(), kProductName), kCopyErrorTitle);
}

ReportRequest ExportErrorReport(const std::string& path, const std::string& cause) {
  return Request(Format(kExportError, path.c_str(), cause.c_str(), kProductName),
                 kExportErrorTitle);
}
