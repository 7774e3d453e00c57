#pragma once
// FetchUrl: opens a URL on a worker thread with caching off and reads at most
// kVersionFileMaxBytes; the caller waits at most waitMs and then abandons the open.
#include <cstdint>
#include <string>

inline constexpr size_t kVersionFileMaxBytes = 512;
inline constexpr uint32_t kVersionWaitMs = 10000;

enum class FetchOutcome { kOpened, kFailed, kTimedOut };

struct SFetchResult {
  FetchOutcome eOutcome = FetchOutcome::kFailed;
  std::string sData;   // what was read, at most kVersionFileMaxBytes
  long nHttpCode = 0;  // the server's status code, 0 when none arrived
  std::string sError;  // why the URL did not open or the read failed
};

// The way the check reaches the network; tests may substitute their own.
class IUrlFetcher {
 public:
  virtual ~IUrlFetcher() = default;
  virtual SFetchResult Fetch(const std::string& url, uint32_t waitMs) = 0;
};

class CCurlFetcher : public IUrlFetcher {
 public:
  SFetchResult Fetch(const std::string& url, uint32_t waitMs) override;
};
