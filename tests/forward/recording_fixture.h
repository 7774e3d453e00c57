#pragma once
// A recorded acquisition written straight into a new Velmora database, as the recorder
// leaves it: OPCAcq, its group and items, and compressed value rows.
#include <sqlite3.h>

#include <cstdint>
#include <string>
#include <vector>

struct FixtureItem {
  std::string shortId;
  int dataType = 5;  // VT_R8
  bool calculated = false;
};

class CRecordingFixture {
 public:
  // Makes the database file with the program's schema.
  explicit CRecordingFixture(const std::string& path);
  ~CRecordingFixture();
  CRecordingFixture(const CRecordingFixture&) = delete;
  CRecordingFixture& operator=(const CRecordingFixture&) = delete;

  bool Ok() const { return m_bOk; }
  // A new acquisition with one group of these items; returns its id.
  int AddAcquisition(const std::vector<FixtureItem>& items, const std::string& startText);
  // One data set: its time text and cells (text, status bits); returns the row id.
  int64_t AddRow(int acquisitionId, const std::string& timeText,
                 const std::vector<std::pair<std::string, int>>& cells);
  // Rows of numbered values: row n has item i = n + i / 10 (status 0), one second apart
  // from 01/Mar/2026 10:00:00.000 + first seconds.
  void AddNumberedRows(int acquisitionId, int first, int count, int items);
  void SetEnd(int acquisitionId, const std::string& endText, int count);
  int64_t Count(const std::string& sql);

 private:
  bool Exec(const std::string& sql);
  sqlite3* m_pDb = nullptr;
  bool m_bOk = false;
};

// "dd/Mon/yyyy hh:mm:ss.mmm" of second n after 01/Mar/2026 10:00:00.
std::string FixtureTimeText(int secondsAfter);
