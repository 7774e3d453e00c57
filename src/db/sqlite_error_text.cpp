#include "db/sqlite_db.h"

namespace {

// The result texts of SQLite's primary codes, as the log lines show them.
constexpr const char* kResultTexts[] = {
    "Successful result",                            // 0
    "SQL error or missing database",                // 1
    "Internal logic error in SQLite",               // 2
    "Access permission denied",                     // 3
    "Callback routine requested an abort",          // 4
    "The database file is locked",                  // 5
    "A table in the database is locked",            // 6
    "A malloc() failed",                            // 7
    "Attempt to write a readonly database",         // 8
    "Operation terminated by sqlite3_interrupt()",  // 9
    "Some kind of disk I/O error occurred",         // 10
    "The database disk image is malformed",         // 11
    "Unknown opcode in sqlite3_file_control()",     // 12
    "Insertion failed because database is full",    // 13
    "Unable to open the database file",             // 14
    "Database lock protocol error",                 // 15
    "Database is empty",                            // 16
    "The database schema changed",                  // 17
    "String or BLOB exceeds size limit",            // 18
    "Abort due to constraint violation",            // 19
    "Data type mismatch",                           // 20
    "Library used incorrectly",                     // 21
    "Uses OS features not supported on host",       // 22
    "Authorization denied",                         // 23
    "Auxiliary database format error",              // 24
    "2nd parameter to sqlite3_bind out of range",   // 25
    "File opened that is not a database file",      // 26
};
constexpr char kRowText[] = "sqlite3_step() has another row ready";
constexpr char kDoneText[] = "sqlite3_step() has finished executing";
constexpr char kUnknownText[] = "Unknown Error";

}  // namespace

const char* CSQLite::ErrorText(int code) {
  constexpr int kTableSize = static_cast<int>(sizeof(kResultTexts) / sizeof(kResultTexts[0]));
  if (code >= 0 && code < kTableSize)
    return kResultTexts[code];
  if (code == SQLITE_ROW)
    return kRowText;
  if (code == SQLITE_DONE)
    return kDoneText;
  return kUnknownText;
}
