#pragma once
// CSQLite: every database operation of the program goes through this one object, which
// wraps the SQLite C API for the file Velmora.sq3. Each operation can open the file
// first and close it after, so the file is not held open between user actions; with
// `log` set it writes "Executing SQL Transaction: ..." / "SQL Query Executed in N msec."
// lines timed with the clock's tick count.
//
// A busy database (another connection holds a lock) is waited out by every operation,
// scripts included: each busy answer is followed by a short pause of varied length (so
// that two programs writing every second interleave instead of meeting again), the
// first pause of an operation logs what it waits for, and after the busy bound (30 s by
// default) the operation gives up like any failed step. The waits take real time even
// when the program's clock is simulated (the other program is real); an interrupt test
// ends a wait at once (a signal must not wait for another program's lock).
//
// Answers: DbStatus or DbResult, with the open/close/log choices of a statement as one
// SqlRun; the stores (projects, recordings, catalogue, known servers) use them. After a
// failure LastResult and LastErrorText hold SQLite's code and message. ExecSQL,
// GetQueryData and UpdateListCtrl keep their names (their log lines name them) and
// answer typed values instead of 1/0/-1/-2/-3.
//
// Thread rule: GUI thread only (or the command-line tool's one thread); the handle is
// never shared between threads.
#include <sqlite3.h>

#include <cstdint>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "base/app_context.h"
#include "db/db_feedback.h"
#include "db/db_result.h"
#include "db/list_control.h"
#include "db/query_cell.h"

// One ? parameter of ExecBound, GetQueryData, QueryInt64 and HasRow. Texts and blobs are not
// copied: they must outlive the call.
struct SqlBinding {
  enum Kind { kInteger, kText, kBlob };
  static SqlBinding Integer(int64_t value) { return {kInteger, value, nullptr, 0}; }
  static SqlBinding Text(const std::string& text) {
    return {kText, 0, text.data(), static_cast<int>(text.size())};
  }
  static SqlBinding Blob(const void* data, size_t size) {
    return {kBlob, 0, data, static_cast<int>(size)};
  }
  Kind kind;
  int64_t integer;
  const void* data;
  int size;
};

enum class ListCtrlForm {
  kPlain,  // every result column is shown
  kKeyed,  // the first result column is an integer key: hidden, kept as the row's item data
};

class CSQLite {
 public:
  explicit CSQLite(AppContext& context);
  ~CSQLite();
  CSQLite(const CSQLite&) = delete;
  CSQLite& operator=(const CSQLite&) = delete;

  AppContext& Context() const { return m_context; }

  // The database file; set by the start-up check.
  void SetPath(const std::string& path) { m_sPath = path; }
  const std::string& Path() const { return m_sPath; }

  // Opens the stored path read/write, creating a missing file: kOk, or kOpenFailed after
  // "Error Opening Database %s: %s " on channel 0. A handle that is still open is closed
  // first.
  DbStatus OpenFile();
  // Opens the stored path read/write without ever creating it: a file that vanished while
  // it was in use must not come back empty. Same results and log line as OpenFile.
  DbStatus OpenExistingFile();
  // Opens the stored path with explicit sqlite3_open_v2 flags, without logging: kOk, or
  // kOpenFailed with the handle closed, error holding SQLite's message and LastResult()
  // its code.
  DbStatus OpenWithFlags(int flags, std::string& error);
  void Close();
  bool IsOpen() const { return m_pDb != nullptr; }
  // The open connection for the few callers that bind blobs (null when closed).
  sqlite3* Handle() const { return m_pDb; }
  // SQLite's message for the last call on the handle ("" when closed).
  std::string HandleErrorMessage() const;

  // Runs a script of one or more statements: kOk, kFailed (the message is logged when
  // logging and kept in LastErrorText) or kOpenFailed. A failed script that leaves a
  // transaction open is rolled back, so the handle is clean again. The statements run
  // one by one, each waiting out a lock like the queries do.
  DbStatus ExecSQL(const std::string& script, const SqlRun& how = {});
  // Names of all tables in name order, on the open handle: kOk, or kFailed with names
  // empty (LastResult/LastErrorText then say why).
  DbStatus ListTables(std::vector<std::string>& names);
  // True when ListTables holds exactly this name (case-sensitive).
  bool TableExists(const std::string& name);
  // Runs one statement with its ? parameters bound, on the open handle, waiting out a
  // lock (never logged): kOk; kNotPrepared (also when the handle is closed); kFailed when
  // a step failed or the lock outlasted the bound. After a failure LastResult holds
  // SQLite's code (SQLITE_BUSY for the lock, SQLITE_MISUSE when closed) and LastErrorText
  // its message.
  DbStatus ExecBound(const std::string& statement, const std::vector<SqlBinding>& bindings,
                     int channel = kLogOpcServer);
  // Of the last statement on the open handle (0 when closed).
  int64_t LastInsertRowId() const {
    return m_pDb != nullptr ? sqlite3_last_insert_rowid(m_pDb) : 0;
  }
  int Changes() const { return m_pDb != nullptr ? sqlite3_changes(m_pDb) : 0; }

