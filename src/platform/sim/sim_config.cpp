// The simulation configuration file: the simulated network and the injected faults.
// Format (described in docs/simulation-servers.md): INI-like sections, "key = value"
// lines, "#" or ";" comments, double-quoted values, repeatable keys for lists.
#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <sstream>

#include "base/bounded_read.h"
#include "base/number_text.h"
#include "base/text.h"
#include "platform/com/guid.h"
#include "platform/opc/opc_enum.h"
#include "platform/opc/opc_types.h"
#include "platform/sim/sim_runtime.h"

namespace {

std::string Lower(std::string text) {
  for (char& c : text) {
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  return text;
}

std::vector<std::string> SplitList(const std::string& text, char separator) {
  std::vector<std::string> parts;
  std::stringstream stream(text);
  std::string part;
  while (std::getline(stream, part, separator)) {
    part = Trim(part);
    if (!part.empty()) {
      parts.push_back(part);
    }
  }
  return parts;
}

// A decimal number, or a hexadecimal one written 0x... (codes such as 0x80004005).
bool ParseInteger(const std::string& text, int64_t& value) {
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    uint64_t parsed = 0;
    const char* end = text.data() + text.size();
    const std::from_chars_result result = std::from_chars(text.data() + 2, end, parsed, 16);
    if (result.ec != std::errc() || result.ptr != end) {
      return false;
    }
    value = static_cast<int64_t>(parsed);
    return true;
  }
  const std::optional<int64_t> parsed = ParseInt64(text);
  if (!parsed) {
    return false;
  }
  value = *parsed;
  return true;
}

bool IsCommentMark(char c) {
  return c == '#' || c == ';';
}

// Where the comment of a line starts (npos: none): a '#' or ';' at the start of the line
// or after a blank. One inside a word (Tank#1, a;b) is part of the value.
size_t CommentStart(const std::string& line, size_t from) {
  for (size_t i = from; i < line.size(); ++i) {
    if (IsCommentMark(line[i]) && (i == 0 || line[i - 1] == ' ' || line[i - 1] == '\t')) {
      return i;
    }
  }
  return std::string::npos;
}

bool ParseBool(const std::string& text, bool& value) {
  const std::string lower = Lower(text);
  if (lower == "1" || lower == "yes" || lower == "true" || lower == "on") {
    value = true;
    return true;
  }
  if (lower == "0" || lower == "no" || lower == "false" || lower == "off") {
    value = false;
    return true;
  }
  return false;
}

bool ParseKind(const std::string& text, SimServerKind& kind) {
  const std::string lower = Lower(text);
  if (lower == "full") {
    kind = SimServerKind::kFull;
  } else if (lower == "da1") {
    kind = SimServerKind::kDa1;
  } else if (lower == "nobrowse") {
    kind = SimServerKind::kNoBrowse;
  } else {
    return false;
  }
  return true;
}

// What the file builds before anything is applied.
struct ParsedConfig {
  bool m_bHasNetwork = false;  // any [workgroup] or [host]: replaces the default network
  std::string m_sComputerName;
  std::string m_sLocalWorkgroup;
  int m_nNetworkAvailable = -1;
  int m_nLocalOpcEnum = -1;
  std::vector<std::string> m_workgroups;
  std::vector<CSimHost> m_hosts;
  std::vector<bool> m_opcEnum;  // per host: whether OPCEnum is installed
  std::vector<std::pair<std::string, CSimFaults>> m_faults;
};

// The index of the host of that name, added when new.
size_t HostIndex(ParsedConfig& config, const std::string& name) {
  for (size_t i = 0; i < config.m_hosts.size(); ++i) {
    if (Lower(config.m_hosts[i].m_sName) == Lower(name)) {
      return i;
    }
  }
  CSimHost host;
  host.m_sName = name;
  config.m_hosts.push_back(host);
  config.m_opcEnum.push_back(true);
  return config.m_hosts.size() - 1;
}

class CConfigParser {
 public:
  bool Parse(const std::string& text, ParsedConfig& config, std::string* error);

