// The values of the simulation items: deterministic functions of the clock, so that a
// test with a fake clock always sees the same values.
#include <cmath>

#include "base/number_text.h"
#include "platform/com/automation_date.h"
#include "platform/sim/sim_address_space.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kArrayLength = 8;

double Phase(const CSimItem& item, int64_t unixMs, double extraPhase) {
  const double cycles = static_cast<double>(unixMs) / item.m_dPeriodMs + item.m_dPhase + extraPhase;
  return cycles - std::floor(cycles);
}

int64_t Bucket(const CSimItem& item, int64_t unixMs) {
  const int64_t period = static_cast<int64_t>(item.m_dPeriodMs);
  return unixMs >= 0 ? unixMs / period : (unixMs - period + 1) / period;
}

uint64_t Mix(uint64_t x) {
  x += 0x9E3779B97F4A7C15ULL;
  x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ULL;
  x = (x ^ (x >> 27)) * 0x94D049BB133111EBULL;
  return x ^ (x >> 31);
}

// The shape of a generator in [-1, 1].
double Shape(const CSimItem& item, int64_t unixMs, double extraPhase) {
  const double p = Phase(item, unixMs, extraPhase);
  switch (item.m_eSignal) {
    case SimSignal::kSine:
      return std::sin(2.0 * kPi * p);
    case SimSignal::kRamp:
      return 2.0 * p - 1.0;
    case SimSignal::kSquare:
      return p < 0.5 ? 1.0 : -1.0;
    case SimSignal::kTriangle:
      return p < 0.5 ? 4.0 * p - 1.0 : 3.0 - 4.0 * p;
    case SimSignal::kRandom: {
      const uint64_t h = Mix(static_cast<uint64_t>(Bucket(item, unixMs)) ^
                             (static_cast<uint64_t>(item.m_nSeed) << 40) ^
                             static_cast<uint64_t>(extraPhase * 1000.0));
      return static_cast<double>(h >> 11) / 9007199254740992.0 * 2.0 - 1.0;
    }
    default:
      return 0.0;
  }
}

// Wraps a counter into the range of an integer type.
double WrapCounter(VARTYPE vt, int64_t count) {
  const auto wrap = [count](double modulus) {
    return std::fmod(static_cast<double>(count), modulus);
  };
  switch (vt) {
    case VT_I1:
      return wrap(128);
    case VT_UI1:
      return wrap(256);
    case VT_I2:
      return wrap(32768);
    case VT_UI2:
      return wrap(65536);
    case VT_I4:
      return wrap(2147483648.0);
    case VT_UI4:
      return wrap(4294967296.0);
    case VT_R4:
    case VT_CY:
      return wrap(1e6);
    case VT_BOOL:
      return static_cast<double>(count % 2);
    default:
      return static_cast<double>(count);
  }
}

double Clamp(double value, double lo, double hi) {
  return value < lo ? lo : (value > hi ? hi : value);
}

// A number as the item's scalar type.
VARIANT FromNumber(VARTYPE vt, double x, bool positive, int64_t localMs) {
  VARIANT v;
  v.vt = vt;
  const double r = std::nearbyint(x);
  switch (vt) {
    case VT_I1:
      v.cVal = static_cast<int8_t>(Clamp(r, -128, 127));
      break;
    case VT_I2:
      v.iVal = static_cast<int16_t>(Clamp(r, -32768, 32767));
      break;
    case VT_I4:
      v.lVal = static_cast<int32_t>(Clamp(r, -2147483648.0, 2147483647.0));
      break;
    case VT_I8:
      v.llVal = static_cast<int64_t>(Clamp(r, -9.2e18, 9.2e18));
      break;
    case VT_UI1:
      v.bVal = static_cast<uint8_t>(Clamp(r, 0, 255));
      break;
    case VT_UI2:
      v.uiVal = static_cast<uint16_t>(Clamp(r, 0, 65535));
      break;
    case VT_UI4:
      v.ulVal = static_cast<uint32_t>(Clamp(r, 0, 4294967295.0));
      break;
    case VT_UI8:
      v.ullVal = static_cast<uint64_t>(Clamp(r, 0, 1.8e19));
      break;
    case VT_R4:
      v.fltVal = static_cast<float>(x);
      break;
    case VT_R8:
      v.dblVal = x;
      break;
    case VT_BOOL:
      v.boolVal = positive ? VARIANT_TRUE : VARIANT_FALSE;
      break;
    case VT_BSTR:
      v.bstrVal = FormatFixed(x, 2);
      break;
    case VT_DATE:
      v.date = AutomationDateFromUnixMs(localMs) + x / 24.0;
      break;
    case VT_CY:
      v.cyVal.int64 = static_cast<int64_t>(std::nearbyint(x * 10000.0));
      break;
    default:
      v.vt = VT_EMPTY;
      break;
  }
  return v;
}

