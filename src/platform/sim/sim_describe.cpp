#include "platform/sim/sim_describe.h"

#include <cstdio>

namespace {

std::string Hex(HRESULT hr) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(hr));
  return text;
}

void DescribeHost(const CSimHost& host, bool local, std::string& out) {
  out += "host\t\\\\" + host.m_sName + "\t" + host.m_sAddress + "\t" + host.m_sWorkgroup + "\t" +
         (host.m_bReachable ? "reachable" : "unreachable") + (local ? "\tlocal" : "") + "\n";
  for (const CSimClass& simClass : host.m_classes) {
    if (simClass.m_sProgId.empty()) {
      continue;  // the category manager has no program id
    }
    out += "server\t\\\\" + host.m_sName + "\t" + simClass.m_sProgId + "\t" +
           GuidToString(simClass.m_clsid) + "\t" + simClass.m_sDescription + "\n";
  }
}

std::string DescribeFaults(const CSimFaults& f) {
  const CSimFaults none;
  std::string out;
  const auto add = [&out](const std::string& entry) { out += "\t" + entry; };
  if (f.m_hrReadError != none.m_hrReadError) {
    add("read_error=" + Hex(f.m_hrReadError));
  }
  if (f.m_bDead) {
    add("dead=1");
  }
  if (f.m_nDieAfterMs >= 0) {
    add("die_after_ms=" + std::to_string(f.m_nDieAfterMs));
  }
  if (f.m_nReviveAfterMs >= 0) {
    add("revive_after_ms=" + std::to_string(f.m_nReviveAfterMs));
  }
  if (f.m_nShutdownAfterMs >= 0) {
    add("shutdown_after_ms=" + std::to_string(f.m_nShutdownAfterMs));
    add("shutdown_reason=" + f.m_sShutdownReason);
  }
  if (f.m_nMinUpdateRate != 0) {
    add("min_update_rate=" + std::to_string(f.m_nMinUpdateRate));
  }
  for (const std::string& pattern : f.m_refusedItems) {
    add("refuse_item=" + pattern);
  }
  if (!f.m_refusedItems.empty()) {
    add("refuse_items_error=" + Hex(f.m_hrRefusedItem));
  }
  for (const std::string& pattern : f.m_unreadableItems) {
    add("unreadable_item=" + pattern);
  }
  if (f.m_nSlowReadMs != 0) {
    add("slow_read_ms=" + std::to_string(f.m_nSlowReadMs));
  }
  for (const std::string& filter : f.m_refusedFilters) {
    add("refuse_filter=" + filter);
  }
  if (f.m_nServerState != 0) {
    add("state=" + std::to_string(f.m_nServerState));
  }
  if (f.m_nGeneratedTags != 0) {
    add("tags=" + std::to_string(f.m_nGeneratedTags));
  }
  return out;
}

}  // namespace

std::string DescribeSimulation(const CSimRuntime& runtime) {
  std::string out;
  if (!runtime.NetworkAvailable()) {
    out += "network\tunavailable\n";
  }
  for (const std::string& workgroup : runtime.Workgroups()) {
    out += "workgroup\t" + workgroup + "\n";
  }
  DescribeHost(runtime.LocalHost(), true, out);
  for (const CSimHost& host : runtime.RemoteHosts()) {
    DescribeHost(host, false, out);
  }
  for (const auto& [progId, faults] : runtime.AllFaults()) {
    const std::string entries = DescribeFaults(faults);
    if (!entries.empty()) {
      out += "faults\t" + progId + entries + "\n";
    }
  }
  return out;
}
