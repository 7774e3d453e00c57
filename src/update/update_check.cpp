#include "update/update_check.h"

#include "base/settings.h"
#include "update/version_info.h"

int32_t CUpdateCheck::Check(const std::string& url, bool forced, uint32_t waitMs) {
  // Each check starts from nothing: a later check that reads nothing must not show the
  // version an earlier one found.
  m_nStatus = kUpdateNoResult;
  m_bRequested = false;
  m_nRemoteHigh = 0;
  m_nRemoteLow = 0;
  m_sRemoteText.clear();
  m_sReason.clear();
  int32_t noCheck = settings::Read(m_store, settings::kNoUpdateCheck);
  int32_t generation = 0;
  if (m_store.ReadInt(settings::kCurrentVersion.name, generation) != 0 ||
      generation < kUpdateSettingsGeneration) {
    settings::Write(m_store, settings::kNoUpdateCheck, 0);
    settings::Write(m_store, settings::kCurrentVersion, kUpdateSettingsGeneration);
    noCheck = 0;
  }
  if (!forced && noCheck != 0) {
    m_sReason = "the automatic check is switched off (NoUpdateCheck)";
    return m_nStatus;
  }
  const auto now = static_cast<int32_t>(static_cast<uint32_t>(m_clock.SecondsSince1970()));
  int32_t last = 0;
  const bool hasLast = m_store.ReadInt(settings::kLastCheckTime.name, last) == 0;
  if (!forced && hasLast &&
      static_cast<int64_t>(static_cast<uint32_t>(now)) - static_cast<uint32_t>(last) <
          kAutomaticCheckIntervalS) {
    m_sReason = "the last check was less than 28 days ago";
    return m_nStatus;
  }
  m_nLocalHigh = kProgramVersionHigh;
  m_nLocalLow = kProgramVersionLow;
  m_bRequested = true;
  const SFetchResult result = m_fetcher.Fetch(url, waitMs);
  if (result.eOutcome != FetchOutcome::kOpened) {
    m_sReason = "no answer from " + url + ": " +
                (result.sError.empty() ? std::string("the URL did not open") : result.sError);
    return m_nStatus;
  }
  if (result.sData.empty()) {
    // The URL opened and nothing was read: a completed check without a result.
    m_sReason = result.sError.empty() ? "the version file is empty" : result.sError;
    settings::Write(m_store, settings::kLastCheckTime, now);
    return m_nStatus;
  }
  const SVersionFile file = ParseVersionFile(result.sData);
  if (!file.bValid) {
    // A page that is not a version file (a portal, a proxy's notice) says nothing, like an
    // unreachable server: the next automatic start tries again.
    m_sReason = "the answer from " + url + " is not a version file";
    return m_nStatus;
  }
  m_nRemoteHigh = file.nHigh;
  m_nRemoteLow = file.nLow;
  m_sRemoteText = file.sText;
  m_nStatus = CompareVersions(m_nLocalHigh, m_nLocalLow, m_nRemoteHigh, m_nRemoteLow) < 0
                  ? kUpdateNewer
                  : kUpdateLatest;
  settings::Write(m_store, settings::kLastCheckTime, now);
  return m_nStatus;
}
