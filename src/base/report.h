#pragma once
// Rich-text message reports: the fixed RTF conventions every report is composed in.
// A report is heading + explanation + detail lines + closing request; the dialog adds
// the document header and colour table.
#include <cstdint>
#include <string>

#include "base/user_prompt.h"

inline constexpr char kProductName[] = "Velmora 2.0";
inline constexpr char kRtfHeader[] = "{\\rtf1\\ansi\\fs20 ";
inline constexpr char kRtfColourTable[] =
    "{\\colortbl;\\red0\\green0\\blue0;\\red0\\green0\\blue255;\\red0\\green255\\blue255;"
    "\\red0\\green255\\blue0;\\red255\\green0\\blue0;}";

// Button modes of a report.
inline constexpr int kReportOkCancel = 1;
inline constexpr int kReportYesNo = 4;
inline constexpr int kReportOk = 0;

class CReportBuilder {
 public:
  // "{\f1\cb5\cf5\b " + text + "}": red, bold.
  CReportBuilder& ErrorHeading(const std::string& text);
  // "{\f1\cb1\cf2\b " + text + "}": blue, bold.
  CReportBuilder& RequestHeading(const std::string& text);
  // "{\f1\cb4\cf2\b " + text + "}": a request the server triggered.
  CReportBuilder& ServerRequestHeading(const std::string& text);
  // " \par\par \fs18 " + sentence + " \par"
  CReportBuilder& Explanation(const std::string& sentence);
  // "\par " + label + ": {\b " + value + "}"
  CReportBuilder& Detail(const std::string& label, const std::string& value);
  // "\par \par {\f1 \b " + request + "} \par}"
  CReportBuilder& Closing(const std::string& request);
  // A piece quoted verbatim (for report texts whose blanks differ from the scheme).
  CReportBuilder& Raw(const std::string& text);

  const std::string& Body() const { return m_sBody; }
  ReportRequest Request(const std::string& title, int buttonMode = kReportOk,
                        uint32_t errorCode = 0, const std::string& linkText = "") const;

 private:
  std::string m_sBody;
};

// Window title of a report: "Velmora 2.0" + " " + title.
std::string ReportWindowTitle(const std::string& title);
// Whole RTF document shown by the dialog: header + colour table + body.
std::string ReportDocument(const std::string& body);
// Help page of a COM error code, or "Unknown URL".
std::string ReportHelpUrl(uint32_t errorCode);
// Button texts of a mode: {"Ok","Cancel"}, {"Yes","No"} or {"Ok",""}.
struct ReportButtons {
  std::string first;
  std::string second;  // empty: one button
};
ReportButtons ReportButtonsForMode(int buttonMode);