double AsDouble(const VARIANT& v) {
  VARIANT d;
  if (SUCCEEDED(VariantChangeType(&d, &v, 0, VT_R8))) {
    return d.dblVal;
  }
  return 0.0;
}

VARIANT ScalarValue(const CSimAddressSpace& space, const CSimItem& item, VARTYPE vt, int64_t unixMs,
                    int64_t localOffsetMs, double extraPhase,
                    const std::map<std::string, VARIANT>& overrides);

// Temperature following its set point: the first-order approach to the set point after
// each step of the set point's schedule, with a small ripple.
double FollowValue(const CSimAddressSpace& space, const CSimItem& item, int64_t unixMs,
                   int64_t localOffsetMs, const std::map<std::string, VARIANT>& overrides) {
  const double ripple = item.m_dAmplitude * std::sin(2.0 * kPi * Phase(item, unixMs, 0.0));
  const CSimItem* target = space.FindItem(item.m_sFollowId);
  if (target == nullptr) {
    return ripple;
  }
  const auto written = overrides.find(target->m_sId);
  if (written != overrides.end()) {
    return AsDouble(written->second) + ripple;
  }
  const double setPoint = AsDouble(
      ScalarValue(space, *target, target->m_vtCanonical, unixMs, localOffsetMs, 0.0, overrides));
  if (target->m_eSignal != SimSignal::kSquare) {
    return setPoint + ripple;
  }
  const double p = Phase(*target, unixMs, 0.0);
  const double sinceStepMs = (p < 0.5 ? p : p - 0.5) * target->m_dPeriodMs;
  const double previous = target->m_dOffset - (setPoint - target->m_dOffset);
  constexpr double kTimeConstantMs = 60000.0;
  return setPoint + (previous - setPoint) * std::exp(-sinceStepMs / kTimeConstantMs) + ripple;
}

VARIANT ScalarValue(const CSimAddressSpace& space, const CSimItem& item, VARTYPE vt, int64_t unixMs,
                    int64_t localOffsetMs, double extraPhase,
                    const std::map<std::string, VARIANT>& overrides) {
  const int64_t localMs = unixMs + localOffsetMs;
  switch (item.m_eSignal) {
    case SimSignal::kConstant:
      return item.m_fixed;
    case SimSignal::kTextCycle: {
      if (item.m_texts.empty()) {
        return MakeVariantBstr("");
      }
      const int64_t bucket = Bucket(item, unixMs) + static_cast<int64_t>(item.m_dPhase * 7);
      const size_t n = item.m_texts.size();
      return MakeVariantBstr(item.m_texts[static_cast<size_t>(
          ((bucket % static_cast<int64_t>(n)) + static_cast<int64_t>(n)) %
          static_cast<int64_t>(n))]);
    }
    case SimSignal::kCounter: {
      if (vt == VT_DATE) {
        VARIANT v;
        v.vt = VT_DATE;
        v.date = AutomationDateFromUnixMs(localMs);  // a clock
        return v;
      }
      const int64_t count = Bucket(item, unixMs);
      const double value = WrapCounter(vt, count);
      if (vt == VT_BSTR) {
        return MakeVariantBstr(std::to_string(count));
      }
      return FromNumber(vt, value, count % 2 == 1, localMs);
    }
    case SimSignal::kFollow: {
      const double value = FollowValue(space, item, unixMs, localOffsetMs, overrides);
      return FromNumber(vt, value, value >= 0, localMs);
    }
    default: {
      const double u = Shape(item, unixMs, extraPhase);
      return FromNumber(vt, item.m_dOffset + item.m_dAmplitude * u, u >= item.m_dOffset, localMs);
    }
  }
}

}  // namespace

VARIANT SimItemValue(const CSimAddressSpace& space, const CSimItem& item, int64_t unixMs,
                     int64_t localOffsetMs, const std::map<std::string, VARIANT>& overrides) {
  const auto written = overrides.find(item.m_sId);
  if (written != overrides.end()) {
    return written->second;
  }
  if ((item.m_vtCanonical & VT_ARRAY) == 0) {
    return ScalarValue(space, item, item.m_vtCanonical, unixMs, localOffsetMs, 0.0, overrides);
  }
  VARIANT array;
  array.vt = item.m_vtCanonical;
  const VARTYPE element = item.m_vtCanonical & ~VT_ARRAY;
  for (int k = 0; k < kArrayLength; ++k) {
    array.parray.push_back(ScalarValue(space, item, element, unixMs, localOffsetMs,
                                       static_cast<double>(k) / kArrayLength, overrides));
  }
  return array;
}
