// Identifier rules of calculated items, the identifier report, the Available Functions
// list and the insertion of a text at a selection.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <set>
#include <string>

#include "base/report.h"
#include "base/rtf.h"
#include "calc/calc_function_list.h"
#include "calc/calc_identifier.h"
#include "calc/expression_functions.h"

namespace {

TEST(CalcIdentifier, TheTwentyFiveRefusedCharactersAreRefusedAndNothingElse) {
  const std::string refused = "+-*/\\:;,\"=.?&|@#'(!{})[]%";
  EXPECT_EQ(std::string(kRefusedIdentifierChars), refused);
  EXPECT_EQ(refused.size(), 25u);
  EXPECT_EQ(std::set<char>(refused.begin(), refused.end()).size(), 25u);
  for (int code = 1; code < 256; ++code) {
    const char c = static_cast<char>(code);
    EXPECT_EQ(IsRefusedIdentifierChar(c), refused.find(c) != std::string::npos) << code;
  }
  EXPECT_FALSE(IsRefusedIdentifierChar('\0'));
  // Valid characters, and characters in neither list, pass.
  EXPECT_FALSE(HasRefusedIdentifierChar("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_"));
  EXPECT_FALSE(HasRefusedIdentifierChar("t1"));
  EXPECT_FALSE(HasRefusedIdentifierChar("T 1"));
  EXPECT_FALSE(HasRefusedIdentifierChar(""));
  EXPECT_TRUE(HasRefusedIdentifierChar("T.1"));
  EXPECT_TRUE(HasRefusedIdentifierChar("LEVEL%"));
  EXPECT_TRUE(HasRefusedIdentifierChar("(A"));
}

TEST(CalcIdentifier, TheReportListsTheRefusedCharactersInItsOwnOrder) {
  // The report's order differs from the test order, and the quote comes twice.
  EXPECT_EQ(std::string(kRefusedIdentifierCharsListed), "+-*/\\:;,\"=.?&|@#'!{}()[]%'");
  const ReportRequest report = IdentifierErrorReport();
  EXPECT_EQ(report.title, "Calculated Item Identifier Error");
  EXPECT_EQ(report.buttonMode, kReportOk);
  EXPECT_EQ(report.body,
            "{\\f1\\cb5\\cf5\\b Illegal Character Used in Calculated Item Identifier} \\fs18 "
            "\\par \\par Valid Characters: {\\b ABCDEFGHIJKLMNOPQRSTUVWXYZ} "
            "\\par Valid Characters: {\\b 0123456789} "
            "\\par Valid Special Character: {\\b _ (Underscore)} "
            "\\par \\par Invalid Characters: {\\b\\cf5 +-*/\\\\:;,\"=.?&|@#'!\\{\\}()[]%'} "
            "\\par \\par {\\f1 \\b Please Change the Calculated Item Identifier ...} \\par}");
  // What the user reads: the backslash and the braces are shown, not taken as rich text.
  const std::string shown = RtfToPlainText(ReportDocument(report.body));
  EXPECT_NE(shown.find("Invalid Characters: +-*/\\:;,\"=.?&|@#'!{}()[]%'"), std::string::npos)
      << shown;
  EXPECT_NE(shown.find("Valid Special Character: _ (Underscore)"), std::string::npos);
}

TEST(CalcFunctionList, EveryBuiltInIsListedWithItsDescriptionAndInsertedText) {
  const auto& list = CalcFunctionList();
  ASSERT_EQ(list.size(), 31u);
  EXPECT_STREQ(list.front().pName, "abs");
  EXPECT_STREQ(list.front().pDescription, "Absolute Value of Argument");
  EXPECT_STREQ(list.front().pInserted, "abs( )");
  EXPECT_STREQ(list[19].pName, "celciustofahrenheit");
  EXPECT_STREQ(list[19].pInserted, "CelciusToFahrenheit( )");
  EXPECT_STREQ(list[27].pDescription, "Modulo (Remainder) of Arg1 divied by Arg2");
  EXPECT_STREQ(list.back().pName, "if");
  EXPECT_STREQ(list.back().pDescription, "Arg 2 if Arg1 is True, Arg3 if Arg1 is False");
  EXPECT_STREQ(list.back().pInserted, "if( , , )");
  EXPECT_EQ(kFunctionNameColumnWidth, 100);
  EXPECT_EQ(kFunctionDescriptionColumnWidth, 500);

  // Each entry names a function of the language, with as many argument places as it takes.
  std::set<std::string> names;
  for (const CalcFunctionEntry& entry : list) {
    const std::string name = entry.pName;
    names.insert(name);
    const std::string inserted = entry.pInserted;
    std::string lower;
    for (char c : inserted.substr(0, inserted.find('(')))
      lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    EXPECT_EQ(lower, name);
    const auto commas = std::count(inserted.begin(), inserted.end(), ',');
    if (commas == 0)
      EXPECT_EQ(ExpressionFunctions1().count(name), 1u) << name;
    else if (commas == 1)
      EXPECT_EQ(ExpressionFunctions2().count(name), 1u) << name;
    else
      EXPECT_EQ(ExpressionFunctions3().count(name), 1u) << name;
  }
  EXPECT_EQ(names.size(), list.size());
}

TEST(CalcFunctionList, InsertionReplacesTheSelectionAndPutsTheCaretAfterIt) {
  TextInsertion r = InsertIntoText("A + B", 4, 5, "sqrt( )");
  EXPECT_EQ(r.sText, "A + sqrt( )");
  EXPECT_EQ(r.nCaret, 11u);
  // An empty selection is a caret: the text goes in there.
  r = InsertIntoText("A + ", 4, 4, "TEMP");
  EXPECT_EQ(r.sText, "A + TEMP");
  EXPECT_EQ(r.nCaret, 8u);
  r = InsertIntoText("", 0, 0, "if( , , )");
  EXPECT_EQ(r.sText, "if( , , )");
  EXPECT_EQ(r.nCaret, 9u);
  // A selection made backwards, or beyond the text, is taken safely.
  r = InsertIntoText("ABCDEF", 4, 1, "x");
  EXPECT_EQ(r.sText, "AxEF");
  EXPECT_EQ(r.nCaret, 2u);
  r = InsertIntoText("AB", 7, 99, "C");
  EXPECT_EQ(r.sText, "ABC");
  EXPECT_EQ(r.nCaret, 3u);
}

}  // namespace
