#include "opc/server_selection_opcenum.h"

#include <exception>

#include "base/log.h"
#include "base/report.h"
#include "base/rtf.h"
#include "platform/com/error_text.h"

namespace {

constexpr char kReportHeading[] = "Error Occured Enumerating OPC Servers with OPCEnum.exe";
constexpr char kStartedNote[] =
    "\\par \\par Note that OPCEnum.exe is started automatically (if required) for OPC Server "
    "Enumeration";
constexpr char kLocationNote[] =
    "\\par Standard OPCEnum Location: Directory 'Windows' - Sub-Directory 'SysWOW64'";
constexpr char kDescriptionNote[] = "\\par Standard Description: OPC Server Enumerator 1.10";
constexpr char kCheckServiceRequest[] =
    "\\par \\par {\\f1 \\b Please Check if the Service OPCEnum.exe is Installed and Startable } "
    "\\par";
constexpr char kOrLine[] = "\\par {\\b OR}";
constexpr char kRegistryRequest[] = "Use Enumeration Using Windows Registry (Local Host Only)";
constexpr char kServerLabel[] = "%s (%s)";

void ReportEnumeratorFailure(IUserPrompt& prompt, const std::string& step, HRESULT hr) {
  CReportBuilder report;
  report.ErrorHeading(kReportHeading)
      .Explanation(step)
      .Detail("Error Code", Format("%08X (%ld)", static_cast<unsigned>(hr), static_cast<long>(hr)))
      .Detail("Reason", RtfEscape(HResultReasonText(hr)))
      .Raw(kStartedNote)
      .Raw(kLocationNote)
      .Raw(kDescriptionNote)
      .Raw(kCheckServiceRequest)
      .Raw(kOrLine)
      .Closing(kRegistryRequest);
  prompt.ShowReport(
      report.Request(kOpcEnumerationErrorTitle, kReportOk, static_cast<uint32_t>(hr)));
}

}  // namespace

OpcEnumListing ListServersWithOpcEnum(AppContext& context, const std::string& host,
                                      bool allDataAccess) {
  OpcEnumListing listing;
  try {
    OpcEnumResult result =
        allDataAccess
            ? EnumerateServersWithOpcEnum(host, {CATID_OPCDAServer10, CATID_OPCDAServer20})
            : EnumerateServersWithOpcEnum(host, {CATID_OPCDAServer20}, {CATID_OPCDAServer20});
    listing.m_hr = result.m_hr;
    listing.m_sFailedStep = result.m_sFailedStep;
    if (FAILED(result.m_hr)) {
      if (!result.m_sFailedStep.empty())
        ReportEnumeratorFailure(context.prompt, result.m_sFailedStep, result.m_hr);
      else
        context.log.Log(kOpcEnumFailedText, kLogOpcServer);
      listing.m_eOutcome = OpcEnumOutcome::kFailed;
      return listing;
    }
    listing.m_servers = std::move(result.m_servers);
    listing.m_eOutcome = OpcEnumOutcome::kListed;
  } catch (const std::exception&) {
    listing.m_servers.clear();
    listing.m_eOutcome = OpcEnumOutcome::kException;
  }
  return listing;
}

std::string OpcEnumServerLabel(const OpcServerEntry& server) {
  return Format(kServerLabel, server.m_sDescription.c_str(), server.m_sProgId.c_str());
}

std::string ClassIdText(const CLSID& clsid) {
  return GuidToString(clsid, false, GuidTextCase::kLower);
}
