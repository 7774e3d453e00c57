#pragma once
// Reads one value of a database file through a connection of its own, as another
// program would: "<none>" without a row, "<null>" for a null. SqliteExec runs a script
// the same way and returns SQLite's code.
#include <sqlite3.h>

#include <string>

inline std::string SqliteScalar(const std::string& path, const std::string& sql) {
  sqlite3* handle = nullptr;
  sqlite3_open(path.c_str(), &handle);
  sqlite3_stmt* statement = nullptr;
  std::string value = "<none>";
  if (sqlite3_prepare_v2(handle, sql.c_str(), -1, &statement, nullptr) == SQLITE_OK &&
      sqlite3_step(statement) == SQLITE_ROW) {
    const unsigned char* text = sqlite3_column_text(statement, 0);
    value = text ? reinterpret_cast<const char*>(text) : "<null>";
  }
  sqlite3_finalize(statement);
  sqlite3_close(handle);
  return value;
}

inline int SqliteExec(const std::string& path, const std::string& script) {
  sqlite3* handle = nullptr;
  int code = sqlite3_open(path.c_str(), &handle);
  if (code == SQLITE_OK)
    code = sqlite3_exec(handle, script.c_str(), nullptr, nullptr, nullptr);
  sqlite3_close(handle);
  return code;
}
