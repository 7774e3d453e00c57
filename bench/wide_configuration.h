#pragma once
// The widest configuration the benchmarks acquire: 16 groups of 8 acquired items of the
// simulation server and 8 calculated items each (256 item columns).
// Thread rule: the caller's thread, before the acquisition starts.
class COPCServer;
struct RecordedConfiguration;

// Adds the 16 groups to a connected server.
void AddWideConfiguration(COPCServer& server);
// The same width as a recording holds it: 16 groups of 8 acquired and 8 calculated items.
RecordedConfiguration WideRecordedConfiguration();
