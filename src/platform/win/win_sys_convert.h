#pragma once
// System side: conversions between the bridge's plain types and the Windows ones
// (UTF-8 <-> wide strings, Value <-> VARIANT, CoTaskMem blocks). Include after
// <windows.h>.
#include <oaidl.h>
#include <objbase.h>

#include <string>
#include <vector>

#include "platform/win/win_bridge.h"

namespace winbridge {

std::wstring Wide(const std::string& text);
std::string Utf8(const wchar_t* text);
// A CoTaskMem copy of the text (the caller or COM frees it).
wchar_t* TaskMemString(const std::string& text);
// Utf8 of a CoTaskMem string, which is then freed.
std::string TakeTaskMemString(wchar_t* text);

GUID ToGuid(const Guid& guid);
Guid FromGuid(const GUID& guid);
FILETIME ToFileTime(const FileTime& ft);
FileTime FromFileTime(const FILETIME& ft);

// VARIANT <-> Value. ToVariant initialises dest; false for a type that has no VARIANT
// form (dest is then VT_EMPTY).
bool ToVariant(const Value& value, VARIANT* dest);
Value FromVariant(const VARIANT& variant);

std::vector<GUID> ToGuids(const std::vector<Guid>& guids);

}  // namespace winbridge
