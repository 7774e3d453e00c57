#include "db/project_list.h"

namespace {

constexpr const char* kSortColumns[kProjectSortChoiceCount] = {
    "OPCPrj_Id",         "OPCPrj_Name", "OPCPrj_ServerId", "OPCPrj_ServerHost",
    "OPCPrj_ServerGuid", "OPCPrj_Date", "OPCPrj_Time",
};

}  // namespace

const std::vector<std::string>& ProjectSortChoices() {
  static const std::vector<std::string> kChoices = {
      "Project Id",      "Project Name",  "OPC Server Id", "OPC Server Host",
      "OPC Server Guid", "Creation Date", "Creation Time",
  };
  return kChoices;
}

const char* ProjectSortColumn(int sortIndex) {
  if (sortIndex < 0 || sortIndex >= kProjectSortChoiceCount)
    sortIndex = kSortByName;
  return kSortColumns[sortIndex];
}
