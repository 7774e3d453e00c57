#include "db/sqlite_db.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr char kOpenErrorLine[] = "Error Opening Database %s: %s ";
constexpr char kStatementStartLine[] = "Executing SQL Transaction: %s";
constexpr char kStatementEndLine[] = "SQL Query Executed in %d msec.";
constexpr char kQueryFailedLine[] = "SQL Query Failed: %s ";
constexpr char kBusyLine[] = "Hit SQLITE_BUSY in CSQLite ";
constexpr char kBusyWaitLine[] =
    "Database %s is locked by another connection: %s waits for it (at most %u s)";
constexpr char kBusyInterruptedLine[] =
    "Wait for the Velmora Database Lock Interrupted: %s Gives Up";
constexpr char kStepErrorLine[] = "Step Error ";
constexpr char kTablesStatement[] =
    "SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY name";
constexpr char kRollbackStatement[] = "ROLLBACK;";

}  // namespace

float NarrowToSingle(double value) {
  constexpr double kMax = std::numeric_limits<float>::max();
  if (value > kMax)
    return std::numeric_limits<float>::infinity();
  if (value < -kMax)
    return -std::numeric_limits<float>::infinity();
  return static_cast<float>(value);
}

CSQLite::CSQLite(AppContext& context) : m_context(context), m_jitter(std::random_device{}()) {}

CSQLite::~CSQLite() {
  Close();
}

DbStatus CSQLite::OpenWithFlags(int flags, std::string& error) {
  Close();
  const int code = sqlite3_open_v2(m_sPath.c_str(), &m_pDb, flags, nullptr);
  if (code == SQLITE_OK)
    return DbStatus::kOk;
  // The handle exists even when opening failed (unless memory ran out): it holds the
  // message and must be closed.
  error = m_pDb != nullptr ? sqlite3_errmsg(m_pDb) : sqlite3_errstr(code);
  Close();
  m_nLastResult = code;
  return DbStatus::kOpenFailed;
}

DbStatus CSQLite::OpenWithLog(int flags) {
  std::string error;
  if (OpenWithFlags(flags, error) == DbStatus::kOk)
    return DbStatus::kOk;
  m_sLastError = error;
  m_context.log.Log(Format(kOpenErrorLine, m_sPath.c_str(), error.c_str()), kLogOpcServer);
  return DbStatus::kOpenFailed;
}

