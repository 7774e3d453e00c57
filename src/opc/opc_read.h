#pragma once
// Reading a group: the read by the group's read interface code, the synchronous read with
// its error texts, and the statistics update that follows each successful read.
// Thread rule: GUI thread (inside the acquisition cycle).
#include "opc/opc_server.h"

inline constexpr char kNotImplementedLog[] = "Not Implemented";

// Reads the group by its read interface: 0 from the cache, 1 from the device; 2 and 3 log
// "Not Implemented" and fail. A failed read logs its error message on the "OPC Data
// Acquisition" channel. True when fresh values were taken over.
bool ReadGroup(COPCServer& server, COPCGroup& group);

// IOPCSyncIO::Read of the group's acquired items; values, qualities and time stamps go
// into the items, the local read time into the group. On failure the group's error
// message (and, for a failed call, its error report) says why.
bool SyncReadGroup(COPCServer& server, COPCGroup& group, OPCDATASOURCE source);

// After a successful read: feeds the group's last read time to its statistics.
void UpdateReadStatistics(COPCGroup& group);
