#pragma once
// Fills the data sets of an acquisition from the groups read in a cycle: the group's
// columns of the current row, the interpolation of rows a slower group skipped, the
// copy-forward of inactive groups, and the real-time list.
// Thread rule: acquisition (GUI) thread.
#include <string>
#include <vector>

#include "acquisition/historical_data_list.h"
#include "acquisition/real_time_data_list.h"

class COPCServer;
class COPCGroup;

// The row of the last data set a group wrote into; none after a Clear, so that nothing
// is interpolated across the cleared rows.
inline constexpr int kNoDataSetRow = -1;

class CDataSetWriter {
 public:
  CDataSetWriter(HistoricalDataList& history, RealTimeDataList& realTime)
      : m_history(history), m_realTime(realTime) {}

  // Rebuilds the real-time rows (one per item column) and empties the history with N
  // item columns.
  void Rebuild(const COPCServer& server);
  // Appends a row whose time is the group's time text; returns its index.
  int StartDataSet(const COPCGroup& group);
  // Writes the group's acquired and calculated values into the last row, interpolates
  // the rows the group skipped since lastRow and returns them in rewrittenRows (to be
  // stored again). lastRow becomes the last row.
  void WriteGroupValues(const COPCGroup& group, int columnOffset, int decimals, int& lastRow,
                        std::vector<int>& rewrittenRows);
  // Shows the group's fresh values in the real-time list.
  void UpdateRealTime(const COPCGroup& group, int columnOffset, int decimals);
  // Copies an inactive group's texts of lastRow forward to the last row (empty texts when
  // the group has no row), with the inactive bit. lastRow becomes the last row.
  void FillInactiveGroup(const COPCGroup& group, int columnOffset, int& lastRow);

 private:
  void Interpolate(const COPCGroup& group, int columnOffset, int gap, int decimals,
                   std::vector<DataSet>& rows);

  HistoricalDataList& m_history;
  RealTimeDataList& m_realTime;
};

// Texts of an interpolated cell (exposed for tests). typeCode: the item's variant type.
std::string InterpolatedText(int typeCode, const std::string& startText, const std::string& endText,
                             int step, int gap, int decimals, bool& handled);
