// Local time texts into instants: the autumn change's repeated hour kept in row order.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

#include "forward/central_store.h"
#include "forward/forward_session.h"
#include "forward/local_instant.h"
#include "recording_fixture.h"
#include "temp_dir.h"
#include "test_pg_server.h"

namespace {

// Runs the test in a zone, restoring the one before.
class CZone {
 public:
  explicit CZone(const char* zone) {
    const char* old = std::getenv("TZ");
    m_bHad = old != nullptr;
    if (m_bHad)
      m_sOld = old;
    setenv("TZ", zone, 1);
    tzset();
  }
  ~CZone() {
    if (m_bHad)
      setenv("TZ", m_sOld.c_str(), 1);
    else
      unsetenv("TZ");
    tzset();
  }

 private:
  bool m_bHad = false;
  std::string m_sOld;
};

// 2026-10-25 01:00:00 UTC: Berlin goes from 03:00 CEST back to 02:00 CET.
constexpr int64_t kChangeUnixMs = 1792890000000LL;
constexpr int64_t kTenMinutesMs = 600000;

// Berlin's texts every ten minutes from 01:30 CEST to 02:30 CET (the 02:xx texts twice).
std::vector<std::string> TextsAcrossTheChange() {
  std::vector<std::string> texts;
  const char* minutes[] = {"01:30", "01:40", "01:50", "02:00", "02:10", "02:20", "02:30",
                           "02:40", "02:50", "02:00", "02:10", "02:20", "02:30"};
  for (const char* m : minutes)
    texts.push_back(std::string("25/Oct/2026 ") + m + ":00.000");
  return texts;
}

}  // namespace

TEST(LocalInstants, ReadsTheRecordedTimeText) {
  const auto fields = ParseRecordedTime("07/Mar/2026 14:05:09.123");
  ASSERT_TRUE(fields.has_value());
  EXPECT_EQ(fields->day, 7);
  EXPECT_EQ(fields->month, 3);
  EXPECT_EQ(fields->year, 2026);
  EXPECT_EQ(fields->millisecond, 123);
  EXPECT_FALSE(ParseRecordedTime("Undefined").has_value());
  EXPECT_FALSE(ParseRecordedTime("07/Xyz/2026 14:05:09.123").has_value());
}

TEST(LocalInstants, TheRepeatedHourKeepsRowOrder) {
  const CZone zone("Europe/Berlin");
  CLocalInstants instants;
  const std::vector<std::string> texts = TextsAcrossTheChange();
  const int64_t first = kChangeUnixMs - 90 * 60000;  // 01:30 CEST = 23:30 UTC
  for (size_t i = 0; i < texts.size(); ++i) {
    const auto instant = instants.Next(texts[i]);
    ASSERT_TRUE(instant.has_value()) << texts[i];
    EXPECT_EQ(*instant, first + static_cast<int64_t>(i) * kTenMinutesMs) << texts[i];
  }
  EXPECT_EQ(UtcTimestampText(kChangeUnixMs), "2026-10-25 01:00:00.000+00");
}

TEST(LocalInstants, AResumeInsideTheRepeatedHourContinuesFromThePreviousRow) {
  const CZone zone("Europe/Berlin");
  CLocalInstants instants;
  // The row before was 02:50 CEST (00:50 UTC): 02:00 is now the second one.
  instants.SetPrevious(kChangeUnixMs - 10 * 60000);
  EXPECT_EQ(instants.Next("25/Oct/2026 02:00:00.000"), kChangeUnixMs);
  // Without a previous row the first reading is taken.
  CLocalInstants fresh;
  EXPECT_EQ(fresh.Next("25/Oct/2026 02:00:00.000"), kChangeUnixMs - 3600000);
}

TEST(LocalInstants, AZoneWithoutChangesIsPlain) {
  const CZone zone("UTC");
  CLocalInstants instants;
  EXPECT_EQ(instants.Next("25/Oct/2026 01:00:00.250"), kChangeUnixMs + 250);
}

TEST(LocalInstants, TheServerGetsTheRepeatedHourInOrderAcrossTwoPushes) {
  REQUIRE_PG_SERVER(server);
  const CZone zone("Europe/Berlin");
  const std::string url = server->NewDatabase("fall_back");
  TempDir dir;
  CRecordingFixture recording(dir.File("v.sq3"));
  const std::vector<std::string> texts = TextsAcrossTheChange();
  const int id = recording.AddAcquisition({{"Temp"}}, texts.front());
  // The first push stops inside the first 02:xx hour, the second goes on from there.
  const auto push = [&] {
    CForwardSession session;
    std::string error;
    int64_t sent = 0;
    bool done = false;
    ASSERT_TRUE(session.OpenLocal(dir.File("v.sq3"), error) && session.Connect(url, error) &&
                session.SendAcquisition(id, error) && session.SendBatch(id, sent, done, error) &&
                session.SendAcquisition(id, error))
        << error;
  };
  for (size_t i = 0; i < 6; ++i)
    recording.AddRow(id, texts[i], {{std::to_string(i), 0}});
  push();
  for (size_t i = 6; i < texts.size(); ++i)
    recording.AddRow(id, texts[i], {{std::to_string(i), 0}});
  recording.SetEnd(id, texts.back(), static_cast<int>(texts.size()));
  push();
  // The end text 02:30 is the second one, as the last row's.
  EXPECT_EQ(server->Scalar("fall_back",
                           "SELECT to_char(end_time AT TIME ZONE 'UTC', "
                           "'YYYY-MM-DD HH24:MI') FROM velmora_acquisitions"),
            "2026-10-25 01:30");
  EXPECT_EQ(server->Scalar("fall_back", "SELECT count(*) FROM velmora_values"),
            std::to_string(texts.size()));
  // Every row ten minutes after the one before, in UTC.
  EXPECT_EQ(server->Scalar("fall_back",
                           "SELECT count(*) FROM (SELECT time - lag(time) OVER (ORDER BY row_id) "
                           "AS step FROM velmora_values) s WHERE step <> interval '10 minutes'"),
            "0");
  EXPECT_EQ(server->Scalar("fall_back",
                           "SELECT to_char(max(time) AT TIME ZONE 'UTC', "
                           "'YYYY-MM-DD HH24:MI') FROM velmora_values"),
            "2026-10-25 01:30");
}
