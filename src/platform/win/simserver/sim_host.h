#pragma once
// The simulation servers as velmora-simserver.exe serves them, in the bridge's plain
// types: which classes it registers and creating one server object (layer side).
#include <string>
#include <vector>

#include "platform/win/win_bridge.h"

namespace simhost {

struct SimClassInfo {
  winbridge::Guid clsid;
  std::string progId;
  std::string description;
  std::vector<winbridge::Guid> categories;
};

// The categories' registry names.
struct SimCategoryInfo {
  winbridge::Guid catid;
  std::string description;
};

std::vector<SimClassInfo> SimulationClasses();
std::vector<SimCategoryInfo> SimulationCategories();

// Applies the file named by VELMORA_SIM_CONFIG (the same faults, values and qualities as
// the in-process simulation); false with the message on a bad file.
bool LoadSimulationConfiguration(std::string* error);

// A new server object of the class (its IUnknown, one reference).
winbridge::Hr CreateSimulationServer(const winbridge::Guid& clsid, winbridge::Object* unknown);

}  // namespace simhost
