#pragma once
// CStoredRows: what the recording of an acquisition stored: how many data sets are in the
// database and the time of the last one inserted (the end recorded at Stop). Each row's
// OPCAcqData id is kept by the history list beside the row.
// Thread rule: the acquisition (GUI) thread, like the engine that owns it.
#include <string>
#include <string_view>

class CStoredRows {
 public:
  // A new acquisition: nothing stored.
  void Restart();
  // A data set was inserted (not rewritten).
  void Inserted(std::string_view timeText);

  int Count() const { return m_nCount; }
  // The count of what the file now at the path holds (after a replacement).
  void SetCount(int count) { m_nCount = count; }
  const std::string& LastTime() const { return m_sLastTime; }

 private:
  std::string m_sLastTime;
  int m_nCount = 0;
};
