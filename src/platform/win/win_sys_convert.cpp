#include <windows.h>

#include "platform/win/win_sys_convert.h"

#include <cstring>

namespace winbridge {

std::wstring Wide(const std::string& text) {
  if (text.empty())
    return {};
  const int size =
      MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(size), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), size);
  return wide;
}

std::string Utf8(const wchar_t* text) {
  if (text == nullptr || text[0] == L'\0')
    return {};
  const int length = static_cast<int>(wcslen(text));
  const int size = WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, length, utf8.data(), size, nullptr, nullptr);
  return utf8;
}

wchar_t* TaskMemString(const std::string& text) {
  const std::wstring wide = Wide(text);
  auto* copy = static_cast<wchar_t*>(CoTaskMemAlloc((wide.size() + 1) * sizeof(wchar_t)));
  if (copy != nullptr)
    std::memcpy(copy, wide.c_str(), (wide.size() + 1) * sizeof(wchar_t));
  return copy;
}

std::string TakeTaskMemString(wchar_t* text) {
  std::string utf8 = Utf8(text);
  CoTaskMemFree(text);
  return utf8;
}

GUID ToGuid(const Guid& guid) {
  GUID result;
  result.Data1 = guid.d1;
  result.Data2 = guid.d2;
  result.Data3 = guid.d3;
  std::memcpy(result.Data4, guid.d4, sizeof result.Data4);
  return result;
}

Guid FromGuid(const GUID& guid) {
  Guid result;
  result.d1 = guid.Data1;
  result.d2 = guid.Data2;
  result.d3 = guid.Data3;
  std::memcpy(result.d4, guid.Data4, sizeof result.d4);
  return result;
}

FILETIME ToFileTime(const FileTime& ft) {
  FILETIME result;
  result.dwLowDateTime = ft.low;
  result.dwHighDateTime = ft.high;
  return result;
}

FileTime FromFileTime(const FILETIME& ft) {
  return {ft.dwLowDateTime, ft.dwHighDateTime};
}

std::vector<GUID> ToGuids(const std::vector<Guid>& guids) {
  std::vector<GUID> result;
  result.reserve(guids.size());
  for (const Guid& guid : guids)
    result.push_back(ToGuid(guid));
  return result;
}

namespace {

// The scalar types both VARIANTs hold in the first bytes of their union.
bool IsScalarType(VARTYPE vt) {
  switch (vt) {
    case VT_EMPTY:
    case VT_NULL:
    case VT_I1:
    case VT_UI1:
    case VT_I2:
    case VT_UI2:
    case VT_I4:
    case VT_UI4:
    case VT_INT:
    case VT_UINT:
    case VT_I8:
    case VT_UI8:
    case VT_R4:
    case VT_R8:
    case VT_CY:
    case VT_DATE:
    case VT_BOOL:
    case VT_ERROR:
      return true;
    default:
      return false;
  }
}

}  // namespace

bool ToVariant(const Value& value, VARIANT* dest) {
  VariantInit(dest);
  const VARTYPE vt = value.vt;
  if (vt == VT_BSTR) {
    const std::wstring wide = Wide(value.text);
    dest->bstrVal = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
    dest->vt = VT_BSTR;
    return true;
  }
  if ((vt & VT_ARRAY) != 0) {
    const VARTYPE element = vt & VT_TYPEMASK;
    if (element != VT_BSTR && !IsScalarType(element))
      return false;
    SAFEARRAY* array = SafeArrayCreateVector(element, 0, static_cast<ULONG>(value.elements.size()));
    if (array == nullptr)
      return false;
    for (LONG i = 0; i < static_cast<LONG>(value.elements.size()); ++i) {
      const Value& item = value.elements[static_cast<size_t>(i)];
      if (element == VT_BSTR) {
        const std::wstring wide = Wide(item.text);
        BSTR text = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
        SafeArrayPutElement(array, &i, text);  // copies the string
        SysFreeString(text);
      } else {
        uint64_t bits = item.bits;
        SafeArrayPutElement(array, &i, &bits);  // takes the element size from the front
      }
    }
    dest->vt = vt;
    dest->parray = array;
    return true;
  }
  if (!IsScalarType(vt))
    return false;
  dest->vt = vt;
  std::memcpy(&dest->llVal, &value.bits, sizeof value.bits);
  return true;
}

Value FromVariant(const VARIANT& variant) {
  Value value;
  const VARTYPE vt = variant.vt;
  if (vt == VT_BSTR) {
    value.vt = VT_BSTR;
    value.text = Utf8(variant.bstrVal);
    return value;
  }
  if ((vt & VT_ARRAY) != 0 && (vt & VT_BYREF) == 0 && variant.parray != nullptr) {
    const VARTYPE element = vt & VT_TYPEMASK;
    value.vt = vt;
    SAFEARRAY* array = variant.parray;
    LONG lower = 0;
    LONG upper = -1;
    SafeArrayGetLBound(array, 1, &lower);
    SafeArrayGetUBound(array, 1, &upper);
    for (LONG i = lower; i <= upper; ++i) {
      Value item;
      item.vt = element;
      if (element == VT_BSTR) {
        BSTR text = nullptr;
        if (SUCCEEDED(SafeArrayGetElement(array, &i, &text))) {
          item.text = Utf8(text);
          SysFreeString(text);
        }
      } else if (element == VT_VARIANT) {
        VARIANT inner;
        VariantInit(&inner);
        if (SUCCEEDED(SafeArrayGetElement(array, &i, &inner)))
          item = FromVariant(inner);
        VariantClear(&inner);
      } else {
        uint64_t bits = 0;
        SafeArrayGetElement(array, &i, &bits);
        item.bits = bits;
      }
      value.elements.push_back(std::move(item));
    }
    return value;
  }
  if (!IsScalarType(vt))
    return value;  // VT_EMPTY: a type the layer has no place for
  value.vt = vt;
  std::memcpy(&value.bits, &variant.llVal, sizeof value.bits);
  return value;
}

}  // namespace winbridge
