#include "opc/configuration_view_rules.h"

#include "base/log.h"

namespace {

constexpr const char* kStateTexts[] = {"Running", "Failure", "No Configuration", "Suspended",
                                       "Test"};
constexpr char kUnknownState[] = "???";

std::string LocalTimeText(const FILETIME& utc, const IClock& clock) {
  // The server's times are UTC; the panel shows them on this machine's clock.
  const int64_t offsetMs =
      UnixMsFromFileTime(clock.LocalFileTimeNow()) - UnixMsFromFileTime(clock.UtcFileTimeNow());
  const LocalTime t = LocalTimeFromUnixMs(UnixMsFromFileTime(utc) + offsetMs);
  return Format("%02d:%02d:%02d:%03d", t.hour, t.minute, t.second, t.millisecond);
}

}  // namespace

std::string ItemNodeLabel(const COPCBaseItem& item, bool calculated) {
  return Format("%s (%s)", item.QualifiedId().c_str(),
                calculated ? kCalculatedItemTypeText : kAcquiredItemTypeText);
}

const COPCBaseItem* FindItemByLabel(const COPCGroup& group, const std::string& label,
                                    bool* calculated) {
  for (const bool calc : {false, true}) {
    const std::string suffix =
        Format(" (%s)", calc ? kCalculatedItemTypeText : kAcquiredItemTypeText);
    if (label.size() < suffix.size() ||
        label.compare(label.size() - suffix.size(), suffix.size(), suffix) != 0)
      continue;
    const std::string id = label.substr(0, label.size() - suffix.size());
    if (calculated != nullptr)
      *calculated = calc;
    if (calc) {
      for (const auto& item : group.CalcItems())
        if (item->QualifiedId() == id)
          return item.get();
    } else {
      for (const auto& item : group.AcquiredItems())
        if (item->QualifiedId() == id)
          return item.get();
    }
    return nullptr;
  }
  return nullptr;
}

bool ConfigCommandEnabled(ConfigCommand command, ConfigNodeKind selected, bool acquiring) {
  switch (command) {
    case ConfigCommand::kSelectServer:
      return selected == ConfigNodeKind::kNoServer && !acquiring;
    case ConfigCommand::kDisconnectServer:
    case ConfigCommand::kAddGroup:
      return selected == ConfigNodeKind::kServer && !acquiring;
    case ConfigCommand::kRemoveGroup:
    case ConfigCommand::kAddItems:
    case ConfigCommand::kAddCalcItems:
    case ConfigCommand::kModifyGroup:
      return selected == ConfigNodeKind::kGroup && !acquiring;
    case ConfigCommand::kGroupProperties:
      return selected == ConfigNodeKind::kGroup;
    case ConfigCommand::kRemoveItem:
      return selected == ConfigNodeKind::kItem && !acquiring;
    case ConfigCommand::kItemProperties:
      return selected == ConfigNodeKind::kItem;
  }
  return false;
}

std::string ServerStateText(DWORD state) {
  if (state >= OPC_STATUS_RUNNING && state <= OPC_STATUS_TEST)
    return kStateTexts[state - OPC_STATUS_RUNNING];
  return kUnknownState;
}

ServerAttributeTexts ReadServerAttributes(COPCServer& server) {
  server.RecountItems();
  ServerAttributeTexts texts;
  texts.serverId = server.ServerId();
  texts.host = server.Host();
  texts.acquiredTotal = std::to_string(server.TotalAcquiredCount());
  texts.calculatedTotal = std::to_string(server.TotalCalculatedCount());
  OPCSERVERSTATUS status;
  const bool connected = server.IsConnected() && server.Connection().OPCServer();
  texts.connection = connected ? "Connected" : "Not Connected";
  if (connected && SUCCEEDED(server.Connection().OPCServer()->GetStatus(&status))) {
    const IClock& clock = server.Context().clock;
    texts.vendor = status.szVendorInfo.substr(0, 259);
    texts.startTime = LocalTimeText(status.ftStartTime, clock);
    texts.currentTime = LocalTimeText(status.ftCurrentTime, clock);
    texts.lastTime = LocalTimeText(status.ftLastUpdateTime, clock);
    texts.status = ServerStateText(status.dwServerState);
    texts.groupCount = std::to_string(status.dwGroupCount);
    texts.version =
        Format("%d.%d Build: %d", status.wMajorVersion, status.wMinorVersion, status.wBuildNumber);
  } else if (!connected) {
    texts.groupCount = std::to_string(server.GroupCount());
  }
  return texts;
}