 private:
  bool Fail(const std::string& message) {
    m_sError = "line " + std::to_string(m_nLine) + ": " + message;
    return false;
  }
  bool Value(const std::string& line, size_t from, std::string& value);
  bool Section(const std::string& header, ParsedConfig& config);
  bool Entry(const std::string& key, const std::string& value, ParsedConfig& config);
  bool HostEntry(const std::string& key, const std::string& value, CSimHost& host);
  bool FaultEntry(const std::string& key, const std::string& value, CSimFaults& faults);

  enum class Kind { kNone, kNetwork, kWorkgroup, kHost, kServer } m_eKind = Kind::kNone;
  size_t m_nIndex = 0;
  int m_nLine = 0;
  std::string m_sError;
};

bool CConfigParser::Parse(const std::string& text, ParsedConfig& config, std::string* error) {
  std::stringstream stream(text);
  std::string line;
  while (std::getline(stream, line)) {
    ++m_nLine;
    line = Trim(line);
    if (line.empty() || IsCommentMark(line[0])) {
      continue;
    }
    bool ok = true;
    const size_t equals = line.find('=');
    const size_t comment = CommentStart(line, 0);
    if (line.front() == '[' || equals == std::string::npos || comment < equals) {
      const std::string content = Trim(line.substr(0, comment));
      if (content.front() != '[') {
        ok = Fail("expected key = value");
      } else {
        ok = content.back() == ']' ? Section(Trim(content.substr(1, content.size() - 2)), config)
                                   : Fail("unclosed section header");
      }
    } else {
      std::string value;
      ok = Value(line, equals + 1, value) &&
           Entry(Lower(Trim(line.substr(0, equals))), value, config);
    }
    if (!ok) {
      if (error != nullptr) {
        *error = m_sError;
      }
      return false;
    }
  }
  return true;
}

// The value from the given position: up to the comment, without surrounding blanks. A
// value that starts with '"' runs to the next '"' and is taken as it stands between them.
bool CConfigParser::Value(const std::string& line, size_t from, std::string& value) {
  const size_t begin = line.find_first_not_of(" \t", from);
  if (begin == std::string::npos || line[begin] != '"') {
    const size_t comment = CommentStart(line, from);
    value = Trim(line.substr(from, comment == std::string::npos ? comment : comment - from));
    return true;
  }
  const size_t close = line.find('"', begin + 1);
  if (close == std::string::npos) {
    return Fail("unclosed quote");
  }
  const std::string rest = Trim(line.substr(close + 1));
  if (!rest.empty() && !IsCommentMark(rest[0])) {
    return Fail("only a comment may follow a quoted value");
  }
  value = line.substr(begin + 1, close - begin - 1);
  return true;
}

bool CConfigParser::Section(const std::string& header, ParsedConfig& config) {
  const size_t space = header.find_first_of(" \t");
  const std::string type = Lower(header.substr(0, space));
  const std::string name = space == std::string::npos ? std::string() : Trim(header.substr(space));
  if (type == "network" && name.empty()) {
    m_eKind = Kind::kNetwork;
    return true;
  }
  if (name.empty()) {
    return Fail("section [" + type + "] needs a name");
  }
  if (type == "workgroup") {
    config.m_bHasNetwork = true;
    m_eKind = Kind::kWorkgroup;
    config.m_workgroups.push_back(name);
    m_nIndex = config.m_workgroups.size() - 1;
    return true;
  }
  if (type == "host") {
    config.m_bHasNetwork = true;
    m_eKind = Kind::kHost;
    m_nIndex = HostIndex(config, name);
    return true;
  }
  if (type == "server") {
    m_eKind = Kind::kServer;
    config.m_faults.emplace_back(name, CSimFaults{});
    m_nIndex = config.m_faults.size() - 1;
    return true;
  }
  return Fail("unknown section [" + type + "]");
}

bool CConfigParser::Entry(const std::string& key, const std::string& value, ParsedConfig& config) {
  switch (m_eKind) {
    case Kind::kNetwork:
      if (key == "computer") {
        config.m_sComputerName = value;
        return true;
      }
      if (key == "workgroup") {
        config.m_sLocalWorkgroup = value;
        return true;
      }
      if (key == "available") {
        bool available = true;
        if (!ParseBool(value, available)) {
          return Fail("available must be 0 or 1");
        }
        config.m_nNetworkAvailable = available ? 1 : 0;
        return true;
      }
      if (key == "opcenum") {
        bool enabled = true;
        if (!ParseBool(value, enabled)) {
          return Fail("opcenum must be 0 or 1");
        }
        config.m_nLocalOpcEnum = enabled ? 1 : 0;
        return true;
      }
      return Fail("unknown key '" + key + "' in [network]");
    case Kind::kWorkgroup:
      if (key == "hosts") {
        for (const std::string& name : SplitList(value, ',')) {
          config.m_hosts[HostIndex(config, name)].m_sWorkgroup = config.m_workgroups[m_nIndex];
        }
        return true;
      }
      return Fail("unknown key '" + key + "' in [workgroup]");
    case Kind::kHost:
      if (key == "opcenum") {
        bool enabled = true;
        if (!ParseBool(value, enabled)) {
          return Fail("opcenum must be 0 or 1");
        }
        config.m_opcEnum[m_nIndex] = enabled;
        return true;
      }
      return HostEntry(key, value, config.m_hosts[m_nIndex]);
    case Kind::kServer:
      return FaultEntry(key, value, config.m_faults[m_nIndex].second);
    case Kind::kNone:
      break;
  }
  return Fail("key outside a section");
}

bool CConfigParser::HostEntry(const std::string& key, const std::string& value, CSimHost& host) {
  if (key == "address") {
    host.m_sAddress = value;
    return true;
  }
  if (key == "workgroup") {
    host.m_sWorkgroup = value;
    return true;
  }
  if (key == "reachable") {
    return ParseBool(value, host.m_bReachable) || Fail("reachable must be 0 or 1");
  }
  if (key == "servers") {
    const std::vector<CSimClass> standard = CSimRuntime::StandardServerClasses();
    for (const std::string& progId : SplitList(value, ',')) {
      bool found = false;
      for (const CSimClass& simClass : standard) {
        if (Lower(simClass.m_sProgId) == Lower(progId)) {
          host.m_classes.push_back(simClass);
          found = true;
        }
      }
      if (!found) {
        return Fail("unknown simulation server '" + progId + "'");
      }
    }
    return true;
  }
  if (key == "server") {
    // ProgId, {CLSID}, kind, description
    const std::vector<std::string> parts = SplitList(value, ',');
    CSimClass simClass;
    if (parts.size() < 3 || !GuidFromString(parts[1], simClass.m_clsid) ||
        !ParseKind(parts[2], simClass.m_eKind)) {
      return Fail("server = ProgId, {CLSID}, full|da1|nobrowse[, description]");
    }
    simClass.m_sProgId = parts[0];
    simClass.m_sDescription = parts.size() > 3 ? parts[3] : parts[0];
    for (size_t i = 4; i < parts.size(); ++i) {
      simClass.m_sDescription += ", " + parts[i];
    }
    if (simClass.m_eKind == SimServerKind::kDa1) {
      simClass.m_categories = {CATID_OPCDAServer10};
    } else if (simClass.m_eKind == SimServerKind::kNoBrowse) {
      simClass.m_categories = {CATID_OPCDAServer20};
    } else {
      simClass.m_categories = {CATID_OPCDAServer10, CATID_OPCDAServer20};
    }
    host.m_classes.push_back(simClass);
    return true;
  }
  return Fail("unknown key '" + key + "' in [host]");
}

bool CConfigParser::FaultEntry(const std::string& key, const std::string& value,
                               CSimFaults& faults) {
  int64_t number = 0;
  const bool isNumber = ParseInteger(value, number);
  if (key == "read_error" || key == "refuse_items_error") {
    if (!isNumber) {
      return Fail(key + " must be a code such as 0x80004005");
    }
    (key == "read_error" ? faults.m_hrReadError : faults.m_hrRefusedItem) =
        static_cast<HRESULT>(static_cast<uint32_t>(number));
    return true;
  }
  if (key == "dead") {
    return ParseBool(value, faults.m_bDead) || Fail("dead must be 0 or 1");
  }
  if (key == "shutdown_reason") {
    faults.m_sShutdownReason = value;
    return true;
  }
  if (key == "refuse_item") {
    faults.m_refusedItems.push_back(value);
    return true;
  }
  if (key == "unreadable_item") {
    faults.m_unreadableItems.push_back(value);
    return true;
  }
  if (key == "refuse_filter") {
    faults.m_refusedFilters.push_back(value);
    return true;
  }
  if (!isNumber || number < 0) {
    return Fail(key + " must be a number of 0 or more");
  }
  if (key == "die_after_ms") {
    faults.m_nDieAfterMs = number;
  } else if (key == "revive_after_ms") {
    faults.m_nReviveAfterMs = number;
  } else if (key == "shutdown_after_ms") {
    faults.m_nShutdownAfterMs = number;
  } else if (key == "min_update_rate") {
    faults.m_nMinUpdateRate = static_cast<uint32_t>(number);
  } else if (key == "slow_read_ms") {
    faults.m_nSlowReadMs = static_cast<uint32_t>(number);
  } else if (key == "state") {
    faults.m_nServerState = static_cast<uint32_t>(number);
  } else if (key == "tags") {
    if (number > kMaxGeneratedTags) {
      return Fail("tags must be at most " + std::to_string(kMaxGeneratedTags));
    }
    faults.m_nGeneratedTags = static_cast<uint32_t>(number);
  } else {
    return Fail("unknown key '" + key + "' in [server]");
  }
  return true;
}

}  // namespace

