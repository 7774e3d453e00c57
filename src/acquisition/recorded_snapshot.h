#pragma once
// What an acquisition records of the configuration it acquires on (RecordedConfiguration),
// taken from the server's configuration value at Start.
// Thread rule: acquisition (GUI) thread, like the server it reads.
#include "acquisition/acquisition_recorder.h"
#include "opc/opc_configuration.h"

class COPCServer;

// The configuration's groups and items, each item with its definition's data type.
RecordedConfiguration RecordedConfigurationOf(const COPCConfiguration& configuration);
// The server's configuration, each item with the type of its last value instead once a
// value came (COPCBaseItem::ValueType): that is the type the recorded values carry.
RecordedConfiguration SnapshotOf(const COPCServer& server);
