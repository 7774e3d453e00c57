// velmora-cli servers / browse / read: the OPC client core without windows. Log lines go
// to stderr as the output pane would show them; results go to stdout, tab-separated.
#include <charconv>
#include <iostream>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "base/log.h"
#include "base/settings.h"
#include "cli/cli_command.h"
#include "cli/cli_environment.h"
#include "opc/default_names.h"
#include "opc/item_search.h"
#include "opc/opc_browse.h"
#include "opc/opc_discovery.h"
#include "opc/opc_items.h"
#include "opc/opc_read.h"
#include "opc/opc_server.h"
#include "opc/opc_texts.h"
#include "opc/registry_enumeration.h"
#include "opc/server_selection_opcenum.h"
#include "platform/com/creation.h"
#include "platform/com/error_text.h"
#include "platform/sim/sim_runtime.h"

namespace {

constexpr char kServersUsage[] =
    "Usage: velmora-cli servers [--host HOST] [--da2] [--registry]\n"
    "  Lists the OPC DA 1.0 and 2.0 servers that the server enumerator of HOST (default:\n"
    "  \"Local Host\") knows, one line each: description, program id and class id,\n"
    "  separated by tabs. With none, a note on stderr (exit code 0).\n"
    "  --da2: the DA 2.0 servers only, as the server selection dialog lists them.\n"
    "  --registry: the servers the local registry records under the component categories,\n"
    "  a heading line for DA 1.0 then one for DA 2.0, each followed by its servers (program\n"
    "  id and class id, separated by a tab). Local host only.\n";
constexpr char kBrowseUsage[] =
    "Usage: velmora-cli browse --server PROGID [--host HOST] [--filter PATTERN] [--type VT]\n"
    "                          [--access any|read|write] [--find PATTERN]\n"
    "  Connects to the server and prints its address space: each branch on its own line,\n"
    "  indented by its depth and ending in \"/\", followed by what lies below it, then the\n"
    "  fully qualified ids of the leaves that match PATTERN (default \"*\") and can be\n"
    "  delivered as VT (a number, VT_R4, R4 or a type name such as \"Float Array\").\n"
    "  --access keeps the leaves that are readable (read) or writable (write).\n"
    "  --find prints only the fully qualified ids of the leaves anywhere in the space whose\n"
    "  names match PATTERN (in a flat space: whose ids match), one per line; --type and\n"
    "  --access apply, --filter does not go with it.\n";
constexpr char kReadUsage[] =
    "Usage: velmora-cli read --server PROGID [--host HOST] [--device] [--decimals N] ITEMID...\n"
    "  Connects, adds a group with the items, reads them once (from the cache, or from the\n"
    "  device with --device) and prints one line per item: qualified id, value text, quality\n"
    "  text, time text and data type, separated by tabs. An item the server refuses is\n"
    "  printed as its id, the reason and its code. --decimals (0 to 5) sets the decimals\n"
    "  of analog values.\n"
    "Exit code: 0 when every item was read, 1 when an item was refused, the read failed or\n"
    "the server answered an item's read with a failure code (that item's code and text on\n"
    "stderr), 2 for a usage error.\n";

constexpr char kBrowseUnavailable[] =
    "IOPCBrowseServerAddressSpace Interface in OPC Server %s on %s is Not Available !!! Fail to "
    "Browse Tags ... ";
constexpr char kEnumerationFailed[] =
    "Error Occured Enumerating OPC Servers with OPCEnum.exe !!! %s Error Code: %08X Reason: %s";
constexpr char kRegistryFailed[] =
    "The component category manager cannot list the %s: Error Code: %08X Reason: %s";
constexpr char kItemRefused[] = "%s\t%s\tError Code: %08X";
constexpr char kItemReadFailed[] = "velmora-cli read: the read of %s failed: %s Error Code: %08X";

// The server's own text for a code (IOPCServer::GetErrorString), else the system's.
std::string ServerErrorText(COPCServer& server, HRESULT code) {
  std::string text;
  if (server.Connection().OPCServer() &&
      SUCCEEDED(
          server.Connection().OPCServer()->GetErrorString(code, LOCALE_SYSTEM_DEFAULT, &text)) &&
      !text.empty())
    return text;
  return HResultReasonText(code);
}

int UsageError(const char* command, const std::string& reason, const char* usage) {
  std::cerr << "velmora-cli " << command << ": " << reason << "\n" << usage;
  return kExitUsage;
}

// COM initialised for the command's one thread, and the simulation faults of the file
// named by VELMORA_SIM_CONFIG applied.
class CComSession {
 public:
  CComSession() { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
  ~CComSession() { CoUninitialize(); }
  CComSession(const CComSession&) = delete;
  CComSession& operator=(const CComSession&) = delete;

  bool LoadSimulationConfiguration() {
    std::string error;
    if (CSimRuntime::Instance().LoadConfigurationFromEnvironment(&error))
      return true;
    std::cerr << "velmora-cli: " << error << "\n";
    return false;
  }
};

bool ParseInt(const std::string& text, int& value) {
  const char* end = text.data() + text.size();
  const std::from_chars_result result = std::from_chars(text.data(), end, value);
  return !text.empty() && result.ec == std::errc() && result.ptr == end;
}

std::string Upper(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z')
      c = static_cast<char>(c - 'a' + 'A');
  }
  return text;
}

// A VARTYPE from a number, a VT_ name (with or without the prefix, "[]" or " ARRAY" for
// arrays) or a data type text ("Float Array").
bool ParseVarType(const std::string& text, VARTYPE& vt) {
  int number = 0;
  if (ParseInt(text, number)) {
    if (number < 0 || number > 0xFFFF)
      return false;
    vt = static_cast<VARTYPE>(number);
    return true;
  }
  std::string name = Upper(text);
  VARTYPE arrayBit = 0;
  for (const std::string suffix : {"[]", " ARRAY", "|ARRAY", "|VT_ARRAY"}) {
    if (name.size() > suffix.size() &&
        name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0) {
      name.erase(name.size() - suffix.size());
      arrayBit = VT_ARRAY;
      break;
    }
  }
  if (name.rfind("VT_", 0) == 0)
    name.erase(0, 3);
  struct Named {
    const char* name;
    VARTYPE vt;
  };
  static const Named kNames[] = {
      {"EMPTY", VT_EMPTY}, {"NATIVE", VT_EMPTY}, {"I1", VT_I1},     {"I2", VT_I2},
      {"I4", VT_I4},       {"I8", VT_I8},        {"UI1", VT_UI1},   {"UI2", VT_UI2},
      {"UI4", VT_UI4},     {"UI8", VT_UI8},      {"R4", VT_R4},     {"R8", VT_R8},
      {"CY", VT_CY},       {"DATE", VT_DATE},    {"BSTR", VT_BSTR}, {"BOOL", VT_BOOL},
      {"SHORT", VT_I2},    {"LONG", VT_I4},      {"FLOAT", VT_R4},  {"DOUBLE", VT_R8},
      {"STRING", VT_BSTR}, {"BOOLEAN", VT_BOOL}, {"CHAR", VT_I1},   {"BYTE", VT_UI1},
      {"WORD", VT_UI2},    {"DWORD", VT_UI4},
  };
  for (const Named& entry : kNames) {
    if (name == entry.name) {
      if (entry.vt == VT_EMPTY && arrayBit != 0)
        return false;
      vt = static_cast<VARTYPE>(entry.vt | arrayBit);
      return true;
    }
  }
  return false;
}

// Takes "--host HOST"; "Local Host" when absent.
std::string TakeHost(std::vector<std::string>& args) {
  std::string host = kLocalHost;
  TakeOption(args, "--host", host);
  return host;
}

bool IsLocalHostName(const std::string& host) {
  return host.empty() || Upper(host) == Upper(kLocalHost) || Upper(host) == "LOCALHOST";
}

// The two category headings, each followed by the servers the registry records in it.
int ListRegistryServers() {
  struct Category {
    const char* label;
    const CATID& catid;
  };
  const Category categories[] = {{kCategoryDa10Label, CATID_OPCDAServer10},
                                 {kCategoryDa20Label, CATID_OPCDAServer20}};
  bool failed = false;
  for (const Category& category : categories) {
    std::cout << category.label << '\n';
    const RegistryEnumResult result = EnumerateServersInRegistry(category.catid);
    if (FAILED(result.m_hr)) {
      std::cerr << Format(kRegistryFailed, category.label, static_cast<unsigned>(result.m_hr),
                          HResultReasonText(result.m_hr).c_str())
                << "\n";
      failed = true;
    }
    for (const RegistryServerEntry& server : result.m_servers)
      std::cout << server.m_sProgId << '\t' << GuidToString(server.m_clsid, false) << '\n';
  }
  return failed ? kExitFailed : kExitOk;
}

int RunServers(const std::vector<std::string>& arguments) {
  std::vector<std::string> args = arguments;
  const std::string host = TakeHost(args);
  const bool registry = TakeFlag(args, "--registry");
  const bool da2Only = TakeFlag(args, "--da2");
  if (!args.empty())
    return UsageError("servers", "unexpected argument '" + args.front() + "'", kServersUsage);
  if (registry && !IsLocalHostName(host))
    return UsageError("servers", "--registry lists the local host only", kServersUsage);
  CComSession com;
  if (!com.LoadSimulationConfiguration())
    return kExitFailed;
  if (registry)
    return ListRegistryServers();
  // The dialog's enumeration: its report and log lines go to stderr.
  CCliEnvironment environment;
  const OpcEnumListing listing = ListServersWithOpcEnum(environment.Context(), host, !da2Only);
  if (listing.m_eOutcome == OpcEnumOutcome::kException) {
    std::cerr << kOpcEnumFailedText << kOpcEnumStoppedSuffix << "\n";
    return kExitFailed;
  }
  if (listing.m_eOutcome == OpcEnumOutcome::kFailed) {
    std::cerr << Format(kEnumerationFailed, listing.m_sFailedStep.c_str(),
                        static_cast<unsigned>(listing.m_hr),
                        HResultReasonText(listing.m_hr).c_str())
              << "\n";
    return kExitFailed;
  }
  if (listing.m_servers.empty())
    std::cerr << kNoServerFoundText << "\n";
  for (const OpcServerEntry& server : listing.m_servers) {
    std::cout << server.m_sDescription << '\t' << server.m_sProgId << '\t'
              << GuidToString(server.m_clsid, false) << '\n';
  }
  return kExitOk;
}

// "any", "read" or "write": the rights mask of the leaves listed.
bool ParseAccessRights(const std::string& text, DWORD& rights) {
  const std::string name = Upper(text);
  if (name == "ANY")
    rights = 0;
  else if (name == "READ")
    rights = OPC_READABLE;
  else if (name == "WRITE")
    rights = OPC_WRITEABLE;
  else
    return false;
  return true;
}

// --find: the qualified ids of the matching leaves of the whole space, one per line.
int PrintFoundItems(IOPCBrowseServerAddressSpace& browse, const ItemSearchRequest& request,
                    const std::string& serverId, const std::string& host) {
  const ItemSearchResult result = SearchItems(browse, request);
  std::string out;
  for (const std::string& id : result.m_itemIds) {
    out += id;
    out += '\n';
  }
  std::cout << out << std::flush;
  if (FAILED(result.m_hr)) {
    std::cerr << Format("BrowseOPCItemIDs failed for OPC Server %s on %s: %08X %s",
                        serverId.c_str(), host.c_str(), static_cast<unsigned>(result.m_hr),
                        HResultReasonText(result.m_hr).c_str())
              << "\n";
    return kExitFailed;
  }
  return kExitOk;
}

int RunBrowse(const std::vector<std::string>& arguments) {
  std::vector<std::string> args = arguments;
  std::string serverId;
  std::string filter = "*";
  std::string typeText;
  std::string accessText;
  std::string findPattern;
  const std::string host = TakeHost(args);
  const bool hasServer = TakeOption(args, "--server", serverId);
  const bool hasFilter = TakeOption(args, "--filter", filter);
  const bool find = TakeOption(args, "--find", findPattern);
  VARTYPE dataType = VT_EMPTY;
  if (TakeOption(args, "--type", typeText) && !ParseVarType(typeText, dataType))
    return UsageError("browse", "unknown data type '" + typeText + "'", kBrowseUsage);
  DWORD accessRights = 0;
  if (TakeOption(args, "--access", accessText) && !ParseAccessRights(accessText, accessRights))
    return UsageError("browse", "--access takes any, read or write", kBrowseUsage);
  if (find && hasFilter)
    return UsageError("browse", "--find and --filter do not go together", kBrowseUsage);
  if (!hasServer || serverId.empty())
    return UsageError("browse", "--server PROGID is required", kBrowseUsage);
  if (!args.empty())
    return UsageError("browse", "unexpected argument '" + args.front() + "'", kBrowseUsage);

  CComSession com;
  if (!com.LoadSimulationConfiguration())
    return kExitFailed;
  CCliEnvironment environment;
  COPCServer server(environment.Context());
  if (!server.Connect(serverId, host, GUID_NULL))
    return kExitFailed;
  if (!server.Connection().BrowseServerAddressSpace()) {
    environment.Context().log.Log(Format(kBrowseUnavailable, serverId.c_str(), host.c_str()),
                                  kLogOpcServer);
    return kExitFailed;
  }
  if (find) {
    ItemSearchRequest request;
    request.m_sPattern = findPattern;
    request.m_vtDataType = dataType;
    request.m_dwAccessRights = accessRights;
    return PrintFoundItems(*server.Connection().BrowseServerAddressSpace(), request, serverId,
                           host);
  }
  std::vector<BrowseEntry> entries;
  const HRESULT hr = WalkAddressSpace(*server.Connection().BrowseServerAddressSpace(), filter,
                                      dataType, accessRights, entries);
  for (const BrowseEntry& entry : entries) {
    const std::string indent(static_cast<size_t>(entry.m_nDepth) * 2, ' ');
    std::cout << indent << (entry.m_bBranch ? entry.m_sName + "/" : entry.m_sItemId) << '\n';
  }
  if (FAILED(hr)) {
    std::cerr << Format("BrowseOPCItemIDs failed for OPC Server %s on %s: %08X %s",
                        serverId.c_str(), host.c_str(), static_cast<unsigned>(hr),
                        HResultReasonText(hr).c_str())
              << "\n";
    return kExitFailed;
  }
  return kExitOk;
}

int RunRead(const std::vector<std::string>& arguments) {
  std::vector<std::string> args = arguments;
  std::string serverId;
  std::optional<int> decimalsGiven;
  std::string error;
  const std::string host = TakeHost(args);
  const bool hasServer = TakeOption(args, "--server", serverId);
  const bool fromDevice = TakeFlag(args, "--device");
  if (!TakeIntOption(args, "--decimals", 0, kMaxCliDecimals, decimalsGiven, error))
    return UsageError("read", error, kReadUsage);
  CCliEnvironment environment;
  AppContext& context = environment.Context();
  const int decimals =
      decimalsGiven.value_or(settings::Read(context.settings, settings::kDecimalNbr));
  if (!hasServer || serverId.empty())
    return UsageError("read", "--server PROGID is required", kReadUsage);
  if (!args.empty() && args.front() == "--")
    args.erase(args.begin());
  if (args.empty())
    return UsageError("read", "no ITEMID given", kReadUsage);
  for (const std::string& arg : args) {
    if (arg.rfind("--", 0) == 0)
      return UsageError("read", "unknown option '" + arg + "'", kReadUsage);
  }

  CComSession com;
  if (!com.LoadSimulationConfiguration())
    return kExitFailed;
  COPCServer server(context);
  if (!server.Connect(serverId, host, GUID_NULL))
    return kExitFailed;
  COPCGroup* group = server.AddGroup(FirstFreeDefaultGroupName(server), kDefaultUpdateRate, 0, 0.0f,
                                     0, fromDevice ? kReadSyncDevice : kReadSyncCache, true);
  if (group == nullptr)
    return kExitFailed;

  std::vector<OPCITEMDEF> defs;
  std::vector<std::string> shortIds;
  for (size_t i = 0; i < args.size(); ++i) {
    OPCITEMDEF def;
    def.szItemID = args[i];
    defs.push_back(std::move(def));
    shortIds.push_back(DefaultAcquiredShortId(1, static_cast<int>(i)));
  }
  std::vector<HRESULT> codes;
  const bool allAdded = AddNewItemsToGroup(server, *group, defs, shortIds, &codes);
  bool anyValid = false;
  for (const auto& item : group->AcquiredItems())
    anyValid = anyValid || item->Valid() != 0;
  const bool read = anyValid && ReadGroup(server, *group);
  bool allRead = read;

  for (size_t i = 0; i < group->AcquiredItems().size(); ++i) {
    const COPCItem& item = *group->AcquiredItems()[i];
    if (item.Valid() == 0) {
      const HRESULT code = i < codes.size() ? codes[i] : E_FAIL;
      std::cout << Format(kItemRefused, item.QualifiedId().c_str(), AddItemResultText(code).c_str(),
                          static_cast<unsigned>(code))
                << '\n';
    } else if (read) {
      std::cout << item.QualifiedId() << '\t' << item.ValueText(decimals) << '\t'
                << item.QualityText() << '\t' << group->TimeText() << '\t'
                << DataTypeText(item.DataType()) << '\n';
      if (FAILED(item.ReadResult())) {
        allRead = false;
        std::cerr << Format(kItemReadFailed, item.QualifiedId().c_str(),
                            ServerErrorText(server, item.ReadResult()).c_str(),
                            static_cast<unsigned>(item.ReadResult()))
                  << '\n';
      }
    }
  }
  server.RemoveAllGroups();
  server.Disconnect();
  return allAdded && allRead ? kExitOk : kExitFailed;
}

const CliCommandRegistration kServersCommand(CliCommand{"servers", "list the OPC servers of a host",
                                                        kServersUsage, RunServers});
const CliCommandRegistration kBrowseCommand(CliCommand{
    "browse", "print the address space of an OPC server", kBrowseUsage, RunBrowse});
const CliCommandRegistration kReadCommand(CliCommand{"read", "read items of an OPC server once",
                                                     kReadUsage, RunRead});

}  // namespace
