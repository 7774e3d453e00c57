#include "update/update_check.h"

#include <vector>

#include "base/settings.h"
#include "update/version_info.h"

namespace {
// Plain decimal-to-long: optional blanks and sign, then digits; anything else stops.
long DecimalToLong(const std::string& text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
    ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-'))
    negative = text[i++] == '-';
  long value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > 0x7FFFFFFF)
      value = 0x7FFFFFFF;
  }
  return negative ? -value : value;
}
}  // namespace

SVersionFile ParseVersionFile(const std::string& data) {
  const std::string text = data.substr(0, kVersionFileMaxBytes);
  std::vector<std::string> fields;
  size_t start = 0;
  while (fields.size() < 3) {
    const size_t bar = text.find('|', start);
    if (bar == std::string::npos)
      break;
    fields.push_back(text.substr(start, bar - start));
    start = bar + 1;
  }
  fields.push_back(start <= text.size() ? text.substr(start) : std::string());
  while (fields.size() < 4)
    fields.emplace_back();
  SVersionFile file;
  const auto word = [&](int index) { return static_cast<uint32_t>(DecimalToLong(fields[index])); };
  file.nHigh = (word(0) << 16) | word(1);
  file.nLow = word(2) << 16;
  file.sText = fields[3];
  return file;
}

std::string VersionText(uint32_t high, uint32_t low, bool unknownIfZero) {
  if (unknownIfZero && high == 0 && low <= 0xFFFF)
    return "Unknown";
  std::string text = std::to_string(high >> 16) + "." + std::to_string(high & 0xFFFF);
  if (low > 0xFFFF)
    text += static_cast<char>((low >> 16) + 96);
  return text;
}

int32_t CUpdateCheck::Check(const std::string& url, bool forced, uint32_t waitMs) {
  // Each check starts from nothing: a later check that reads nothing must not show the
  // version an earlier one found.
  m_nStatus = kUpdateNoResult;
  m_bRequested = false;
  m_nRemoteHigh = 0;
  m_nRemoteLow = 0;
  m_sRemoteText.clear();
  int32_t noCheck = settings::Read(m_store, settings::kNoUpdateCheck);
  int32_t generation = 0;
  if (m_store.ReadInt(settings::kCurrentVersion.name, generation) != 0 ||
      generation < kUpdateSettingsGeneration) {
    settings::Write(m_store, settings::kNoUpdateCheck, 0);
    settings::Write(m_store, settings::kCurrentVersion, kUpdateSettingsGeneration);
    noCheck = 0;
  }
  if (!forced && noCheck != 0)
    return m_nStatus;
  const auto now = static_cast<int32_t>(static_cast<uint32_t>(m_clock.SecondsSince1970()));
  int32_t last = 0;
  const bool hasLast = m_store.ReadInt(settings::kLastCheckTime.name, last) == 0;
  if (!forced && hasLast &&
      static_cast<int64_t>(static_cast<uint32_t>(now)) - static_cast<uint32_t>(last) <
          kAutomaticCheckIntervalS)
    return m_nStatus;
  m_nLocalHigh = kProgramVersionHigh;
  m_nLocalLow = kProgramVersionLow;
  m_bRequested = true;
  const SFetchResult result = m_fetcher.Fetch(url, waitMs);
  if (result.eOutcome != EFetchOutcome::Opened)
    return m_nStatus;
  if (!result.sData.empty()) {
    const SVersionFile file = ParseVersionFile(result.sData);
    m_nRemoteHigh = file.nHigh;
    m_nRemoteLow = file.nLow;
    m_sRemoteText = file.sText;
    if (m_nLocalHigh < m_nRemoteHigh)
      m_nStatus = kUpdateNewer;
    else if (m_nLocalLow < m_nRemoteLow)
      m_nStatus = kUpdateNewer;
    else
      m_nStatus = kUpdateLatest;
  }
  settings::Write(m_store, settings::kLastCheckTime, now);
  return m_nStatus;
}
