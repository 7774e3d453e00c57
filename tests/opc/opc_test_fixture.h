#pragma once
// A server object on the simulation servers, with a fake clock, a recorded log and a
// scripted prompt. The simulation runtime is reset around every case.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "opc/default_names.h"
#include "opc/opc_items.h"
#include "opc/opc_server.h"
#include "platform/sim/sim_ids.h"
#include "platform/sim/sim_runtime.h"
#include "test_context.h"

class OpcServerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CSimRuntime::Instance().Reset();
    CSimRuntime::Instance().SetClock(&ctx.clock);
    server = std::make_unique<COPCServer>(ctx.context);
  }
  void TearDown() override {
    server.reset();
    CSimRuntime::Instance().Reset();
  }

  bool ConnectFull() { return server->Connect(kSimServerProgId, kLocalHost, GUID_NULL); }

  // A group on the server with the given items (short ids G<n>_A000...); asserts that
  // every item was accepted.
  COPCGroup* AddGroupWithItems(const std::string& name, const std::vector<std::string>& ids,
                               uint32_t readInterface = kReadSyncCache) {
    COPCGroup* group = server->AddGroup(name, 1000, 0, 0.0f, 0, readInterface, true);
    EXPECT_NE(group, nullptr);
    if (group == nullptr)
      return nullptr;
    const int number = server->GroupIndex(group) + 1;
    std::vector<OPCITEMDEF> defs;
    std::vector<std::string> shortIds;
    for (size_t i = 0; i < ids.size(); ++i) {
      OPCITEMDEF def;
      def.szItemID = ids[i];
      defs.push_back(def);
      shortIds.push_back(DefaultAcquiredShortId(number, static_cast<int>(i)));
    }
    EXPECT_TRUE(AddNewItemsToGroup(*server, *group, defs, shortIds));
    return group;
  }

  TestContext ctx;
  std::unique_ptr<COPCServer> server;
};
