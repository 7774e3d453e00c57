// The version check against a small HTTP server on 127.0.0.1 run by the test itself.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "base/settings.h"
#include "update/file_settings_store.h"
#include "update/update_check.h"

namespace {

// Answers every connection with one fixed body, or holds it open without answering.
class CTestServer {
 public:
  explicit CTestServer(std::string body, bool silent = false, std::string status = "200 OK")
      : m_sBody(std::move(body)), m_bSilent(silent), m_sStatus(std::move(status)) {
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
        const std::string answer = "HTTP/1.0 " + m_sStatus +
                                   "\r\nContent-Length: " + std::to_string(m_sBody.size()) +
                                   "\r\n\r\n" + m_sBody;
        (void)send(client, answer.data(), answer.size(), MSG_NOSIGNAL);
      }
      close(client);
    }
  }

  std::string m_sBody;
  bool m_bSilent;
  std::string m_sStatus;
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
  EXPECT_EQ(result.eOutcome, FetchOutcome::kOpened);
  EXPECT_EQ(result.sData.size(), 512u);
  EXPECT_EQ(check.Check(server.Url(), true), kUpdateNewer);
  EXPECT_EQ(check.RemoteText().size(), 506u);
}

TEST(VersionFile, ParsesFieldsAndDisplays) {
  const SVersionFile file = ParseVersionFile("3|4||note|more");
  EXPECT_TRUE(file.bValid);
  EXPECT_EQ(file.nHigh, (3u << 16) | 4u);
  EXPECT_EQ(file.nLow, 0u);
  EXPECT_EQ(file.sText, "note|more");
  EXPECT_EQ(VersionText(0x00020000, 0x00020000, true), "2.0b");
  EXPECT_EQ(VersionText(0, 0, true), "Unknown");
  // Two numbers are enough; blanks and a line end around the numbers are allowed.
  EXPECT_TRUE(ParseVersionFile("2|1").bValid);
  const SVersionFile blanks = ParseVersionFile(" 2 | 0 | 26 |Last letter\r\n");
  EXPECT_TRUE(blanks.bValid);
  EXPECT_EQ(VersionText(blanks.nHigh, blanks.nLow, true), "2.0z");
  EXPECT_EQ(blanks.sText, "Last letter");
}

TEST(VersionFile, AnythingElseIsNoVersionFile) {
  for (const char* answer :
       {"<html><body>Not found</body></html>", "3|x||note", "x|3", "2", "", "|", "2|",
        "-1|0|0|negative", "+2|0", "2.0|0", "65536|0|0|major too big", "2|70000", "2|0|27|past z",
        "2|0|x|revision not a number", "2|0|-1", "99999999999999999999|0"}) {
    const SVersionFile file = ParseVersionFile(answer);
    EXPECT_FALSE(file.bValid) << answer;
    EXPECT_EQ(file.nHigh, 0u) << answer;
    EXPECT_EQ(file.nLow, 0u) << answer;
    EXPECT_EQ(VersionText(file.nHigh, file.nLow, true), "Unknown") << answer;
  }
}

TEST(VersionFile, ComparesMajorMinorRevisionInOrder) {
  const uint32_t v200 = 2u << 16;
  const SVersionFile older = ParseVersionFile("1|9|5|Old");
  ASSERT_TRUE(older.bValid);
  EXPECT_LT(CompareVersions(older.nHigh, older.nLow, v200, 0), 0);
  EXPECT_GT(CompareVersions(v200, 0, older.nHigh, older.nLow), 0);
  EXPECT_GT(CompareVersions(v200, 1u << 16, v200, 0), 0);
  EXPECT_EQ(CompareVersions(v200, 1u << 16, v200, 1u << 16), 0);
  EXPECT_LT(CompareVersions(v200, 26u << 16, (2u << 16) | 1u, 0), 0);
}

TEST(VersionFile, RevisionsWithoutALetterAreUnknown) {
  // Revision 27 would show as '{', and higher ones as bytes that are not text.
  EXPECT_EQ(VersionText(2u << 16, 27u << 16, true), "Unknown");
  EXPECT_EQ(VersionText(2u << 16, 200u << 16, false), "Unknown");
  EXPECT_EQ(VersionText(2u << 16, 26u << 16, true), "2.0z");
}

TEST(VersionFile, ControlCharactersAreRemoved) {
  const SVersionFile file = ParseVersionFile(
      "2|0|1|\x1b[31mred\x1b[0m \xc2\x9b"
      "31m\a bell\ttab\xff\xc3\xa9t\xc3");
  ASSERT_TRUE(file.bValid);
  EXPECT_EQ(file.sText, "[31mred[0m 31m belltab\xc3\xa9t");
  EXPECT_EQ(CleanRemoteText("ok \xe2\x82\xac"), "ok \xe2\x82\xac");
  EXPECT_EQ(CleanRemoteText(std::string("a\0b\x7f", 4)), "ab");
}

