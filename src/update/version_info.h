#pragma once
// The running program's file version and the maker's web addresses.
#include <cstdint>

// 2.0 revision 0: major in the high 16 bits of the high word, revision in the low word's.
inline constexpr uint32_t kProgramVersionHigh = (2u << 16) | 0u;
inline constexpr uint32_t kProgramVersionLow = 0u << 16;
inline constexpr char kVersionFileUrl[] = "https://www.quorix.example/velmora/version.txt";
inline constexpr char kDownloadPageUrl[] = "https://www.quorix.example/velmora/download.html";
