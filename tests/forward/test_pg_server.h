#pragma once
// A PostgreSQL server of the tests' own: initdb and pg_ctl of the installed server
// package, a cluster in a temporary folder, reached on a Unix socket only, run as the
// unprivileged user "nobody" when the tests run as root. Never the system's cluster.
// One server per test program (Shared()); it is stopped when the program ends.
#include <memory>
#include <string>

#include "temp_dir.h"

class CTestPgServer {
 public:
  // The shared server, started on first use; nullptr when the server programs are
  // missing (Why() says so) or it could not start (Why() says why).
  static CTestPgServer* Shared();
  static const std::string& Why();

  ~CTestPgServer();
  bool Start();
  bool Stop();
  bool IsRunning() const { return m_bRunning; }
  // A new empty database and the URL that reaches it as the trusted superuser.
  std::string NewDatabase(const std::string& name);
  std::string Url(const std::string& database) const;
  // The same database as the role "guarded", which must give its password.
  std::string GuardedUrl(const std::string& database, const std::string& password) const;
  // The first column of the first row of a query (empty on failure).
  std::string Scalar(const std::string& database, const std::string& sql) const;
  const std::string& BinDir() const { return m_sBin; }
  const std::string& SocketDir() const { return m_sSocket; }
  int Port() const { return m_nPort; }

 private:
  CTestPgServer() = default;
  bool Init(std::string& why);
  bool Run(const std::string& command, std::string* out = nullptr) const;

  TempDir m_dir;
  std::string m_sBin;
  std::string m_sData;
  std::string m_sSocket;
  int m_nPort = 0;
  bool m_bRunning = false;
};

// Skips the test with the reason when no server can be had.
#define REQUIRE_PG_SERVER(server)                  \
  CTestPgServer* server = CTestPgServer::Shared(); \
  if ((server) == nullptr) {                       \
    GTEST_SKIP() << CTestPgServer::Why();          \
  }
