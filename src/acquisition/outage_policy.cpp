#include "acquisition/outage_policy.h"

#include <algorithm>
#include <iterator>

#include "base/log.h"

namespace {

constexpr char kReconnectFailed[] = "Reconnection to OPC Server %s on %s Failed - Next Try in %d s";
constexpr char kReconnected[] =
    "Connection to Server Restored ... Outage from %s to %s (%d s) - %d Acquisition Cycle%s "
    "Missed";
constexpr char kOutageAtEnd[] =
    "Connection to Server Not Restored at the End of the Acquisition ... Outage from %s to %s "
    "(%d s) - %d Acquisition Cycle%s Missed";
constexpr int kReconnectPauses[] = {1, 2, 5, 10, 30};

}  // namespace

std::string ReconnectFailedLine(const std::string& serverId, const std::string& host, int pause) {
  return Format(kReconnectFailed, serverId.c_str(), host.c_str(), pause);
}

int COutagePolicy::PauseAfterAttempts(int attempts) {
  const int last = static_cast<int>(std::size(kReconnectPauses)) - 1;
  return kReconnectPauses[std::clamp(attempts, 0, last)];
}

ReadFailureDecision COutagePolicy::DecideOnReadFailure(bool serverAlive, bool canReconnect) const {
  return m_bReconnectOnServerLoss && !serverAlive && canReconnect ? ReadFailureDecision::kReconnect
                                                                  : ReadFailureDecision::kStop;
}

void COutagePolicy::OnAcquisitionStart(bool fresh) {
  if (fresh)
    m_nMissedCycles = 0;
  m_bEndedInOutage = false;
}

void COutagePolicy::Begin(int64_t now, const std::string& startText) {
  m_bReconnecting = true;
  m_nOutageStart = now;
  m_sOutageStartText = startText;
  m_nAttempts = 0;
  m_nOutageMissedCycles = 1;  // the cycle whose read failed
  m_nNextReconnect = now + PauseAfterAttempts(0);
}

bool COutagePolicy::TryNow(int64_t now, bool groupDue) {
  if (now < m_nNextReconnect) {
    m_nOutageMissedCycles += groupDue ? 1 : 0;
    return false;
  }
  ++m_nAttempts;
  return true;
}

int COutagePolicy::AttemptFailed(int64_t now, bool groupDue) {
  const int pause = PauseAfterAttempts(m_nAttempts);
  m_nNextReconnect = now + pause;
  m_nOutageMissedCycles += groupDue ? 1 : 0;
  return pause;
}

std::string COutagePolicy::Close(const char* format, int64_t now, const std::string& endText) {
  m_bReconnecting = false;
  m_nMissedCycles += m_nOutageMissedCycles;
  const int missed = m_nOutageMissedCycles;
  m_nOutageMissedCycles = 0;
  return Format(format, m_sOutageStartText.c_str(), endText.c_str(),
                static_cast<int>(now - m_nOutageStart), missed, missed == 1 ? "" : "s");
}

std::string COutagePolicy::End(int64_t now, const std::string& endText) {
  return Close(kReconnected, now, endText);
}

std::string COutagePolicy::EndAtStop(int64_t now, const std::string& endText) {
  m_bEndedInOutage = true;
  return Close(kOutageAtEnd, now, endText);
}
