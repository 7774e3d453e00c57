#include "wide_configuration.h"

#include <string>
#include <vector>

#include "acquisition/acquisition_recorder.h"
#include "opc/default_names.h"
#include "opc/opc_items.h"
#include "opc/opc_server.h"

namespace {

std::vector<std::string> ItemIds() {
  std::vector<std::string> ids;
  const char* generators[] = {"Sine", "Ramp", "Square", "Triangle", "Random", "Counter"};
  const char* types[] = {"I1",  "I2", "I4", "I8",   "UI1",  "UI2",  "UI4",
                         "UI8", "R4", "R8", "BOOL", "BSTR", "DATE", "CY"};
  for (const char* generator : generators) {
    for (const char* type : types)
      ids.push_back(std::string("Signals.") + generator + "." + type);
  }
  const char* machineItems[] = {"SetPoint", "Temperature", "Speed", "Running",
                                "Mode",     "PartsCount",  "Power"};
  for (const char* line : {"Line1", "Line2"}) {
    for (const char* machine : {"Machine1", "Machine2"}) {
      for (const char* item : machineItems) {
        ids.push_back(std::string("Plant.") + line + "." + machine + "." + item);
      }
    }
  }
  for (const char* line : {"Line1", "Line2"}) {
    for (const char* item :
         {"Level", "Volume", "SetPoint", "Temperature", "InletValve", "OutletValve"}) {
      ids.push_back(std::string("Plant.") + line + ".Tank1." + item);
    }
  }
  for (const char* item :
       {"Compressor.Pressure", "Compressor.Running", "Compressor.RunHours", "Power.ActivePower"}) {
    ids.push_back(std::string("Plant.Utilities.") + item);
  }
  ids.resize(128);
  return ids;
}

}  // namespace

void AddWideConfiguration(COPCServer& server) {
  const std::vector<std::string> ids = ItemIds();
  for (int g = 0; g < 16; ++g) {
    COPCGroup* group = server.AddGroup("", 1000, 0, 0.0f, 0, 0, true);
    std::vector<OPCITEMDEF> defs;
    std::vector<std::string> shortIds;
    for (int i = 0; i < 8; ++i) {
      OPCITEMDEF def;
      def.szItemID = ids[static_cast<size_t>(g * 8 + i)];
      defs.push_back(def);
      shortIds.push_back(DefaultAcquiredShortId(g + 1, i));
    }
    AddNewItemsToGroup(server, *group, defs, shortIds);
    for (int c = 0; c < 8; ++c) {
      COPCCalcItem* calc = group->AppendCalcItem();
      const std::string a = shortIds[static_cast<size_t>(c)];
      const std::string b = shortIds[static_cast<size_t>((c + 1) % 8)];
      const std::string d = shortIds[static_cast<size_t>((c + 3) % 8)];
      const std::string name = "G" + std::to_string(g + 1) + "_CALC" + std::to_string(c);
      calc->Define(name, name, calc->Description(), VT_R4);
      calc->SetExpression("(" + a + " + " + b + ") * 0.5 + abs(" + d + " - " + a +
                          ") / 10 + sqrt(2)");
    }
  }
  server.RecountItems();
}

RecordedConfiguration WideRecordedConfiguration() {
  RecordedConfiguration configuration;
  configuration.serverId = "Velmora.SimServer.1";
  configuration.host = "Local Host";
  for (int g = 0; g < 16; ++g) {
    RecordedGroup group;
    group.name = "Group " + std::to_string(g + 1);
    group.updateRate = 1000;
    for (int i = 0; i < 16; ++i) {
      RecordedItem item;
      item.qualifiedId = "Plant.Unit" + std::to_string(g + 1) + ".Signal" + std::to_string(i);
      item.shortId = "G" + std::to_string(g + 1) + "_" + std::to_string(i);
      item.dataType = 5;
      item.itemType = i < 8 ? 0 : 1;
      group.items.push_back(item);
    }
    configuration.groups.push_back(group);
  }
  return configuration;
}
