#pragma once
// The OPCEnum enumeration of one host as the server selection dialog and its direct host
// dialog run it: the DA 2.0 category as both implemented and required category, the
// "OPC Enumeration Error" report when the enumerator cannot be had, the log line when it
// cannot enumerate. Thread rule: GUI thread (or the command-line tool's one thread).
#include <string>
#include <vector>

#include "base/app_context.h"
#include "opc/opc_discovery.h"

inline constexpr char kOpcEnumerationErrorTitle[] = "OPC Enumeration Error";
inline constexpr char kOpcEnumFailedText[] =
    "Error Occured Enumerating OPC Servers with OPCEnum.exe !!!";
inline constexpr char kOpcEnumStoppedSuffix[] = " Browsing is Stopped ....";
inline constexpr char kNoServerFoundText[] = "No OPC Server Found using OPCEnum ...";

enum class OpcEnumOutcome {
  kListed,     // m_servers holds what was found (maybe nothing)
  kFailed,     // reported (enumerator not obtained) or logged (enumeration refused)
  kException,  // the enumeration broke off; the caller says so its own way
};

struct OpcEnumListing {
  OpcEnumOutcome m_eOutcome = OpcEnumOutcome::kFailed;
  HRESULT m_hr = S_OK;
  std::string m_sFailedStep;  // set when the enumerator could not be obtained
  std::vector<OpcServerEntry> m_servers;
};

// host: "Local Host" or empty for this machine, else the host's name. The servers of the
// DA 2.0 category (what the selection dialog lists), or with allDataAccess those of DA 1.0
// or DA 2.0, each once.
OpcEnumListing ListServersWithOpcEnum(AppContext& context, const std::string& host,
                                      bool allDataAccess = false);

// The server's label in the tree and the direct host list: "description (program id)".
std::string OpcEnumServerLabel(const OpcServerEntry& server);
// The class id as the system's UuidToString writes it: lower case, no braces.
std::string ClassIdText(const CLSID& clsid);
