#include "app/splash_state.h"

void CSplashState::Open(int64_t nowSeconds) {
  m_nOpenedSeconds = nowSeconds;
  m_bClosed = false;
}

CSplashState::TickResult CSplashState::Tick(int64_t nowSeconds) {
  TickResult result;
  if (m_bClosed)
    return result;
  if (!m_bVersionCheckStarted) {
    m_bVersionCheckStarted = true;
    result.startVersionCheck = true;
  }
  const int64_t elapsed = nowSeconds - m_nOpenedSeconds;
  if (elapsed >= kSplashFirstMarkSeconds)
    m_bFirstMark = true;
  if (elapsed >= kSplashSecondMarkSeconds)
    m_bSecondMark = true;
  if (m_bFirstMark && m_bSecondMark) {
    Close();
    result.close = true;
  }
  return result;
}

bool CSplashState::CountDown() {
  if (m_nCountdown <= 0)
    return false;
  --m_nCountdown;
  return true;
}

void CSplashState::Close() {
  m_nCountdown = 0;
  m_bClosed = true;
}
