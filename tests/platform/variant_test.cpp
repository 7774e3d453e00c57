#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>

#include "comma_locale.h"
#include "platform/com/automation_date.h"
#include "platform/com/variant.h"

namespace {

VARIANT Convert(const VARIANT& source, VARTYPE vt, HRESULT expected = S_OK, uint16_t flags = 0) {
  VARIANT result;
  EXPECT_EQ(VariantChangeType(&result, &source, flags, vt), expected)
      << "from " << source.vt << " to " << vt;
  return result;
}

VARIANT CyValue(int64_t scaled) {
  VARIANT v;
  v.vt = VT_CY;
  v.cyVal.int64 = scaled;
  return v;
}

VARIANT Make(VARTYPE vt, double value) {
  VARIANT v = MakeVariantR8(value);
  VARIANT out;
  EXPECT_EQ(VariantChangeType(&out, &v, 0, vt), S_OK);
  return out;
}

}  // namespace

TEST(Variant, InitClearCopy) {
  VARIANT v = MakeVariantBstr("text");
  VARIANT copy;
  EXPECT_EQ(VariantCopy(&copy, &v), S_OK);
  EXPECT_EQ(copy.vt, VT_BSTR);
  EXPECT_EQ(copy.bstrVal, "text");
  EXPECT_EQ(VariantClear(&v), S_OK);
  EXPECT_EQ(v.vt, VT_EMPTY);
  EXPECT_TRUE(v.bstrVal.empty());
  EXPECT_EQ(copy.bstrVal, "text");
  EXPECT_EQ(VariantClear(nullptr), E_INVALIDARG);
  EXPECT_EQ(VariantCopy(nullptr, &copy), E_INVALIDARG);
}

TEST(VariantChangeType, IntegerRangesOverflow) {
  EXPECT_EQ(Convert(MakeVariantI4(127), VT_I1).cVal, 127);
  Convert(MakeVariantI4(128), VT_I1, DISP_E_OVERFLOW);
  Convert(MakeVariantI4(-129), VT_I1, DISP_E_OVERFLOW);
  EXPECT_EQ(Convert(MakeVariantI4(255), VT_UI1).bVal, 255);
  Convert(MakeVariantI4(256), VT_UI1, DISP_E_OVERFLOW);
  Convert(MakeVariantI4(-1), VT_UI4, DISP_E_OVERFLOW);
  Convert(MakeVariantI4(-1), VT_UI8, DISP_E_OVERFLOW);
  EXPECT_EQ(Convert(MakeVariantI4(-32768), VT_I2).iVal, -32768);
  Convert(MakeVariantI4(40000), VT_I2, DISP_E_OVERFLOW);
  EXPECT_EQ(Convert(MakeVariantI4(65535), VT_UI2).uiVal, 65535);
  VARIANT big;
  big.vt = VT_UI8;
  big.ullVal = 0xFFFFFFFFFFFFFFFFull;
  Convert(big, VT_I8, DISP_E_OVERFLOW);
  EXPECT_EQ(Convert(big, VT_R8).dblVal, 18446744073709551615.0);
  Convert(MakeVariantR8(1e300), VT_R4, DISP_E_OVERFLOW);
  Convert(MakeVariantR8(3e9), VT_I4, DISP_E_OVERFLOW);
  Convert(MakeVariantR8(1e20), VT_I8, DISP_E_OVERFLOW);
  Convert(MakeVariantR8(NAN), VT_I4, DISP_E_OVERFLOW);
  EXPECT_EQ(Convert(MakeVariantR8(4294967295.0), VT_UI4).ulVal, 4294967295u);
}

TEST(VariantChangeType, RealsRoundHalfToEven) {
  EXPECT_EQ(Convert(MakeVariantR8(2.5), VT_I4).lVal, 2);
  EXPECT_EQ(Convert(MakeVariantR8(3.5), VT_I4).lVal, 4);
  EXPECT_EQ(Convert(MakeVariantR8(-2.5), VT_I4).lVal, -2);
  EXPECT_EQ(Convert(MakeVariantR8(2.51), VT_I2).iVal, 3);
  EXPECT_EQ(Convert(MakeVariantR8(-0.4), VT_UI1).bVal, 0);  // rounds to 0: in range
  Convert(MakeVariantR8(-0.6), VT_UI1, DISP_E_OVERFLOW);
  EXPECT_FLOAT_EQ(Convert(MakeVariantR8(0.1), VT_R4).fltVal, 0.1f);
}

