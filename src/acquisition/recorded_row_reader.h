#pragma once
// Reading data sets back from the recording: the OPCAcqData rows of one acquisition,
// inflated and decoded from the stored value text into the rows HistoricalDataList keeps
// (time, cells and status bits). The history list reads its older rows through it, so
// that a long acquisition keeps only a bounded window in memory.
// Thread rule: any thread; every read opens its own read-only connection and closes it.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "acquisition/data_set.h"

// One stored row read back: its OPCAcqData_Id and the data set (null when the stored
// value could not be decoded).
using RecordedRow = std::pair<int64_t, DataSetPtr>;

class IRecordedRowReader {
 public:
  virtual ~IRecordedRowReader() = default;
  // The acquisition's rows of ids firstRowId .. lastRowId in id order, skipping offset of
  // them and reading at most count. False when the recording cannot be read.
  virtual bool ReadStoredRows(int64_t firstRowId, int64_t lastRowId, int offset, int count,
                              int itemColumns, std::vector<RecordedRow>& rows) const = 0;
};

class CRecordedRowReader : public IRecordedRowReader {
 public:
  CRecordedRowReader(std::string databasePath, int acquisitionId)
      : m_sPath(std::move(databasePath)), m_nAcquisitionId(acquisitionId) {}
  bool ReadStoredRows(int64_t firstRowId, int64_t lastRowId, int offset, int count, int itemColumns,
                      std::vector<RecordedRow>& rows) const override;

 private:
  std::string m_sPath;
  int m_nAcquisitionId;
};

// A stored value (zlib stream of the value text) as a data set of itemColumns columns;
// null when it does not inflate or decode. The inflater is reused from row to row.
class CValueInflater;
DataSetPtr DecodeStoredDataSet(const std::string& timeText, const void* blob, size_t size,
                               int itemColumns, CValueInflater& inflater);
