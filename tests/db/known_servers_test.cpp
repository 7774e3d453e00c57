// The known servers of recorded acquisitions: the query, its sort columns, and failures
// that are not taken for an empty list.
#include <gtest/gtest.h>

#include "db/known_servers.h"
#include "db/schema.h"
#include "db_test_util.h"
#include "temp_dir.h"
#include "test_context.h"

namespace {

class KnownServers : public ::testing::Test {
 protected:
  void SetUp() override {
    db.SetPath(path);
    ASSERT_EQ(db.OpenFile(), DbStatus::kOk);
    ASSERT_TRUE(CreateSchema(db));
    db.Close();
  }
  void Record(const std::string& values) {
    RawConnection raw(path);
    ASSERT_EQ(raw.Exec("INSERT INTO OPCAcq( OPCAcq_ServerHost, OPCAcq_ServerId, "
                       "OPCAcq_ServerGuid) VALUES " +
                       values + ";"),
              SQLITE_OK);
  }
  static std::vector<std::string> Hosts(const std::vector<KnownServer>& rows) {
    std::vector<std::string> hosts;
    for (const KnownServer& row : rows)
      hosts.push_back(row.m_sHost + "|" + row.m_sServerId + "|" + row.m_sGuidText);
    return hosts;
  }

  TempDir dir;
  std::string path = dir.File("Velmora.sq3");
  TestContext ctx;
  CSQLite db{ctx.context};
};

TEST_F(KnownServers, DistinctPairsSortedByEachColumn) {
  Record(
      "('PLANTSRV01', 'Velmora.SimServer.1', 'b-guid'), ('Local Host', 'Zeta.Server.1', "
      "'c-guid'), ('PLANTSRV01', 'Velmora.SimServer.1', 'b-guid'), ('Bench01', 'Acme.Plant.2', "
      "'a-guid')");
  std::vector<KnownServer> rows;
  EXPECT_EQ(ReadKnownServers(db, KnownServerSort::kHost, rows).Value(), 3);
  EXPECT_EQ(Hosts(rows), (std::vector<std::string>{"Bench01|Acme.Plant.2|a-guid",
                                                   "Local Host|Zeta.Server.1|c-guid",
                                                   "PLANTSRV01|Velmora.SimServer.1|b-guid"}));
  EXPECT_EQ(ReadKnownServers(db, KnownServerSort::kServerId, rows).Value(), 3);
  EXPECT_EQ(Hosts(rows), (std::vector<std::string>{"Bench01|Acme.Plant.2|a-guid",
                                                   "PLANTSRV01|Velmora.SimServer.1|b-guid",
                                                   "Local Host|Zeta.Server.1|c-guid"}));
  Record("('Bench02', 'Old.Server.1', '0-guid')");
  EXPECT_EQ(ReadKnownServers(db, KnownServerSort::kGuid, rows).Value(), 4);
  EXPECT_EQ(rows.front().m_sServerId, "Old.Server.1");
  EXPECT_EQ(rows.back().m_sServerId, "Zeta.Server.1");
  EXPECT_FALSE(db.IsOpen());

  EXPECT_EQ(KnownServersQuery(KnownServerSort::kServerId),
            "SELECT OPCAcq_ServerHost as 'OPC Server Host', OPCAcq_ServerId AS 'OPC Server Id', "
            "OPCAcq_ServerGuid as 'OPC Server Guid' FROM OPCAcq GROUP BY OPCAcq_ServerHost, "
            "OPCAcq_ServerId ORDER BY \"OPC Server Id\"");
  EXPECT_STREQ(kKnownServerCaptions[2], "OPC Server GUID (CLSID)");
}

TEST_F(KnownServers, SortColumnIsOneOfTheResultColumns) {
  KnownServerSort sort = KnownServerSort::kHost;
  EXPECT_TRUE(KnownServerSortFromName("OPC Server Id", sort));
  EXPECT_EQ(sort, KnownServerSort::kServerId);
  EXPECT_TRUE(KnownServerSortFromName("OPC Server Guid", sort));
  EXPECT_EQ(sort, KnownServerSort::kGuid);
  for (const char* refused : {"", "OPCAcq_Id", "opc server host", "1; DROP TABLE OPCAcq"}) {
    sort = KnownServerSort::kServerId;
    EXPECT_FALSE(KnownServerSortFromName(refused, sort)) << refused;
    EXPECT_EQ(sort, KnownServerSort::kServerId) << refused;
  }
}

TEST_F(KnownServers, EmptyTableIsAnEmptyListButFailuresAreNot) {
  std::vector<KnownServer> rows = {{"stale", "stale", "stale"}};
  EXPECT_EQ(ReadKnownServers(db, KnownServerSort::kHost, rows).Value(), 0);
  EXPECT_TRUE(rows.empty());

  RawConnection(path).Exec("DROP TABLE OPCAcq;");
  EXPECT_EQ(ReadKnownServers(db, KnownServerSort::kHost, rows).Status(), DbStatus::kFailed);
  EXPECT_FALSE(db.IsOpen());

  db.SetPath(dir.File("no such folder/Velmora.sq3"));
  EXPECT_EQ(ReadKnownServers(db, KnownServerSort::kHost, rows).Status(), DbStatus::kOpenFailed);
}

}  // namespace
