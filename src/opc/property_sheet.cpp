#include "opc/property_sheet.h"

#include "base/log.h"
#include "base/number_text.h"
#include "opc/opc_texts.h"

namespace {

constexpr char kGroupCategory[] = "OPC Group Properties";
constexpr char kSizeCategory[] = "OPC Group Size";
constexpr char kStatisticsCategory[] = "OPC Group Statistics";
constexpr char kRequiredCategory[] = "Required OPC Group Interfaces";
constexpr char kOptionalCategory[] = "Optional OPC Group Interfaces";
constexpr char kNoStatistics[] = "Data Available Only when Acquisition is Started";
constexpr const char* kReadModes[] = {
    "Sync I/O Cache (1.0a) - Synchronous Cache Read to the Server",
    "Sync I/O Device (1.0a) - Synchronous Device Read to the Server",
    "ASync I/O (1.0a) - ASynchronous Read to the Server (OPC 1.0a)",
    "ASync I/O (2.0) - ASynchronous Read to the Server (OPC 2.0)"};

std::string InterfaceDescription(const char* name) {
  return Format("Specifies whether the Interface %s is Supported or Not by the Server", name);
}

const char* Supported(bool held) {
  return held ? "Supported" : "Unsupported";
}

}  // namespace

std::vector<PropertyRow> GroupPropertySheet(const COPCGroup& group, int groupIndex,
                                            bool acquiring) {
  std::vector<PropertyRow> rows;
  rows.push_back(
      {kGroupCategory, "OPC Group Name", group.Name(), "Specifies the Name of the OPC Group"});
  rows.push_back({kGroupCategory, "Update Rate",
                  Format("%ld ms", static_cast<long>(group.UpdateRate())),
                  "Specifies the Update Rate of the OPC Group (expressed in milliseconds)"});
  rows.push_back({kGroupCategory, "Dead band",
                  FormatFixed(static_cast<double>(group.DeadBand()), 2) + " %",
                  "Specifies the Dead band of the OPC Group Analog Data (expressed in % of Data "
                  "range). Please Note that this figure is NOT used by Velmora 2.0"});
  const uint32_t mode = group.ReadInterface();
  rows.push_back({kGroupCategory, "OPC Data Read Mode", mode < 4 ? kReadModes[mode] : "",
                  "Specifies the Update Method of OPC Data"});
  rows.push_back({kSizeCategory, "OPC Group Index", std::to_string(groupIndex),
                  "Specifies the Index of the OPC Group in Current OPC Server Configuration"});
  rows.push_back({kSizeCategory, "Number of Acquired OPC Items",
                  std::to_string(group.AcquiredCount()),
                  "Specifies the Number of Acquired OPC Items in Current OPC Group"});
  rows.push_back({kSizeCategory, "Number of Calculated OPC Items",
                  std::to_string(group.CalcCount()),
                  "Specifies the Number of Calculated OPC Items in Current OPC Group"});
  const GroupReadStatistics& statistics = group.Statistics();
  const auto figure = [acquiring](int32_t value) {
    return acquiring ? Format("%d ms", static_cast<int>(value)) : std::string(kNoStatistics);
  };
  rows.push_back({kStatisticsCategory, "Minimum Update Rate", figure(statistics.m_nMinimum),
                  "Specifies the minimum update of the OPC Group observed since Acquisition "
                  "Start"});
  rows.push_back({kStatisticsCategory, "Maximum Update Rate", figure(statistics.m_nMaximum),
                  "Specifies the maximum update of the OPC Group observed since Acquisition "
                  "Start"});
  rows.push_back({kStatisticsCategory, "Average Update Rate", figure(statistics.m_nAverage),
                  "Specifies the average update of the OPC Group observed since Acquisition "
                  "Start"});
  const std::pair<const char*, bool> required[] = {
      {"IOPCItemMgt", static_cast<bool>(group.Connection().ItemMgt())},
      {"IOPCSyncIO", static_cast<bool>(group.Connection().SyncIO())},
      {"IOPCAsyncIO (1.0a)", static_cast<bool>(group.Connection().AsyncIO())},
      {"IOPCAsyncIO2 (2.0)", static_cast<bool>(group.Connection().AsyncIO2())},
      {"IConnectionPointContainer",
       static_cast<bool>(group.Connection().ConnectionPointContainer())},
      {"IOPCGroupStateMgt", static_cast<bool>(group.Connection().GroupStateMgt())},
      {"IDataObject", static_cast<bool>(group.Connection().DataObject())},
  };
  for (const auto& [name, held] : required) {
    // The asynchronous rows name the interface without its version.
    std::string interfaceName = name;
    interfaceName = interfaceName.substr(0, interfaceName.find(' '));
    rows.push_back(
        {kRequiredCategory, name, Supported(held), InterfaceDescription(interfaceName.c_str())});
  }
  rows.push_back({kOptionalCategory, "IOPCPublicGroupStateMgt",
                  Supported(static_cast<bool>(group.Connection().PublicGroupStateMgt())),
                  InterfaceDescription("IOPCPublicGroupStateMgt")});
  return rows;
}

std::vector<PropertyRow> ItemPropertySheet(const COPCBaseItem& item, bool calculated,
                                           const COPCGroup& group) {
  std::string expression;
  if (calculated)
    expression = static_cast<const COPCCalcItem&>(item).Expression();
  const char* category = kItemPropertiesCaption;
  return {
      {category, "OPC Item Qualified Id", item.QualifiedId(),
       "Specifies the Fully Qualified Identifier of the OPC Item"},
      {category, "OPC Item Short Name", item.ShortId(),
       "Specifies the Short Identifier of the OPC Item"},
      {category, "OPC Item Description", item.Description(),
       "Specifies the Description of the OPC Item"},
      {category, "OPC Item Expression", expression,
       "Specifies the Expression of the Calculated OPC Item"},
      {category, "OPC Item Data Type", calculated ? "Double" : DataTypeText(item.DataType()),
       "Specifies the OLE Data Type of the OPC Item"},
      {category, "OPC Item Group", group.Name(),
       "Specifies the OPC Group to which the OPC Item belongs"},
  };
}
