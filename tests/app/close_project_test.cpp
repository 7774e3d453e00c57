#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/close_project.h"
#include "base/report.h"
#include "base/report_cancel.h"
#include "base/rtf.h"
#include "scripted_user_prompt.h"

namespace {

class FakeSession : public CUnconnectedProjectSession {
 public:
  bool IsAcquisitionRunning() const override { return running; }
  void StopAcquisition() override {
    calls.push_back("stop");
    running = false;
  }
  bool SaveProject() override {
    calls.push_back("save");
    return saveSucceeds;
  }
  void RemoveGroupsAndDisconnect() override { calls.push_back("disconnect"); }
  std::string ServerId() const override { return "Velmora.Sim.DA2"; }
  std::string ServerHost() const override { return "Local Host"; }
  void ClearServerName() override { calls.push_back("clear name"); }

  bool running = false;
  bool saveSucceeds = true;
  std::vector<std::string> calls;
};

class FakeFrame : public ICloseProjectFrame {
 public:
  bool HasSessionViews() const override { return hasViews; }
  void ResetSessionViews() override { ++resets; }
  void RunPendingMessages(int milliseconds) override { settledMs += milliseconds; }
  void SetWaitCursor(bool wait) override { waitCursor.push_back(wait); }
  void CloseOpenDialogs() override {
    if (++dialogCloses == 1 && sessionCalls != nullptr)
      callsBeforeDialogsClosed = *sessionCalls;
  }

  bool hasViews = true;
  int dialogCloses = 0;
  const std::vector<std::string>* sessionCalls = nullptr;
  std::vector<std::string> callsBeforeDialogsClosed;
  int resets = 0;
  int settledMs = 0;
  std::vector<bool> waitCursor;
};

struct Fixture {
  FakeSession session;
  FakeFrame frame;
  ScriptedUserPrompt prompt;
  CCloseProjectSequence sequence{session, frame, prompt};
};

}  // namespace

TEST(CloseProject, NothingRunningClosesWithoutAsking) {
  Fixture f;
  EXPECT_TRUE(f.sequence.Run(false));
  EXPECT_TRUE(f.prompt.reports.empty());
  EXPECT_EQ(f.session.calls, (std::vector<std::string>{"disconnect", "clear name"}));
  EXPECT_EQ(f.frame.resets, 1);
  EXPECT_EQ(f.frame.waitCursor, (std::vector<bool>{true, false}));
}

TEST(CloseProject, AMissingSessionViewKeepsTheProjectOpen) {
  Fixture f;
  f.frame.hasViews = false;
  f.session.running = true;
  EXPECT_FALSE(f.sequence.Run(false));
  EXPECT_TRUE(f.prompt.reports.empty());
  EXPECT_TRUE(f.session.calls.empty());
  EXPECT_EQ(f.frame.resets, 0);
}

TEST(CloseProject, RunningAcquisitionAsksForTheStopAndCancelKeepsItRunning) {
  Fixture f;
  f.session.running = true;
  f.prompt.reportAnswers.push_back(2);
  EXPECT_FALSE(f.sequence.Run(false));
  ASSERT_EQ(f.prompt.reports.size(), 1u);
  const ReportRequest& report = f.prompt.reports[0];
  EXPECT_EQ(report.title, "Confirmation Request");
  EXPECT_EQ(report.buttonMode, 1);
  EXPECT_EQ(report.body,
            "{\\f1\\cb1\\cf2\\b Request for Data Acquisition Stop} \\par\\par \\fs18 Data "
            "Acquisition is started ... \\par\\par Server Id: {\\b Velmora.Sim.DA2}\\par OPC "
            "Server Host: {\\b Local Host}\\par \\par {\\f1 \\b Please Confirm Data Acquisition "
            "Stop} \\par}");
  EXPECT_TRUE(f.session.running);
  EXPECT_TRUE(f.session.calls.empty());
}

TEST(CloseProject, ConfirmedStopStopsThenDisconnects) {
  Fixture f;
  f.session.running = true;
  f.prompt.reportAnswers.push_back(1);
  EXPECT_TRUE(f.sequence.Run(false));
  EXPECT_EQ(f.session.calls, (std::vector<std::string>{"stop", "disconnect", "clear name"}));
}

TEST(CloseProject, AServerShutdownStopsWithoutAskingAndSaysWhoAsked) {
  Fixture f;
  f.session.running = true;
  f.session.SetProjectModified(true);
  f.prompt.reportAnswers.push_back(2);  // do not save
  EXPECT_TRUE(f.sequence.Run(true));
  ASSERT_EQ(f.prompt.reports.size(), 1u);
  EXPECT_EQ(f.prompt.reports[0].buttonMode, 4);
  EXPECT_EQ(f.prompt.reports[0].body,
            "{\\f1\\cb4\\cf2\\b Shutdown Request Triggered by OPC Server !!!} \\par\\par \\fs18 "
            "Velmora already stops Data Acquisition and now needs to Close the current Project "
            "... \\par\\par Server Id: {\\b Velmora.Sim.DA2}\\par OPC Server Host: {\\b Local "
            "Host}\\par \\par {\\f1 \\b Do you Want to Save changes made to Velmora Project ?} "
            "\\par}");
  EXPECT_EQ(f.session.calls, (std::vector<std::string>{"stop", "disconnect", "clear name"}));
  EXPECT_FALSE(f.session.IsProjectModified());
  EXPECT_EQ(f.frame.settledMs, 200);
}

