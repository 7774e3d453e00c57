#pragma once
// The rows of a recorded acquisition for the chart: each OPCAcqData row inflated into
// the table layout of the live acquisition (time, then one cell per item column), kept
// compact in a HistoricalDataList. Used by the project chart and velmora-cli chart.
// Thread rule: the caller's thread; the list is filled before anyone reads it.
#include <cstdint>
#include <string>

class CSQLite;
class HistoricalDataList;

struct ChartRecordedAcquisition {
  int rows = 0;
  uint32_t updateRateMs = 0;  // OPCAcq_UpdateRate: the acquisition period
};

// Fills list with the rows of acquisition id, in the order they were recorded. False
// with error set when the database cannot be read, the acquisition does not exist or a
// row cannot be inflated.
bool LoadChartRecordedRows(CSQLite& db, int acquisitionId, HistoricalDataList& list,
                           ChartRecordedAcquisition& info, std::string& error);
