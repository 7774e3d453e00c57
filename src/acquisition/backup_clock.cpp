#include "acquisition/backup_clock.h"

bool CBackupClock::Due(int64_t now) {
  if (m_nFrequency <= 0 || now < m_nNextTime)
    return false;
  m_nNextTime += 60LL * m_nFrequency;
  return true;
}
