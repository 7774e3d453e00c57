#include "opc/opc_texts.h"

#include <cinttypes>
#include <cmath>

#include "base/log.h"
#include "base/number_text.h"
#include "platform/com/automation_date.h"

namespace {

struct QualityEntry {
  uint16_t quality;
  const char* text;
};

// The quality word without its two limit bits, and its text.
constexpr QualityEntry kQualityTexts[] = {
    {0x00, "Bad"},
    {0x04, "Bad (Configuration Error)"},
    {0x08, "Bad (Not Connected)"},
    {0x0C, "Bad (Device Failure)"},
    {0x10, "Bad (Sensor Failure)"},
    {0x14, "Bad (Last Known Value)"},
    {0x18, "Bad (Communications Failed)"},
    {0x1C, "Bad (Out of Service)"},
    {0x40, "Uncertain"},
    {0x44, "Uncertain (Last Useable Value)"},
    {0x50, "Uncertain (Sensor Not Accurate)"},
    {0x54, "Uncertain (Engineering Units Exceeded)"},
    {0x58, "Uncertain (Sub-Normal)"},
    {0xC0, "Good"},
    {0xD8, "Good (Local Override)"},
};

constexpr uint16_t kQualityStatusMask = 0xFC;
constexpr uint16_t kQualityGood = 0xC0;
constexpr uint16_t kQualityGoodLocalOverride = 0xD8;

// Printf precision limits: the settings offer 0..5; anything else is clamped so that a
// corrupt setting cannot produce absurd texts.
constexpr int kMaxDecimals = 20;

int ClampDecimals(int decimals) {
  return decimals < 0 ? 0 : (decimals > kMaxDecimals ? kMaxDecimals : decimals);
}

std::string DateValueText(DATE date) {
  // Outside the automation date range the system's conversion fails; show "???"
  // rather than a calendar made of overflowed numbers.
  if (!std::isfinite(date) || date < kMinAutomationDate || date >= kMaxAutomationDate + 1.0)
    return kUnknownValueText;
  const LocalTime t = LocalTimeFromAutomationDate(date);
  return Format("%02d-%02d-%04d %d:%02d:%02d.%03d", t.day, t.month, t.year, t.hour, t.minute,
                t.second, t.millisecond);
}

struct ReadInterfaceEntry {
  const char* name;
  const char* description;
};

constexpr ReadInterfaceEntry kReadInterfaces[] = {
    {"Sync I/O Cache (1.0a)", "Synchronous Cache Read to the Server"},
    {"Sync I/O Device (1.0a)", "Synchronous Device Read to the Server"},
    {"ASync I/O (1.0a)", "ASynchronous Read to the Server (OPC 1.0a)"},
    {"ASync I/O (2.0)", "ASynchronous Read to the Server (OPC 2.0)"},
};

}  // namespace

std::string QualityText(int32_t valid, uint16_t quality) {
  if (valid == 0)
    return kNoValueText;
  const uint16_t status = quality & kQualityStatusMask;
  for (const QualityEntry& entry : kQualityTexts) {
    if (entry.quality == status)
      return entry.text;
  }
  return kNoValueText;
}

bool IsGoodQuality(int32_t valid, uint16_t quality) {
  const uint16_t status = quality & kQualityStatusMask;
  return valid != 0 && (status == kQualityGood || status == kQualityGoodLocalOverride);
}

std::string ValueText(int32_t valid, const VARIANT& value, int decimals) {
  if (valid == 0 || (value.vt & VT_ARRAY) != 0)
    return kUnknownValueText;
  const int precision = ClampDecimals(decimals);
  switch (value.vt) {
    case VT_EMPTY:
      return {};
    case VT_I2:
      return Format("%d", value.iVal);
    case VT_I4:
      return Format("%d", value.lVal);
    case VT_R4:
      return FormatFixed(static_cast<double>(value.fltVal), precision);
    case VT_R8:
      // Shown at single precision, as the display has always done.
      return FormatFixed(static_cast<double>(static_cast<float>(value.dblVal)), precision);
    case VT_CY:
      return CyToString(value.cyVal);
    case VT_DATE:
      return DateValueText(value.date);
    case VT_BSTR:
      return value.bstrVal;
    case VT_BOOL:
      return Format("%d", value.boolVal != 0 ? 1 : 0);
    case VT_I1:
      return Format("%d", value.cVal);
    case VT_UI1:
      return Format("%u", static_cast<unsigned>(value.bVal));
    case VT_UI2:
      return Format("%u", static_cast<unsigned>(value.uiVal));
    case VT_UI4:
      return Format("%u", value.ulVal);
    case VT_I8:
      return Format("%" PRId64, value.llVal);
    case VT_UI8:
      return Format("%" PRIu64, value.ullVal);
    default:
      return kUnknownValueText;
  }
}

std::string DataTypeText(VARTYPE vt) {
  std::string text;
  switch (vt & ~VT_ARRAY) {
    case VT_I2:
      text = "Short";
      break;
    case VT_I4:
      text = "Long";
      break;
    case VT_R4:
      text = "Float";
      break;
    case VT_R8:
      text = "Double";
      break;
    case VT_BSTR:
      text = "String";
      break;
    case VT_BOOL:
      text = "Boolean";
      break;
    case VT_I1:
      text = "Char";
      break;
    case VT_UI1:
      text = "Byte";
      break;
    case VT_UI2:
      text = "Word";
      break;
    case VT_UI4:
      text = "DWord";
      break;
    default:
      text = "Native";
      break;
  }
  if ((vt & VT_ARRAY) != 0)
    text += " Array";
  return text;
}

std::string ReadInterfaceName(uint32_t code) {
  return code < std::size(kReadInterfaces) ? kReadInterfaces[code].name : std::string();
}

std::string ReadInterfaceDescription(uint32_t code) {
  return code < std::size(kReadInterfaces) ? kReadInterfaces[code].description : std::string();
}
