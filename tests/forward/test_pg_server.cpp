#include "test_pg_server.h"

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <vector>

#include "command_run.h"
#include "forward/pg_connection.h"

namespace {

std::string g_sWhy;

// The newest /usr/lib/postgresql/N/bin with initdb in it.
std::string FindServerBin() {
  std::vector<std::filesystem::path> found;
  std::error_code ignored;
  for (const auto& entry : std::filesystem::directory_iterator("/usr/lib/postgresql", ignored)) {
    if (std::filesystem::exists(entry.path() / "bin" / "initdb", ignored))
      found.push_back(entry.path() / "bin");
  }
  if (found.empty())
    return "";
  std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) {
    return std::stoi(a.parent_path().filename().string()) <
           std::stoi(b.parent_path().filename().string());
  });
  return found.back().string();
}

int FreePort() {
  const int s = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t size = sizeof address;
  int port = 0;
  if (bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
      getsockname(s, reinterpret_cast<sockaddr*>(&address), &size) == 0)
    port = ntohs(address.sin_port);
  close(s);
  return port != 0 ? port : 54329;
}

std::unique_ptr<CTestPgServer>& Holder() {
  static std::unique_ptr<CTestPgServer> server;
  return server;
}

}  // namespace

CTestPgServer* CTestPgServer::Shared() {
  static bool tried = false;
  if (!tried) {
    tried = true;
    std::unique_ptr<CTestPgServer> server(new CTestPgServer());
    if (server->Init(g_sWhy))
      Holder() = std::move(server);
  }
  return Holder().get();
}

const std::string& CTestPgServer::Why() {
  return g_sWhy;
}

CTestPgServer::~CTestPgServer() {
  Stop();
}

bool CTestPgServer::Run(const std::string& command, std::string* out) const {
  // As root the server programs refuse to run: they run as nobody.
  const std::string as = geteuid() == 0 ? "runuser -u nobody -- " : "";
  const CommandRun run = RunShellCommand(as + command + " 2>&1");
  if (out != nullptr)
    *out = run.out;
  return run.exitCode == 0;
}

bool CTestPgServer::Init(std::string& why) {
  m_sBin = FindServerBin();
  if (m_sBin.empty()) {
    why =
        "PostgreSQL server programs (initdb, pg_ctl) are not installed: Debian package "
        "postgresql";
    return false;
  }
  m_sData = m_dir.File("pg");
  m_sSocket = m_dir.File("sock");
  std::filesystem::create_directories(m_sData);
  std::filesystem::create_directories(m_sSocket);
  if (geteuid() == 0) {
    std::filesystem::permissions(m_dir.Path(), std::filesystem::perms(0755));
    RunShellCommand("chown nobody '" + m_sData + "' '" + m_sSocket + "'");
  }
  m_nPort = FreePort();
  std::string out;
  if (!Run("'" + m_sBin + "/initdb' -D '" + m_sData + "' -U velmora --auth=trust", &out)) {
    why = "initdb failed: " + out;
    return false;
  }
  // The role "guarded" must give its password; everyone else is trusted.
  const std::string hba = m_sData + "/pg_hba.conf";
  std::ifstream in(hba);
  const std::string rest((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  in.close();
  std::ofstream(hba) << "local all guarded scram-sha-256\n" << rest;
  if (!Start()) {
    why = "the test's PostgreSQL server did not start";
    return false;
  }
  Scalar("postgres", "CREATE ROLE guarded LOGIN PASSWORD 'right-password' SUPERUSER");
  return true;
}

bool CTestPgServer::Start() {
  if (m_bRunning)
    return true;
  m_bRunning = Run("'" + m_sBin + "/pg_ctl' -D '" + m_sData + "' -l '" + m_sSocket +
                   "/pg.log' -w -o \"-k " + m_sSocket + " -p " + std::to_string(m_nPort) +
                   " -c listen_addresses='' -c fsync=off -c lc_messages=C\" start");
  return m_bRunning;
}

bool CTestPgServer::Stop() {
  if (!m_bRunning)
    return true;
  m_bRunning = !Run("'" + m_sBin + "/pg_ctl' -D '" + m_sData + "' -m fast -w stop");
  return !m_bRunning;
}

std::string CTestPgServer::Url(const std::string& database) const {
  return "postgresql:///" + database + "?host=" + m_sSocket + "&port=" + std::to_string(m_nPort) +
         "&user=velmora";
}

std::string CTestPgServer::GuardedUrl(const std::string& database,
                                      const std::string& password) const {
  return "postgresql://guarded:" + password + "@/" + database + "?host=" + m_sSocket +
         "&port=" + std::to_string(m_nPort);
}

std::string CTestPgServer::NewDatabase(const std::string& name) {
  Scalar("postgres", "DROP DATABASE IF EXISTS " + name);
  Scalar("postgres", "CREATE DATABASE " + name);
  return Url(name);
}

std::string CTestPgServer::Scalar(const std::string& database, const std::string& sql) const {
  CPgConnection connection;
  std::string error;
  if (!connection.Connect(Url(database), error))
    return "";
  std::vector<std::vector<std::string>> rows;
  if (!connection.Query(sql, {}, rows, error) || rows.empty() || rows[0].empty())
    return "";
  return rows[0][0];
}
