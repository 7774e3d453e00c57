#pragma once
// A server with groups and items built directly in memory (no OPC server behind it), for
// the calculated-item tests.
#include <memory>
#include <string>

#include "opc/opc_server.h"
#include "opc_model_access.h"
#include "test_context.h"

struct CalcTestServer {
  TestContext test;
  COPCServer server{test.context};

  COPCGroup& AddGroup(const std::string& sName) {
    return COPCModelAccess::AddOfflineGroup(server, sName);
  }

  static COPCItem& AddAcquired(COPCGroup& group, const std::string& sShortId,
                               VARTYPE vtType = VT_R8) {
    COPCItem* item = group.AppendAcquiredItem();
    item->Define("Plant." + sShortId, sShortId, "Description of " + sShortId, vtType);
    return *item;
  }

  // A value as a read brings it (quality and time stamp unchanged).
  static void SetValue(COPCItem& item, const VARIANT& value) {
    item.SetReadResult(value, item.Quality(), item.TimeStamp(), S_OK);
  }

  static COPCCalcItem& AddCalc(COPCGroup& group, const std::string& sShortId,
                               const std::string& sExpression) {
    COPCCalcItem* item = group.AppendCalcItem();
    item->Define(sShortId, sShortId, item->Description(), VT_R4);
    item->SetExpression(sExpression);
    return *item;
  }
};
