#pragma once
// Text helpers shared by every subsystem.
#include <string>
#include <string_view>

// Blanks trimmed by Trim: space, tab, carriage return, line feed, vertical tab, form feed.
inline constexpr char kBlankCharacters[] = " \t\r\n\v\f";

// The text without leading and trailing blanks (or without the given characters).
std::string Trim(std::string_view text, std::string_view blanks = kBlankCharacters);
