#include "acquisition/acquisition_window.h"

bool CAcquisitionWindow::EnforceShortest() {
  if (m_nMode != kTimeControlledAcquisition || m_nEnd >= m_nStart + kShortestSeconds)
    return false;
  m_nEnd = m_nStart + kShortestSeconds;
  return true;
}

WindowPlace CAcquisitionWindow::Place(int64_t now) {
  if (m_nMode != kTimeControlledAcquisition)
    return WindowPlace::kAcquire;
  if (now < m_nStart)
    return WindowPlace::kBefore;
  if (now > m_nEnd)
    return WindowPlace::kAfter;
  if (m_bOpened)
    return WindowPlace::kAcquire;
  m_bOpened = true;
  return WindowPlace::kOpening;
}
