#pragma once
// Composition of statements that hold user text, with SQLite's own formatter so that
// %q doubles the single quotes (and %Q adds them, or writes NULL).
#include <string>

// sqlite3_mprintf with the result copied and the library's buffer freed. No printf format
// checking: %q and %Q are SQLite's own conversions. Pass std::string through c_str().
std::string SqlPrintf(const char* format, ...);
// The %q form of text: every single quote doubled, nothing added around it.
std::string SqlQuoted(const std::string& text);
