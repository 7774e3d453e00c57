#pragma once
// System side of velmora-simserver.exe: the real COM objects that serve the OPC DA
// interfaces by calling the simulation's objects through the bridge (winbridge::layer),
// and the count of live objects and locks that ends the process.
#include <windows.h>

#include "platform/win/win_bridge.h"

namespace simserver {

// A class factory for one simulation class (count 1).
IClassFactory* CreateClassFactory(const winbridge::Guid& clsid);

// Objects and LockServer locks alive; the main loop ends when it falls to 0.
LONG LiveObjectCount();
// The thread whose message loop is told (WM_NULL) when the count falls to 0.
void SetMainThread(DWORD threadId);

}  // namespace simserver
