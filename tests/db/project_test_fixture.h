#pragma once
// A fresh Velmora database with the whole schema, a server object on the simulation
// servers, and the project store over both. The simulation runtime is reset around every
// case; the fake clock stands at 2026-12-07 10:00:00.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "db/project_state.h"
#include "db/project_store.h"
#include "db/schema.h"
#include "db_test_util.h"
#include "opc/opc_items.h"
#include "platform/sim/sim_ids.h"
#include "platform/sim/sim_runtime.h"
#include "temp_dir.h"
#include "test_context.h"

class ProjectTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CSimRuntime::Instance().Reset();
    CSimRuntime::Instance().SetClock(&ctx.clock);
    path = dir.File("Velmora.sq3");
    db.SetPath(path);
    ASSERT_EQ(db.OpenFile(), DbStatus::kOk);
    ASSERT_TRUE(CreateSchema(db));
    db.Close();
    server = std::make_unique<COPCServer>(ctx.context);
    store = std::make_unique<CProjectStore>(db, *server);
  }
  void TearDown() override {
    store.reset();
    server.reset();
    CSimRuntime::Instance().Reset();
  }

 public:
  // Shared with the helpers of the test files, which build configurations on the fixture.
  bool Connect() { return server->Connect(kSimServerProgId, kLocalHost, GUID_NULL); }

  // A group on the server whose acquired items have the given ids and short ids.
  COPCGroup* AddGroup(const std::string& name, const std::vector<std::string>& ids,
                      const std::vector<std::string>& shortIds, DWORD rate = 1000,
                      bool active = true, float deadBand = 0.0f) {
    COPCGroup* group = server->AddGroup(name, rate, 0, deadBand, 0, kReadSyncCache, active);
    EXPECT_NE(group, nullptr);
    if (group == nullptr)
      return nullptr;
    std::vector<OPCITEMDEF> defs;
    for (const std::string& id : ids) {
      OPCITEMDEF def;
      def.szItemID = id;
      defs.push_back(def);
    }
    EXPECT_TRUE(AddNewItemsToGroup(*server, *group, defs, shortIds));
    return group;
  }
  static COPCCalcItem* AddCalc(COPCGroup& group, const std::string& shortId,
                               const std::string& expression) {
    COPCCalcItem* item = group.AppendCalcItem();
    item->Define(shortId, shortId, shortId, kProjectCalcItemType);
    item->SetExpression(expression);
    return item;
  }
  // What the close-project sequence leaves: no group, no connection.
  void CloseServer() {
    server->RemoveAllGroups();
    server->Disconnect();
  }

  std::vector<std::vector<std::string>> Rows(const std::string& statement) {
    RawConnection raw(path);
    return raw.Rows(statement);
  }
  std::string Value(const std::string& statement) {
    RawConnection raw(path);
    return raw.Value(statement);
  }
  int Exec(const std::string& script) {
    RawConnection raw(path);
    return raw.Exec(script);
  }

  TestContext ctx;
  TempDir dir;
  std::string path;
  CSQLite db{ctx.context};
  std::unique_ptr<COPCServer> server;
  std::unique_ptr<CProjectStore> store;
  CProjectState state;
};
