#include "platform/opc/opc_filter.h"

#include <cctype>

namespace {

// Parses the list that starts after "[" at pos; sets end to the index after "]".
bool ParseList(const std::string& pattern, size_t pos, size_t& end) {
  if (pos < pattern.size() && pattern[pos] == '!') {
    ++pos;
  }
  const size_t first = pos;
  while (pos < pattern.size() && (pattern[pos] != ']' || pos == first)) {
    ++pos;
  }
  if (pos >= pattern.size() || pos == first) {
    return false;
  }
  end = pos + 1;
  return true;
}

bool ListMatches(char c, const std::string& pattern, size_t begin, size_t end) {
  size_t pos = begin;
  bool negate = false;
  if (pattern[pos] == '!') {
    negate = true;
    ++pos;
  }
  bool found = false;
  const size_t close = end - 1;
  while (pos < close) {
    if (pos + 2 < close && pattern[pos + 1] == '-') {
      if (c >= pattern[pos] && c <= pattern[pos + 2]) {
        found = true;
      }
      pos += 3;
    } else {
      if (c == pattern[pos]) {
        found = true;
      }
      ++pos;
    }
  }
  return found != negate;
}

bool MatchAt(const std::string& text, size_t t, const std::string& pattern, size_t p) {
  while (p < pattern.size()) {
    const char pc = pattern[p];
    if (pc == '*') {
      while (p < pattern.size() && pattern[p] == '*') {
        ++p;
      }
      if (p == pattern.size()) {
        return true;
      }
      for (size_t k = t; k <= text.size(); ++k) {
        if (MatchAt(text, k, pattern, p)) {
          return true;
        }
      }
      return false;
    }
    if (t >= text.size()) {
      return false;
    }
    if (pc == '?') {
      ++p;
    } else if (pc == '#') {
      if (!std::isdigit(static_cast<unsigned char>(text[t]))) {
        return false;
      }
      ++p;
    } else if (pc == '[') {
      size_t end = 0;
      if (!ParseList(pattern, p + 1, end) || !ListMatches(text[t], pattern, p + 1, end)) {
        return false;
      }
      p = end;
    } else {
      if (text[t] != pc) {
        return false;
      }
      ++p;
    }
    ++t;
  }
  return t == text.size();
}

}  // namespace

bool OpcFilterIsValid(const std::string& pattern) {
  for (size_t p = 0; p < pattern.size(); ++p) {
    if (pattern[p] == '[') {
      size_t end = 0;
      if (!ParseList(pattern, p + 1, end)) {
        return false;
      }
      p = end - 1;
    }
  }
  return true;
}

bool OpcFilterMatch(const std::string& text, const std::string& pattern) {
  if (!OpcFilterIsValid(pattern)) {
    return false;
  }
  return pattern.empty() || MatchAt(text, 0, pattern, 0);
}
