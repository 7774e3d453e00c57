#include <gtest/gtest.h>

#include "base/log.h"
#include "base/report.h"
#include "base/rtf.h"
#include "base/settings.h"
#include "base/time_text.h"
#include "recording_log_sink.h"

TEST(LogLine, FormatsDayMonthNameYearAndTime) {
  FakeClock clock(LocalTime{2026, 3, 5, 9, 4, 7, 0, 4});
  RecordingLogSink sink;
  CLog log(clock, &sink);
  log.Log("Hello", kLogProjects);
  ASSERT_EQ(sink.lines.size(), 1u);
  EXPECT_EQ(sink.lines[0].text, "05/Mar/2026 09:04:07: Hello");
  EXPECT_EQ(sink.lines[0].channel, 3);
}

TEST(LogLine, EveryMonthHasItsThreeLetterName) {
  const char* expected[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                            "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  for (int month = 1; month <= 12; ++month) {
    EXPECT_STREQ(MonthAbbreviation(month), expected[month - 1]);
  }
  EXPECT_EQ(FormatLogLine(LocalTime{2026, 12, 7, 23, 50, 1, 0, 1}, "x"), "07/Dec/2026 23:50:01: x");
}

TEST(LogLine, ChannelsOutsideZeroToThreeAreIgnored) {
  FakeClock clock;
  RecordingLogSink sink;
  CLog log(clock, &sink);
  log.Log("minus", -1);
  log.Log("four", 4);
  EXPECT_TRUE(sink.lines.empty());
}

TEST(LogLine, LinesBeforeTheFirstSinkReachItOldestFirstLaterOnesAreDropped) {
  FakeClock clock;
  CLog log(clock);
  log.Log("first", 0);
  log.Log("second", 3);
  RecordingLogSink sink;
  log.SetSink(&sink);
  ASSERT_EQ(sink.lines.size(), 2u);
  EXPECT_NE(sink.lines[0].text.find("first"), std::string::npos);
  EXPECT_EQ(sink.lines[1].channel, 3);
  log.SetSink(nullptr);  // the pane went away
  log.Log("gone", 0);
  RecordingLogSink later;
  log.SetSink(&later);
  EXPECT_TRUE(later.lines.empty());
}

TEST(Report, BuilderComposesTheFixedPiecesInOrder) {
  CReportBuilder report;
  report.ErrorHeading("Error occured while Connecting to OPC Server")
      .Explanation("Something failed")
      .Detail("Server Id", "Sim.Server.1")
      .Closing("Please Check");
  EXPECT_EQ(report.Body(),
            "{\\f1\\cb5\\cf5\\b Error occured while Connecting to OPC Server} \\par\\par \\fs18 "
            "Something failed \\par\\par Server Id: {\\b Sim.Server.1}\\par \\par {\\f1 \\b Please "
            "Check} \\par}");
  EXPECT_EQ(CReportBuilder().RequestHeading("R").Body(), "{\\f1\\cb1\\cf2\\b R}");
  EXPECT_EQ(CReportBuilder().ServerRequestHeading("S").Body(), "{\\f1\\cb4\\cf2\\b S}");
  EXPECT_EQ(ReportWindowTitle("Confirmation Request"), "Velmora 2.0 Confirmation Request");
}

TEST(Report, ButtonModesAndHelpLinks) {
  EXPECT_EQ(ReportButtonsForMode(1).first, "Ok");
  EXPECT_EQ(ReportButtonsForMode(1).second, "Cancel");
  EXPECT_EQ(ReportButtonsForMode(4).first, "Yes");
  EXPECT_EQ(ReportButtonsForMode(4).second, "No");
  EXPECT_TRUE(ReportButtonsForMode(0).second.empty());
  EXPECT_TRUE(ReportButtonsForMode(7).second.empty());
  EXPECT_NE(ReportHelpUrl(0x800706BA), "Unknown URL");
  EXPECT_EQ(ReportHelpUrl(0), "Unknown URL");
  EXPECT_EQ(ReportHelpUrl(0x80004005), "Unknown URL");
}

