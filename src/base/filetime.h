#pragma once
// FILETIME: 100-nanosecond intervals since 1 January 1601, split in two 32-bit halves
// exactly as the OPC DA interfaces carry it.
#include <cstdint>

struct FILETIME {
  uint32_t dwLowDateTime = 0;
  uint32_t dwHighDateTime = 0;
};

inline uint64_t FileTimeToUint64(const FILETIME& ft) {
  return (static_cast<uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
}

inline FILETIME FileTimeFromUint64(uint64_t value) {
  FILETIME ft;
  ft.dwLowDateTime = static_cast<uint32_t>(value & 0xFFFFFFFFu);
  ft.dwHighDateTime = static_cast<uint32_t>(value >> 32);
  return ft;
}

// 100-ns intervals between 1601-01-01 and 1970-01-01.
inline constexpr uint64_t kFileTimeUnixEpoch = 116444736000000000ULL;
