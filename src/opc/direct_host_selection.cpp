#include "opc/direct_host_selection.h"

#include "opc/server_selection_opcenum.h"

bool EnumerateDirectHost(AppContext& context, const std::string& host,
                         std::vector<DirectHostRow>& rows) {
  rows.clear();
  const OpcEnumListing listing = ListServersWithOpcEnum(context, host);
  if (listing.m_eOutcome == OpcEnumOutcome::kException) {
    context.prompt.ShowMessage(kDirectHostCriticalError, MessageButtons::kOk, MessageIcon::kError);
    return false;
  }
  if (listing.m_eOutcome != OpcEnumOutcome::kListed)
    return false;
  for (const OpcServerEntry& server : listing.m_servers)
    rows.push_back({OpcEnumServerLabel(server), ClassIdText(server.m_clsid)});
  return true;
}