TEST(CloseProject, OpenDialogsEndBeforeTheGroupsGo) {
  Fixture f;
  f.frame.sessionCalls = &f.session.calls;
  f.session.running = true;
  f.prompt.reportAnswers.push_back(1);
  EXPECT_TRUE(f.sequence.Run(false));
  EXPECT_GE(f.frame.dialogCloses, 1);
  EXPECT_EQ(f.frame.callsBeforeDialogsClosed, (std::vector<std::string>{"stop"}));

  Fixture server;
  server.frame.sessionCalls = &server.session.calls;
  server.session.running = true;
  EXPECT_TRUE(server.sequence.Run(true));
  EXPECT_GE(server.frame.dialogCloses, 1);
  EXPECT_TRUE(server.frame.callsBeforeDialogsClosed.empty()) << "closed first";
}

TEST(CloseProject, CancelOnTheSaveQuestionKeepsTheProjectOpen) {
  Fixture f;
  f.session.SetProjectModified(true);
  f.prompt.reportAnswers.push_back(3);
  EXPECT_FALSE(f.sequence.Run(false));
  ASSERT_EQ(f.prompt.reports.size(), 1u);
  EXPECT_EQ(f.prompt.reports[0].buttonMode, kReportYesNoCancel);
  EXPECT_TRUE(f.session.IsProjectModified());
  EXPECT_TRUE(f.session.calls.empty());
  EXPECT_EQ(f.frame.resets, 0);
}

TEST(CloseProject, ModifiedProjectIsSavedOnYes) {
  Fixture f;
  f.session.SetProjectModified(true);
  f.prompt.reportAnswers.push_back(1);
  EXPECT_TRUE(f.sequence.Run(false));
  ASSERT_EQ(f.prompt.reports.size(), 1u);
  EXPECT_EQ(f.prompt.reports[0].body,
            "{\\f1\\cb1\\cf2\\b Request for Saving Velmora Project} \\par\\par Server Id: {\\b "
            "Velmora.Sim.DA2}\\par OPC Server Host: {\\b Local Host}\\par \\par {\\f1 \\b Do you "
            "Want to Save changes made to Velmora Project ?} \\par}");
  EXPECT_EQ(f.session.calls, (std::vector<std::string>{"save", "disconnect", "clear name"}));
  EXPECT_FALSE(f.session.IsProjectModified());
}

TEST(CloseProject, FailedSaveAsksWhetherToCloseAnyway) {
  {
    Fixture f;
    f.session.SetProjectModified(true);
    f.session.saveSucceeds = false;
    f.prompt.messageAnswers.push_back(MessageAnswer::kNo);
    EXPECT_FALSE(f.sequence.Run(false));
    ASSERT_EQ(f.prompt.messages.size(), 1u);
    EXPECT_EQ(f.prompt.messages[0].text,
              "Velmora Project Saving Failed !!! Close Project Anyway ? ");
    EXPECT_EQ(f.prompt.messages[0].buttons, MessageButtons::kYesNo);
    EXPECT_TRUE(f.session.IsProjectModified()) << "kept open and still modified";
    EXPECT_EQ(f.session.calls, (std::vector<std::string>{"save"}));
  }
  {
    Fixture f;
    f.session.SetProjectModified(true);
    f.session.saveSucceeds = false;
    f.prompt.messageAnswers.push_back(MessageAnswer::kYes);
    EXPECT_TRUE(f.sequence.Run(false));
    EXPECT_FALSE(f.session.IsProjectModified());
  }
}

TEST(CloseProject, ServerTextsCannotBreakTheReport) {
  class OddSession : public FakeSession {
    std::string ServerHost() const override { return "\\\\PLANT{7}"; }
  };
  OddSession session;
  FakeFrame frame;
  ScriptedUserPrompt prompt;
  session.running = true;
  prompt.reportAnswers.push_back(2);
  CCloseProjectSequence(session, frame, prompt).Run(false);
  ASSERT_EQ(prompt.reports.size(), 1u);
  EXPECT_NE(RtfToPlainText(prompt.reports[0].body).find("OPC Server Host: \\\\PLANT{7}"),
            std::string::npos)
      << RtfToPlainText(prompt.reports[0].body);
}

TEST(CloseProject, TheUnconnectedSessionHasNothingToStopOrSave) {
  CUnconnectedProjectSession session;
  FakeFrame frame;
  ScriptedUserPrompt prompt;
  EXPECT_TRUE(CCloseProjectSequence(session, frame, prompt).Run(false));
  EXPECT_TRUE(prompt.reports.empty());
  EXPECT_EQ(frame.resets, 1);
}
