#include "update/url_fetch.h"

#include <curl/curl.h>

#include <atomic>
#include <memory>
#include <mutex>

#include "base/worker_job.h"

namespace {
// Shared by the caller and the worker, so an abandoned worker never touches freed memory.
struct SFetchState {
  std::string sUrl;
  std::string sData;
  std::atomic<bool> bAbandoned{false};
  std::atomic<bool> bOpened{false};
  long nHttpCode = 0;
  std::string sError;
};

size_t WriteBytes(char* data, size_t size, size_t count, void* user) {
  auto* state = static_cast<SFetchState*>(user);
  const size_t total = size * count;
  const size_t room = kVersionFileMaxBytes - state->sData.size();
  const size_t taken = total < room ? total : room;
  state->sData.append(data, taken);
  // A short count ends the transfer once the limit is reached.
  return state->sData.size() >= kVersionFileMaxBytes ? taken : total;
}

int Progress(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
  // Nonzero aborts: this is how closing the handle cuts a hanging server.
  return static_cast<SFetchState*>(user)->bAbandoned.load() ? 1 : 0;
}

void RunFetch(const std::shared_ptr<SFetchState>& state) {
  static std::once_flag s_init;
  std::call_once(s_init, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
  CURL* curl = curl_easy_init();
  if (curl == nullptr) {
    state->sError = "the network library could not start";
    return;
  }
  curl_slist* headers = nullptr;
  headers = curl_slist_append(headers, "Cache-Control: no-cache");
  headers = curl_slist_append(headers, "Pragma: no-cache");
  curl_easy_setopt(curl, CURLOPT_URL, state->sUrl.c_str());
  curl_easy_setopt(curl, CURLOPT_USERAGENT, "Velmora");
  curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);
  curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, WriteBytes);
  curl_easy_setopt(curl, CURLOPT_WRITEDATA, state.get());
  curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
  curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, Progress);
  curl_easy_setopt(curl, CURLOPT_XFERINFODATA, state.get());
  const CURLcode outcome = curl_easy_perform(curl);
  long code = 0;
  curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &code);
  state->nHttpCode = code;
  // The write callback's short count at the read limit ends the transfer on purpose.
  const bool readWhole = outcome == CURLE_OK || (outcome == CURLE_WRITE_ERROR &&
                                                 state->sData.size() >= kVersionFileMaxBytes);
  if (code >= 400) {
    // An error page is no answer: the URL did not open, as when the server is unreachable.
    state->sData.clear();
    state->sError = "the server answered HTTP " + std::to_string(code);
  } else if (code > 0 && !state->bAbandoned.load()) {
    state->bOpened.store(true);
    if (!readWhole) {
      // A broken read is a failed read: a cut version file could name another version.
      state->sData.clear();
      state->sError = std::string("the read failed: ") + curl_easy_strerror(outcome);
    }
  } else {
    state->sError = curl_easy_strerror(outcome);
  }
  curl_slist_free_all(headers);
  curl_easy_cleanup(curl);
}
}  // namespace

SFetchResult CCurlFetcher::Fetch(const std::string& url, uint32_t waitMs) {
  SFetchResult result;
  auto state = std::make_shared<SFetchState>();
  state->sUrl = url;
  CWorkerJob job;
  CWorker worker;
  if (!worker.Start(job, [state](CWorkerJob&) { RunFetch(state); })) {
    result.sError = "the fetch could not be started";
    return result;
  }
  if (!worker.WaitFor(waitMs)) {
    state->bAbandoned.store(true);
    worker.Join();
    result.eOutcome = FetchOutcome::kTimedOut;
    result.sError = "no answer within " + std::to_string(waitMs) + " ms";
    return result;
  }
  if (state->bOpened.load()) {
    result.eOutcome = FetchOutcome::kOpened;
    result.sData = state->sData;
  }
  result.nHttpCode = state->nHttpCode;
  result.sError = state->sError;
  return result;
}