TEST_F(UpdateCheckTest, AnOlderVersionWithARevisionIsNotNew) {
  CTestServer server("1|9|5|Old");
  EXPECT_EQ(check.Check(server.Url(), true), kUpdateLatest);
  EXPECT_EQ(check.RemoteVersionText(), "1.9e");
}

TEST_F(UpdateCheckTest, APageThatIsNoVersionFileSaysNothing) {
  store.WriteInt(settings::kLastCheckTime.name, 77);
  CTestServer page("<html><body>Not found</body></html>");
  EXPECT_EQ(check.Check(page.Url(), true), kUpdateNoResult);
  EXPECT_TRUE(check.Requested());
  EXPECT_EQ(check.RemoteVersionText(), "Unknown");
  EXPECT_EQ(check.RemoteText(), "");
  EXPECT_NE(check.Reason().find("not a version file"), std::string::npos) << check.Reason();
  EXPECT_EQ(LastCheck(), 77) << "an answer that says nothing is no completed check";
  CTestServer revision("2|0|27|Curly");
  EXPECT_EQ(check.Check(revision.Url(), true), kUpdateNoResult);
  EXPECT_EQ(check.RemoteVersionText(), "Unknown");
  EXPECT_EQ(LastCheck(), 77);
}

TEST_F(UpdateCheckTest, ErrorPagesLeaveLastCheckTime) {
  store.WriteInt(settings::kLastCheckTime.name, 77);
  CTestServer missing("2|9|0|An error page that looks like a version", false, "404 Not Found");
  EXPECT_EQ(check.Check(missing.Url(), true), kUpdateNoResult);
  EXPECT_NE(check.Reason().find("404"), std::string::npos) << check.Reason();
  EXPECT_EQ(LastCheck(), 77);
  CTestServer broken("", false, "503 Service Unavailable");
  EXPECT_EQ(check.Check(broken.Url(), true), kUpdateNoResult);
  EXPECT_EQ(LastCheck(), 77);
}

TEST_F(UpdateCheckTest, TheShownTextHasNoControlCharacters) {
  CTestServer server("2|1|0|\x1b]0;title\x07New\r\n");
  EXPECT_EQ(check.Check(server.Url(), true), kUpdateNewer);
  EXPECT_EQ(check.RemoteText(), "]0;titleNew");
}

}  // namespace

namespace {

std::string TempFolder() {
  char pattern[] = "/tmp/velmora-settings-XXXXXX";
  const char* folder = mkdtemp(pattern);
  return folder != nullptr ? folder : "";
}

TEST(FileSettingsStore, KeepsValuesAndRefusesLinesThatWouldBreakTheFile) {
  const std::string folder = TempFolder();
  ASSERT_FALSE(folder.empty());
  {
    CFileSettingsStore store(folder);
    EXPECT_EQ(store.LoadError(), "");
    EXPECT_EQ(store.WriteInt("LastCheckTime", 1765324800), 0);
    EXPECT_EQ(store.WriteString("DataPath", "/a=b/Velmora.sq3", false), 0);
    EXPECT_NE(store.WriteString("DataPath", "x\nNoUpdateCheck=i:1", false), 0);
    EXPECT_NE(store.WriteInt("A=B", 1), 0);
  }
  CFileSettingsStore again(folder);
  int32_t value = 0;
  EXPECT_EQ(again.ReadInt("LastCheckTime", value), 0);
  EXPECT_EQ(value, 1765324800);
  std::string path;
  EXPECT_EQ(again.ReadString("DataPath", path), 0);
  EXPECT_EQ(path, "/a=b/Velmora.sq3");
  EXPECT_NE(again.ReadInt("NoUpdateCheck", value), 0);
  std::filesystem::remove_all(folder);
}

TEST(FileSettingsStore, AnEndlessOrHugeFileIsRefusedAndLeftAlone) {
  const std::string folder = TempFolder();
  ASSERT_FALSE(folder.empty());
  const std::filesystem::path file = std::filesystem::path(folder) / "settings.txt";
  std::filesystem::create_symlink("/dev/zero", file);
  {
    CFileSettingsStore endless(folder);
    EXPECT_NE(endless.LoadError().find("larger than"), std::string::npos) << endless.LoadError();
    EXPECT_NE(endless.WriteInt("LastCheckTime", 1), 0) << "nothing is written over it";
  }
  std::filesystem::remove(file);
  std::string text = "LastCheckTime=i:5\n";
  text.resize(kMaxSettingsFileBytes + 1, '#');
  std::ofstream(file, std::ios::binary) << text;
  CFileSettingsStore big(folder);
  EXPECT_NE(big.LoadError(), "");
  int32_t value = 0;
  EXPECT_NE(big.ReadInt("LastCheckTime", value), 0);
  EXPECT_NE(big.WriteInt("LastCheckTime", 1), 0);
  EXPECT_EQ(std::filesystem::file_size(file), kMaxSettingsFileBytes + 1) << "left as it was";
  std::filesystem::remove_all(folder);
}

}  // namespace
