#include "forward/acquisition_forwarding.h"

#include "base/log.h"
#include "base/settings.h"
#include "forward/forwarder.h"

CAcquisitionForwarding::CAcquisitionForwarding(AppContext& context) : m_context(context) {}

CAcquisitionForwarding::~CAcquisitionForwarding() {
  if (m_pForwarder != nullptr) {
    m_pForwarder->Finish(0);  // the program ends: what waits is sent by the next push
    Drain();
  }
}

void CAcquisitionForwarding::OnStarted(const std::string& databasePath, int acquisitionId,
                                       const std::string& project) {
  if (m_pForwarder != nullptr)
    EndIfDone(true);  // a resume right after a stop: the last run ends first
  const std::string url = settings::Read(m_context.settings, settings::kForwardTo);
  if (url.empty() || acquisitionId < 0)
    return;
  ForwarderOptions options;
  options.databasePath = databasePath;
  options.url = url;
  options.acquisitionId = acquisitionId;
  options.project = project;
  m_pForwarder = std::make_unique<CForwarder>();
  m_bStopping = false;
  m_pForwarder->Start(options);
}

void CAcquisitionForwarding::Drain() {
  for (const std::string& line : m_pForwarder->TakeMessages())
    m_context.log.Log(line, kLogDataAcquisition);
}

void CAcquisitionForwarding::OnTick(int unsettledRows) {
  if (m_pForwarder == nullptr)
    return;
  if (!m_bStopping) {
    m_pForwarder->SetUnsettledRows(unsettledRows);
    m_pForwarder->Notify();
  }
  Drain();
  if (m_bStopping)
    EndIfDone(false);
}

void CAcquisitionForwarding::OnStopped(int catchUpMs) {
  if (m_pForwarder == nullptr || m_bStopping)
    return;
  m_bStopping = true;
  m_pForwarder->RequestFinish(catchUpMs);
}

void CAcquisitionForwarding::EndIfDone(bool wait) {
  if (!wait && !m_pForwarder->HasEnded())
    return;
  m_pForwarder->Finish(0);
  Drain();
  std::string line = Format(kForwardingEnded, static_cast<long long>(m_pForwarder->Forwarded()));
  const int64_t waiting = m_pForwarder->Waiting();
  if (waiting > 0)
    line += Format(kForwardingWaiting, static_cast<long long>(waiting));
  else if (waiting < 0)
    line += ", some may wait to be forwarded (the local database could not be read) !!!";
  else
    line += " ...";
  m_context.log.Log(line, kLogDataAcquisition);
  m_pForwarder.reset();
  m_bStopping = false;
}
