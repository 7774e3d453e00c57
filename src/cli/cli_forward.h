#pragma once
// Forwarding to PostgreSQL from velmora-cli: the forwarder beside `acquire --forward URL`
// and `acquisitions push`. Builds without libpq (Windows) say so instead.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CLog;

// False in a build without the PostgreSQL client library.
bool CliForwardingAvailable();
inline constexpr char kForwardingUnavailable[] =
    "forwarding to PostgreSQL is not available in this build";

// The forwarder of one acquisition run.
class CCliForwarding {
 public:
  CCliForwarding();
  ~CCliForwarding();
  CCliForwarding(const CCliForwarding&) = delete;
  CCliForwarding& operator=(const CCliForwarding&) = delete;

  void Start(const std::string& databasePath, const std::string& url, int acquisitionId,
             const std::string& project);
  // After each cycle: wakes the forwarder and logs what it has to say. unsettledRows: the
  // last rows the acquisition may still rewrite (they are sent once settled).
  void Poll(CLog& log, int unsettledRows);
  // Waits at most waitMs for it to catch up; then forwarded and waiting are final.
  void Finish(CLog& log, int waitMs);
  int64_t Forwarded() const;
  int64_t Waiting() const;
  std::string LastFailure() const;

 private:
  class CImpl;
  std::unique_ptr<CImpl> m_pImpl;
};

// velmora-cli acquisitions push ID|--all --to URL (args: what follows "push").
int RunAcquisitionsPush(const std::vector<std::string>& args, const std::string& databasePath,
                        const char* usage);
