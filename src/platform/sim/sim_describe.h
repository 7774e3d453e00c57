#pragma once
// A plain-text account of the simulation runtime: the network with the servers of every
// machine, and the faults in force. For velmora-cli and for diagnostics.
#include <string>

#include "platform/sim/sim_runtime.h"

// One tab-separated line per fact:
//   workgroup <name>
//   host      <\\NAME> <address> <workgroup> reachable|unreachable [local]
//   server    <\\NAME> <program id> <class id> <description>
//   faults    <program id> <key=value>...   (the keys of the configuration file)
std::string DescribeSimulation(const CSimRuntime& runtime);
