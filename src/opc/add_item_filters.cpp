#include "opc/add_item_filters.h"

int DataTypeFilterIndex(const std::string& text) {
  for (int i = 0; i < kDataTypeFilterCount; ++i) {
    if (text == kDataTypeFilters[i].m_pText)
      return i;
  }
  return -1;
}

int DataTypeFilterIndexOf(VARTYPE vt) {
  for (int i = 0; i < kDataTypeFilterCount; ++i) {
    if (vt == kDataTypeFilters[i].m_vtType)
      return i;
  }
  return -1;
}
