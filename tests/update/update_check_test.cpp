// The version check against a small HTTP server on 127.0.0.1 run by the test itself.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

#include "base/settings.h"
#include "update/update_check.h"

namespace {

// Answers every connection with one fixed body, or holds it open without answering.
class CTestServer {
 public:
  explicit CTestServer(std::string body, bool silent = false)
      : m_sBody(std::move(body)), m_bSilent(silent) {
    m_nSocket = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(m_nSocket, reinterpret_cast<sockaddr*>(&address), sizeof(address));
    socklen_t length = sizeof(address);
    getsockname(m_nSocket, reinterpret_cast<sockaddr*>(&address), &length);
    m_nPort = ntohs(address.sin_port);
    listen(m_nSocket, 8);
    m_thread = std::thread([this] { Serve(); });
  }
  ~CTestServer() {
    m_bStop = true;
    shutdown(m_nSocket, SHUT_RDWR);
    close(m_nSocket);
    m_thread.join();
  }
  std::string Url() const { return "http://127.0.0.1:" + std::to_string(m_nPort) + "/v.txt"; }
  int Requests() const { return m_nRequests.load(); }

 private:
  void Serve() {
    while (!m_bStop) {
      const int client = accept(m_nSocket, nullptr, nullptr);
      if (client < 0)
        return;
      ++m_nRequests;
      char buffer[4096];
      (void)recv(client, buffer, sizeof(buffer), 0);
      if (m_bSilent) {
        while (!m_bStop)
          std::this_thread::sleep_for(std::chrono::milliseconds(10));
      } else {
        const std::string answer =
            "HTTP/1.0 200 OK\r\nContent-Length: " + std::to_string(m_sBody.size()) + "\r\n\r\n" +
            m_sBody;
        (void)send(client, answer.data(), answer.size(), MSG_NOSIGNAL);
      }
      close(client);
    }
  }

  std::string m_sBody;
  bool m_bSilent;
  int m_nSocket = -1;
  int m_nPort = 0;
  std::atomic<int> m_nRequests{0};
  std::atomic<bool> m_bStop{false};
  std::thread m_thread;
};

int ClosedPort() {
  const int s = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  bind(s, reinterpret_cast<sockaddr*>(&address), sizeof(address));
  socklen_t length = sizeof(address);
  getsockname(s, reinterpret_cast<sockaddr*>(&address), &length);
  close(s);
  return ntohs(address.sin_port);
}

struct UpdateCheckTest : ::testing::Test {
  InMemorySettingsStore store;
  FakeClock clock;
  CCurlFetcher fetcher;
  CUpdateCheck check{store, clock, fetcher};
  int32_t LastCheck() {
    int32_t value = -1;
    store.ReadInt(settings::kLastCheckTime.name, value);
    return value;
  }
};

TEST_F(UpdateCheckTest, ComparesVersions) {
  CTestServer same("2|0|0|Same");
  EXPECT_EQ(check.Check(same.Url(), true), kUpdateLatest);
  EXPECT_EQ(check.LocalVersionText(), "2.0");
  CTestServer minor("2|1|0|Minor");
  EXPECT_EQ(check.Check(minor.Url(), true), kUpdateNewer);
  CTestServer revision("2|0|1|A fix");
  EXPECT_EQ(check.Check(revision.Url(), true), kUpdateNewer);
  EXPECT_EQ(check.RemoteVersionText(), "2.0a");
  EXPECT_EQ(check.RemoteText(), "A fix");
  EXPECT_EQ(LastCheck(), static_cast<int32_t>(clock.SecondsSince1970()));
}

TEST_F(UpdateCheckTest, AutomaticRulesSkipTheRequest) {
  CTestServer server("2|0|0|Same");
  settings::Write(store, settings::kCurrentVersion, 20);
  settings::Write(store, settings::kNoUpdateCheck, 1);
  EXPECT_EQ(check.Check(server.Url(), false), kUpdateNoResult);
  EXPECT_EQ(server.Requests(), 0);
  EXPECT_EQ(check.LocalVersionText(), "2.0");
  EXPECT_EQ(check.Check(server.Url(), true), kUpdateLatest);
  EXPECT_EQ(server.Requests(), 1);
  settings::Write(store, settings::kNoUpdateCheck, 0);
  clock.AdvanceMs(27LL * 86400 * 1000);
  EXPECT_EQ(check.Check(server.Url(), false), kUpdateNoResult);
  EXPECT_EQ(server.Requests(), 1);
  clock.AdvanceMs(2LL * 86400 * 1000);
  EXPECT_EQ(check.Check(server.Url(), false), kUpdateLatest);
  EXPECT_EQ(server.Requests(), 2);
}

TEST_F(UpdateCheckTest, OldGenerationResetsNoUpdateCheck) {
  CTestServer server("2|0|0|Same");
  settings::Write(store, settings::kNoUpdateCheck, 1);
  settings::Write(store, settings::kCurrentVersion, 10);
  EXPECT_EQ(check.Check(server.Url(), false), kUpdateLatest);
  EXPECT_EQ(settings::Read(store, settings::kNoUpdateCheck), 0);
  EXPECT_EQ(settings::Read(store, settings::kCurrentVersion), 20);
}

TEST_F(UpdateCheckTest, FailuresLeaveStatusZero) {
  CTestServer empty("");
  EXPECT_EQ(check.Check(empty.Url(), true), kUpdateNoResult);
  EXPECT_EQ(check.RemoteVersionText(), "Unknown");
  EXPECT_EQ(LastCheck(), static_cast<int32_t>(clock.SecondsSince1970()));
  store.WriteInt(settings::kLastCheckTime.name, 77);
  const std::string closed = "http://127.0.0.1:" + std::to_string(ClosedPort()) + "/v.txt";
  EXPECT_EQ(check.Check(closed, true), kUpdateNoResult);
  EXPECT_EQ(LastCheck(), 77);
  CTestServer silent("", true);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(check.Check(silent.Url(), true, 500), kUpdateNoResult);
  const auto waited = std::chrono::steady_clock::now() - start;
  EXPECT_LT(waited, std::chrono::seconds(3));
  EXPECT_GE(waited, std::chrono::milliseconds(450));
  EXPECT_EQ(LastCheck(), 77);
}

TEST_F(UpdateCheckTest, ReadsOnlyTheFirst512Bytes) {
  std::string big = "2|0|1|";
  big.resize(1024 * 1024, 'x');
  CTestServer server(big);
  const SFetchResult result = fetcher.Fetch(server.Url(), 10000);
  EXPECT_EQ(result.eOutcome, EFetchOutcome::Opened);
  EXPECT_EQ(result.sData.size(), 512u);
  EXPECT_EQ(check.Check(server.Url(), true), kUpdateNewer);
  EXPECT_EQ(check.RemoteText().size(), 506u);
}

TEST(VersionFile, ParsesFieldsAndDisplays) {
  const SVersionFile file = ParseVersionFile("3|x||note|more");
  EXPECT_EQ(file.nHigh, 3u << 16);
  EXPECT_EQ(file.nLow, 0u);
  EXPECT_EQ(file.sText, "note|more");
  EXPECT_EQ(VersionText(0x00020000, 0x00020000, true), "2.0b");
  EXPECT_EQ(VersionText(0, 0, true), "Unknown");
}

}  // namespace
