#include "acquisition/stored_rows.h"

void CStoredRows::Restart() {
  m_sLastTime.clear();
  m_nCount = 0;
}

void CStoredRows::Inserted(std::string_view timeText) {
  ++m_nCount;
  m_sLastTime = std::string(timeText);
}
