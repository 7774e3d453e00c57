#include "explorer/catalogue_statements.h"

#include "base/log.h"
#include "base/report.h"
#include "db/catalogue_store.h"
#include "explorer/explorer_reports.h"

namespace {

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
  return CCatalogueStore::CatalogueStatement(CatalogueSortExpression(sortIndex));
}

std::string AcquisitionItemListStatement(int acquisitionId) {
  return CCatalogueStore::ItemListStatement(acquisitionId);
}

std::string FileSizeText(uint64_t size) {
  return Format("%llu.%03llu.%03llu bytes", static_cast<unsigned long long>(size / 1000000),
                static_cast<unsigned long long>((size / 1000) % 1000),
                static_cast<unsigned long long>(size % 1000));
}
