#pragma once
// The engine on a simulation server, a fake clock and a temporary database.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "acquisition/acquisition_engine.h"
#include "db/database_check.h"
#include "opc/default_names.h"
#include "opc/opc_items.h"
#include "opc/opc_read.h"
#include "opc/opc_reconnect.h"
#include "opc/opc_server.h"
#include "platform/sim/sim_ids.h"
#include "platform/sim/sim_runtime.h"
#include "sim_group.h"
#include "sqlite_scalar.h"
#include "temp_dir.h"
#include "test_context.h"

class RecordingObserver : public IAcquisitionObserver {
 public:
  void OnCycle(int, int count, const std::string&, const std::vector<int>& rows) override {
    ++cycles;
    lastCount = count;
    rewritten.insert(rewritten.end(), rows.begin(), rows.end());
  }
  void OnBackup(bool final) override { (final ? finalBackups : automaticBackups)++; }
  // The chart notice of a tick.
  void OnChartUpdate(uint32_t basePeriod) {
    ++chartUpdates;
    lastBasePeriod = basePeriod;
  }
  void OnWindowEndAdjusted(int64_t end) override { adjustedEnd = end; }

  int cycles = 0;
  int lastCount = 0;
  int chartUpdates = 0;
  uint32_t lastBasePeriod = 0;
  int finalBackups = 0;
  int automaticBackups = 0;
  int64_t adjustedEnd = 0;
  std::vector<int> rewritten;
};

class EngineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CSimRuntime::Instance().Reset();
    CSimRuntime::Instance().SetClock(&test.clock);
    server = std::make_unique<COPCServer>(test.context);
    ASSERT_TRUE(server->Connect(kSimServerProgId, kLocalHost, GUID_NULL));
    path = dir.File("Velmora.sq3");
    db = std::make_unique<CSQLite>(test.context);
    db->SetWaitClock(&test.clock);  // lock waits pass on the fake clock, in no real time
    ASSERT_TRUE(CheckVelmoraDatabase(*db, path));
    engine = std::make_unique<CAcquisitionEngine>(test.context, *server, *db, Services());
    engine->SetObserver(&observer);
  }
  AcquisitionServices Services() {
    AcquisitionServices services;
    services.readGroup = [this](COPCGroup& group) { return ReadGroup(*server, group); };
    services.updateStatistics = [](COPCGroup& group) { UpdateReadStatistics(group); };
    services.reconnect = [](COPCServer& target) { return ReconnectServer(target); };
    return services;
  }
  void TearDown() override {
    engine.reset();
    server.reset();
    CSimRuntime::Instance().Reset();
  }

  COPCGroup* AddGroup(const std::string& name, DWORD rate, const std::vector<std::string>& ids,
                      bool active = true) {
    COPCGroup* group = AddSimGroup(*server, name, rate, ids, active);
    EXPECT_NE(group, nullptr);
    return group;
  }

  // One base tick one second after the previous one; its reports are shown after it.
  void Ticks(int count) {
    for (int i = 0; i < count; ++i) {
      test.clock.AdvanceMs(1000);
      const TickOutcome outcome = engine->Tick();
      if (outcome.chartUpdate)
        observer.OnChartUpdate(outcome.basePeriodMs);
      // The backups go where the engine's observer sends those of a Stop.
      if (outcome.backup != BackupDue::kNone)
        backupTarget->OnBackup(outcome.backup == BackupDue::kFinal);
      ShowNotices(test.prompt, outcome.notices);
    }
  }

  std::string Scalar(const std::string& sql) { return SqliteScalar(path, sql); }

  TempDir dir;
  std::string path;
  TestContext test;
  std::unique_ptr<COPCServer> server;
  std::unique_ptr<CSQLite> db;
  std::unique_ptr<CAcquisitionEngine> engine;
  RecordingObserver observer;
  IAcquisitionObserver* backupTarget = &observer;
};
