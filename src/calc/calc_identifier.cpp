#include "calc/calc_identifier.h"

#include <cstring>

#include "base/report.h"
#include "base/rtf.h"

namespace {

constexpr char kIllegalCharacterHeading[] = "Illegal Character Used in Calculated Item Identifier";
constexpr char kValidLetters[] = "\\par \\par Valid Characters: {\\b ABCDEFGHIJKLMNOPQRSTUVWXYZ} ";
constexpr char kValidDigits[] = "\\par Valid Characters: {\\b 0123456789} ";
constexpr char kValidSpecial[] = "\\par Valid Special Character: {\\b _ (Underscore)} ";
constexpr char kInvalidCharactersStart[] = "\\par \\par Invalid Characters: {\\b\\cf5 ";
constexpr char kInvalidCharactersEnd[] = "} ";
constexpr char kChangeIdentifier[] = "Please Change the Calculated Item Identifier ...";

}  // namespace

bool IsRefusedIdentifierChar(char c) {
  return c != '\0' && std::strchr(kRefusedIdentifierChars, c) != nullptr;
}

bool HasRefusedIdentifierChar(std::string_view sIdentifier) {
  for (char c : sIdentifier) {
    if (IsRefusedIdentifierChar(c))
      return true;
  }
  return false;
}

ReportRequest IdentifierErrorReport() {
  CReportBuilder report;
  // The list holds a backslash and braces: escaped, so the report shows them instead of
  // reading them as rich-text control words and groups.
  report.ErrorHeading(kIllegalCharacterHeading)
      .Raw(" \\fs18 ")
      .Raw(kValidLetters)
      .Raw(kValidDigits)
      .Raw(kValidSpecial)
      .Raw(kInvalidCharactersStart + RtfEscape(kRefusedIdentifierCharsListed) +
           kInvalidCharactersEnd)
      .Closing(kChangeIdentifier);
  return report.Request(kIdentifierErrorTitle, kReportOk);
}
