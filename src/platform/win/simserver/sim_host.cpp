#include "platform/win/simserver/sim_host.h"

#include "platform/com/com_ptr.h"
#include "platform/opc/opc_types.h"
#include "platform/sim/sim_factory.h"
#include "platform/sim/sim_runtime.h"
#include "platform/win/win_layer_convert.h"

namespace simhost {

std::vector<SimClassInfo> SimulationClasses() {
  std::vector<SimClassInfo> classes;
  for (const CSimClass& simClass : CSimRuntime::StandardServerClasses()) {
    SimClassInfo info;
    info.clsid = winbridge::ToBridge(simClass.m_clsid);
    info.progId = simClass.m_sProgId;
    info.description = simClass.m_sDescription;
    for (const CATID& catid : simClass.m_categories)
      info.categories.push_back(winbridge::ToBridge(catid));
    classes.push_back(std::move(info));
  }
  return classes;
}

std::vector<SimCategoryInfo> SimulationCategories() {
  return {{winbridge::ToBridge(CATID_OPCDAServer10), "OPC Data Access Servers Version 1.0"},
          {winbridge::ToBridge(CATID_OPCDAServer20), "OPC Data Access Servers Version 2.0"}};
}

bool LoadSimulationConfiguration(std::string* error) {
  return CSimRuntime::Instance().LoadConfigurationFromEnvironment(error);
}

winbridge::Hr CreateSimulationServer(const winbridge::Guid& clsid, winbridge::Object* unknown) {
  *unknown = nullptr;
  CSimRuntime& runtime = CSimRuntime::Instance();
  const CSimClass* simClass = runtime.LocalHost().FindClass(winbridge::FromBridge(clsid));
  if (simClass == nullptr)
    return REGDB_E_CLASSNOTREG;
  if (runtime.FaultsFor(simClass->m_sProgId).m_bDead)
    return RPC_S_SERVER_UNAVAILABLE;
  IUnknown* object = nullptr;
  const HRESULT hr = CreateSimObject(*simClass, runtime.LocalHost(), &object);
  *unknown = object;
  return hr;
}

}  // namespace simhost
