#pragma once
// The statements that bound a transaction on the open handle, for the writers that make
// several statements one change: the recording's configuration snapshot, the benches'
// bulk inserts. A failed statement inside has rolled the transaction back already
// (CSQLite::ExecSQL does); RollbackIfOpen ends one that other code left open.
// Thread rule: that of the connection.
#include "db/sqlite_db.h"

// BEGIN IMMEDIATE: takes the write lock first, so that what the transaction reads
// (a new id) stays its own beside another writer. Not logged; lock waits on channel.
DbStatus BeginImmediateTransaction(CSQLite& db, int channel = kLogOpcServer);
// BEGIN TRANSACTION (deferred).
DbStatus BeginTransaction(CSQLite& db, int channel = kLogOpcServer);
DbStatus CommitTransaction(CSQLite& db, int channel = kLogOpcServer);
// Rolls back when the handle is open and inside a transaction; true when nothing is left
// open.
bool RollbackIfOpen(CSQLite& db);