TEST(VariantChangeType, BooleansAreZeroAndMinusOne) {
  EXPECT_EQ(Convert(MakeVariantI4(5), VT_BOOL).boolVal, VARIANT_TRUE);
  EXPECT_EQ(Convert(MakeVariantI4(0), VT_BOOL).boolVal, VARIANT_FALSE);
  EXPECT_EQ(Convert(MakeVariantR8(0.2), VT_BOOL).boolVal, VARIANT_TRUE);
  EXPECT_EQ(Convert(MakeVariantBool(true), VT_I4).lVal, -1);
  EXPECT_EQ(Convert(MakeVariantBool(true), VT_R8).dblVal, -1.0);
  Convert(MakeVariantBool(true), VT_UI1, DISP_E_OVERFLOW);
  EXPECT_EQ(Convert(MakeVariantBool(false), VT_UI1).bVal, 0);
  EXPECT_EQ(Convert(MakeVariantBool(true), VT_BSTR).bstrVal, "-1");
  EXPECT_EQ(Convert(MakeVariantBool(false), VT_BSTR).bstrVal, "0");
  EXPECT_EQ(Convert(MakeVariantBool(true), VT_BSTR, S_OK, VARIANT_ALPHABOOL).bstrVal, "True");
  EXPECT_EQ(Convert(MakeVariantBstr("True"), VT_BOOL).boolVal, VARIANT_TRUE);
  EXPECT_EQ(Convert(MakeVariantBstr(" false "), VT_BOOL).boolVal, VARIANT_FALSE);
  EXPECT_EQ(Convert(MakeVariantBstr("-1"), VT_BOOL).boolVal, VARIANT_TRUE);
  Convert(MakeVariantBstr("yes"), VT_BOOL, DISP_E_TYPEMISMATCH);
}

TEST(VariantChangeType, TextParsedAndWritten) {
  EXPECT_EQ(Convert(MakeVariantBstr(" 42 "), VT_I4).lVal, 42);
  EXPECT_EQ(Convert(MakeVariantBstr("-7"), VT_I1).cVal, -7);
  EXPECT_DOUBLE_EQ(Convert(MakeVariantBstr("12.75"), VT_R8).dblVal, 12.75);
  EXPECT_DOUBLE_EQ(Convert(MakeVariantBstr("1E3"), VT_R4).fltVal, 1000.0f);
  EXPECT_EQ(Convert(MakeVariantBstr("18446744073709551615"), VT_UI8).ullVal,
            18446744073709551615ull);
  EXPECT_EQ(Convert(MakeVariantBstr("9223372036854775807"), VT_I8).llVal, INT64_MAX);
  Convert(MakeVariantBstr("300"), VT_UI1, DISP_E_OVERFLOW);
  Convert(MakeVariantBstr("abc"), VT_I4, DISP_E_TYPEMISMATCH);
  Convert(MakeVariantBstr("12abc"), VT_R8, DISP_E_TYPEMISMATCH);
  Convert(MakeVariantBstr(""), VT_I4, DISP_E_TYPEMISMATCH);
  Convert(MakeVariantBstr("0x10"), VT_I4, DISP_E_TYPEMISMATCH);
  Convert(MakeVariantBstr("inf"), VT_R8, DISP_E_TYPEMISMATCH);
  Convert(MakeVariantBstr("1e400"), VT_R8, DISP_E_TYPEMISMATCH);
  EXPECT_EQ(Convert(MakeVariantBstr("1e-400"), VT_R8).dblVal, 0.0);  // too small: zero
  EXPECT_EQ(Convert(MakeVariantBstr("+2.5"), VT_R8).dblVal, 2.5);
  EXPECT_EQ(Convert(MakeVariantI4(-12), VT_BSTR).bstrVal, "-12");
  EXPECT_EQ(Convert(Make(VT_UI4, 4000000000.0), VT_BSTR).bstrVal, "4000000000");
  EXPECT_EQ(Convert(MakeVariantR8(2.5), VT_BSTR).bstrVal, "2.5");
  EXPECT_EQ(Convert(MakeVariantR8(1.0 / 3.0), VT_BSTR).bstrVal, "0.333333333333333");
  EXPECT_EQ(Convert(Make(VT_R4, 0.1), VT_BSTR).bstrVal, "0.1");
  EXPECT_EQ(Convert(MakeVariantR8(1e20), VT_BSTR).bstrVal, "1E+20");
  VARIANT empty;
  EXPECT_EQ(Convert(empty, VT_BSTR).bstrVal, "");
  EXPECT_EQ(Convert(empty, VT_I4).lVal, 0);
}

