#pragma once
// System side: the client's shutdown sink as a real IOPCShutdown object, so that the
// server can call it across processes. It forwards ShutdownRequest to the layer's sink
// (COPCShutdownSink) it wraps and holds one reference to it.
#include "platform/win/win_bridge.h"

struct IUnknown;

namespace winbridge {

// A real IOPCShutdown over the layer sink (one reference each), or null.
IUnknown* CreateShutdownSinkForLayer(Object layerSink);

}  // namespace winbridge
