#include "acquisition/real_time_data_list.h"

const char* RealTimeDataList::Heading(int column) {
  static const char* const kHeadings[kColumnCount] = {
      "Qualified Id", "Short Id",    "Description", "Acquisition Time",
      "OPC Value",    "OPC Quality", "Data Type"};
  return column >= 0 && column < kColumnCount ? kHeadings[column] : "";
}

void RealTimeDataList::SetValue(int row, const std::string& time, const std::string& value,
                                const std::string& quality) {
  if (row < 0 || row >= Count())
    return;
  Row& target = m_rows[static_cast<size_t>(row)];
  target[kAcquisitionTime] = time;
  target[kValue] = value;
  target[kQuality] = quality;
}
