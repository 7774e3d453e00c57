#include "base/report.h"

#include "base/report_cancel.h"

CReportBuilder& CReportBuilder::ErrorHeading(const std::string& text) {
  m_sBody += "{\\f1\\cb5\\cf5\\b " + text + "}";
  return *this;
}

CReportBuilder& CReportBuilder::RequestHeading(const std::string& text) {
  m_sBody += "{\\f1\\cb1\\cf2\\b " + text + "}";
  return *this;
}

CReportBuilder& CReportBuilder::ServerRequestHeading(const std::string& text) {
  m_sBody += "{\\f1\\cb4\\cf2\\b " + text + "}";
  return *this;
}

CReportBuilder& CReportBuilder::Explanation(const std::string& sentence) {
  m_sBody += " \\par\\par \\fs18 " + sentence + " \\par";
  return *this;
}

CReportBuilder& CReportBuilder::Detail(const std::string& label, const std::string& value) {
  m_sBody += "\\par " + label + ": {\\b " + value + "}";
  return *this;
}

CReportBuilder& CReportBuilder::Closing(const std::string& request) {
  m_sBody += "\\par \\par {\\f1 \\b " + request + "} \\par}";
  return *this;
}

CReportBuilder& CReportBuilder::Raw(const std::string& text) {
  m_sBody += text;
  return *this;
}

ReportRequest CReportBuilder::Request(const std::string& title, int buttonMode, uint32_t errorCode,
                                      const std::string& linkText) const {
  ReportRequest request;
  request.body = m_sBody;
  request.title = title;
  request.buttonMode = buttonMode;
  request.errorCode = errorCode;
  request.linkText = linkText;
  return request;
}

std::string ReportWindowTitle(const std::string& title) {
  return std::string(kProductName) + " " + title;
}

std::string ReportDocument(const std::string& body) {
  return std::string(kRtfHeader) + kRtfColourTable + body;
}

std::string ReportHelpUrl(uint32_t errorCode) {
  switch (errorCode) {
    case 0x800401F3:
      return "https://velmora.quorix.example/help/dcom/invalid-class-string";
    case 0x80040202:
      return "https://velmora.quorix.example/help/dcom/callback-connection";
    case 0x80070002:
      return "https://velmora.quorix.example/help/dcom/file-not-found";
    case 0x80070003:
      return "https://velmora.quorix.example/help/dcom/directory-not-found";
    case 0x80070005:
      return "https://velmora.quorix.example/help/dcom/access-denied";
    case 0x80070422:
      return "https://velmora.quorix.example/help/dcom/service-disabled";
    case 0x800706BA:
      return "https://velmora.quorix.example/help/dcom/rpc-server-unavailable";
    case 0x800706D9:
      return "https://velmora.quorix.example/help/dcom/no-endpoints";
    default:
      return "Unknown URL";
  }
}

ReportButtons ReportButtonsForMode(int buttonMode) {
  if (buttonMode == kReportOkCancel)
    return {"Ok", "Cancel"};
  if (buttonMode == kReportYesNo || buttonMode == kReportYesNoCancel)
    return {"Yes", "No"};  // the report dialog adds Cancel to the second
  return {"Ok", ""};
}
