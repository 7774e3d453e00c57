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
    item->m_sQualifiedId = "Plant." + sShortId;
    item->m_sShortId = sShortId;
    item->m_sDescription = "Description of " + sShortId;
    item->m_vtDataType = vtType;
    return *item;
  }

  static COPCCalcItem& AddCalc(COPCGroup& group, const std::string& sShortId,
                               const std::string& sExpression) {
    COPCCalcItem* item = group.AppendCalcItem();
    item->m_sQualifiedId = sShortId;
    item->m_sShortId = sShortId;
    item->m_sExpression = sExpression;
    item->m_vtDataType = VT_R4;
    return *item;
  }
};
