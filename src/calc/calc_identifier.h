#pragma once
// The identifier of a calculated item: which characters the editor refuses, and the report
// that tells the user which characters are allowed.
#include <string>
#include <string_view>

#include "base/user_prompt.h"

// The 25 characters an identifier must not contain, in the order they are tested.
inline constexpr char kRefusedIdentifierChars[] = "+-*/\\:;,\"=.?&|@#'(!{})[]%";
// The same characters as the report lists them (its order, with a second quote at the end).
inline constexpr char kRefusedIdentifierCharsListed[] = "+-*/\\:;,\"=.?&|@#'!{}()[]%'";

inline constexpr char kIdentifierErrorTitle[] = "Calculated Item Identifier Error";

// True when c is one of the 25 refused characters. Characters outside both the valid and the
// refused sets (a lower-case letter, a blank) are not refused.
bool IsRefusedIdentifierChar(char c);
// True when the identifier holds at least one refused character.
bool HasRefusedIdentifierChar(std::string_view sIdentifier);

// The rich-text report "Calculated Item Identifier Error" with the valid characters and the
// refused ones.
ReportRequest IdentifierErrorReport();
