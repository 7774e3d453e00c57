#pragma once
// The RTF subset the reports and outline pages are written in: groups, \par, \b, \b0,
// \cfN, \cbN, \fsN, \fN, a colour table, \\ \{ \} and \'hh escapes. Any other control
// word is ignored, never shown. Parsed into paragraphs of formatted runs, then turned into
// plain text (command line) or HTML (Qt rich text).
#include <string>
#include <vector>

struct RtfColour {
  int red = 0;
  int green = 0;
  int blue = 0;
};

struct RtfRun {
  std::string text;
  bool bold = false;
  int foreColour = 0;  // index in the colour table; 0 = automatic
  int backColour = 0;
  int fontHalfPoints = 24;  // RTF default is 12 pt
};

struct RtfDocument {
  std::vector<RtfColour> colours;  // index 0 is the automatic colour
  std::vector<std::vector<RtfRun>> paragraphs;
};

RtfDocument ParseRtf(const std::string& rtf);
// Paragraphs joined by line feeds, runs concatenated, trailing blanks of lines kept.
std::string RtfToPlainText(const std::string& rtf);
// HTML for a rich-text label or browser: colours, bold, font sizes, paragraphs.
std::string RtfToHtml(const std::string& rtf);
// A value put into a report as text: backslashes and braces escaped, so a host name or an
// item id can never be read as a control word or close a group.
std::string RtfEscape(const std::string& text);
