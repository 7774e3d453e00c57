#pragma once
// GUID, IID and CLSID: 128-bit identifiers of interfaces, classes and categories, with
// their text form "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" both ways.
#include <compare>
#include <cstdint>
#include <string>

#include "platform/com/hresult.h"

struct GUID {
  uint32_t Data1 = 0;
  uint16_t Data2 = 0;
  uint16_t Data3 = 0;
  uint8_t Data4[8] = {0, 0, 0, 0, 0, 0, 0, 0};

  friend constexpr bool operator==(const GUID&, const GUID&) = default;
  friend constexpr auto operator<=>(const GUID&, const GUID&) = default;
};

using IID = GUID;
using CLSID = GUID;
using CATID = GUID;
using REFIID = const IID&;
using REFCLSID = const CLSID&;

inline constexpr GUID GUID_NULL{};

inline bool IsEqualGUID(const GUID& a, const GUID& b) {
  return a == b;
}
inline bool IsNullGUID(const GUID& g) {
  return g == GUID_NULL;
}

enum class GuidTextCase { kUpper, kLower };

// Text form; braces and letter case as asked ("{39C13A4D-011E-11D0-9675-0020AFD8ADB3}").
std::string GuidToString(const GUID& guid, bool withBraces = true,
                         GuidTextCase letterCase = GuidTextCase::kUpper);

// Parses the text form with or without braces (hex digits of either case, no spaces).
// Returns false and leaves guid untouched on anything else.
bool GuidFromString(const std::string& text, GUID& guid);

// COM's names for the two conversions: CLSIDFromString accepts only the braced form
// and fails with CO_E_CLASSSTRING; StringFromGUID2-style output is braced upper case.
HRESULT CLSIDFromString(const std::string& text, CLSID* clsid);
inline std::string StringFromGUID(const GUID& guid) {
  return GuidToString(guid);
}