TEST(VariantChangeType, TextNumbersHaveADecimalPointUnderAnyLocale) {
  const CCommaLocale locale;
  if (!locale.Active()) {
    GTEST_SKIP() << "no de_DE.UTF-8 locale on this system";
  }
  EXPECT_EQ(Convert(MakeVariantBstr("3.25"), VT_R8).dblVal, 3.25);
  Convert(MakeVariantBstr("3,25"), VT_R8, DISP_E_TYPEMISMATCH);
  EXPECT_EQ(Convert(MakeVariantBstr("1.2345"), VT_CY).cyVal.int64, 12345);
  EXPECT_EQ(Convert(MakeVariantR8(3.25), VT_BSTR).bstrVal, "3.25");
  EXPECT_EQ(Convert(Make(VT_R4, 0.1), VT_BSTR).bstrVal, "0.1");
  EXPECT_EQ(Convert(MakeVariantR8(-1.5e-20), VT_BSTR).bstrVal, "-1.5E-20");
}

TEST(VariantChangeType, CurrencyScaledByTenThousand) {
  VARIANT cy = Convert(MakeVariantR8(12.5), VT_CY);
  EXPECT_EQ(cy.cyVal.int64, 125000);
  EXPECT_EQ(Convert(MakeVariantR8(0.00005), VT_CY).cyVal.int64, 0);  // half to even
  EXPECT_EQ(Convert(MakeVariantR8(0.00016), VT_CY).cyVal.int64, 2);
  EXPECT_EQ(Convert(MakeVariantI4(-3), VT_CY).cyVal.int64, -30000);
  EXPECT_EQ(Convert(cy, VT_I4).lVal, 12);  // 12.5 rounds to even
  EXPECT_EQ(Convert(CyValue(135000), VT_I4).lVal, 14);
  EXPECT_DOUBLE_EQ(Convert(cy, VT_R8).dblVal, 12.5);
  EXPECT_EQ(Convert(cy, VT_BSTR).bstrVal, "12.5");
  Convert(MakeVariantR8(1e16), VT_CY, DISP_E_OVERFLOW);
  EXPECT_EQ(Convert(MakeVariantBstr("1.2345"), VT_CY).cyVal.int64, 12345);
}

TEST(VariantChangeType, CurrencyTextLikeTheSystem) {
  EXPECT_EQ(CyToString(CY{125000}), "12.5");
  EXPECT_EQ(CyToString(CY{30000}), "3");
  EXPECT_EQ(CyToString(CY{-1}), "-0.0001");
  EXPECT_EQ(CyToString(CY{0}), "0");
  EXPECT_EQ(CyToString(CY{123456}), "12.3456");
  EXPECT_EQ(CyToString(CY{INT64_MIN}), "-922337203685477.5808");
}

