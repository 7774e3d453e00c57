#pragma once
// Creates the object behind a class registered on a simulated machine: a simulation
// server, the OPC server enumerator or the component category manager.
#include "platform/com/unknown.h"
#include "platform/sim/sim_runtime.h"

// S_OK and an object carrying one reference in *ppUnk; RPC_S_SERVER_UNAVAILABLE for a
// simulation server whose "process" is down (CSimRuntime::ServerProcessDown).
HRESULT CreateSimObject(const CSimClass& simClass, const CSimHost& host, IUnknown** ppUnk);

// Class ids of host whose categories include at least one of cImplemented (any when 0)
// and all of cRequired.
std::vector<CLSID> SimClassesOfCategories(const CSimHost& host, ULONG cImplemented,
                                          const CATID* rgcatidImpl, ULONG cRequired,
                                          const CATID* rgcatidReq);
