#pragma once
// The figures of the "Show Acquisition Statistics " dialog: the server part (connection,
// status, the groups with their update rates) and, for one group, its read statistics as
// texts and bar positions. The GUI only shows them. Thread rule: GUI thread.
#include <cstdint>
#include <string>
#include <vector>

#include "opc/opc_server.h"

inline constexpr int kStatisticsBarRange = 10000;
// Where a value equal to the update rate stands; the "Target" mark.
inline constexpr int kStatisticsTargetPosition = 5000;
inline constexpr uint32_t kStatisticsBarColour = 0x0099FF;
inline constexpr int kStatisticsTimerId = 120;
inline constexpr int kStatisticsRefreshMs = 2000;
inline constexpr char kStatisticsGroupGone[] =
    "Internal Error !!! Unable to Get Pointer to Instance of Selected OPC Group ....";

struct StatisticsGroupRow {
  std::string m_sName;
  std::string m_sUpdateRate;  // "%d ms"
};

struct StatisticsServerPart {
  std::string m_sServerId;
  std::string m_sHost;
  std::string m_sConnectionStatus;  // "Connected" / "Not Connected"
  // Empty when not connected.
  std::string m_sServerStatus;
  std::string m_sGroupCount;
  std::vector<StatisticsGroupRow> m_groups;
};

struct StatisticsBar {
  std::string m_sText;  // "%d ms"
  int m_nPosition = 0;  // 0..kStatisticsBarRange
};

struct StatisticsGroupPart {
  std::string m_sFrameTitle;  // " OPC Group Statistics for Group '%s'"
  std::string m_sCount;
  StatisticsBar m_current;
  StatisticsBar m_minimum;
  StatisticsBar m_maximum;
  StatisticsBar m_average;
};

StatisticsServerPart BuildStatisticsServerPart(const COPCServer& server);
StatisticsGroupPart BuildStatisticsGroupPart(const COPCGroup& group);
// value × 5 / p with p = update rate / 1000 (1 when 0), kept inside the bar's range.
int StatisticsBarPosition(int32_t valueMs, DWORD updateRate);
// The refresh of the selected group: the group, or null after the internal error message
// when it no longer exists (the dialog then stops its timer).
const COPCGroup* FindStatisticsGroup(const COPCServer& server, const std::string& name,
                                     IUserPrompt& prompt);
