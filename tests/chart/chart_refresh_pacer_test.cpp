// How often the real-time chart redraws: every cycle until a redraw is measured, then every
// N-th cycle, N growing with a slow redraw and never shrinking.
#include <gtest/gtest.h>

#include "chart/chart_refresh_pacer.h"

namespace {

// The cycles (1-based) among count that redraw.
std::vector<int> RedrawnCycles(CChartRefreshPacer& pacer, int count, uint32_t periodMs) {
  std::vector<int> redrawn;
  for (int cycle = 1; cycle <= count; ++cycle) {
    if (pacer.OnCycle(periodMs).redraw)
      redrawn.push_back(cycle);
  }
  return redrawn;
}

}  // namespace

TEST(ChartRefreshPacer, EveryCycleRedrawsUntilARedrawIsMeasured) {
  CChartRefreshPacer pacer;
  EXPECT_EQ(pacer.LastRedrawMs(), -1);
  EXPECT_EQ(RedrawnCycles(pacer, 3, 1000), (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(pacer.Divider(), 1);
}

TEST(ChartRefreshPacer, ASlowRedrawSpacesTheRedrawsOutOnce) {
  CChartRefreshPacer pacer;
  pacer.SetLastRedrawMs(600);  // a quarter of 1000 ms is 250: divider 3
  const CChartRefreshPacer::Decision first = pacer.OnCycle(1000);
  EXPECT_TRUE(first.dividerRaised);
  EXPECT_FALSE(first.redraw);
  EXPECT_EQ(pacer.Divider(), 3);
  EXPECT_FALSE(pacer.OnCycle(1000).dividerRaised);  // told once
  EXPECT_EQ(RedrawnCycles(pacer, 6, 1000), (std::vector<int>{1, 4}));
}

TEST(ChartRefreshPacer, TheDividerNeverComesBackDown) {
  CChartRefreshPacer pacer;
  pacer.SetLastRedrawMs(600);
  RedrawnCycles(pacer, 3, 1000);
  pacer.SetLastRedrawMs(10);
  EXPECT_EQ(RedrawnCycles(pacer, 6, 1000), (std::vector<int>{3, 6}));
  EXPECT_EQ(pacer.Divider(), 3);
}

TEST(ChartRefreshPacer, APeriodTooShortToTellDrawsNothing) {
  CChartRefreshPacer pacer;
  pacer.SetLastRedrawMs(10);
  EXPECT_TRUE(RedrawnCycles(pacer, 5, 3).empty());
}

TEST(ChartRefreshPacer, ARestartCountsTheCyclesAnew) {
  CChartRefreshPacer pacer;
  pacer.SetLastRedrawMs(600);
  EXPECT_EQ(RedrawnCycles(pacer, 2, 1000), std::vector<int>{});
  pacer.RestartCycles();
  EXPECT_EQ(RedrawnCycles(pacer, 3, 1000), (std::vector<int>{3}));
}
