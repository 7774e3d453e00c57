#pragma once
// Typed answers of the database access layer and the options of a statement run, in
// place of the bare result integers and trailing bool flags.
// Thread rule: plain values, any thread.
#include <utility>

#include "base/log_sink.h"

// How an operation ended.
enum class DbStatus {
  kOk,           // done; the value (if any) holds the answer
  kNoRow,        // the query ran and yielded no row (or not the one column asked for)
  kOpenFailed,   // the database file could not be opened (nothing ran)
  kFailed,       // the statement failed while running, or was still locked at the bound
  kNotPrepared,  // the statement could not be prepared (a syntax error, a missing table)
};

// A value or the reason there is none. LastResult/LastErrorText of the connection say
// more after a failure.
template <class T>
class DbResult {
 public:
  DbResult(T value) : m_status(DbStatus::kOk), m_value(std::move(value)) {}  // NOLINT: implicit
  DbResult(DbStatus status) : m_status(status) {}                            // NOLINT: implicit

  bool Ok() const { return m_status == DbStatus::kOk; }
  explicit operator bool() const { return Ok(); }
  DbStatus Status() const { return m_status; }
  // The answer; only meaningful when Ok().
  const T& Value() const { return m_value; }
  T ValueOr(T fallback) const { return Ok() ? m_value : std::move(fallback); }

 private:
  DbStatus m_status;
  T m_value{};
};

// How a statement runs: whether the file is opened first and closed after, and whether
// the statement text and its time are logged (on which channel).
struct SqlRun {
  bool openFirst = false;
  bool closeAfter = false;
  bool log = false;
  int channel = kLogOpcServer;

  // Logged on channel.
  static SqlRun Logged(int logChannel) { return {false, false, true, logChannel}; }
  SqlRun Opening() const {
    SqlRun run = *this;
    run.openFirst = true;
    return run;
  }
  SqlRun Closing() const {
    SqlRun run = *this;
    run.closeAfter = true;
    return run;
  }
};
