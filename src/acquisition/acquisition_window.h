#pragma once
// CAcquisitionWindow: the acquisition mode and, in the time-controlled mode, the window
// (seconds since 1970) outside which no tick acquires. It says where a tick falls; the
// engine acts on it (hides the time fields, stops after the window, restarts its clocks
// when the window opens).
// Thread rule: the acquisition (GUI) thread, like the engine that owns it.
#include <cstdint>

enum AcquisitionMode : int { kContinuousAcquisition = 0, kTimeControlledAcquisition = 1 };

// Where a tick falls.
enum class WindowPlace {
  kAcquire,  // continuous mode, or inside the open window
  kOpening,  // the first tick inside the window: it opens now, then acquires
  kBefore,   // before the window: nothing is acquired yet
  kAfter,    // after the window: the acquisition ends
};

class CAcquisitionWindow {
 public:
  static constexpr int64_t kShortestSeconds = 60;

  void SetMode(AcquisitionMode mode) { m_nMode = mode; }
  AcquisitionMode Mode() const { return m_nMode; }
  void Set(int64_t start, int64_t end) { m_nStart = start, m_nEnd = end; }
  int64_t Start() const { return m_nStart; }
  int64_t End() const { return m_nEnd; }
  bool Opened() const { return m_bOpened; }
  // Start and Resume in the time-controlled mode: a window shorter than a minute ends a
  // minute after its start. True when the end was moved.
  bool EnforceShortest();
  // Where the tick at now falls; kOpening marks the window open.
  WindowPlace Place(int64_t now);
  // The acquisition stopped: a later Start opens the window anew.
  void Close() { m_bOpened = false; }

 private:
  AcquisitionMode m_nMode = kContinuousAcquisition;
  int64_t m_nStart = 0;
  int64_t m_nEnd = 0;
  bool m_bOpened = false;
};
