#pragma once
// The splash screen's bookkeeping, apart from its window: step counter, the countdown of
// the start-up pause, and the self-closing after 8 s and 16 s. Thread rule: GUI thread.
#include <cstdint>

inline constexpr int kSplashProgressMax = 12;
inline constexpr int kSplashTimerMs = 200;
inline constexpr int kSplashCountdownStart = 100;  // rounds of the start-up pause
inline constexpr int kSplashPauseRoundMs = 25;
inline constexpr int64_t kSplashFirstMarkSeconds = 8;
inline constexpr int64_t kSplashSecondMarkSeconds = 16;

class CSplashState {
 public:
  struct TickResult {
    bool startVersionCheck = false;  // first tick only
    bool close = false;
  };

  void Open(int64_t nowSeconds);
  // Adds one step; returns the new counter (the progress bar position).
  int Step() { return ++m_nSteps; }
  // One timer tick at nowSeconds.
  TickResult Tick(int64_t nowSeconds);
  // One round of the start-up pause: false once the countdown has reached 0.
  bool CountDown();
  // Closing ends the countdown at once (a click, the timer, or start-up).
  void Close();

  int Steps() const { return m_nSteps; }
  int Countdown() const { return m_nCountdown; }
  bool IsClosed() const { return m_bClosed; }

 private:
  int m_nSteps = 0;
  int m_nCountdown = kSplashCountdownStart;
  int64_t m_nOpenedSeconds = 0;
  bool m_bVersionCheckStarted = false;
  bool m_bFirstMark = false;
  bool m_bSecondMark = false;
  bool m_bClosed = false;
};
