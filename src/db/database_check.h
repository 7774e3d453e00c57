#pragma once
// The start-up check of the database file: an existing file is opened and brought up to
// the current schema, a missing one is created with the whole schema. The outcome is
// logged on channel 0; failures are also shown as reports through the context's prompt.
// The path is stored in db, and the database is closed on return.
#include <string>

#include "db/sqlite_db.h"

// True when the file is usable at the current schema version. Start-up goes on either
// way: every failure has already been reported.
bool CheckVelmoraDatabase(CSQLite& db, const std::string& path);
