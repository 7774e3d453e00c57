#pragma once
// VARIANT: a typed value as the OPC interfaces carry it. vt names the type; the value
// sits in the member of that type. Strings (VT_BSTR) are kept as std::string in the
// local code page (UTF-8 on this platform). Arrays are VT_ARRAY | element type, with
// one VARIANT of the element type per element in parray.
#include <string>
#include <vector>

#include "platform/com/com_types.h"
#include "platform/com/hresult.h"

enum VARENUM : VARTYPE {
  VT_EMPTY = 0,
  VT_NULL = 1,
  VT_I2 = 2,
  VT_I4 = 3,
  VT_R4 = 4,
  VT_R8 = 5,
  VT_CY = 6,
  VT_DATE = 7,
  VT_BSTR = 8,
  VT_DISPATCH = 9,
  VT_ERROR = 10,
  VT_BOOL = 11,
  VT_VARIANT = 12,
  VT_UNKNOWN = 13,
  VT_DECIMAL = 14,
  VT_I1 = 16,
  VT_UI1 = 17,
  VT_UI2 = 18,
  VT_UI4 = 19,
  VT_I8 = 20,
  VT_UI8 = 21,
  VT_INT = 22,
  VT_UINT = 23,
  VT_ARRAY = 0x2000,
  VT_BYREF = 0x4000,
  VT_TYPEMASK = 0x0FFF,
};

struct VARIANT {
  VARTYPE vt = VT_EMPTY;
  union {
    int8_t cVal;
    uint8_t bVal;
    int16_t iVal;
    uint16_t uiVal;
    int32_t lVal;
    uint32_t ulVal;
    int32_t intVal;
    uint32_t uintVal;
    int64_t llVal = 0;
    uint64_t ullVal;
    float fltVal;
    double dblVal;
    VARIANT_BOOL boolVal;
    SCODE scode;
    DATE date;
    CY cyVal;
  };
  std::string bstrVal;
  std::vector<VARIANT> parray;
};

// Flags of VariantChangeType.
inline constexpr uint16_t VARIANT_NOVALUEPROP = 0x01;
inline constexpr uint16_t VARIANT_ALPHABOOL = 0x02;  // VT_BOOL to text as "True"/"False"

void VariantInit(VARIANT* v);
// Empties the value (VT_EMPTY). E_INVALIDARG for a null pointer.
HRESULT VariantClear(VARIANT* v);
HRESULT VariantCopy(VARIANT* dest, const VARIANT* src);

// Converts src to type vt as a server does for a requested data type: numbers between
// each other with range checks (DISP_E_OVERFLOW), floating values rounded half to even,
// text parsed (DISP_E_TYPEMISMATCH when it is not a number, date or boolean), VT_BOOL as
// 0 / -1, VT_DATE as the automation date, VT_CY scaled by 10000. Arrays convert element
// by element to an array type; array to scalar and scalar to array are mismatches.
// dest may equal src. On failure dest is left unchanged.
HRESULT VariantChangeType(VARIANT* dest, const VARIANT* src, uint16_t flags, VARTYPE vt);

// True when a value of type from can in general be delivered as type to (the type
// check of AddItems and of the browse type filter). VT_EMPTY as "to" means native.
bool VariantTypeConvertible(VARTYPE from, VARTYPE to);
// True for the types a VARIANT of this layer can hold (the supported scalar types, with
// or without VT_ARRAY).
bool IsSupportedVarType(VARTYPE vt);

// Text of a currency value as the system's conversion writes it ("12.5", "-0.0001", "3").
std::string CyToString(const CY& cy);
// Text of an automation date as the system writes it for locale 1033
// ("12/7/2026 10:00:00 AM"; the date alone at midnight, the time alone on day 0).
std::string DateToString(DATE date);

// Small constructors for code and tests.
VARIANT MakeVariantI4(int32_t value);
VARIANT MakeVariantR8(double value);
VARIANT MakeVariantBstr(const std::string& value);
VARIANT MakeVariantBool(bool value);
