#pragma once
// The OPC browse filter pattern: * any run of characters, ? one character, # one digit,
// [list] one character of the list (ranges a-z allowed), [!list] one not in it. Every
// other character matches itself (case-sensitive). An empty pattern matches everything.
#include <string>

// False for a pattern that cannot be parsed (an unclosed "[" or an empty list "[]").
bool OpcFilterIsValid(const std::string& pattern);
// Whether text matches the pattern; false for an invalid pattern.
bool OpcFilterMatch(const std::string& text, const std::string& pattern);
