#pragma once
// CUpdateCheck: compares the running version with the published version file, under
// the NoUpdateCheck, CurrentVersion and LastCheckTime rules of the settings key.
#include <cstdint>
#include <string>

#include "base/clock.h"
#include "base/settings_store.h"
#include "update/url_fetch.h"
#include "update/version_file.h"
#include "update/version_info.h"

inline constexpr int32_t kUpdateNoResult = 0;
inline constexpr int32_t kUpdateNewer = 1;
inline constexpr int32_t kUpdateLatest = 2;
inline constexpr int32_t kUpdateSettingsGeneration = 20;
inline constexpr int64_t kAutomaticCheckIntervalS = 2419200;  // 28 days

class CUpdateCheck {
 public:
  CUpdateCheck(ISettingsStore& store, const IClock& clock, IUrlFetcher& fetcher)
      : m_store(store), m_clock(clock), m_fetcher(fetcher) {}

  // Runs one check; forced ignores NoUpdateCheck and the 28 days. Returns the status.
  int32_t Check(const std::string& url, bool forced, uint32_t waitMs = kVersionWaitMs);

  int32_t Status() const { return m_nStatus; }
  bool Requested() const { return m_bRequested; }
  // Why a requested check has no result (status 0), or why it was not requested.
  const std::string& Reason() const { return m_sReason; }
  uint32_t LocalHigh() const { return m_nLocalHigh; }
  uint32_t LocalLow() const { return m_nLocalLow; }
  uint32_t RemoteHigh() const { return m_nRemoteHigh; }
  uint32_t RemoteLow() const { return m_nRemoteLow; }
  const std::string& RemoteText() const { return m_sRemoteText; }
  std::string LocalVersionText() const { return VersionText(m_nLocalHigh, m_nLocalLow, false); }
  std::string RemoteVersionText() const { return VersionText(m_nRemoteHigh, m_nRemoteLow, true); }

 private:
  ISettingsStore& m_store;
  const IClock& m_clock;
  IUrlFetcher& m_fetcher;
  int32_t m_nStatus = kUpdateNoResult;
  bool m_bRequested = false;
  // The running version is known before any check, so a skipped check still shows it.
  uint32_t m_nLocalHigh = kProgramVersionHigh;
  uint32_t m_nLocalLow = kProgramVersionLow;
  uint32_t m_nRemoteHigh = 0;
  uint32_t m_nRemoteLow = 0;
  std::string m_sRemoteText;
  std::string m_sReason;
};
