#include "app/close_project.h"

#include "base/log.h"
#include "base/report.h"
#include "base/report_cancel.h"
#include "base/rtf.h"

namespace {

constexpr char kStopHeading[] = "Request for Data Acquisition Stop";
constexpr char kStopExplanation[] = "Data Acquisition is started ...";
constexpr char kStopRequest[] = "Please Confirm Data Acquisition Stop";
constexpr char kShutdownHeading[] = "Shutdown Request Triggered by %s !!!";
constexpr char kShutdownBy[] = "OPC Server";
constexpr char kShutdownExplanation[] =
    "Velmora already stops Data Acquisition and now needs to Close the current Project ...";
constexpr char kSaveHeading[] = "Request for Saving Velmora Project";
constexpr char kSaveRequest[] = "Do you Want to Save changes made to Velmora Project ?";
constexpr char kServerIdLabel[] = "Server Id";
constexpr char kServerHostLabel[] = "OPC Server Host";
constexpr char kSaveFailedQuestion[] = "Velmora Project Saving Failed !!! Close Project Anyway ? ";

}  // namespace

bool CCloseProjectSequence::Run(bool triggeredByServer) {
  if (!m_frame.HasSessionViews())
    return false;
  if (triggeredByServer)
    m_frame.CloseOpenDialogs();  // nothing to keep them for: the server goes in any case
  if (m_session.IsAcquisitionRunning()) {
    if (!triggeredByServer && !ConfirmAcquisitionStop())
      return false;
    m_session.StopAcquisition();
  }
  if (m_session.IsProjectModified()) {
    if (!OfferProjectSave(triggeredByServer))
      return false;
    m_session.SetProjectModified(false);
    m_frame.RunPendingMessages(kCloseProjectSettleMs);
  }
  // A dialog still open on a group or item (a server shutdown does not wait for it) ends
  // unapplied before the groups go.
  m_frame.CloseOpenDialogs();
  m_frame.SetWaitCursor(true);
  m_session.RemoveGroupsAndDisconnect();
  m_session.ClearServerName();
  m_frame.ResetSessionViews();
  m_frame.SetWaitCursor(false);
  return true;
}

bool CCloseProjectSequence::ConfirmAcquisitionStop() {
  CReportBuilder report;
  report.RequestHeading(kStopHeading)
      .Explanation(kStopExplanation)
      .Detail(kServerIdLabel, RtfEscape(m_session.ServerId()))
      .Detail(kServerHostLabel, RtfEscape(m_session.ServerHost()))
      .Closing(kStopRequest);
  return m_prompt.ShowReport(report.Request(kConfirmationRequestTitle, kReportOkCancel)) ==
         ReportAnswer::kFirstButton;
}

bool CCloseProjectSequence::OfferProjectSave(bool triggeredByServer) {
  CReportBuilder report;
  if (triggeredByServer) {
    report.ServerRequestHeading(Format(kShutdownHeading, kShutdownBy))
        .Explanation(kShutdownExplanation);
  } else {
    report.RequestHeading(kSaveHeading).Raw(" \\par");
  }
  report.Detail(kServerIdLabel, RtfEscape(m_session.ServerId()))
      .Detail(kServerHostLabel, RtfEscape(m_session.ServerHost()))
      .Closing(kSaveRequest);
  // The user may keep the project open; a server that shuts down leaves no such choice.
  const ReportAnswer answer = m_prompt.ShowReport(report.Request(
      kConfirmationRequestTitle, triggeredByServer ? kReportYesNo : kReportYesNoCancel));
  if (answer == kReportThirdButton)
    return false;  // Cancel: not closed
  if (answer != ReportAnswer::kFirstButton)
    return true;  // not saved, still closed
  if (m_session.SaveProject())
    return true;
  return m_prompt.ShowMessage(kSaveFailedQuestion, MessageButtons::kYesNo,
                              MessageIcon::kQuestion) == MessageAnswer::kYes;
}
