#pragma once
// RealTimeDataList: the latest value of every item, one row per item column.
// Thread rule: acquisition (GUI) thread only.
#include <array>
#include <string>
#include <vector>

class RealTimeDataList {
 public:
  enum Column {
    kQualifiedId,
    kShortId,
    kDescription,
    kAcquisitionTime,
    kValue,
    kQuality,
    kDataType,
    kColumnCount
  };
  using Row = std::array<std::string, kColumnCount>;

  static const char* Heading(int column);

  void Clear() { m_rows.clear(); }
  void Append(const Row& row) { m_rows.push_back(row); }
  int Count() const { return static_cast<int>(m_rows.size()); }
  const Row& At(int row) const { return m_rows[static_cast<size_t>(row)]; }
  // Sets the three value columns of a row (ignored outside the list).
  void SetValue(int row, const std::string& time, const std::string& value,
                const std::string& quality);

 private:
  std::vector<Row> m_rows;
};
