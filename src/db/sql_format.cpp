#include "db/sql_format.h"

#include <sqlite3.h>

#include <cstdarg>

std::string SqlPrintf(const char* format, ...) {
  va_list args;
  va_start(args, format);
  char* formatted = sqlite3_vmprintf(format, args);
  va_end(args);
  if (formatted == nullptr)
    return "";
  std::string result(formatted);
  sqlite3_free(formatted);
  return result;
}

std::string SqlQuoted(const std::string& text) {
  return SqlPrintf("%q", text.c_str());
}
