// Fuzz entry point of the RTF subset of the reports: any text parses and renders as plain
// text and HTML, and any value escaped into a report comes out as it went in.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "base/rtf.h"

namespace {
size_t Tags(const std::string& html) {
  size_t tags = 0;
  for (const char c : html)
    tags += c == '<' ? 1 : 0;
  return tags;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize) {
  const std::string text(reinterpret_cast<const char*>(pData), nSize);
  const RtfDocument document = ParseRtf(text);
  if (document.paragraphs.empty())
    std::abort();
  (void)RtfToPlainText(text);
  const std::string html = RtfToHtml(text);
  if (html.rfind("<html><body>", 0) != 0)
    std::abort();
  // An escaped value (without the line ends RTF does not show) is read back whole, and
  // never opens a tag in the HTML.
  std::string value;
  for (const char c : text)
    if (c != '\r' && c != '\n')
      value += c;
  const std::string report = "{\\rtf1 \\b Name: \\b0 " + RtfEscape(value) + "}";
  if (RtfToPlainText(report) != "Name: " + value)
    std::abort();
  if (!value.empty() && Tags(RtfToHtml(report)) != Tags(RtfToHtml("{\\rtf1 \\b Name: \\b0 x}")))
    std::abort();
  return 0;
}
