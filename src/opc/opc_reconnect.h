#pragma once
// Reconnection to a server that went away (crashed or restarted): a new connection to
// the same server, and every group with its acquired items created on it again. The
// group and item objects stay, so calculated items and the acquisition keep their
// references.
// Thread rule: GUI thread.
#include "opc/opc_server.h"

// True when the server answers again and every group and acquired item is on it. On
// false the connection may be half made; the caller simply tries again later.
bool ReconnectServer(COPCServer& server);
