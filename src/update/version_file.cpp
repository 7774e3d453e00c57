#include "update/version_file.h"

#include <optional>
#include <string_view>
#include <tuple>

#include "base/text.h"

namespace {

// An unsigned decimal number up to limit, blanks around it allowed; nothing else.
std::optional<uint32_t> UnsignedField(std::string_view field, uint32_t limit) {
  const std::string digits = Trim(field);
  if (digits.empty())
    return std::nullopt;
  uint32_t value = 0;
  for (const char c : digits) {
    if (c < '0' || c > '9')
      return std::nullopt;
    value = value * 10 + static_cast<uint32_t>(c - '0');
    if (value > limit)
      return std::nullopt;
  }
  return value;
}

// Length of the UTF-8 sequence at i (0 when it is not one): overlong forms, surrogates
// and code points above U+10FFFF are refused.
size_t Utf8Length(const std::string& text, size_t i) {
  const auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char lead = byte(i);
  size_t length = 0;
  uint32_t code = 0;
  if (lead < 0x80)
    return 1;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    code = lead & 0x1Fu;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    code = lead & 0x0Fu;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    code = lead & 0x07u;
  } else {
    return 0;
  }
  if (i + length > text.size())
    return 0;
  for (size_t k = 1; k < length; ++k) {
    if ((byte(i + k) & 0xC0u) != 0x80u)
      return 0;
    code = (code << 6) | (byte(i + k) & 0x3Fu);
  }
  if ((length == 3 && code < 0x800) || (length == 4 && code < 0x10000) || code > 0x10FFFF ||
      (code >= 0xD800 && code <= 0xDFFF))
    return 0;
  return length;
}

}  // namespace

SVersionFile ParseVersionFile(const std::string& data) {
  const std::string text = data.substr(0, kVersionFileMaxBytes);
  std::string_view fields[4];
  size_t count = 0;
  size_t start = 0;
  while (count < 3) {
    const size_t bar = text.find('|', start);
    if (bar == std::string::npos)
      break;
    fields[count++] = std::string_view(text).substr(start, bar - start);
    start = bar + 1;
  }
  fields[count++] = std::string_view(text).substr(start);
  SVersionFile file;
  if (count < 2)
    return file;
  const auto major = UnsignedField(fields[0], 0xFFFF);
  const auto minor = UnsignedField(fields[1], 0xFFFF);
  std::optional<uint32_t> revision = 0u;
  if (count >= 3 && !Trim(fields[2]).empty())
    revision = UnsignedField(fields[2], kMaxRevision);
  if (!major || !minor || !revision)
    return file;
  file.bValid = true;
  file.nHigh = (*major << 16) | *minor;
  file.nLow = *revision << 16;
  if (count == 4)
    file.sText = CleanRemoteText(std::string(fields[3]));
  return file;
}

std::string CleanRemoteText(const std::string& text) {
  std::string clean;
  clean.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    const size_t length = Utf8Length(text, i);
    if (length == 0) {
      ++i;
      continue;
    }
    const unsigned char lead = static_cast<unsigned char>(text[i]);
    const bool c0 = lead < 0x20 || lead == 0x7F;
    // U+0080..U+009F: the C1 controls, which some terminals obey as escapes.
    const bool c1 = length == 2 && lead == 0xC2 && static_cast<unsigned char>(text[i + 1]) < 0xA0;
    if (!c0 && !c1)
      clean.append(text, i, length);
    i += length;
  }
  return clean;
}

int CompareVersions(uint32_t leftHigh, uint32_t leftLow, uint32_t rightHigh, uint32_t rightLow) {
  const auto key = [](uint32_t high, uint32_t low) {
    return std::make_tuple(high >> 16, high & 0xFFFFu, low >> 16);
  };
  const auto left = key(leftHigh, leftLow);
  const auto right = key(rightHigh, rightLow);
  return left < right ? -1 : (right < left ? 1 : 0);
}

std::string VersionText(uint32_t high, uint32_t low, bool unknownIfZero) {
  const uint32_t revision = low >> 16;
  if ((unknownIfZero && high == 0 && revision == 0) || revision > kMaxRevision)
    return "Unknown";
  std::string text = std::to_string(high >> 16) + "." + std::to_string(high & 0xFFFF);
  if (revision > 0)
    text += static_cast<char>('a' + revision - 1);
  return text;
}