DbStatus CSQLite::OpenFile() {
  return OpenWithLog(SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
}

DbStatus CSQLite::OpenExistingFile() {
  return OpenWithLog(SQLITE_OPEN_READWRITE);
}

void CSQLite::Close() {
  if (m_pDb != nullptr) {
    sqlite3_close(m_pDb);
    m_pDb = nullptr;
  }
}

std::string CSQLite::HandleErrorMessage() const {
  return m_pDb != nullptr ? sqlite3_errmsg(m_pDb) : "";
}

void CSQLite::SetBusyWait(uint32_t timeoutMs, uint32_t retryMs) {
  m_nBusyTimeoutMs = timeoutMs;
  m_nBusyRetryMs = std::max<uint32_t>(retryMs, 1);  // a zero pause would spin
}

bool CSQLite::OpenIfAsked(bool openFirst) {
  return !openFirst || OpenFile() == DbStatus::kOk;
}

void CSQLite::CloseIfAsked(bool closeAfter) {
  if (closeAfter)
    Close();
}

void CSQLite::LogStatementStart(const std::string& statement, bool log, int channel) {
  if (!log)
    return;
  m_context.log.Log(Format(kStatementStartLine, statement.c_str()), channel);
  m_nStatementStartTick = m_context.clock.TickCount();
}

void CSQLite::LogStatementEnd(bool log, int channel) {
  if (!log)
    return;
  // Unsigned difference: right across a wrap of the tick count.
  m_nLastDurationMs = static_cast<int>(m_context.clock.TickCount() - m_nStatementStartTick);
  m_context.log.Log(Format(kStatementEndLine, m_nLastDurationMs), channel);
}

void CSQLite::LogError(const std::string& text, bool log, int channel) {
  if (!log)
    return;
  if (m_pFeedback != nullptr)
    m_pFeedback->ErrorBeep();
  m_context.log.Log(text, channel);
}

bool CSQLite::WaitAfterBusy(const char* operation, bool log, int channel, BusyState& busy) {
  const uint32_t now = m_pWaitClock->TickCount();
  if (!busy.waiting) {
    busy.waiting = true;
    busy.firstBusyTick = now;
  }
  const uint32_t waited = now - busy.firstBusyTick;
  if (waited >= m_nBusyTimeoutMs)
    return false;
  if (m_waitInterrupted && m_waitInterrupted()) {
    m_context.log.Log(Format(kBusyInterruptedLine, operation), channel);
    return false;
  }
  if (!busy.announced) {
    // Said once, whatever the logging: a wait of up to the bound must not look like a hang.
    busy.announced = true;
    m_context.log.Log(
        Format(kBusyWaitLine, m_sPath.c_str(), operation, (m_nBusyTimeoutMs + 999) / 1000),
        channel);
  }
  LogError(std::string(kBusyLine) + operation, log, channel);
  // A varied pause: two programs that write at the same moment every second must not
  // meet again at each retry.
  const uint32_t shortest = std::max<uint32_t>(m_nBusyRetryMs / 4, 1);
  std::uniform_int_distribution<uint32_t> pause(shortest, m_nBusyRetryMs);
  const uint32_t ms = std::min(pause(m_jitter), m_nBusyTimeoutMs - waited);
  m_pWaitClock->SleepMs(ms);
  m_nBusyWaitedMs += ms;
  return true;
}

int CSQLite::Prepare(const std::string& statement, sqlite3_stmt** statementOut,
                     const char* operation, bool log, int channel, BusyState& busy) {
  *statementOut = nullptr;
  if (m_pDb == nullptr)
    return SQLITE_MISUSE;
  for (;;) {
    // A fresh connection reads the schema while preparing, so another connection's
    // lock shows up here first.
    const int code = sqlite3_prepare_v2(m_pDb, statement.c_str(), -1, statementOut, nullptr);
    if (code != SQLITE_BUSY)
      return code;
    sqlite3_finalize(*statementOut);
    *statementOut = nullptr;
    if (!WaitAfterBusy(operation, log, channel, busy))
      return SQLITE_BUSY;
  }
}

int CSQLite::PrepareNext(const char* text, sqlite3_stmt** statementOut, const char** tail,
                         const char* operation, bool log, int channel, BusyState& busy) {
  for (;;) {
    *statementOut = nullptr;
    const int code = sqlite3_prepare_v2(m_pDb, text, -1, statementOut, tail);
    if (code != SQLITE_BUSY)
      return code;
    sqlite3_finalize(*statementOut);
    *statementOut = nullptr;
    if (!WaitAfterBusy(operation, log, channel, busy))
      return SQLITE_BUSY;
  }
}

int CSQLite::RunScript(const std::string& script, bool log, int channel) {
  static constexpr char kOperation[] = "ExecSQL";
  BusyState busy;
  const char* rest = script.c_str();
  while (*rest != '\0') {
    sqlite3_stmt* statement = nullptr;
    const char* tail = nullptr;
    int code = PrepareNext(rest, &statement, &tail, kOperation, log, channel, busy);
    if (code == SQLITE_OK && statement != nullptr) {
      while ((code = Step(statement, kOperation, log, channel, busy)) == SQLITE_ROW) {
      }
      if (code == SQLITE_DONE)
        code = SQLITE_OK;
    }
    if (code != SQLITE_OK) {
      m_sLastError = sqlite3_errmsg(m_pDb);
      sqlite3_finalize(statement);
      return code;
    }
    sqlite3_finalize(statement);
    rest = tail;  // a blank or comment tail prepares to no statement
  }
  m_sLastError.clear();
  return SQLITE_OK;
}

int CSQLite::Step(sqlite3_stmt* statement, const char* operation, bool log, int channel,
                  BusyState& busy) {
  for (;;) {
    const int code = sqlite3_step(statement);
    if (code != SQLITE_BUSY || !WaitAfterBusy(operation, log, channel, busy))
      return code;
  }
}

DbStatus CSQLite::ExecSQL(const std::string& script, const SqlRun& how) {
  CWaitCursor wait(m_pFeedback);
  if (!OpenIfAsked(how.openFirst))
    return DbStatus::kOpenFailed;
  LogStatementStart(script, how.log, how.channel);
  DbStatus result = DbStatus::kFailed;
  if (m_pDb == nullptr) {
    m_nLastResult = SQLITE_MISUSE;
    m_sLastError = ErrorText(SQLITE_MISUSE);
  } else {
    m_nLastResult = RunScript(script, how.log, how.channel);
    if (m_nLastResult == SQLITE_OK) {
      result = DbStatus::kOk;
    } else {
      // A script stopped half-way keeps its transaction open; end it here so that the
      // next operation on this handle does not run inside it.
      if (sqlite3_get_autocommit(m_pDb) == 0)
        sqlite3_exec(m_pDb, kRollbackStatement, nullptr, nullptr, nullptr);
    }
  }
  if (result == DbStatus::kOk)
    LogStatementEnd(how.log, how.channel);
  else
    LogError(Format(kQueryFailedLine, m_sLastError.c_str()), how.log, how.channel);
  CloseIfAsked(how.closeAfter);
  return result;
}

DbStatus CSQLite::ExecBound(const std::string& statement, const std::vector<SqlBinding>& bindings,
                            int channel) {
  static constexpr char kOperation[] = "ExecBound";
  if (m_pDb == nullptr) {
    m_nLastResult = SQLITE_MISUSE;
    m_sLastError = ErrorText(SQLITE_MISUSE);
    return DbStatus::kNotPrepared;  // nothing to prepare it on
  }
  BusyState busy;
  sqlite3_stmt* query = nullptr;
  int code = Prepare(statement, &query, kOperation, false, channel, busy);
  // A lock that outlasts the bound while the schema is read is a lock, not a bad statement.
  DbStatus result = code == SQLITE_BUSY ? DbStatus::kFailed : DbStatus::kNotPrepared;
  if (code == SQLITE_OK && query != nullptr) {
    BindAll(query, bindings);
    code = Step(query, kOperation, false, channel, busy);
    result = code == SQLITE_DONE ? DbStatus::kOk : DbStatus::kFailed;
  }
  m_nLastResult = code == SQLITE_DONE ? SQLITE_OK : code;
  m_sLastError = code == SQLITE_DONE ? std::string() : std::string(sqlite3_errmsg(m_pDb));
  sqlite3_finalize(query);
  return result;
}

void CSQLite::BindAll(sqlite3_stmt* statement, const std::vector<SqlBinding>& bindings) {
  for (size_t i = 0; i < bindings.size(); ++i) {
    const SqlBinding& binding = bindings[i];
    const int index = static_cast<int>(i) + 1;
    if (binding.kind == SqlBinding::kInteger) {
      sqlite3_bind_int64(statement, index, binding.integer);
    } else if (binding.kind == SqlBinding::kText) {
      sqlite3_bind_text(statement, index, static_cast<const char*>(binding.data), binding.size,
                        SQLITE_STATIC);
    } else {
      sqlite3_bind_blob(statement, index, binding.data, binding.size, SQLITE_STATIC);
    }
  }
}

DbResult<int> CSQLite::GetQueryData(const std::string& statement,
                                    const std::vector<SqlBinding>& bindings,
                                    std::vector<QueryCell>& cells, const SqlRun& how) {
  // The operation's name in the busy lines, as the log has always said it.
  static constexpr char kOperation[] = "GetQueryData";
  const bool log = how.log;
  const int channel = how.channel;
  CWaitCursor wait(m_pFeedback);
  if (!OpenIfAsked(how.openFirst))
    return DbStatus::kOpenFailed;
  LogStatementStart(statement, log, channel);
  const size_t firstCell = cells.size();
  BusyState busy;
  sqlite3_stmt* query = nullptr;
  int columns = 0;
  DbResult<int> result = DbStatus::kFailed;
  bool failed = false;
  const int prepared = Prepare(statement, &query, kOperation, log, channel, busy);
  if (prepared == SQLITE_BUSY) {
    failed = true;
  } else if (prepared != SQLITE_OK) {
    LogError(Format(kQueryFailedLine, ErrorText(prepared)), log, channel);
    result = DbStatus::kNotPrepared;
  } else {
    if (query != nullptr)
      BindAll(query, bindings);
    int code = SQLITE_DONE;
    while (query != nullptr && (code = Step(query, kOperation, log, channel, busy)) == SQLITE_ROW) {
      columns = sqlite3_column_count(query);
      for (int column = 0; column < columns; ++column) {
        const int type = sqlite3_column_type(query, column);
        if (type == SQLITE_BLOB)
          continue;
        QueryCell cell;
        const char* name = sqlite3_column_name(query, column);
        cell.columnName = name != nullptr ? name : "";
        if (type == SQLITE_INTEGER) {
          cell.columnType = kCellInteger;
          cell.intValue = sqlite3_column_int(query, column);
        } else if (type == SQLITE_FLOAT) {
          cell.columnType = kCellFloat;
          cell.floatValue = NarrowToSingle(sqlite3_column_double(query, column));
        } else if (type == SQLITE_TEXT) {
          cell.columnType = kCellText;
          const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(query, column));
          if (text != nullptr)
            cell.text.assign(text, static_cast<size_t>(sqlite3_column_bytes(query, column)));
        } else {
          cell.columnType = kCellNull;
          cell.text = kNullFieldText;
        }
        cells.push_back(std::move(cell));
      }
    }
    failed = code != SQLITE_DONE;
    if (!failed) {
      LogStatementEnd(log, channel);
      result = columns;
    }
  }
  if (failed) {
    LogError(kStepErrorLine + HandleErrorMessage(), log, channel);
    cells.erase(cells.begin() + static_cast<std::ptrdiff_t>(firstCell), cells.end());
    result = DbStatus::kFailed;
  }
  sqlite3_finalize(query);
  CloseIfAsked(how.closeAfter);
  return result;
}