TEST(VariantChangeType, DatesAreAutomationDates) {
  const DATE date = AutomationDateFromLocalTime(LocalTime{2026, 12, 7, 10, 30, 0, 0, 1});
  EXPECT_DOUBLE_EQ(date, 46363.4375);
  VARIANT v;
  v.vt = VT_DATE;
  v.date = date;
  EXPECT_EQ(Convert(v, VT_BSTR).bstrVal, "12/7/2026 10:30:00 AM");
  EXPECT_DOUBLE_EQ(Convert(v, VT_R8).dblVal, 46363.4375);
  v.date = 46363.0;
  EXPECT_EQ(Convert(v, VT_BSTR).bstrVal, "12/7/2026");
  v.date = 0.75;
  EXPECT_EQ(Convert(v, VT_BSTR).bstrVal, "6:00:00 PM");
  EXPECT_DOUBLE_EQ(Convert(MakeVariantBstr("2026-12-07 10:30:00"), VT_DATE).date, 46363.4375);
  EXPECT_DOUBLE_EQ(Convert(MakeVariantBstr("12/7/2026 10:30 AM"), VT_DATE).date, 46363.4375);
  EXPECT_DOUBLE_EQ(Convert(MakeVariantBstr("12/7/2026 12:00 AM"), VT_DATE).date, 46363.0);
  Convert(MakeVariantBstr("2026-02-30"), VT_DATE, DISP_E_TYPEMISMATCH);
  Convert(MakeVariantBstr("13/1/2026"), VT_DATE, DISP_E_TYPEMISMATCH);
  Convert(MakeVariantR8(3e6), VT_DATE, DISP_E_OVERFLOW);
  // Before 1899-12-30 the day counts backwards with a positive time fraction.
  EXPECT_DOUBLE_EQ(AutomationDateFromLocalTime(LocalTime{1899, 12, 29, 6, 0, 0, 0, 5}), -1.25);
  const LocalTime back = LocalTimeFromAutomationDate(-1.25);
  EXPECT_EQ(back.day, 29);
  EXPECT_EQ(back.hour, 6);
}

TEST(VariantChangeType, ArraysConvertElementByElement) {
  VARIANT array;
  array.vt = VT_ARRAY | VT_R8;
  array.parray = {MakeVariantR8(1.5), MakeVariantR8(-2.0)};
  VARIANT ints = Convert(array, VT_ARRAY | VT_I4);
  ASSERT_EQ(ints.parray.size(), 2u);
  EXPECT_EQ(ints.parray[0].vt, VT_I4);
  EXPECT_EQ(ints.parray[0].lVal, 2);
  EXPECT_EQ(ints.parray[1].lVal, -2);
  Convert(array, VT_ARRAY | VT_UI1, DISP_E_OVERFLOW);
  Convert(array, VT_R8, DISP_E_TYPEMISMATCH);
  Convert(MakeVariantR8(1), VT_ARRAY | VT_R8, DISP_E_TYPEMISMATCH);
}

TEST(VariantChangeType, FailureLeavesTargetAndUnsupportedTypes) {
  VARIANT target = MakeVariantI4(99);
  const VARIANT source = MakeVariantI4(1000);
  EXPECT_EQ(VariantChangeType(&target, &source, 0, VT_I1), DISP_E_OVERFLOW);
  EXPECT_EQ(target.vt, VT_I4);
  EXPECT_EQ(target.lVal, 99);
  EXPECT_EQ(VariantChangeType(&target, &source, 0, VT_DISPATCH), DISP_E_BADVARTYPE);
  // In place.
  EXPECT_EQ(VariantChangeType(&target, &target, 0, VT_BSTR), S_OK);
  EXPECT_EQ(target.bstrVal, "99");
  VARIANT null;
  null.vt = VT_NULL;
  EXPECT_EQ(VariantChangeType(&target, &null, 0, VT_I4), DISP_E_TYPEMISMATCH);
}

TEST(VariantTypeConvertible, WhatAServerCanDeliver) {
  EXPECT_TRUE(VariantTypeConvertible(VT_R8, VT_EMPTY));
  EXPECT_TRUE(VariantTypeConvertible(VT_R8, VT_R4));
  EXPECT_TRUE(VariantTypeConvertible(VT_BOOL, VT_I2));
  EXPECT_TRUE(VariantTypeConvertible(VT_DATE, VT_BSTR));
  EXPECT_FALSE(VariantTypeConvertible(VT_BSTR, VT_R4));
  EXPECT_TRUE(VariantTypeConvertible(VT_BSTR, VT_BSTR));
  EXPECT_FALSE(VariantTypeConvertible(VT_R8, VT_ARRAY | VT_R8));
  EXPECT_TRUE(VariantTypeConvertible(VT_ARRAY | VT_I4, VT_ARRAY | VT_R4));
  EXPECT_FALSE(VariantTypeConvertible(VT_R8, VT_DISPATCH));
  EXPECT_FALSE(VariantTypeConvertible(VT_R8, 999));
}
