#include <chrono>
#include <fstream>

#include "documented_config.h"
#include "platform/sim/sim_describe.h"
#include "sim_fixture.h"
#include "temp_dir.h"

using SimConfig = SimTest;

TEST_F(SimConfig, DocumentedExampleLoadsWithoutItsComments) {
  const std::string text = DocumentedSimConfiguration();
  ASSERT_NE(text.find("[network]"), std::string::npos) << "example block not found";
  CSimRuntime& runtime = CSimRuntime::Instance();
  std::string error;
  ASSERT_TRUE(runtime.LoadConfigurationText(text, &error)) << error;
  EXPECT_EQ(runtime.ComputerName(), "BENCH01");
  EXPECT_EQ(runtime.LocalHost().m_sWorkgroup, "LAB");
  EXPECT_TRUE(runtime.NetworkAvailable());
  EXPECT_EQ(runtime.Workgroups(), (std::vector<std::string>{"PLANT", "LAB"}));
  const CSimHost* scada1 = runtime.FindHost("SCADA1");
  ASSERT_NE(scada1, nullptr);
  EXPECT_EQ(scada1->m_sAddress, "10.0.0.5");
  EXPECT_NE(scada1->FindProgId("OPC.ServerList.1"), nullptr);
  const CSimFaults& faults = runtime.FaultsFor("Velmora.SimServer.1");
  EXPECT_EQ(faults.m_nShutdownAfterMs, 600000);
  EXPECT_EQ(faults.m_sShutdownReason, "Planned maintenance #42");
  // No value carries the text of its comment.
  const std::string described = DescribeSimulation(runtime);
  EXPECT_EQ(described.find(';'), std::string::npos) << described;
  EXPECT_EQ(described.find("default"), std::string::npos) << described;
}

TEST_F(SimConfig, CommentsAfterABlankAndQuotedValues) {
  const std::string text =
      "[server A.B.1]   # faults of one server\n"
      "refuse_item = Tank#1*\t; a mark inside a word is kept\n"
      "refuse_item = a;b\n"
      "refuse_item = \" x ; y # z \"\n"
      "refuse_filter = \"\"  ; empty\n"
      "shutdown_reason = Say \"hi\" ; quotes inside a value are kept\n"
      "read_error = 0x80070005 ;\n"
      "slow_read_ms = 25 # ms\n";
  CSimRuntime& runtime = CSimRuntime::Instance();
  std::string error;
  ASSERT_TRUE(runtime.LoadConfigurationText(text, &error)) << error;
  const CSimFaults& faults = runtime.FaultsFor("A.B.1");
  EXPECT_EQ(faults.m_refusedItems, (std::vector<std::string>{"Tank#1*", "a;b", " x ; y # z "}));
  EXPECT_EQ(faults.m_refusedFilters, std::vector<std::string>{""});
  EXPECT_EQ(faults.m_sShutdownReason, "Say \"hi\"");
  EXPECT_EQ(faults.m_hrReadError, E_ACCESSDENIED);
  EXPECT_EQ(faults.m_nSlowReadMs, 25u);

  EXPECT_FALSE(runtime.LoadConfigurationText("[server X]\nshutdown_reason = \"open\n", &error));
  EXPECT_EQ(error, "line 2: unclosed quote");
  EXPECT_FALSE(runtime.LoadConfigurationText("[server X]\nrefuse_item = \"a\" b\n", &error));
  EXPECT_EQ(error, "line 2: only a comment may follow a quoted value");
  EXPECT_FALSE(runtime.LoadConfigurationText("[server X]\nrefuse_item ; = a\n", &error));
  EXPECT_EQ(error, "line 2: expected key = value");
  EXPECT_FALSE(runtime.LoadConfigurationText("[server X] extra\n", &error));
  EXPECT_EQ(error, "line 1: unclosed section header");
}

TEST_F(SimConfig, AnEndlessOrHugeFileIsRefusedUnread) {
  CSimRuntime& runtime = CSimRuntime::Instance();
  std::string error;
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(runtime.LoadConfigurationFile("/dev/zero", &error));
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
  EXPECT_EQ(error, "the simulation configuration /dev/zero is larger than " +
                       std::to_string(kMaxSimConfigBytes) + " bytes");
  TempDir dir;
  const std::string path = dir.File("big.ini");
  std::string text = "[network]\ncomputer = BIG\n";
  text.resize(kMaxSimConfigBytes + 1, '\n');
  std::ofstream(path, std::ios::binary) << text;
  EXPECT_FALSE(runtime.LoadConfigurationFile(path, &error));
  EXPECT_NE(error.find("larger than"), std::string::npos) << error;
  EXPECT_NE(runtime.ComputerName(), "BIG");
  text.resize(kMaxSimConfigBytes);
  std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
  EXPECT_TRUE(runtime.LoadConfigurationFile(path, &error)) << error;
  EXPECT_EQ(runtime.ComputerName(), "BIG");
  ASSERT_EQ(setenv(kSimConfigEnvironmentVariable, "/dev/zero", 1), 0);
  EXPECT_FALSE(runtime.LoadConfigurationFromEnvironment(&error));
  unsetenv(kSimConfigEnvironmentVariable);
}
