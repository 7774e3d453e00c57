#pragma once
// The core of the "Direct Host Selection" dialog: the user types a host (or "Local
// Host") and the OPCEnum enumeration of that host fills a list with the columns
// "Prog Id" and "GUID"; OK hands the host and its list to the selection tree.
// Thread rule: GUI thread.
#include <string>
#include <vector>

#include "base/app_context.h"

inline constexpr char kDirectHostTitle[] = "Direct Host Selection";
inline constexpr char kDirectHostProgIdColumn[] = "Prog Id";
inline constexpr char kDirectHostGuidColumn[] = "GUID";
inline constexpr char kDirectHostCriticalError[] =
    "Critical Error Occured While Enumerating OPC Servers !!! Browsing is Stopped ....";

struct DirectHostRow {
  std::string m_sProgIdLabel;  // "description (program id)"
  std::string m_sGuidText;     // the class id, lower case without braces
};

struct DirectHostChoice {
  std::string m_sHost;
  std::vector<DirectHostRow> m_servers;
};

// Enumerates the host into rows (replacing them). false when the enumeration failed:
// the "OPC Enumeration Error" report or the log line has said why, or, when it broke
// off, the critical error message box.
bool EnumerateDirectHost(AppContext& context, const std::string& host,
                         std::vector<DirectHostRow>& rows);
