#pragma once
// The published version file: "major|minor[|revision[|text]]", read from at most
// kVersionFileMaxBytes. Anything else says nothing about the latest version.
#include <cstdint>
#include <string>

#include "update/url_fetch.h"

// Revisions show as one letter, "a" for 1 up to "z" for 26.
inline constexpr uint32_t kMaxRevision = 26;

struct SVersionFile {
  bool bValid = false;  // false: not a version file; the numbers are then 0
  uint32_t nHigh = 0;   // major << 16 | minor
  uint32_t nLow = 0;    // revision << 16
  std::string sText;    // without control characters
};

// Major and minor must be unsigned decimal numbers below 65536, the revision empty or
// 0..26; blanks around the numbers are allowed. Everything after the third bar is text.
SVersionFile ParseVersionFile(const std::string& data);

// The text as it may be shown or printed: control characters and bytes that are not
// UTF-8 removed.
std::string CleanRemoteText(const std::string& text);

// Orders two versions as (major, minor, revision): negative, 0 or positive.
int CompareVersions(uint32_t leftHigh, uint32_t leftLow, uint32_t rightHigh, uint32_t rightLow);

// "2.0", "2.0a" for revision 1; "Unknown" for 0.0 without a revision when unknownIfZero,
// and for a revision without a letter.
std::string VersionText(uint32_t high, uint32_t low, bool unknownIfZero);
