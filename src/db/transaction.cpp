#include "db/transaction.h"

namespace {

constexpr char kBeginImmediate[] = "BEGIN IMMEDIATE;";
constexpr char kBegin[] = "BEGIN TRANSACTION;";
constexpr char kCommit[] = "COMMIT;";
constexpr char kRollback[] = "ROLLBACK;";

SqlRun Quiet(int channel) {
  return {false, false, false, channel};
}

}  // namespace

DbStatus BeginImmediateTransaction(CSQLite& db, int channel) {
  return db.ExecSQL(kBeginImmediate, Quiet(channel));
}

DbStatus BeginTransaction(CSQLite& db, int channel) {
  return db.ExecSQL(kBegin, Quiet(channel));
}

DbStatus CommitTransaction(CSQLite& db, int channel) {
  return db.ExecSQL(kCommit, Quiet(channel));
}

bool RollbackIfOpen(CSQLite& db) {
  if (db.Handle() == nullptr || sqlite3_get_autocommit(db.Handle()) != 0)
    return true;
  return db.ExecSQL(kRollback) == DbStatus::kOk;
}