TEST(Rtf, ReportTextKeepsColoursBoldAndParagraphs) {
  const std::string body =
      "{\\f1\\cb5\\cf5\\b Unable to Get Velmora Database Path} \\par\\par \\fs18 Without "
      "Database, Velmora is unable to work ... End of Job ... \\par \\par {\\f1 \\b Please "
      "Restart Velmora 2.0 and Provide a Valid Path to Velmora.sq3} \\par}";
  const RtfDocument doc = ParseRtf(ReportDocument(body));
  ASSERT_EQ(doc.colours.size(), 6u);
  EXPECT_EQ(doc.colours[5].red, 255);
  EXPECT_EQ(doc.colours[2].blue, 255);
  ASSERT_GE(doc.paragraphs.size(), 4u);
  const RtfRun& heading = doc.paragraphs[0][0];
  EXPECT_EQ(heading.text, "Unable to Get Velmora Database Path");
  EXPECT_TRUE(heading.bold);
  EXPECT_EQ(heading.foreColour, 5);
  EXPECT_EQ(heading.fontHalfPoints, 20);
  EXPECT_EQ(doc.paragraphs[2][0].fontHalfPoints, 18);
  EXPECT_FALSE(doc.paragraphs[2][0].bold);
  const std::string html = RtfToHtml(ReportDocument(body));
  EXPECT_NE(html.find("color:#ff0000"), std::string::npos);
  EXPECT_NE(html.find("font-weight:bold"), std::string::npos);
  EXPECT_EQ(html.find("\\"), std::string::npos) << "no raw control word may show";
}

TEST(Rtf, UnknownControlWordsAndEscapesNeverShowRaw) {
  EXPECT_EQ(RtfToPlainText("{\\rtf1 a\\unknownword12 b\\{c\\}\\\\d \\'41}"), "ab{c}\\d A");
  EXPECT_EQ(RtfToPlainText("{x {\\b y\\b0 z}}"), "x yz");
}

TEST(Settings, EmptyStoreGivesTheDefaultsAndWritesFailSilently) {
  InMemorySettingsStore store;
  EXPECT_EQ(settings::Read(store, settings::kDataPath), "None");
  EXPECT_EQ(settings::Read(store, settings::kChartTimeSpan), 60);
  EXPECT_EQ(settings::Read(store, settings::kDecimalNbr), 2);
  EXPECT_EQ(settings::Read(store, settings::kInterpolatedColor), 14784596);
  EXPECT_EQ(settings::Read(store, settings::kInactiveColor), 4210752);
  EXPECT_EQ(settings::Read(store, settings::kChartBkgColor), 16767935);
  EXPECT_EQ(settings::Read(store, settings::kSaveGraphImgExt), "jpeg");
  store.SetWritesFail(true);
  settings::Write(store, settings::kDecimalNbr, 5);
  EXPECT_EQ(settings::Read(store, settings::kDecimalNbr), 2);
  store.SetWritesFail(false);
  settings::Write(store, settings::kDecimalNbr, 5);
  EXPECT_EQ(settings::Read(store, settings::kDecimalNbr), 5);
}

TEST(Clock, FakeClockAdvancesAndConvertsToFileTime) {
  FakeClock clock(LocalTime{2026, 3, 3, 9, 5, 7, 42, 2});
  EXPECT_EQ(FormatTimeStampMs(clock.LocalNow()), "03/Mar/2026 09:05:07.042");
  clock.AdvanceMs(1250);
  EXPECT_EQ(FormatTimeStampMs(clock.LocalNow()), "03/Mar/2026 09:05:08.292");
  EXPECT_EQ(FormatTimeStampMs(LocalTimeFromFileTime(clock.LocalFileTimeNow())),
            "03/Mar/2026 09:05:08.292");
  EXPECT_EQ(clock.TickCount(), 1250u);
  const LocalTime leap =
      LocalTimeFromUnixMs(UnixMsFromLocalTime(LocalTime{2024, 2, 29, 23, 59, 59, 999, 0}) + 1);
  EXPECT_EQ(leap.month, 3);
  EXPECT_EQ(leap.day, 1);
}
