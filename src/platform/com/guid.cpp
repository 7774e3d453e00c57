#include "platform/com/guid.h"

#include <cstdio>

namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') {
    return c - '0';
  }
  if (c >= 'a' && c <= 'f') {
    return c - 'a' + 10;
  }
  if (c >= 'A' && c <= 'F') {
    return c - 'A' + 10;
  }
  return -1;
}

// Reads 2*bytes hex digits at text[pos]; false on any non-hex character.
bool ReadHex(const std::string& text, size_t pos, int bytes, uint64_t& value) {
  value = 0;
  for (int i = 0; i < bytes * 2; ++i) {
    const int digit = HexValue(text[pos + i]);
    if (digit < 0) {
      return false;
    }
    value = (value << 4) | static_cast<uint64_t>(digit);
  }
  return true;
}

}  // namespace

std::string GuidToString(const GUID& g, bool withBraces, GuidTextCase letterCase) {
  const char* format = letterCase == GuidTextCase::kUpper
                           ? "%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X"
                           : "%08x-%04x-%04x-%02x%02x-%02x%02x%02x%02x%02x%02x";
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, format, static_cast<unsigned>(g.Data1),
                static_cast<unsigned>(g.Data2), static_cast<unsigned>(g.Data3), g.Data4[0],
                g.Data4[1], g.Data4[2], g.Data4[3], g.Data4[4], g.Data4[5], g.Data4[6], g.Data4[7]);
  return withBraces ? "{" + std::string(buffer) + "}" : std::string(buffer);
}

bool GuidFromString(const std::string& input, GUID& guid) {
  std::string text = input;
  if (text.size() == 38 && text.front() == '{' && text.back() == '}') {
    text = text.substr(1, 36);
  }
  if (text.size() != 36 || text[8] != '-' || text[13] != '-' || text[18] != '-' ||
      text[23] != '-') {
    return false;
  }
  GUID parsed;
  uint64_t value = 0;
  if (!ReadHex(text, 0, 4, value)) {
    return false;
  }
  parsed.Data1 = static_cast<uint32_t>(value);
  if (!ReadHex(text, 9, 2, value)) {
    return false;
  }
  parsed.Data2 = static_cast<uint16_t>(value);
  if (!ReadHex(text, 14, 2, value)) {
    return false;
  }
  parsed.Data3 = static_cast<uint16_t>(value);
  static constexpr size_t kByteOffsets[8] = {19, 21, 24, 26, 28, 30, 32, 34};
  for (int i = 0; i < 8; ++i) {
    if (!ReadHex(text, kByteOffsets[i], 1, value)) {
      return false;
    }
    parsed.Data4[i] = static_cast<uint8_t>(value);
  }
  guid = parsed;
  return true;
}

HRESULT CLSIDFromString(const std::string& text, CLSID* clsid) {
  if (clsid == nullptr) {
    return E_INVALIDARG;
  }
  if (text.size() != 38 || !GuidFromString(text, *clsid)) {
    return CO_E_CLASSSTRING;
  }
  return S_OK;
}
