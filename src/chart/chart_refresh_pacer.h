#pragma once
// CChartRefreshPacer: how often the real-time chart redraws. It redraws every N-th
// acquisition cycle, N (the divider) chosen from how long the last redraw took so that
// drawing keeps under a quarter of the time between two redraws; the divider only grows.
// Thread rule: GUI thread.
#include <cstdint>

class CChartRefreshPacer {
 public:
  struct Decision {
    bool redraw = false;
    bool dividerRaised = false;  // the divider just grew (the caller says so in the log)
  };

  // One acquisition cycle (base period in ms) while the chart shows real time.
  Decision OnCycle(uint32_t basePeriodMs);
  // The count of cycles starts again (real time switched on, a new acquisition).
  void RestartCycles() { m_nCycles = 0; }
  void SetLastRedrawMs(int ms) { m_nLastRedrawMs = ms; }
  int LastRedrawMs() const { return m_nLastRedrawMs; }
  int Divider() const { return m_nDivider; }

 private:
  int m_nDivider = 1;
  int m_nCycles = 0;
  int m_nLastRedrawMs = -1;  // none yet
};
