#pragma once
// The fixed texts that turn an item's quality, value and data type, and a read
// interface code, into display text.
#include <cstdint>
#include <string>

#include "platform/com/variant.h"

inline constexpr char kUnknownValueText[] = "???";
inline constexpr char kNoValueText[] = "No Value";

// "No Value" when valid is 0, else the text of (quality AND 0xFC).
std::string QualityText(int32_t valid, uint16_t quality);
// Valid and quality Good (0xC0) or Good (Local Override) (0xD8), limit bits ignored.
bool IsGoodQuality(int32_t valid, uint16_t quality);

// Value text of an item: "???" when not valid or an array; otherwise by type, real
// numbers with the user's number of decimals.
std::string ValueText(int32_t valid, const VARIANT& value, int decimals);

// "Short", "Long", "Float", ... "Native", with " Array" for the array bit.
std::string DataTypeText(VARTYPE vt);

// Read interface codes 0..3: the name and description shown in the group dialog and
// the statistics; empty outside.
std::string ReadInterfaceName(uint32_t code);
std::string ReadInterfaceDescription(uint32_t code);
