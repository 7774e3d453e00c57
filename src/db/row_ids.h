#pragma once
// The one source of new ids. Every insert whose row id its caller needs goes through
// InsertRow, which answers the insert's own row id (sqlite3_last_insert_rowid) instead of
// asking the table for its highest id afterwards (which another writer may have changed).
// Acquisitions are the one exception to SQLite's choice: an acquisition id must never be
// used twice in a file (backups and exports name acquisitions by id), so the recording
// gives its insert the first id above every id the file ever used, as the Config mark
// ACQ_LAST_ID remembers them, and raises the mark in the same transaction.
// Thread rule: that of the connection (GUI thread or the command-line tool's thread).
#include <cstdint>
#include <string>
#include <vector>

#include "db/sqlite_db.h"

// The Config key of the highest acquisition id the file ever used.
inline constexpr char kAcquisitionIdMark[] = "ACQ_LAST_ID";

// Runs one insert on the open handle, with its ? parameters bound (not logged) or, with
// no bindings, as a script of its own (logged when how asks for it). The id of the row it
// made; kOpenFailed/kFailed/kNotPrepared when it did not run.
DbResult<int64_t> InsertRow(CSQLite& db, const std::string& insert,
                            const std::vector<SqlBinding>& bindings, const SqlRun& how = {});

// On the open handle, best inside the write transaction of the insert:
// the first acquisition id above the mark, every acquisition and every acquisition of a
// group (and, while the file has no mark yet, every data row's acquisition).
DbResult<int64_t> FirstUnusedAcquisitionId(CSQLite& db);
// The first acquisition group id above every group and every item's group: orphan item
// rows must never join a new group.
DbResult<int64_t> FirstUnusedAcquisitionGroupId(CSQLite& db);
// Sets the mark to id.
DbStatus MarkAcquisitionIdUsed(CSQLite& db, int64_t id);
