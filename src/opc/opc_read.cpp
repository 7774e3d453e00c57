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
  group.SetTimeTextUnknown();
  group.SetReadError(message, Format(kReportDescriptionLine, RtfEscape(message).c_str()));
  return false;
}

}  // namespace

bool SyncReadGroup(COPCServer& server, COPCGroup& group, OPCDATASOURCE source) {
  group.SetReadError("", "");
  const char* serverId = server.ServerId().c_str();
  const char* host = server.Host().c_str();
  if (!server.IsConnected() || !group.Connection().SyncIO())
    return FailBeforeCall(group, Format(kNoConnection, serverId, host));
  if (group.AcquiredItems().empty())
    return FailBeforeCall(group, Format(kNoItemToRead, serverId, host));

  std::vector<OPCHANDLE> handles;
  handles.reserve(group.AcquiredItems().size());
  for (const auto& item : group.AcquiredItems())
    handles.push_back(item->ServerItem());

  group.SetTimeTextUnknown();
  std::vector<OPCITEMSTATE> values;
  std::vector<HRESULT> errors;
  HRESULT hr = group.Connection().SyncIO()->Read(source, static_cast<DWORD>(handles.size()),
                                                 handles.data(), &values, &errors);
  // One state per handle is what a success promises; anything else cannot be matched
  // to the items.
  if (SUCCEEDED(hr) && values.size() != handles.size())
    hr = E_UNEXPECTED;
  if (FAILED(hr)) {
    const std::string reason = HResultReasonText(hr);
    const unsigned code = static_cast<unsigned>(hr);
    group.SetReadError(Format(kReadFailed, serverId, host, code, reason.c_str()),
                       Format(kReportDescriptionLine, kReadFailedDescription) +
                           Format(kReportServerLine, RtfEscape(server.ServerId()).c_str()) +
                           Format(kReportHostLine, RtfEscape(server.Host()).c_str()) +
                           Format(kReportCodeLine, code) +
                           Format(kReportReasonLine, RtfEscape(reason).c_str()));
    return false;
  }

  // The local wall-clock time of the client, not the server's time stamps.
  const FILETIME readTime = server.Context().clock.LocalFileTimeNow();
  for (size_t i = 0; i < values.size(); ++i) {
    COPCItem& item = *group.AcquiredItems()[i];
    OPCITEMSTATE& state = values[i];
    item.SetReadResult(state.vDataValue, state.wQuality, state.ftTimeStamp,
                       i < errors.size() ? errors[i] : S_OK);
    if (i == 0)
      group.SetLastRead(readTime, FormatTimeStampMs(LocalTimeFromFileTime(readTime)));
    VariantClear(&state.vDataValue);
  }
  return true;
}

bool ReadGroup(COPCServer& server, COPCGroup& group) {
  CLog& log = server.Context().log;
  switch (group.ReadInterface()) {
    case kReadSyncCache:
    case kReadSyncDevice: {
      const OPCDATASOURCE source =
          group.ReadInterface() == kReadSyncCache ? OPC_DS_CACHE : OPC_DS_DEVICE;
      if (SyncReadGroup(server, group, source))
        return true;
      log.Log(group.Connection().ErrorMessage(), kLogDataAcquisition);
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
  group.UpdateStatistics();
}
