#include "platform/com/variant.h"

#include <cstdio>

#include "platform/com/automation_date.h"

void VariantInit(VARIANT* v) {
  if (v != nullptr) {
    VariantClear(v);
  }
}

HRESULT VariantClear(VARIANT* v) {
  if (v == nullptr) {
    return E_INVALIDARG;
  }
  v->vt = VT_EMPTY;
  v->llVal = 0;
  v->bstrVal.clear();
  v->parray.clear();
  return S_OK;
}

HRESULT VariantCopy(VARIANT* dest, const VARIANT* src) {
  if (dest == nullptr || src == nullptr) {
    return E_INVALIDARG;
  }
  if (dest != src) {
    *dest = *src;
  }
  return S_OK;
}

bool IsSupportedVarType(VARTYPE vt) {
  const VARTYPE base = vt & ~VT_ARRAY;
  if ((vt & ~(VT_ARRAY | VT_TYPEMASK)) != 0) {
    return false;
  }
  switch (base) {
    case VT_I1:
    case VT_I2:
    case VT_I4:
    case VT_I8:
    case VT_UI1:
    case VT_UI2:
    case VT_UI4:
    case VT_UI8:
    case VT_R4:
    case VT_R8:
    case VT_CY:
    case VT_DATE:
    case VT_BSTR:
    case VT_BOOL:
      return true;
    case VT_EMPTY:
      return (vt & VT_ARRAY) == 0;
    default:
      return false;
  }
}

bool VariantTypeConvertible(VARTYPE from, VARTYPE to) {
  if (to == VT_EMPTY) {
    return true;
  }
  if (!IsSupportedVarType(from) || !IsSupportedVarType(to) ||
      (from & VT_ARRAY) != (to & VT_ARRAY)) {
    return false;
  }
  // A text cannot in general be delivered as a number; everything can become a text.
  const VARTYPE fromBase = from & ~VT_ARRAY;
  const VARTYPE toBase = to & ~VT_ARRAY;
  return fromBase != VT_BSTR || toBase == VT_BSTR;
}

std::string CyToString(const CY& cy) {
  const bool negative = cy.int64 < 0;
  const uint64_t magnitude =
      negative ? ~static_cast<uint64_t>(cy.int64) + 1 : static_cast<uint64_t>(cy.int64);
  std::string text = (negative ? "-" : "") + std::to_string(magnitude / 10000);
  uint64_t fraction = magnitude % 10000;
  if (fraction != 0) {
    char digits[8];
    std::snprintf(digits, sizeof digits, "%04u", static_cast<unsigned>(fraction));
    std::string decimals(digits);
    while (decimals.back() == '0') {
      decimals.pop_back();
    }
    text += "." + decimals;
  }
  return text;
}

std::string DateToString(DATE date) {
  // The system rounds to the second.
  const int64_t ms = UnixMsFromAutomationDate(date);
  const int64_t rounded = (ms >= 0 ? ms + 500 : ms - 499) / 1000 * 1000;
  const LocalTime t = LocalTimeFromUnixMs(rounded);
  char datePart[32];
  std::snprintf(datePart, sizeof datePart, "%d/%d/%d", t.month, t.day, t.year);
  char timePart[32];
  const int hour12 = t.hour % 12 == 0 ? 12 : t.hour % 12;
  std::snprintf(timePart, sizeof timePart, "%d:%02d:%02d %s", hour12, t.minute, t.second,
                t.hour < 12 ? "AM" : "PM");
  const bool midnight = t.hour == 0 && t.minute == 0 && t.second == 0;
  const bool dayZero = t.year == 1899 && t.month == 12 && t.day == 30;
  if (dayZero && !midnight) {
    return timePart;
  }
  if (midnight) {
    return datePart;
  }
  return std::string(datePart) + " " + timePart;
}

VARIANT MakeVariantI4(int32_t value) {
  VARIANT v;
  v.vt = VT_I4;
  v.lVal = value;
  return v;
}

VARIANT MakeVariantR8(double value) {
  VARIANT v;
  v.vt = VT_R8;
  v.dblVal = value;
  return v;
}

VARIANT MakeVariantBstr(const std::string& value) {
  VARIANT v;
  v.vt = VT_BSTR;
  v.bstrVal = value;
  return v;
}

VARIANT MakeVariantBool(bool value) {
  VARIANT v;
  v.vt = VT_BOOL;
  v.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
  return v;
}