bool CSimRuntime::LoadConfigurationText(const std::string& text, std::string* error) {
  ParsedConfig config;
  CConfigParser parser;
  if (!parser.Parse(text, config, error)) {
    return false;
  }
  if (!config.m_sComputerName.empty()) {
    SetComputerName(config.m_sComputerName);
  }
  if (config.m_nNetworkAvailable >= 0) {
    m_bNetworkAvailable = config.m_nNetworkAvailable == 1;
  }
  if (!config.m_sLocalWorkgroup.empty()) {
    m_localHost.m_sWorkgroup = config.m_sLocalWorkgroup;
  }
  if (config.m_nLocalOpcEnum == 0) {
    auto& classes = m_localHost.m_classes;
    classes.erase(
        std::remove_if(classes.begin(), classes.end(),
                       [](const CSimClass& c) { return c.m_eKind == SimServerKind::kServerList; }),
        classes.end());
  }
  if (config.m_bHasNetwork) {
    m_remoteHosts.clear();
    m_workgroups = config.m_workgroups;
    for (size_t i = 0; i < config.m_hosts.size(); ++i) {
      CSimHost host = config.m_hosts[i];
      if (host.m_sWorkgroup.empty()) {
        host.m_sWorkgroup = m_localHost.m_sWorkgroup;
      }
      if (host.m_sAddress.empty()) {
        host.m_sAddress = "192.168.1." + std::to_string(100 + i);
      }
      if (config.m_opcEnum[i]) {
        host.m_classes.push_back({CLSID_OpcServerList,
                                  "OPC.ServerList.1",
                                  "OPC Server Enumerator",
                                  {},
                                  SimServerKind::kServerList});
      }
      m_remoteHosts.push_back(host);
    }
  }
  // Every workgroup a machine names is listed.
  const auto addWorkgroup = [this](const std::string& name) {
    for (const std::string& known : m_workgroups) {
      if (Lower(known) == Lower(name)) {
        return;
      }
    }
    m_workgroups.push_back(name);
  };
  addWorkgroup(m_localHost.m_sWorkgroup);
  for (const CSimHost& host : m_remoteHosts) {
    addWorkgroup(host.m_sWorkgroup);
  }
  for (auto& [progId, faults] : config.m_faults) {
    Faults(progId) = faults;
  }
  return true;
}

bool CSimRuntime::LoadConfigurationFile(const std::string& path, std::string* error) {
  std::string text;
  const SBoundedRead read = ReadFileBounded(path, kMaxSimConfigBytes, text);
  if (!read.Ok()) {
    if (error != nullptr) {
      *error = read.eResult == BoundedRead::kTooLarge
                   ? "the simulation configuration " + path + " is larger than " +
                         std::to_string(kMaxSimConfigBytes) + " bytes"
                   : read.sError;
    }
    return false;
  }
  return LoadConfigurationText(text, error);
}

bool CSimRuntime::LoadConfigurationFromEnvironment(std::string* error) {
  const char* path = std::getenv(kSimConfigEnvironmentVariable);
  if (path == nullptr || *path == '\0') {
    return true;
  }
  return LoadConfigurationFile(path, error);
}
