#include "opc/opc_read.h"

#include "base/log.h"
#include "base/rtf.h"
#include "base/time_text.h"
#include "platform/com/error_text.h"

namespace {

constexpr char kNoConnection[] = "No Connection to OPCServer %s on %s ...";
constexpr char kNoItemToRead[] = "No Item to Read to OPCServer %s on %s ...";
constexpr char kReadFailed[] =
    "Error Occured during IOPCSyncIO::Read \nOPC Server: %s \nHost: %s \nCode: %08X \nReason: %s";
constexpr char kReadFailedDescription[] = "Error Occured during IOPCSyncIO::Read";
constexpr char kReportDescriptionLine[] = "\\par Detailed Description: {\\b %s} ";
constexpr char kReportServerLine[] = "\\par OPC Server: {\\b %s} ";
constexpr char kReportHostLine[] = "\\par Host: {\\b %s} ";
constexpr char kReportCodeLine[] = "\\par Code: {\\b %08X} ";
constexpr char kReportReasonLine[] = "\\par Reason: {\\b %s} ";

// A failure found before the call: the message, and a report that says the same so that
// the acquisition's read error report never shows an earlier failure's details.
bool FailBeforeCall(COPCGroup& group, const std::string& message) {
  group.m_sTimeText = kUnknownTimeText;
  group.m_sErrorMessage = message;
  group.m_sErrorReport = Format(kReportDescriptionLine, RtfEscape(message).c_str());
  return false;
}

}  // namespace

bool SyncReadGroup(COPCServer& server, COPCGroup& group, OPCDATASOURCE source) {
  group.m_sErrorMessage.clear();
  group.m_sErrorReport.clear();
  const char* serverId = server.m_sServerId.c_str();
  const char* host = server.m_sHost.c_str();
  if (!server.m_bConnected || !group.m_pIOPCSyncIO)
    return FailBeforeCall(group, Format(kNoConnection, serverId, host));
  if (group.m_acquiredItems.empty())
    return FailBeforeCall(group, Format(kNoItemToRead, serverId, host));

  std::vector<OPCHANDLE> handles;
  handles.reserve(group.m_acquiredItems.size());
  for (const auto& item : group.m_acquiredItems)
    handles.push_back(item->m_hServerItem);

  group.m_sTimeText = kUnknownTimeText;
  std::vector<OPCITEMSTATE> values;
  std::vector<HRESULT> errors;
  HRESULT hr = group.m_pIOPCSyncIO->Read(source, static_cast<DWORD>(handles.size()), handles.data(),
                                         &values, &errors);
  // One state per handle is what a success promises; anything else cannot be matched
  // to the items.
  if (SUCCEEDED(hr) && values.size() != handles.size())
    hr = E_UNEXPECTED;
  if (FAILED(hr)) {
    const std::string reason = HResultReasonText(hr);
    const unsigned code = static_cast<unsigned>(hr);
    group.m_sErrorMessage = Format(kReadFailed, serverId, host, code, reason.c_str());
    group.m_sErrorReport = Format(kReportDescriptionLine, kReadFailedDescription) +
                           Format(kReportServerLine, RtfEscape(server.m_sServerId).c_str()) +
                           Format(kReportHostLine, RtfEscape(server.m_sHost).c_str()) +
                           Format(kReportCodeLine, code) +
                           Format(kReportReasonLine, RtfEscape(reason).c_str());
    return false;
  }

  // The local wall-clock time of the client, not the server's time stamps.
  const FILETIME readTime = server.Context().clock.LocalFileTimeNow();
  for (size_t i = 0; i < values.size(); ++i) {
    COPCItem& item = *group.m_acquiredItems[i];
    OPCITEMSTATE& state = values[i];
    VariantCopy(&item.m_value, &state.vDataValue);
    item.m_wQuality = state.wQuality;
    item.m_ftTimeStamp = state.ftTimeStamp;
    item.m_hrRead = i < errors.size() ? errors[i] : S_OK;
    if (i == 0) {
      group.m_ftLastReadTime = readTime;
      group.m_sTimeText = FormatTimeStampMs(LocalTimeFromFileTime(readTime));
    }
    VariantClear(&state.vDataValue);
  }
  return true;
}

bool ReadGroup(COPCServer& server, COPCGroup& group) {
  CLog& log = server.Context().log;
  switch (group.m_nReadInterface) {
    case kReadSyncCache:
    case kReadSyncDevice: {
      const OPCDATASOURCE source =
          group.m_nReadInterface == kReadSyncCache ? OPC_DS_CACHE : OPC_DS_DEVICE;
      if (SyncReadGroup(server, group, source))
        return true;
      log.Log(group.m_sErrorMessage, kLogDataAcquisition);
      return false;
    }
    case kReadAsync10:
    case kReadAsync20:
      log.Log(kNotImplementedLog, kLogDataAcquisition);
      // Said in the message and the report too, so that the acquisition's read error
      // report names the cause.
      return FailBeforeCall(group, kNotImplementedLog);
    default:
      return false;
  }
}

void UpdateReadStatistics(COPCGroup& group) {
  group.m_statistics.Update(group.m_ftLastReadTime);
}
