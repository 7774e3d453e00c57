// VariantChangeType: the conversions a server applies to deliver an item in the data
// type its client asked for.
// Numbers are read and written with the decimal point whatever the locale.
#include <cctype>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <optional>
#include <system_error>

#include "base/number_text.h"
#include "base/text.h"
#include "platform/com/automation_date.h"
#include "platform/com/variant.h"

namespace {

// A scalar reduced to one of three exact forms.
struct Number {
  enum Kind { kSigned, kUnsigned, kReal, kCurrency } kind = kSigned;
  int64_t i = 0;
  uint64_t u = 0;
  double d = 0.0;
};

bool EqualsNoCase(const std::string& a, const char* b) {
  size_t i = 0;
  for (; i < a.size() && b[i] != '\0'; ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return i == a.size() && b[i] == '\0';
}

// The whole text as an integer of type T; nothing on anything left over or out of range.
template <typename T>
std::optional<T> ParseWhole(std::string_view text) {
  T value = 0;
  const char* end = text.data() + text.size();
  const std::from_chars_result result = std::from_chars(text.data(), end, value);
  if (result.ec != std::errc() || result.ptr != end) {
    return std::nullopt;
  }
  return value;
}

// The whole text as a real, as the C library reads it: a value beyond the range of a
// double becomes zero or infinity instead of being refused.
std::optional<double> ParseReal(std::string_view text) {
  if (const std::optional<double> value = ParseDouble(text)) {
    return value;
  }
  if (text.size() > 1 && text[0] == '+' && text[1] != '-') {
    text.remove_prefix(1);
  }
  long double wide = 0;
  const char* end = text.data() + text.size();
  const std::from_chars_result result = std::from_chars(text.data(), end, wide);
  if (result.ec != std::errc() || result.ptr != end) {
    return std::nullopt;
  }
  return static_cast<double>(wide);
}

// Parses a whole number or decimal text ("12", "-3.5", "1E3"); integers stay exact.
bool ParseNumber(const std::string& input, Number& n) {
  const std::string text = Trim(input);
  if (text.empty()) {
    return false;
  }
  if (text[0] == '-') {
    if (const std::optional<int64_t> value = ParseWhole<int64_t>(text)) {
      n.kind = Number::kSigned;
      n.i = *value;
      return true;
    }
  } else if (const std::optional<uint64_t> value = ParseWhole<uint64_t>(text)) {
    n.kind = Number::kUnsigned;
    n.u = *value;
    return true;
  }
  const std::optional<double> value = ParseReal(text);
  if (!value || !std::isfinite(*value)) {
    return false;
  }
  n.kind = Number::kReal;
  n.d = *value;
  return true;
}

// "M/D/YYYY", "YYYY-MM-DD", each optionally followed by a time "h:mm[:ss[.mmm]]" with an
// optional AM/PM, or a time alone.
bool ParseDate(const std::string& input, DATE& date) {
  const std::string text = Trim(input);
  LocalTime t{1899, 12, 30, 0, 0, 0, 0, 6};
  int a = 0;
  int b = 0;
  int c = 0;
  int used = 0;
  size_t pos = 0;
  if (std::sscanf(text.c_str(), "%d-%d-%d%n", &a, &b, &c, &used) == 3 && a > 99) {
    t.year = a;
    t.month = b;
    t.day = c;
    pos = static_cast<size_t>(used);
  } else if (std::sscanf(text.c_str(), "%d/%d/%d%n", &a, &b, &c, &used) == 3) {
    t.month = a;
    t.day = b;
    t.year = c;
    pos = static_cast<size_t>(used);
  }
  std::string rest = Trim(text.substr(pos));
  if (pos == 0 && rest.find(':') == std::string::npos) {
    return false;
  }
  if (!rest.empty()) {
    int h = 0;
    int m = 0;
    int s = 0;
    int ms = 0;
    used = 0;
    int fields = std::sscanf(rest.c_str(), "%d:%d:%d.%d%n", &h, &m, &s, &ms, &used);
    if (fields < 4) {
      ms = 0;
      used = 0;
      fields = std::sscanf(rest.c_str(), "%d:%d:%d%n", &h, &m, &s, &used);
      if (fields < 3) {
        s = 0;
        used = 0;
        fields = std::sscanf(rest.c_str(), "%d:%d%n", &h, &m, &used);
        if (fields < 2) {
          return false;
        }
      }
    }
    const std::string suffix = Trim(rest.substr(static_cast<size_t>(used)));
    if (EqualsNoCase(suffix, "PM")) {
      if (h < 1 || h > 12) {
        return false;
      }
      h = h % 12 + 12;
    } else if (EqualsNoCase(suffix, "AM")) {
      if (h < 1 || h > 12) {
        return false;
      }
      h = h % 12;
    } else if (!suffix.empty()) {
      return false;
    }
    if (h < 0 || h > 23 || m < 0 || m > 59 || s < 0 || s > 59 || ms < 0 || ms > 999) {
      return false;
    }
    t.hour = h;
    t.minute = m;
    t.second = s;
    t.millisecond = ms;
  }
  if (t.month < 1 || t.month > 12 || t.day < 1 || t.year < 100 || t.year > 9999) {
    return false;
  }
  static constexpr int kDaysInMonth[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (t.year % 4 == 0 && t.year % 100 != 0) || t.year % 400 == 0;
  if (t.day > kDaysInMonth[t.month - 1] || (t.month == 2 && t.day == 29 && !leap)) {
    return false;
  }
  date = AutomationDateFromLocalTime(t);
  return true;
}

// Reads a scalar source as a number (text is parsed). VT_EMPTY is 0.
HRESULT ToNumber(const VARIANT& v, VARTYPE target, Number& n) {
  switch (v.vt) {
    case VT_EMPTY:
      n.kind = Number::kSigned;
      n.i = 0;
      return S_OK;
    case VT_I1:
      n.i = v.cVal;
      return S_OK;
    case VT_I2:
      n.i = v.iVal;
      return S_OK;
    case VT_I4:
    case VT_INT:
      n.i = v.lVal;
      return S_OK;
    case VT_I8:
      n.i = v.llVal;
      return S_OK;
    case VT_BOOL:
      n.i = v.boolVal != 0 ? -1 : 0;
      return S_OK;
    case VT_UI1:
      n.kind = Number::kUnsigned;
      n.u = v.bVal;
      return S_OK;
    case VT_UI2:
      n.kind = Number::kUnsigned;
      n.u = v.uiVal;
      return S_OK;
    case VT_UI4:
    case VT_UINT:
      n.kind = Number::kUnsigned;
      n.u = v.ulVal;
      return S_OK;
    case VT_UI8:
      n.kind = Number::kUnsigned;
      n.u = v.ullVal;
      return S_OK;
    case VT_R4:
      n.kind = Number::kReal;
      n.d = v.fltVal;
      return S_OK;
    case VT_R8:
      n.kind = Number::kReal;
      n.d = v.dblVal;
      return S_OK;
    case VT_DATE:
      n.kind = Number::kReal;
      n.d = v.date;
      return S_OK;
    case VT_CY:
      n.kind = Number::kCurrency;
      n.i = v.cyVal.int64;
      return S_OK;
    case VT_BSTR: {
      if (target == VT_BOOL) {
        const std::string text = Trim(v.bstrVal);
        if (EqualsNoCase(text, "True") || EqualsNoCase(text, "False")) {
          n.kind = Number::kSigned;
          n.i = EqualsNoCase(text, "True") ? -1 : 0;
          return S_OK;
        }
      }
      if (target == VT_DATE) {
        DATE date = 0;
        if (ParseDate(v.bstrVal, date)) {
          n.kind = Number::kReal;
          n.d = date;
          return S_OK;
        }
      }
      return ParseNumber(v.bstrVal, n) ? S_OK : DISP_E_TYPEMISMATCH;
    }
    default:
      return DISP_E_TYPEMISMATCH;
  }
}

// Rounds half to even, as the system does when a real becomes an integer.
double RoundHalfEven(double value) {
  const double floor = std::floor(value);
  const double diff = value - floor;
  if (diff > 0.5) {
    return floor + 1.0;
  }
  if (diff < 0.5) {
    return floor;
  }
  return std::fmod(floor, 2.0) == 0.0 ? floor : floor + 1.0;
}

// Integer target in [lo, hi] (as signed) or [0, uhi] (unsigned targets).
HRESULT ToSigned(const Number& n, int64_t lo, int64_t hi, int64_t& out) {
  switch (n.kind) {
    case Number::kSigned:
      if (n.i < lo || n.i > hi) {
        return DISP_E_OVERFLOW;
      }
      out = n.i;
      return S_OK;
    case Number::kUnsigned:
      if (n.u > static_cast<uint64_t>(hi)) {
        return DISP_E_OVERFLOW;
      }
      out = static_cast<int64_t>(n.u);
      return S_OK;
    case Number::kCurrency:
    case Number::kReal: {
      const double value =
          RoundHalfEven(n.kind == Number::kReal ? n.d : static_cast<double>(n.i) / 10000.0);
      // 2^63 is exactly representable; anything at or above it overflows.
      if (!std::isfinite(value) || value < static_cast<double>(lo) ||
          value >= 9223372036854775808.0 || value > static_cast<double>(hi)) {
        return DISP_E_OVERFLOW;
      }
      out = static_cast<int64_t>(value);
      return S_OK;
    }
  }
  return DISP_E_TYPEMISMATCH;
}

HRESULT ToUnsigned(const Number& n, uint64_t hi, uint64_t& out) {
  switch (n.kind) {
    case Number::kSigned:
      if (n.i < 0 || static_cast<uint64_t>(n.i) > hi) {
        return DISP_E_OVERFLOW;
      }
      out = static_cast<uint64_t>(n.i);
      return S_OK;
    case Number::kUnsigned:
      if (n.u > hi) {
        return DISP_E_OVERFLOW;
      }
      out = n.u;
      return S_OK;
    case Number::kCurrency:
    case Number::kReal: {
      const double value =
          RoundHalfEven(n.kind == Number::kReal ? n.d : static_cast<double>(n.i) / 10000.0);
      if (!std::isfinite(value) || value < 0.0 || value >= 18446744073709551616.0 ||
          value > static_cast<double>(hi)) {
        return DISP_E_OVERFLOW;
      }
      out = static_cast<uint64_t>(value);
      return S_OK;
    }
  }
  return DISP_E_TYPEMISMATCH;
}

double ToDouble(const Number& n) {
  switch (n.kind) {
    case Number::kSigned:
      return static_cast<double>(n.i);
    case Number::kUnsigned:
      return static_cast<double>(n.u);
    case Number::kCurrency:
      return static_cast<double>(n.i) / 10000.0;
    case Number::kReal:
      return n.d;
  }
  return 0.0;
}

HRESULT ToCurrency(const Number& n, int64_t& out) {
  constexpr int64_t kLimit = std::numeric_limits<int64_t>::max() / 10000;
  switch (n.kind) {
    case Number::kCurrency:
      out = n.i;
      return S_OK;
    case Number::kSigned:
      if (n.i > kLimit || n.i < -kLimit) {
        return DISP_E_OVERFLOW;
      }
      out = n.i * 10000;
      return S_OK;
    case Number::kUnsigned:
      if (n.u > static_cast<uint64_t>(kLimit)) {
        return DISP_E_OVERFLOW;
      }
      out = static_cast<int64_t>(n.u) * 10000;
      return S_OK;
    case Number::kReal: {
      const double scaled = RoundHalfEven(n.d * 10000.0);
      if (!std::isfinite(scaled) || scaled >= 9223372036854775808.0 ||
          scaled < -9223372036854775808.0) {
        return DISP_E_OVERFLOW;
      }
      out = static_cast<int64_t>(scaled);
      return S_OK;
    }
  }
  return DISP_E_TYPEMISMATCH;
}

// "%.*G" without the locale: to_chars' general form is printf's %g in the C locale.
std::string FormatReal(double value, int significantDigits) {
  char buffer[64];
  const std::to_chars_result result = std::to_chars(buffer, buffer + sizeof buffer, value,
                                                    std::chars_format::general, significantDigits);
  std::string text(buffer, result.ec == std::errc() ? result.ptr : buffer);
  for (char& c : text) {
    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));  // 1E+20, INF, NAN
  }
  return text;
}

HRESULT ToText(const VARIANT& v, uint16_t flags, std::string& out) {
  switch (v.vt) {
    case VT_EMPTY:
      out.clear();
      return S_OK;
    case VT_BSTR:
      out = v.bstrVal;
      return S_OK;
    case VT_BOOL:
      if ((flags & VARIANT_ALPHABOOL) != 0) {
        out = v.boolVal != 0 ? "True" : "False";
      } else {
        out = v.boolVal != 0 ? "-1" : "0";
      }
      return S_OK;
    case VT_R4:
      out = FormatReal(v.fltVal, 7);
      return S_OK;
    case VT_R8:
      out = FormatReal(v.dblVal, 15);
      return S_OK;
    case VT_DATE:
      out = DateToString(v.date);
      return S_OK;
    case VT_CY:
      out = CyToString(v.cyVal);
      return S_OK;
    default: {
      Number n;
      const HRESULT hr = ToNumber(v, VT_BSTR, n);
      if (FAILED(hr)) {
        return hr;
      }
      out = n.kind == Number::kUnsigned ? std::to_string(n.u) : std::to_string(n.i);
      return S_OK;
    }
  }
}

HRESULT ChangeScalar(VARIANT& out, const VARIANT& src, uint16_t flags, VARTYPE vt) {
  if (src.vt == VT_NULL) {
    return DISP_E_TYPEMISMATCH;
  }
  if (vt == VT_BSTR) {
    out.vt = VT_BSTR;
    return ToText(src, flags, out.bstrVal);
  }
  Number n;
  HRESULT hr = ToNumber(src, vt, n);
  if (FAILED(hr)) {
    return hr;
  }
  int64_t i = 0;
  uint64_t u = 0;
  out.vt = vt;
  switch (vt) {
    case VT_I1:
      hr = ToSigned(n, INT8_MIN, INT8_MAX, i);
      out.cVal = static_cast<int8_t>(i);
      return hr;
    case VT_I2:
      hr = ToSigned(n, INT16_MIN, INT16_MAX, i);
      out.iVal = static_cast<int16_t>(i);
      return hr;
    case VT_I4:
      hr = ToSigned(n, INT32_MIN, INT32_MAX, i);
      out.lVal = static_cast<int32_t>(i);
      return hr;
    case VT_I8:
      hr = ToSigned(n, INT64_MIN, INT64_MAX, i);
      out.llVal = i;
      return hr;
    case VT_UI1:
      hr = ToUnsigned(n, UINT8_MAX, u);
      out.bVal = static_cast<uint8_t>(u);
      return hr;
    case VT_UI2:
      hr = ToUnsigned(n, UINT16_MAX, u);
      out.uiVal = static_cast<uint16_t>(u);
      return hr;
    case VT_UI4:
      hr = ToUnsigned(n, UINT32_MAX, u);
      out.ulVal = static_cast<uint32_t>(u);
      return hr;
    case VT_UI8:
      hr = ToUnsigned(n, UINT64_MAX, u);
      out.ullVal = u;
      return hr;
    case VT_R4: {
      const double value = ToDouble(n);
      if (std::fabs(value) > FLT_MAX) {
        return DISP_E_OVERFLOW;
      }
      out.fltVal = static_cast<float>(value);
      return S_OK;
    }
    case VT_R8:
      out.dblVal = ToDouble(n);
      return S_OK;
    case VT_BOOL: {
      const bool nonZero = n.kind == Number::kUnsigned ? n.u != 0
                           : n.kind == Number::kReal   ? n.d != 0.0
                                                       : n.i != 0;
      out.boolVal = nonZero ? VARIANT_TRUE : VARIANT_FALSE;
      return S_OK;
    }
    case VT_DATE: {
      const double value = ToDouble(n);
      if (!(value >= kMinAutomationDate && value < kMaxAutomationDate + 1.0)) {
        return DISP_E_OVERFLOW;
      }
      out.date = value;
      return S_OK;
    }
    case VT_CY:
      hr = ToCurrency(n, i);
      out.cyVal.int64 = i;
      return hr;
    default:
      return DISP_E_BADVARTYPE;
  }
}

}  // namespace

HRESULT VariantChangeType(VARIANT* dest, const VARIANT* src, uint16_t flags, VARTYPE vt) {
  if (dest == nullptr || src == nullptr) {
    return E_INVALIDARG;
  }
  if (vt == VT_EMPTY) {
    return VariantClear(dest);
  }
  if (!IsSupportedVarType(vt)) {
    return DISP_E_BADVARTYPE;
  }
  if (src->vt == vt) {
    return VariantCopy(dest, src);
  }
  if ((src->vt & VT_ARRAY) != (vt & VT_ARRAY)) {
    return DISP_E_TYPEMISMATCH;
  }
  VARIANT result;
  if ((vt & VT_ARRAY) != 0) {
    const VARTYPE element = vt & ~VT_ARRAY;
    result.vt = vt;
    result.parray.resize(src->parray.size());
    for (size_t i = 0; i < src->parray.size(); ++i) {
      const HRESULT hr = ChangeScalar(result.parray[i], src->parray[i], flags, element);
      if (FAILED(hr)) {
        return hr;
      }
    }
  } else {
    const HRESULT hr = ChangeScalar(result, *src, flags, vt);
    if (FAILED(hr)) {
      return hr;
    }
  }
  *dest = std::move(result);
  return S_OK;
}
