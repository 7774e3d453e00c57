// Fuzz entry point of the simulation configuration (VELMORA_SIM_CONFIG): any text is
// applied or refused with a message, and a refused text changes nothing.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/sim/sim_runtime.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize) {
  const std::string text(reinterpret_cast<const char*>(pData), nSize);
  CSimRuntime& runtime = CSimRuntime::Instance();
  runtime.Reset();
  const size_t hosts = runtime.RemoteHosts().size();
  const size_t faults = runtime.AllFaults().size();
  const std::string computer = runtime.ComputerName();
  std::string error;
  if (runtime.LoadConfigurationText(text, &error))
    return 0;
  if (error.empty())
    std::abort();
  if (runtime.RemoteHosts().size() != hosts || runtime.AllFaults().size() != faults ||
      runtime.ComputerName() != computer)
    std::abort();
  return 0;
}
