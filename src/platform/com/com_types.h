#pragma once
// The scalar types of the COM and OPC DA interfaces, with their Windows names and sizes,
// so that code written against the interfaces reads the same on every platform.
#include <cstdint>

using BYTE = uint8_t;
using WORD = uint16_t;
using DWORD = uint32_t;
using ULONG = uint32_t;
using LONG = int32_t;
using BOOL = int32_t;  // TRUE = 1, FALSE = 0
using FLOAT = float;
using LCID = uint32_t;
using SCODE = int32_t;
using VARTYPE = uint16_t;
using VARIANT_BOOL = int16_t;  // VARIANT_TRUE = -1, VARIANT_FALSE = 0
using DATE = double;           // automation date: days since 1899-12-30, time as fraction
using OPCHANDLE = uint32_t;

inline constexpr BOOL TRUE = 1;
inline constexpr BOOL FALSE = 0;
inline constexpr VARIANT_BOOL VARIANT_TRUE = -1;
inline constexpr VARIANT_BOOL VARIANT_FALSE = 0;

// Currency: a 64-bit integer scaled by 10000 (four decimals, exact).
struct CY {
  int64_t int64;
};

// Locale identifiers the servers and clients pass around.
inline constexpr LCID LOCALE_NEUTRAL = 0x0000;
inline constexpr LCID LOCALE_USER_DEFAULT = 0x0400;
inline constexpr LCID LOCALE_SYSTEM_DEFAULT = 0x0800;
inline constexpr LCID LOCALE_EN_US = 1033;
