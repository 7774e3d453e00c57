#pragma once
// The filters of the add-item dialog's leaf list: the data type menu (entry text and the
// VARTYPE requested from the server), the access rights menu and the name pattern.
#include <cstddef>
#include <string>

#include "platform/opc/opc_types.h"

struct DataTypeFilterEntry {
  const char* m_pText;
  VARTYPE m_vtType;
};

// In menu order; the array types are the element type with the array bit 0x2000.
inline constexpr DataTypeFilterEntry kDataTypeFilters[] = {
    {"Native", 0}, {"Boolean", 11},        {"Byte", 17},  {"Byte Array", 8209},
    {"Char", 16},  {"Char Array", 8208},   {"Word", 18},  {"Word Array", 8210},
    {"Short", 2},  {"Short Array", 8194},  {"DWord", 19}, {"DWord Array", 8211},
    {"Long", 3},   {"Long Array", 8195},   {"Float", 4},  {"Float Array", 8196},
    {"Double", 5}, {"Double Array", 8197}, {"String", 8},
};
inline constexpr int kDataTypeFilterCount =
    static_cast<int>(sizeof kDataTypeFilters / sizeof kDataTypeFilters[0]);

struct AccessFilterEntry {
  const char* m_pText;
  DWORD m_dwRights;
};

inline constexpr AccessFilterEntry kAccessFilters[] = {
    {"Any", 0},
    {"Read Only", OPC_READABLE},
    {"Write Only", OPC_WRITEABLE},
};
inline constexpr int kAccessFilterCount =
    static_cast<int>(sizeof kAccessFilters / sizeof kAccessFilters[0]);

inline constexpr char kDefaultNamePattern[] = "*";
inline constexpr size_t kMaxNamePatternLength = 260;

// The menu position of a data type text ("Float Array") or -1; exact text.
int DataTypeFilterIndex(const std::string& text);
// The menu position of a VARTYPE or -1.
int DataTypeFilterIndexOf(VARTYPE vt);
