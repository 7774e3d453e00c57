#pragma once
// CPgConnection: one libpq connection to the central PostgreSQL. Errors come back as
// false with the server's or libpq's message; nothing throws.
// Thread rule: one thread at a time uses a connection.
#include <string>
#include <vector>

struct pg_conn;
struct pg_result;

class CPgConnection {
 public:
  CPgConnection() = default;
  ~CPgConnection();
  CPgConnection(const CPgConnection&) = delete;
  CPgConnection& operator=(const CPgConnection&) = delete;

  // Connects to a connection URL or key=value string; a connect timeout of a few
  // seconds applies unless the text names one.
  bool Connect(const std::string& url, std::string& error);
  void Close();
  bool IsConnected() const;
  // "host:port/database" of the live connection: the destination a progress belongs to.
  std::string Destination() const;
  // True when the last failure was the server refusing who we are (password, role).
  bool LastFailureWasAuthentication() const { return m_bAuthFailure; }

  // A statement without result rows.
  bool Exec(const std::string& sql, std::string& error);
  // A statement with text parameters; rows come back as texts (a null as an empty text).
  bool Query(const std::string& sql, const std::vector<std::string>& params,
             std::vector<std::vector<std::string>>& rows, std::string& error);
  // COPY ... FROM STDIN: starts, sends data pieces, finishes.
  bool CopyBegin(const std::string& sql, std::string& error);
  bool CopyData(const char* data, size_t size, std::string& error);
  bool CopyEnd(std::string& error);
  // The SQLSTATE of the last failed statement ("23505": a unique key repeated).
  const std::string& LastState() const { return m_sState; }

 private:
  bool Check(pg_result* result, int expected, std::string& error);
  std::string ConnectionError() const;

  pg_conn* m_pConn = nullptr;
  bool m_bAuthFailure = false;
  std::string m_sState;
};

// "host:port/database" named by a URL (what is not named: the libpq defaults).
std::string PgDestination(const std::string& url);
// The literal form of a text in an SQL statement ('...' with quotes doubled).
std::string PgQuote(const std::string& text);
// A URL with its password replaced by "***", for log lines.
std::string PgUrlForLog(const std::string& url);
