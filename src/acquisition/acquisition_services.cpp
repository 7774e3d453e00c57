#include "acquisition/acquisition_services.h"

#include "calc/calc_binding.h"
#include "calc/calc_evaluation.h"
#include "opc/opc_read.h"
#include "opc/opc_reconnect.h"
#include "opc/opc_server.h"

AcquisitionServices MakeAcquisitionServices(COPCServer& server, AppContext& /*context*/) {
  AcquisitionServices services;
  services.readGroup = [&server](COPCGroup& group) { return ReadGroup(server, group); };
  services.updateStatistics = [](COPCGroup& group) { UpdateReadStatistics(group); };
  services.bindCalcItems = [](COPCServer& target, IUserPrompt& prompt) {
    return BindCalcItems(target, prompt);
  };
  services.evaluateCalcItems = [](COPCGroup& group) { EvaluateCalcItems(group); };
  services.reconnect = [](COPCServer& target) { return ReconnectServer(target); };
  services.isServerAlive = [](COPCServer& target) { return target.IsAlive(); };
  return services;
}