DbStatus CSQLite::ListTables(std::vector<std::string>& names) {
  static constexpr char kOperation[] = "ListTables";
  CWaitCursor wait(m_pFeedback);
  names.clear();
  BusyState busy;
  sqlite3_stmt* query = nullptr;
  int code = Prepare(kTablesStatement, &query, kOperation, false, kLogOpcServer, busy);
  if (code == SQLITE_OK) {
    while ((code = Step(query, kOperation, false, kLogOpcServer, busy)) == SQLITE_ROW) {
      const auto* name = reinterpret_cast<const char*>(sqlite3_column_text(query, 0));
      names.emplace_back(name != nullptr ? name : "");
    }
  }
  DbStatus result = DbStatus::kOk;
  if (code != SQLITE_DONE) {
    // The caller must not take a failed listing for a file without tables.
    m_nLastResult = code;
    m_sLastError = m_pDb != nullptr ? sqlite3_errmsg(m_pDb) : ErrorText(code);
    names.clear();
    result = DbStatus::kFailed;
  }
  sqlite3_finalize(query);
  return result;
}

bool CSQLite::TableExists(const std::string& name) {
  std::vector<std::string> names;
  if (ListTables(names) != DbStatus::kOk)
    return false;
  return std::find(names.begin(), names.end(), name) != names.end();
}

