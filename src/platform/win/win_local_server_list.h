#pragma once
// Layer side: the server enumerator used when no OPCEnum is registered on the local
// machine (a Wine prefix, a machine without the OPC Core Components): IOPCServerList
// answered from the local registry through the system's component category manager,
// the program ids and the class names of the CLSID keys.
#include "platform/com/unknown.h"

// A class factory creating that enumerator (count 0).
IClassFactory* CreateLocalServerListFactory();
