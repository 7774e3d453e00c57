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
#include "sim_group.h"
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
    COPCGroup* group = AddSimGroup(*server, name, 1000, ids, true, 0, readInterface);
    EXPECT_NE(group, nullptr);
    return group;
  }

  TestContext ctx;
  std::unique_ptr<COPCServer> server;
};
