#include "forward/forwarder.h"

#include <algorithm>
#include <chrono>

#include "forward/forward_session.h"

namespace {

constexpr char kConnectFailed[] = "Cannot Forward to PostgreSQL %s: %s (retrying) !!!";
constexpr char kAuthFailed[] = "PostgreSQL %s Refused the Connection: %s (retrying) !!!";
constexpr char kConnected[] = "Forwarding Acquisition %s to PostgreSQL %s ...";
constexpr char kSendFailed[] = "Forwarding to PostgreSQL Interrupted: %s (retrying) !!!";
constexpr char kLocalFailed[] = "Forwarder Cannot Read the Local Database: %s !!!";

std::string Printf(const char* format, const std::string& a, const std::string& b) {
  std::string text = format;
  const size_t first = text.find("%s");
  if (first != std::string::npos)
    text.replace(first, 2, a);
  const size_t second = text.find("%s", first == std::string::npos ? 0 : first + a.size());
  if (second != std::string::npos)
    text.replace(second, 2, b);
  return text;
}

}  // namespace

CForwarder::~CForwarder() {
  Finish(0);
}

void CForwarder::Start(const ForwarderOptions& options) {
  if (m_thread.joinable())
    return;
  m_options = options;
  m_thread = std::thread([this] { Run(); });
}

void CForwarder::Notify() {
  {
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_bNotified = true;
  }
  m_wake.notify_all();
}

std::vector<std::string> CForwarder::TakeMessages() {
  const std::lock_guard<std::mutex> lock(m_mutex);
  std::vector<std::string> messages;
  messages.swap(m_messages);
  return messages;
}

void CForwarder::RequestFinish(int waitMs) {
  {
    const std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_bFinishing) {
      m_bFinishing = true;
      m_deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
    }
  }
  m_wake.notify_all();
}

void CForwarder::Finish(int waitMs) {
  if (!m_thread.joinable())
    return;
  RequestFinish(waitMs);
  m_thread.join();
}

std::string CForwarder::LastFailure() const {
  const std::lock_guard<std::mutex> lock(m_mutex);
  return m_sLastFailure;
}

void CForwarder::Say(const std::string& text) {
  const std::lock_guard<std::mutex> lock(m_mutex);
  m_messages.push_back(text);
}

bool CForwarder::Pause(int ms) {
  std::unique_lock<std::mutex> lock(m_mutex);
  const bool finishingBefore = m_bFinishing;
  const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  for (;;) {
    // Woken early by a new row, and by the end's request (one more try at once).
    if (m_bNotified || m_bFinishing != finishingBefore) {
      m_bNotified = false;
      break;
    }
    const auto end = m_bFinishing ? std::min(until, m_deadline) : until;
    if (std::chrono::steady_clock::now() >= end)
      break;
    m_wake.wait_until(lock, end);
  }
  return !m_bFinishing || std::chrono::steady_clock::now() < m_deadline;
}

void CForwarder::Run() {
  const int id = m_options.acquisitionId;
  CForwardSession session;
  session.SetBatchRows(m_options.batchRows);
  session.SetProject(m_options.project);
  std::string error;
  if (!session.OpenLocal(m_options.databasePath, error)) {
    Say(Printf(kLocalFailed, error, ""));
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_sLastFailure = error;
    m_bEnded.store(true, std::memory_order_release);
    return;
  }
  session.SetDestination(m_options.url);
  const std::string shownUrl = PgUrlForLog(m_options.url);
  int pause = m_options.firstPauseMs;
  std::string lastSaid;
  bool acquisitionSent = false;
  const auto fail = [&](const char* format, const std::string& cause) {
    {
      const std::lock_guard<std::mutex> lock(m_mutex);
      m_sLastFailure = cause;
    }
    // Said once per cause: an outage of an hour is one line, not thousands.
    if (cause != lastSaid)
      Say(format == kSendFailed ? Printf(format, cause, "") : Printf(format, shownUrl, cause));
    lastSaid = cause;
    session.Disconnect();
    acquisitionSent = false;
    const bool more = Pause(pause);
    pause = std::min(pause * 2, m_options.maxPauseMs);
    return more;
  };
  for (;;) {
    bool finishing = false;
    {
      const std::lock_guard<std::mutex> lock(m_mutex);
      finishing = m_bFinishing;
      if (finishing && std::chrono::steady_clock::now() >= m_deadline)
        break;
    }
    if (!session.IsConnected()) {
      if (!session.Connect(m_options.url, error)) {
        if (!fail(session.LastFailureWasAuthentication() ? kAuthFailed : kConnectFailed, error))
          break;
        continue;
      }
      Say(Printf(kConnected, std::to_string(id), shownUrl));
      lastSaid.clear();
      pause = m_options.firstPauseMs;
    }
    if (!acquisitionSent) {
      if (!session.SendAcquisition(id, error)) {
        if (!fail(kSendFailed, error))
          break;
        continue;
      }
      acquisitionSent = true;
    }
    int64_t sent = 0;
    bool done = false;
    // At the end every row has settled.
    const int holdBack = finishing ? 0 : m_nUnsettled.load(std::memory_order_acquire);
    if (!session.SendBatch(id, sent, done, error, holdBack)) {
      if (!fail(kSendFailed, error))
        break;
      continue;
    }
    m_nForwarded.fetch_add(sent, std::memory_order_acq_rel);
    {
      const std::lock_guard<std::mutex> lock(m_mutex);
      m_sLastFailure.clear();
    }
    if (!done)
      continue;
    if (finishing) {
      // Everything recorded is there: the acquisition's end and count go last.
      if (!session.SendAcquisition(id, error)) {
        if (!fail(kSendFailed, error))
          break;
        continue;
      }
      break;
    }
    Pause(m_options.idlePauseMs);
  }
  session.FlushConfirmed();
  int64_t waiting = -1;
  if (session.Waiting(id, waiting, error))
    m_nWaiting.store(waiting, std::memory_order_release);
  m_bEnded.store(true, std::memory_order_release);
}