  // Appends one cell per non-blob column per row to cells, the statement's ? parameters
  // bound: the column count of the result (0: no row); kNotPrepared (the result text is
  // logged), kFailed when a step failed (the cells of this call are then removed) or
  // kOpenFailed otherwise.
  DbResult<int> GetQueryData(const std::string& statement, const std::vector<SqlBinding>& bindings,
                             std::vector<QueryCell>& cells, const SqlRun& how = {});
  // The integer of the one cell of a one-column result (0 for a null or non-integer
  // cell); kNoRow when there is no row or not one column.
  DbResult<int64_t> QueryInt64(const std::string& statement,
                               const std::vector<SqlBinding>& bindings = {},
                               const SqlRun& how = {});
  // Fills list with the result, logged on channel 0 whatever how.log says: the rows shown;
  // kFailed when a step failed (rows shown until then stay), kNotPrepared (after an error
  // message box) or kOpenFailed. After kFailed or kNotPrepared LastResult and
  // LastErrorText say why, also once the handle is closed. No row: one column "Empty
  // Table" and one row "There is No Data to Show ...".
  DbResult<int> UpdateListCtrl(const std::string& statement, IListControl& list,
                               ListCtrlForm form = ListCtrlForm::kPlain, const SqlRun& how = {});
  // Whether the statement, its ? parameters bound, yields a row (never logged): false
  // also when it cannot be prepared; kFailed when a step failed, kOpenFailed.
  DbResult<bool> HasRow(const std::string& statement, const std::vector<SqlBinding>& bindings = {},
                        const SqlRun& how = {});

  // The text of a SQLite result code ("Unknown Error" for codes outside the table).
  static const char* ErrorText(int code);

  int LastResult() const { return m_nLastResult; }
  const std::string& LastErrorText() const { return m_sLastError; }
  int LastDurationMs() const { return m_nLastDurationMs; }

  // Busy waiting: give up after timeoutMs of waiting, pausing between retryMs / 4 and
  // retryMs (varied) between tries.
  void SetBusyWait(uint32_t timeoutMs, uint32_t retryMs = kDefaultBusyRetryMs);
  uint32_t BusyTimeoutMs() const { return m_nBusyTimeoutMs; }
  uint32_t BusyRetryMs() const { return m_nBusyRetryMs; }
  static constexpr uint32_t kDefaultBusyTimeoutMs = 30000;
  static constexpr uint32_t kDefaultBusyRetryMs = 100;
  // The clock lock waits are measured and paused on (real time by default; tests give
  // theirs). Null restores the default.
  void SetWaitClock(IClock* clock) { m_pWaitClock = clock != nullptr ? clock : &m_realClock; }
  // Asked before every pause: true ends the wait as if the bound was reached.
  void SetWaitInterrupt(std::function<bool()> interrupted) {
    m_waitInterrupted = std::move(interrupted);
  }
  // Milliseconds spent waiting for locks since the object was made (on the wait clock).
  uint64_t BusyWaitedMs() const { return m_nBusyWaitedMs; }

  // Optional wait cursor and error beep (none by default).
  void SetFeedback(IDbFeedback* feedback) { m_pFeedback = feedback; }

 private:
  // Shows the wait cursor for the lifetime of one operation.
  class CWaitCursor {
   public:
    explicit CWaitCursor(IDbFeedback* feedback) : m_pFeedback(feedback) {
      if (m_pFeedback != nullptr)
        m_pFeedback->BeginWait();
    }
    ~CWaitCursor() {
      if (m_pFeedback != nullptr)
        m_pFeedback->EndWait();
    }
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;

   private:
    IDbFeedback* m_pFeedback;
  };
  struct BusyState {
    bool waiting = false;
    bool announced = false;  // the wait line was logged
    uint32_t firstBusyTick = 0;
  };

  bool OpenIfAsked(bool openFirst);
  static void BindAll(sqlite3_stmt* statement, const std::vector<SqlBinding>& bindings);
  void LogStatementStart(const std::string& statement, bool log, int channel);
  void LogStatementEnd(bool log, int channel);
  void LogError(const std::string& text, bool log, int channel);
  // Prepares the whole text as one statement, waiting out a busy schema read.
  int Prepare(const std::string& statement, sqlite3_stmt** statementOut, const char* operation,
              bool log, int channel, BusyState& busy);
  // Prepares the first statement of text (tail: what follows it), waiting out a lock.
  int PrepareNext(const char* text, sqlite3_stmt** statementOut, const char** tail,
                  const char* operation, bool log, int channel, BusyState& busy);
  // Runs every statement of a script; the SQLite code of the first failure, with its
  // message in m_sLastError.
  int RunScript(const std::string& script, bool log, int channel);
  DbStatus OpenWithLog(int flags);
  // One step, waiting out SQLITE_BUSY within the bound. Returns the final step code.
  int Step(sqlite3_stmt* statement, const char* operation, bool log, int channel, BusyState& busy);
  // True when the caller should try again after the pause; false at the bound.
  bool WaitAfterBusy(const char* operation, bool log, int channel, BusyState& busy);
  void CloseIfAsked(bool closeAfter);

  AppContext& m_context;
  sqlite3* m_pDb = nullptr;
  std::string m_sPath;
  int m_nLastResult = SQLITE_OK;
  std::string m_sLastError;
  int m_nLastDurationMs = 0;
  uint32_t m_nStatementStartTick = 0;
  uint32_t m_nBusyTimeoutMs = kDefaultBusyTimeoutMs;
  uint32_t m_nBusyRetryMs = kDefaultBusyRetryMs;
  IDbFeedback* m_pFeedback = nullptr;
  SystemClock m_realClock;
  IClock* m_pWaitClock = &m_realClock;
  std::function<bool()> m_waitInterrupted;
  uint64_t m_nBusyWaitedMs = 0;
  std::minstd_rand m_jitter;
};