DbResult<int64_t> CSQLite::QueryInt64(const std::string& statement,
                                      const std::vector<SqlBinding>& bindings, const SqlRun& how) {
  std::vector<QueryCell> cells;
  const DbResult<int> columns = GetQueryData(statement, bindings, cells, how);
  if (!columns)
    return columns.Status();
  // A lone blob column gives a row but no cell.
  if (columns.Value() != 1 || cells.empty())
    return DbStatus::kNoRow;
  return cells.front().intValue;
}

DbResult<bool> CSQLite::HasRow(const std::string& statement,
                               const std::vector<SqlBinding>& bindings, const SqlRun& how) {
  static constexpr char kOperation[] = "RowExists";
  CWaitCursor wait(m_pFeedback);
  if (!OpenIfAsked(how.openFirst))
    return DbStatus::kOpenFailed;
  BusyState busy;
  sqlite3_stmt* query = nullptr;
  // A statement that cannot be prepared yields no row.
  DbResult<bool> result = false;
  const int prepared = Prepare(statement, &query, kOperation, false, kLogOpcServer, busy);
  if (prepared == SQLITE_BUSY) {
    result = DbStatus::kFailed;
  } else if (prepared == SQLITE_OK && query != nullptr) {
    BindAll(query, bindings);
    const int code = Step(query, kOperation, false, kLogOpcServer, busy);
    if (code == SQLITE_ROW)
      result = true;
    else if (code != SQLITE_DONE)
      result = DbStatus::kFailed;
  }
  sqlite3_finalize(query);
  CloseIfAsked(how.closeAfter);
  return result;
}
