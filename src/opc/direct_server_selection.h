#pragma once
// The core of the "Direct Server Selection" dialog: host, server id and class id typed
// (or taken from the known servers of recorded acquisitions), and the rule that enables
// its OK button. Thread rule: GUI thread.
#include <string>

inline constexpr char kDirectServerTitle[] = "Direct Server Selection";

struct DirectServerChoice {
  std::string m_sHost;
  std::string m_sServerId;
  std::string m_sClassIdText;
};

inline constexpr size_t kDirectServerMinHost = 3;
inline constexpr size_t kDirectServerMinServerId = 5;
inline constexpr size_t kDirectServerMinClassId = 34;

// OK is enabled for a host of at least 3 characters, a server id of at least 5 and a
// class id of at least 34.
bool DirectServerOkEnabled(const DirectServerChoice& choice);
// The label the server gets in the tree: "%s (%s)" with the server id in both places,
// so that the server id is read back from it like any other.
std::string DirectServerLabel(const std::string& serverId);
