#include "cli/cli_forward.h"

#include <cstdio>
#include <iostream>

#include "base/log.h"
#include "cli/cli_command.h"

#ifdef VELMORA_HAVE_FORWARD
#include "forward/forward_session.h"
#include "forward/forwarder.h"
#endif

namespace {

constexpr char kPushPrefix[] = "velmora-cli acquisitions push: ";

}  // namespace

#ifdef VELMORA_HAVE_FORWARD

bool CliForwardingAvailable() {
  return true;
}

class CCliForwarding::CImpl {
 public:
  CForwarder forwarder;
};

CCliForwarding::CCliForwarding() : m_pImpl(std::make_unique<CImpl>()) {}
CCliForwarding::~CCliForwarding() = default;

void CCliForwarding::Start(const std::string& databasePath, const std::string& url,
                           int acquisitionId, const std::string& project) {
  ForwarderOptions options;
  options.databasePath = databasePath;
  options.url = url;
  options.acquisitionId = acquisitionId;
  options.project = project;
  m_pImpl->forwarder.Start(options);
}

void CCliForwarding::Poll(CLog& log, int unsettledRows) {
  m_pImpl->forwarder.SetUnsettledRows(unsettledRows);
  m_pImpl->forwarder.Notify();
  for (const std::string& line : m_pImpl->forwarder.TakeMessages())
    log.Log(line, kLogDataAcquisition);
}

void CCliForwarding::Finish(CLog& log, int waitMs) {
  m_pImpl->forwarder.Finish(waitMs);
  for (const std::string& line : m_pImpl->forwarder.TakeMessages())
    log.Log(line, kLogDataAcquisition);
}

int64_t CCliForwarding::Forwarded() const {
  return m_pImpl->forwarder.Forwarded();
}

int64_t CCliForwarding::Waiting() const {
  return m_pImpl->forwarder.Waiting();
}

std::string CCliForwarding::LastFailure() const {
  return m_pImpl->forwarder.LastFailure();
}

namespace {

// Sends one acquisition; false when not all of it reached the server.
bool PushAcquisition(CForwardSession& session, int id, int64_t& sent, int64_t& waiting) {
  std::string error;
  sent = 0;
  waiting = -1;
  if (!session.SendAcquisition(id, error)) {
    std::cerr << kPushPrefix << "acquisition " << id << ": " << error << "\n";
    session.Waiting(id, waiting, error);
    return false;
  }
  bool done = false;
  while (!done) {
    int64_t batch = 0;
    if (!session.SendBatch(id, batch, done, error)) {
      std::cerr << kPushPrefix << "acquisition " << id << " interrupted after " << sent
                << " data sets: " << error << "\n";
      session.FlushConfirmed();
      session.Waiting(id, waiting, error);
      return false;
    }
    sent += batch;
    if (batch > 0)
      std::cerr << "Acquisition " << id << ": " << sent << " data sets sent ...\n";
  }
  // The end and the count of an acquisition recorded meanwhile go last.
  if (!session.SendAcquisition(id, error)) {
    std::cerr << kPushPrefix << "acquisition " << id << ": " << error << "\n";
    return false;
  }
  session.FlushConfirmed();
  return session.Waiting(id, waiting, error) && waiting == 0;
}

}  // namespace

int RunAcquisitionsPush(const std::vector<std::string>& arguments, const std::string& databasePath,
                        const char* usage) {
  std::vector<std::string> args = arguments;
  std::string url;
  if (!TakeOption(args, "--to", url) || url.empty())
    return CliUsageError(kPushPrefix, "--to URL is required", usage);
  const bool all = TakeFlag(args, "--all");
  std::vector<int> ids;
  if (all) {
    if (!args.empty())
      return CliUsageError(kPushPrefix, "--all takes no ID", usage);
  } else {
    if (args.size() != 1)
      return CliUsageError(kPushPrefix, "push takes exactly one ID or --all", usage);
    int64_t id = 0;
    std::string error;
    if (!ParseIntOption("ID", args.front(), 1, INT32_MAX, id, error))
      return CliUsageError(kPushPrefix, error, usage);
    ids.push_back(static_cast<int>(id));
  }
  CForwardSession session;
  std::string error;
  if (!session.OpenLocal(databasePath, error))
    return CliFailure(kPushPrefix, error);
  if (all && !session.Spool().Acquisitions(ids, error))
    return CliFailure(kPushPrefix, "cannot list the acquisitions: " + error);
  if (!session.Connect(url, error))
    return CliFailure(kPushPrefix, std::string(session.LastFailureWasAuthentication()
                                                   ? "PostgreSQL refused the connection to "
                                                   : "cannot connect to PostgreSQL at ") +
                                       PgUrlForLog(url) + ": " + error);
  int64_t total = 0;
  int64_t totalWaiting = 0;
  int failed = 0;
  for (const int id : ids) {
    int64_t sent = 0;
    int64_t waiting = 0;
    if (!PushAcquisition(session, id, sent, waiting))
      ++failed;
    total += sent;
    if (waiting > 0)
      totalWaiting += waiting;
    std::printf(
        "Acquisition %d: %lld forwarded%s\n", id, static_cast<long long>(sent),
        waiting > 0 ? (", " + std::to_string(waiting) + " waiting to be forwarded").c_str() : "");
  }
  std::printf("Pushed %zu acquisition(s) to %s: %lld forwarded", ids.size(),
              PgUrlForLog(url).c_str(), static_cast<long long>(total));
  if (totalWaiting > 0)
    std::printf(", %lld waiting to be forwarded", static_cast<long long>(totalWaiting));
  std::printf("\n");
  std::fflush(stdout);
  if (failed > 0)
    return CliFailure(kPushPrefix, std::to_string(failed) + " acquisition(s) not wholly sent");
  return kExitOk;
}

#else  // no PostgreSQL client library in this build

bool CliForwardingAvailable() {
  return false;
}

class CCliForwarding::CImpl {};
CCliForwarding::CCliForwarding() = default;
CCliForwarding::~CCliForwarding() = default;
void CCliForwarding::Start(const std::string&, const std::string&, int, const std::string&) {}
void CCliForwarding::Poll(CLog&, int) {}
void CCliForwarding::Finish(CLog&, int) {}
int64_t CCliForwarding::Forwarded() const {
  return 0;
}
int64_t CCliForwarding::Waiting() const {
  return -1;
}
std::string CCliForwarding::LastFailure() const {
  return kForwardingUnavailable;
}

int RunAcquisitionsPush(const std::vector<std::string>&, const std::string&, const char*) {
  return CliFailure(kPushPrefix, kForwardingUnavailable);
}

#endif
