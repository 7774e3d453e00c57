#include "opc/statistics_presenter.h"

#include <algorithm>

#include "base/log.h"

namespace {

constexpr char kConnected[] = "Connected";
constexpr char kNotConnected[] = "Not Connected";
constexpr char kMilliseconds[] = "%d ms";
constexpr char kFrameTitle[] = " OPC Group Statistics for Group '%s'";

StatisticsBar MakeBar(int32_t valueMs, DWORD updateRate) {
  return {Format(kMilliseconds, valueMs), StatisticsBarPosition(valueMs, updateRate)};
}

}  // namespace

int StatisticsBarPosition(int32_t valueMs, DWORD updateRate) {
  int64_t p = updateRate / 1000;
  if (p == 0)
    p = 1;
  const int64_t position = static_cast<int64_t>(valueMs) * 5 / p;
  return static_cast<int>(std::clamp<int64_t>(position, 0, kStatisticsBarRange));
}

StatisticsServerPart BuildStatisticsServerPart(const COPCServer& server) {
  StatisticsServerPart part;
  part.m_sServerId = server.ServerId();
  part.m_sHost = server.Host();
  const bool alive = server.IsAlive();
  part.m_sConnectionStatus = alive ? kConnected : kNotConnected;
  if (!alive)
    return part;
  server.GetServerStateText(part.m_sServerStatus);
  part.m_sGroupCount = Format("%d", server.GroupCount());
  for (int i = 0; i < server.GroupCount(); ++i) {
    const COPCGroup& group = *server.Group(i);
    part.m_groups.push_back(
        {group.Name(), Format(kMilliseconds, static_cast<int>(group.UpdateRate()))});
  }
  return part;
}

StatisticsGroupPart BuildStatisticsGroupPart(const COPCGroup& group) {
  const GroupReadStatistics& statistics = group.Statistics();
  StatisticsGroupPart part;
  part.m_sFrameTitle = Format(kFrameTitle, group.Name().c_str());
  part.m_sCount = Format("%d", statistics.m_nCount);
  part.m_current = MakeBar(statistics.m_nLast, group.UpdateRate());
  part.m_minimum = MakeBar(statistics.m_nMinimum, group.UpdateRate());
  part.m_maximum = MakeBar(statistics.m_nMaximum, group.UpdateRate());
  part.m_average = MakeBar(statistics.m_nAverage, group.UpdateRate());
  return part;
}

const COPCGroup* FindStatisticsGroup(const COPCServer& server, const std::string& name,
                                     IUserPrompt& prompt) {
  const COPCGroup* group = server.FindGroupByName(name);
  if (group == nullptr)
    prompt.ShowMessage(kStatisticsGroupGone, MessageButtons::kOk, MessageIcon::kWarning);
  return group;
}
