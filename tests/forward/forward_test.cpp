// Forwarding against a PostgreSQL server of the test's own: push, the forwarder beside a
// growing recording, outages, bad URLs and refused passwords.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "base/settings.h"
#include "forward/acquisition_forwarding.h"
#include "forward/forward_session.h"
#include "forward/forwarder.h"
#include "recording_fixture.h"
#include "temp_dir.h"
#include "test_context.h"
#include "test_pg_server.h"

namespace {

constexpr int kItems = 4;

std::vector<FixtureItem> NumericItems(int count) {
  std::vector<FixtureItem> items;
  for (int i = 0; i < count; ++i)
    items.push_back({"Item" + std::to_string(i)});
  return items;
}

// Pushes the whole acquisition as the push command does; rows sent, -1 on failure.
int64_t Push(const std::string& database, const std::string& url, int id, int batchRows = 0,
             std::string* failure = nullptr) {
  CForwardSession session;
  session.SetBatchRows(batchRows);
  std::string error;
  int64_t total = 0;
  bool done = false;
  bool ok = session.OpenLocal(database, error) && session.Connect(url, error) &&
            session.SendAcquisition(id, error);
  while (ok && !done) {
    int64_t sent = 0;
    ok = session.SendBatch(id, sent, done, error);
    total += sent;
  }
  session.FlushConfirmed();
  if (failure != nullptr)
    *failure = error;
  return ok ? total : -1;
}

std::string Count(CTestPgServer* server, const std::string& db, const std::string& where) {
  return server->Scalar(db, "SELECT count(*) FROM velmora_values WHERE " + where);
}

std::string Duplicates(CTestPgServer* server, const std::string& db) {
  return server->Scalar(db,
                        "SELECT count(*) FROM (SELECT 1 FROM velmora_values GROUP BY station, "
                        "acquisition, row_id, item HAVING count(*) > 1) d");
}

bool WaitFor(const std::function<bool()>& condition, int ms) {
  for (int waited = 0; waited < ms; waited += 20) {
    if (condition())
      return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return condition();
}

bool Contains(const std::vector<std::string>& lines, const std::string& text) {
  for (const std::string& line : lines) {
    if (line.find(text) != std::string::npos)
      return true;
  }
  return false;
}

}  // namespace

TEST(Push, SendsEveryRowOnceWithItsValuesAndARepeatAddsNothing) {
  REQUIRE_PG_SERVER(server);
  const std::string url = server->NewDatabase("push_once");
  TempDir dir;
  CRecordingFixture recording(dir.File("v.sq3"));
  ASSERT_TRUE(recording.Ok());
  const int id = recording.AddAcquisition({{"Temp"}, {"Name", 8}, {"Flag", 11}, {"Calc", 5, true}},
                                          FixtureTimeText(0));
  recording.AddRow(id, FixtureTimeText(0), {{"1.5", 0}, {"a;b\tc", 0}, {"-1", 1}, {"3", 4}});
  recording.AddRow(id, FixtureTimeText(1), {{"", 1}, {"", 2}, {"0", 0}, {"1e3", 0}});
  recording.SetEnd(id, FixtureTimeText(1), 2);

  EXPECT_EQ(Push(dir.File("v.sq3"), url, id), 2);
  const std::string db = "push_once";
  EXPECT_EQ(Count(server, db, "true"), "8");
  EXPECT_EQ(server->Scalar(db,
                           "SELECT value FROM velmora_values WHERE item = 'Temp' AND "
                           "row_id = (SELECT min(row_id) FROM velmora_values)"),
            "1.5");
  EXPECT_EQ(server->Scalar(db,
                           "SELECT text_value FROM velmora_values WHERE item = 'Name' AND "
                           "value IS NULL ORDER BY row_id LIMIT 1"),
            "a;b\tc");
  EXPECT_EQ(Count(server, db, "item = 'Flag' AND value = -1 AND quality = 'bad'"), "1");
  EXPECT_EQ(Count(server, db, "item = 'Calc' AND value = 3 AND interpolated"), "1");
  EXPECT_EQ(Count(server, db, "item = 'Calc' AND value = 1000"), "1");
  EXPECT_EQ(Count(server, db, "item = 'Temp' AND value IS NULL AND text_value IS NULL"), "1");
  EXPECT_EQ(Count(server, db, "item = 'Name' AND quality = 'inactive'"), "1");
  EXPECT_EQ(server->Scalar(db, "SELECT data_count FROM velmora_acquisitions"), "2");
  EXPECT_EQ(server->Scalar(db, "SELECT count(*) FROM velmora_items WHERE calculated"), "1");
  // The local note of progress: the last row confirmed by this destination.
  EXPECT_EQ(recording.Count("SELECT ForwardProgress_RowId FROM ForwardProgress"), 2);

  // Again: nothing new is sent, nothing doubled.
  EXPECT_EQ(Push(dir.File("v.sq3"), url, id), 0);
  EXPECT_EQ(Count(server, db, "true"), "8");
  EXPECT_EQ(Duplicates(server, db), "0");
}

TEST(Push, ResumesFromWhatTheServerHoldsInBatches) {
  REQUIRE_PG_SERVER(server);
  const std::string url = server->NewDatabase("push_resume");
  TempDir dir;
  CRecordingFixture recording(dir.File("v.sq3"));
  const int id = recording.AddAcquisition(NumericItems(kItems), FixtureTimeText(0));
  recording.AddNumberedRows(id, 0, 25, kItems);
  EXPECT_EQ(Push(dir.File("v.sq3"), url, id, 7), 25);
  recording.AddNumberedRows(id, 25, 10, kItems);
  // A new session (a new program) starts after the server's last row.
  EXPECT_EQ(Push(dir.File("v.sq3"), url, id, 7), 10);
  EXPECT_EQ(Count(server, "push_resume", "true"), std::to_string(35 * kItems));
  EXPECT_EQ(server->Scalar("push_resume", "SELECT count(DISTINCT row_id) FROM velmora_values"),
            "35");
  EXPECT_EQ(Duplicates(server, "push_resume"), "0");
}

TEST(Push, TheStationKeepsItsIdentity) {
  REQUIRE_PG_SERVER(server);
  const std::string url = server->NewDatabase("push_station");
  TempDir dir;
  CRecordingFixture recording(dir.File("v.sq3"));
  const int first = recording.AddAcquisition(NumericItems(2), FixtureTimeText(0));
  recording.AddNumberedRows(first, 0, 3, 2);
  const int second = recording.AddAcquisition(NumericItems(2), FixtureTimeText(10));
  recording.AddNumberedRows(second, 10, 3, 2);
  EXPECT_EQ(Push(dir.File("v.sq3"), url, first), 3);
  EXPECT_EQ(Push(dir.File("v.sq3"), url, second), 3);
  EXPECT_EQ(server->Scalar("push_station", "SELECT count(*) FROM velmora_stations"), "1");
  EXPECT_EQ(server->Scalar("push_station", "SELECT count(DISTINCT station) FROM velmora_values"),
            "1");
  EXPECT_EQ(recording.Count("SELECT count(*) FROM ForwardStation"), 1);
}

TEST(Connection, ABadUrlIsToldAndNothingIsSent) {
  REQUIRE_PG_SERVER(server);
  TempDir dir;
  CRecordingFixture recording(dir.File("v.sq3"));
  const int id = recording.AddAcquisition(NumericItems(2), FixtureTimeText(0));
  recording.AddNumberedRows(id, 0, 3, 2);
  std::string failure;
  EXPECT_EQ(Push(dir.File("v.sq3"), "this is not a url", id, 0, &failure), -1);
  EXPECT_NE(failure.find("bad connection URL"), std::string::npos) << failure;
  // A well-formed URL of a database that is not there.
  EXPECT_EQ(Push(dir.File("v.sq3"), server->Url("no_such_database"), id, 0, &failure), -1);
  EXPECT_NE(failure.find("no_such_database"), std::string::npos) << failure;
}

TEST(Connection, ARefusedPasswordIsToldAsSuch) {
  REQUIRE_PG_SERVER(server);
  server->NewDatabase("guarded_db");
  TempDir dir;
  CRecordingFixture recording(dir.File("v.sq3"));
  const int id = recording.AddAcquisition(NumericItems(2), FixtureTimeText(0));
  recording.AddNumberedRows(id, 0, 3, 2);
  CForwardSession session;
  std::string error;
  ASSERT_TRUE(session.OpenLocal(dir.File("v.sq3"), error)) << error;
  EXPECT_FALSE(session.Connect(server->GuardedUrl("guarded_db", "wrong-password"), error));
  EXPECT_TRUE(session.LastFailureWasAuthentication());
  EXPECT_NE(error.find("password authentication failed"), std::string::npos) << error;
  // The forwarder tells it in its log and leaves every row waiting.
  CForwarder forwarder;
  ForwarderOptions options;
  options.databasePath = dir.File("v.sq3");
  options.url = server->GuardedUrl("guarded_db", "wrong-password");
  options.acquisitionId = id;
  forwarder.Start(options);
  forwarder.Finish(600);
  EXPECT_TRUE(Contains(forwarder.TakeMessages(), "Refused the Connection"));
  EXPECT_EQ(forwarder.Forwarded(), 0);
  EXPECT_EQ(forwarder.Waiting(), 3);
  // The password is never written in a log line.
  EXPECT_EQ(PgUrlForLog(options.url).find("wrong-password"), std::string::npos);
  // With the right password it goes through.
  EXPECT_EQ(Push(dir.File("v.sq3"), server->GuardedUrl("guarded_db", "right-password"), id), 3);
}

TEST(Forwarder, FollowsAGrowingRecordingAndCatchesUpAtTheEnd) {
  REQUIRE_PG_SERVER(server);
  const std::string url = server->NewDatabase("follow");
  TempDir dir;
  CRecordingFixture recording(dir.File("v.sq3"));
  const int id = recording.AddAcquisition(NumericItems(kItems), FixtureTimeText(0));
  CForwarder forwarder;
  ForwarderOptions options;
  options.databasePath = dir.File("v.sq3");
  options.url = url;
  options.acquisitionId = id;
  options.project = "Demo";
  options.idlePauseMs = 50;
  forwarder.Start(options);
  for (int n = 0; n < 20; ++n) {
    recording.AddNumberedRows(id, n, 1, kItems);
    forwarder.Notify();
    std::this_thread::sleep_for(std::chrono::milliseconds(15));
  }
  // It keeps up while the rows come, not only at the end.
  EXPECT_TRUE(WaitFor([&] { return forwarder.Forwarded() == 20; }, 5000));
  recording.SetEnd(id, FixtureTimeText(19), 20);
  forwarder.Finish(5000);
  EXPECT_EQ(forwarder.Forwarded(), 20);
  EXPECT_EQ(forwarder.Waiting(), 0);
  EXPECT_EQ(server->Scalar("follow", "SELECT count(DISTINCT row_id) FROM velmora_values"), "20");
  EXPECT_EQ(server->Scalar("follow",
                           "SELECT data_count::text || ' ' || project FROM "
                           "velmora_acquisitions"),
            "20 Demo");
  EXPECT_TRUE(Contains(forwarder.TakeMessages(), "Forwarding Acquisition"));
}

TEST(Forwarder, AnOutageInTheMiddleLosesNothingAndDoublesNothing) {
  REQUIRE_PG_SERVER(server);
  const std::string url = server->NewDatabase("outage");
  TempDir dir;
  CRecordingFixture recording(dir.File("v.sq3"));
  const int id = recording.AddAcquisition(NumericItems(kItems), FixtureTimeText(0));
  CForwarder forwarder;
  ForwarderOptions options;
  options.databasePath = dir.File("v.sq3");
  options.url = url;
  options.acquisitionId = id;
  options.idlePauseMs = 50;
  options.firstPauseMs = 50;
  options.maxPauseMs = 400;
  forwarder.Start(options);
  recording.AddNumberedRows(id, 0, 10, kItems);
  ASSERT_TRUE(WaitFor([&] { return forwarder.Forwarded() == 10; }, 5000));
  ASSERT_TRUE(server->Stop());
  for (int n = 10; n < 20; ++n) {
    recording.AddNumberedRows(id, n, 1, kItems);
    std::this_thread::sleep_for(std::chrono::milliseconds(40));
  }
  ASSERT_TRUE(server->Start());
  recording.AddNumberedRows(id, 20, 5, kItems);
  forwarder.Finish(10000);
  const std::vector<std::string> messages = forwarder.TakeMessages();
  EXPECT_TRUE(Contains(messages, "Cannot Forward to PostgreSQL") ||
              Contains(messages, "Forwarding to PostgreSQL Interrupted"));
  EXPECT_EQ(forwarder.Forwarded(), 25);
  EXPECT_EQ(forwarder.Waiting(), 0);
  EXPECT_EQ(server->Scalar("outage", "SELECT count(DISTINCT row_id) FROM velmora_values"), "25");
  EXPECT_EQ(Count(server, "outage", "true"), std::to_string(25 * kItems));
  EXPECT_EQ(Duplicates(server, "outage"), "0");
}

TEST(Forwarder, AServerDownForTheWholeRunLeavesEveryRowWaitingThenAPushDeliversThem) {
  REQUIRE_PG_SERVER(server);
  const std::string url = server->NewDatabase("down");
  TempDir dir;
  CRecordingFixture recording(dir.File("v.sq3"));
  const int id = recording.AddAcquisition(NumericItems(kItems), FixtureTimeText(0));
  ASSERT_TRUE(server->Stop());
  CForwarder forwarder;
  ForwarderOptions options;
  options.databasePath = dir.File("v.sq3");
  options.url = url;
  options.acquisitionId = id;
  options.firstPauseMs = 50;
  forwarder.Start(options);
  recording.AddNumberedRows(id, 0, 8, kItems);
  forwarder.Finish(500);
  const bool restarted = server->Start();
  ASSERT_TRUE(restarted);
  const std::vector<std::string> messages = forwarder.TakeMessages();
  EXPECT_TRUE(Contains(messages, "Cannot Forward to PostgreSQL"));
  // Said once, not at each retry.
  int said = 0;
  for (const std::string& line : messages)
    said += line.find("Cannot Forward") != std::string::npos ? 1 : 0;
  EXPECT_EQ(said, 1);
  EXPECT_EQ(forwarder.Forwarded(), 0);
  EXPECT_EQ(forwarder.Waiting(), 8);
  EXPECT_FALSE(forwarder.LastFailure().empty());
  // The recording itself is whole.
  EXPECT_EQ(recording.Count("SELECT count(*) FROM OPCAcqData"), 8);
  EXPECT_EQ(Push(dir.File("v.sq3"), url, id), 8);
  EXPECT_EQ(Count(server, "down", "true"), std::to_string(8 * kItems));
}

TEST(ProgramForwarding, OffWithoutTheSetting) {
  TestContext test;
  CAcquisitionForwarding forwarding(test.context);
  forwarding.OnStarted("/nonexistent.sq3", 1, "Demo");
  EXPECT_FALSE(forwarding.IsActive());
}

TEST(ProgramForwarding, TheSettingForwardsTheAcquisitionAndTheEndIsLogged) {
  REQUIRE_PG_SERVER(server);
  const std::string url = server->NewDatabase("program");
  TempDir dir;
  CRecordingFixture recording(dir.File("v.sq3"));
  const int id = recording.AddAcquisition(NumericItems(kItems), FixtureTimeText(0));
  TestContext test;
  settings::Write(test.settings, settings::kForwardTo, url);
  CAcquisitionForwarding forwarding(test.context);
  forwarding.OnStarted(dir.File("v.sq3"), id, "Demo");
  ASSERT_TRUE(forwarding.IsActive());
  for (int n = 0; n < 5; ++n) {
    recording.AddNumberedRows(id, n, 1, kItems);
    forwarding.OnTick();
  }
  forwarding.OnStopped(5000);
  // The stop does not wait: the ticks see the end come.
  EXPECT_TRUE(WaitFor(
      [&] {
        forwarding.OnTick();
        return !forwarding.IsActive();
      },
      8000));
  EXPECT_TRUE(
      test.sink.Contains("Forwarding to PostgreSQL Ended: 5 forwarded ...", kLogDataAcquisition))
      << test.sink.Dump();
  EXPECT_EQ(server->Scalar("program", "SELECT count(DISTINCT row_id) FROM velmora_values"), "5");
}

TEST(Forwarder, RowsStillToBeInterpolatedWaitUntilTheySettleOrTheEnd) {
  REQUIRE_PG_SERVER(server);
  const std::string url = server->NewDatabase("settle");
  TempDir dir;
  CRecordingFixture recording(dir.File("v.sq3"));
  const int id = recording.AddAcquisition(NumericItems(kItems), FixtureTimeText(0));
  CForwarder forwarder;
  ForwarderOptions options;
  options.databasePath = dir.File("v.sq3");
  options.url = url;
  options.acquisitionId = id;
  options.idlePauseMs = 20;
  forwarder.SetUnsettledRows(3);
  forwarder.Start(options);
  recording.AddNumberedRows(id, 0, 10, kItems);
  forwarder.Notify();
  // The last three rows may still change: seven go.
  EXPECT_TRUE(WaitFor([&] { return forwarder.Forwarded() == 7; }, 5000));
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  EXPECT_EQ(forwarder.Forwarded(), 7);
  // The slower group writes: the rows settle and go.
  forwarder.SetUnsettledRows(1);
  forwarder.Notify();
  EXPECT_TRUE(WaitFor([&] { return forwarder.Forwarded() == 9; }, 5000));
  forwarder.Finish(5000);
  EXPECT_EQ(forwarder.Forwarded(), 10);
  EXPECT_EQ(forwarder.Waiting(), 0);
  EXPECT_EQ(server->Scalar("settle", "SELECT count(DISTINCT row_id) FROM velmora_values"), "10");
}
