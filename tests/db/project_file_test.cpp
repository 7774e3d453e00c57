// The project file: reading every field, writing text that reads back the same, and
// errors that name their line.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "db/project_file.h"
#include "temp_dir.h"

namespace {

using namespace std::string_literals;

ProjectFile Parse(const std::string& text) {
  ProjectFile file;
  ProjectFileError error;
  EXPECT_TRUE(ParseProjectFile(text, file, error)) << error.Text();
  return file;
}

// The error of a text that must not parse.
ProjectFileError ErrorOf(const std::string& text) {
  ProjectFile file;
  ProjectFileError error;
  EXPECT_FALSE(ParseProjectFile(text, file, error)) << text;
  return error;
}

constexpr char kHeader[] = "project = P\nserver = S\n";
constexpr char kTooLarge[] =
    "the file is larger than 4194304 bytes; a project file is at most 4 MiB";

// A valid project file of exactly size bytes: the header, then one long comment line.
std::string FileOfSize(size_t size) {
  const std::string head = std::string(kHeader) + "# ";
  return head + std::string(size - head.size() - 1, 'x') + "\n";
}

TEST(ProjectFileTest, ReadsHeaderGroupsItemsAndDefaults) {
  const ProjectFile file = Parse(
      "\xEF\xBB\xBF# a comment\r\n"
      "format = 1\r\n"
      "  project =   Demo Plant  \r\n"
      "server=Velmora.SimServer.1\n"
      "; another comment\n"
      "class-id = 6e0d3a11-5b7c-4c2e-9a41-3f1d2c7b8e01\n"
      "\n"
      "group = Line 1\n"
      "active = no\n"
      "update-rate = 2500\n"
      "time-bias = -60\n"
      "dead-band = 12.7\n"
      "read-interface = 1\n"
      "item Temp = Plant.Line1.Machine1.Temperature\n"
      "description = Oven # 1 = hot\n"
      "calc TempF = CelciusToFahrenheit(Temp) # not a comment\n"
      "item Mode=Plant.Line1.Machine1.Mode\n"
      "group = Defaults\n");
  EXPECT_EQ(file.m_sName, "Demo Plant");
  EXPECT_EQ(file.m_sServerId, "Velmora.SimServer.1");
  EXPECT_EQ(file.m_sHost, "Local Host") << "the default host";
  EXPECT_EQ(file.m_sClassId, "6e0d3a11-5b7c-4c2e-9a41-3f1d2c7b8e01");
  ASSERT_EQ(file.m_groups.size(), 2u);
  const ProjectFileGroup& line = file.m_groups[0];
  EXPECT_EQ(line.m_sName, "Line 1");
  EXPECT_EQ(line.m_nLine, 8);
  EXPECT_FALSE(line.m_bActive);
  EXPECT_EQ(line.m_nUpdateRate, 2500u);
  EXPECT_EQ(line.m_nTimeBias, -60);
  EXPECT_DOUBLE_EQ(line.m_dDeadBand, 12.7);
  EXPECT_EQ(line.m_nReadInterface, 1u);
  ASSERT_EQ(line.m_acquiredItems.size(), 2u);
  EXPECT_EQ(line.m_acquiredItems[0].m_sShortId, "Temp");
  EXPECT_EQ(line.m_acquiredItems[0].m_sText, "Plant.Line1.Machine1.Temperature");
  EXPECT_TRUE(line.m_acquiredItems[0].m_bHasDescription);
  EXPECT_EQ(line.m_acquiredItems[0].m_sDescription, "Oven # 1 = hot");
  EXPECT_EQ(line.m_acquiredItems[0].m_nLine, 14);
  EXPECT_EQ(line.m_acquiredItems[1].m_sShortId, "Mode");
  EXPECT_FALSE(line.m_acquiredItems[1].m_bHasDescription);
  ASSERT_EQ(line.m_calcItems.size(), 1u);
  EXPECT_EQ(line.m_calcItems[0].m_sText, "CelciusToFahrenheit(Temp) # not a comment");
  const ProjectFileGroup& defaults = file.m_groups[1];
  EXPECT_TRUE(defaults.m_bActive);
  EXPECT_EQ(defaults.m_nUpdateRate, 1000u);
  EXPECT_EQ(defaults.m_nReadInterface, 0u);
  EXPECT_TRUE(defaults.m_acquiredItems.empty());
}

TEST(ProjectFileTest, QuotedValuesCarryAnyText) {
  const ProjectFile file = Parse(
      "project = \"  Spaced \\\"name\\\"  \"\n"
      "server = S\n"
      "group = \"a\\tb\\\\c\\x01\"\n"
      "item \"odd = id\" = \" x\"\n"
      "description = \"line one\\nline two\"   \n");
  EXPECT_EQ(file.m_sName, "  Spaced \"name\"  ");
  EXPECT_EQ(file.m_groups[0].m_sName, std::string("a\tb\\c\x01"));
  EXPECT_EQ(file.m_groups[0].m_acquiredItems[0].m_sShortId, "odd = id");
  EXPECT_EQ(file.m_groups[0].m_acquiredItems[0].m_sText, " x");
  EXPECT_EQ(file.m_groups[0].m_acquiredItems[0].m_sDescription, "line one\nline two");
}

TEST(ProjectFileTest, WrittenTextReadsBackTheSameProject) {
  ProjectFile file;
  file.m_sName = "It's \"the\" plant ";
  file.m_sServerId = "Velmora.SimServer.1";
  file.m_sHost = "Local Host";
  file.m_sClassId = "";
  ProjectFileGroup group;
  group.m_sName = " Group = one";
  group.m_bActive = false;
  group.m_nUpdateRate = 250;
  group.m_nTimeBias = -120;
  group.m_dDeadBand = 12.5;
  group.m_nReadInterface = 3;
  ProjectFileItem item;
  item.m_sShortId = "A_1";
  item.m_sText = "Text.Mixed";
  item.m_sDescription = "";
  item.m_bHasDescription = true;
  group.m_acquiredItems.push_back(item);
  item.m_sShortId = "B";
  item.m_sText = "\"quoted\" id\\with\\backslashes\r\n";
  item.m_bHasDescription = false;
  group.m_acquiredItems.push_back(item);
  ProjectFileItem calc;
  calc.m_sShortId = "Calc one";
  calc.m_sText = "if(A_1 > 0, 1, 0)";
  group.m_calcItems.push_back(calc);
  file.m_groups.push_back(group);

  const std::string text = WriteProjectFile(file);
  const ProjectFile back = Parse(text);
  EXPECT_EQ(back.m_sName, file.m_sName);
  EXPECT_EQ(back.m_sClassId, "");
  ASSERT_EQ(back.m_groups.size(), 1u);
  const ProjectFileGroup& read = back.m_groups[0];
  EXPECT_EQ(read.m_sName, group.m_sName);
  EXPECT_FALSE(read.m_bActive);
  EXPECT_EQ(read.m_nUpdateRate, 250u);
  EXPECT_EQ(read.m_nTimeBias, -120);
  EXPECT_DOUBLE_EQ(read.m_dDeadBand, 12.5);
  EXPECT_EQ(read.m_nReadInterface, 3u);
  ASSERT_EQ(read.m_acquiredItems.size(), 2u);
  EXPECT_TRUE(read.m_acquiredItems[0].m_bHasDescription);
  EXPECT_EQ(read.m_acquiredItems[0].m_sDescription, "");
  EXPECT_EQ(read.m_acquiredItems[1].m_sText, group.m_acquiredItems[1].m_sText);
  EXPECT_FALSE(read.m_acquiredItems[1].m_bHasDescription);
  ASSERT_EQ(read.m_calcItems.size(), 1u);
  EXPECT_EQ(read.m_calcItems[0].m_sShortId, "Calc one");
  EXPECT_EQ(read.m_calcItems[0].m_sText, "if(A_1 > 0, 1, 0)");
  EXPECT_EQ(WriteProjectFile(back), text) << "writing is stable";
}

TEST(ProjectFileTest, WritesTheDocumentedLayout) {
  ProjectFile file;
  file.m_sName = "Demo";
  file.m_sServerId = "Velmora.SimServer.1";
  file.m_sClassId = "6e0d3a11-5b7c-4c2e-9a41-3f1d2c7b8e01";
  ProjectFileGroup group;
  group.m_sName = "Fast";
  group.m_dDeadBand = 12.0;
  ProjectFileItem item;
  item.m_sShortId = "Sine";
  item.m_sText = "Signals.Sine.R8";
  item.m_sDescription = "Sine wave";
  item.m_bHasDescription = true;
  group.m_acquiredItems.push_back(item);
  ProjectFileItem calc;
  calc.m_sShortId = "Double";
  calc.m_sText = "2 * Sine";
  group.m_calcItems.push_back(calc);
  file.m_groups.push_back(group);
  EXPECT_EQ(WriteProjectFile(file),
            "# Velmora project file: one project, its OPC server, groups and items.\n"
            "# Format: docs/project-file.md. Import with \"velmora-cli project import FILE\".\n"
            "\n"
            "format = 1\n"
            "project = Demo\n"
            "server = Velmora.SimServer.1\n"
            "host = Local Host\n"
            "class-id = 6e0d3a11-5b7c-4c2e-9a41-3f1d2c7b8e01\n"
            "\n"
            "group = Fast\n"
            "active = yes\n"
            "update-rate = 1000\n"
            "time-bias = 0\n"
            "dead-band = 12\n"
            "read-interface = 0\n"
            "item Sine = Signals.Sine.R8\n"
            "description = Sine wave\n"
            "calc Double = 2 * Sine\n");
}

TEST(ProjectFileTest, ValuesAreQuotedOnlyWhenNeeded) {
  EXPECT_EQ(ProjectFileValue("Plant.Line1 = x"), "Plant.Line1 = x");
  EXPECT_EQ(ProjectFileValue("a=b", true), "\"a=b\"");
  EXPECT_EQ(ProjectFileValue(""), "\"\"");
  EXPECT_EQ(ProjectFileValue(" x"), "\" x\"");
  EXPECT_EQ(ProjectFileValue("\"x"), "\"\\\"x\"");
  EXPECT_EQ(ProjectFileValue("x\"y"), "x\"y");
  EXPECT_EQ(ProjectFileValue("a\x7f"), "\"a\\x7f\"");
}

TEST(ProjectFileTest, ErrorsNameTheirLine) {
  struct Case {
    std::string text;
    int line;
    std::string message;
  };
  const std::string h = kHeader;
  const Case cases[] = {
      {h + "colour = red\n", 3, "unknown key 'colour'"},
      {h + "item A = X\n", 3, "'item' before the first group"},
      {h + "group = G\nitem A X\n", 4, "expected '=' after the short id"},
      {h + "group = G\nitem = X\n", 4, "item needs a short id: item SHORT_ID = ITEM_ID"},
      {h + "group = G\ncalc C =\n", 4, "calc 'C' has no expression"},
      {h + "group = G\nitem A =   \n", 4, "item 'A' has no item id"},
      {h + "group = G\nupdate-rate = fast\n", 4,
       "update-rate must be a whole number of milliseconds, not 'fast'"},
      {h + "group = G\nupdate-rate = -5\n", 4,
       "update-rate must be a whole number of milliseconds, not '-5'"},
      {h + "group = G\ndead-band = 101\n", 4,
       "dead-band must be a number from 0 to 100, not '101'"},
      {h + "group = G\nread-interface = 4\n", 4, "read-interface must be 0, 1, 2 or 3, not '4'"},
      {h + "group = G\nactive = maybe\n", 4, "active must be yes or no, not 'maybe'"},
      {h + "group = G\ntime-bias = 1.5\n", 4,
       "time-bias must be a whole number of minutes, not '1.5'"},
      {h + "group = G\ngroup = G\n", 4, "group 'G' is already defined on line 3"},
      {h + "group =\n", 3, "a group needs a name"},
      {h + "group = G\nactive = yes\nactive = no\n", 5, "'active' is already given on line 4"},
      {h + "server = T\n", 3, "'server' is already given on line 2"},
      {h + "group = G\nhost = H\n", 4, "'host' belongs before the first group"},
      {h + "description = D\n", 3, "'description' must follow the item line it describes"},
      {h + "group = G\ncalc C = 1\ndescription = D\n", 5,
       "'description' must follow the item line it describes"},
      {h + "group = G\nitem A = X\ndescription = D\ndescription = E\n", 6,
       "item 'A' has two descriptions"},
      {h + "group = \"G\n", 3, "missing closing '\"'"},
      {h + "group = \"G\\q\"\n", 3, "unknown escape '\\q'"},
      {h + "group = \"G\\x4\"\n", 3, "\\x needs two hexadecimal digits"},
      {h + "group = \"G\" tail\n", 3, "unexpected text after the closing '\"'"},
      {h + "= value\n", 3, "expected a key before '='"},
      {"format = 2\n", 1, "unsupported format '2' (this program reads format 1)"},
      {"server = S\n", 0, "the file names no project (project = NAME)"},
      {"project = P\n", 0, "the file names no OPC server (server = PROGRAM_ID)"},
  };
  for (const Case& c : cases) {
    const ProjectFileError error = ErrorOf(c.text);
    EXPECT_EQ(error.m_nLine, c.line) << c.text;
    EXPECT_EQ(error.m_sMessage, c.message) << c.text;
  }
  EXPECT_EQ(ErrorOf(h + "colour = red\n").Text(), "line 3: unknown key 'colour'");
  EXPECT_EQ(ErrorOf("project = P\n").Text(), "the file names no OPC server (server = PROGRAM_ID)");
}

TEST(ProjectFileTest, TextIsAtMostFourMiB) {
  ASSERT_EQ(kMaxProjectFileBytes, 4u * 1024 * 1024);
  const std::string atLimit = FileOfSize(kMaxProjectFileBytes);
  ASSERT_EQ(atLimit.size(), kMaxProjectFileBytes);
  EXPECT_EQ(Parse(atLimit).m_sName, "P");
  const ProjectFileError error = ErrorOf(FileOfSize(kMaxProjectFileBytes + 1));
  EXPECT_EQ(error.m_nLine, 0);
  EXPECT_EQ(error.Text(), kTooLarge);
}

TEST(ProjectFileTest, ReadingAFileStopsPastTheLimit) {
  TempDir dir;
  const auto write = [&dir](const std::string& name, const std::string& text) {
    const std::string path = dir.File(name);
    std::ofstream(path, std::ios::binary) << text;
    return path;
  };
  std::string text = "left over";
  ProjectFileError error;
  EXPECT_TRUE(
      ReadProjectFileText(write("limit.vproj", FileOfSize(kMaxProjectFileBytes)), text, error))
      << error.Text();
  EXPECT_EQ(text.size(), kMaxProjectFileBytes);
  EXPECT_EQ(text, FileOfSize(kMaxProjectFileBytes)) << "read whole and unchanged";

  text = "left over";
  EXPECT_FALSE(
      ReadProjectFileText(write("big.vproj", FileOfSize(kMaxProjectFileBytes + 1)), text, error));
  EXPECT_EQ(error.m_nLine, 0);
  EXPECT_EQ(error.Text(), kTooLarge);
  EXPECT_TRUE(text.empty()) << "no partial text is handed on";

  EXPECT_FALSE(ReadProjectFileText(dir.File("none.vproj"), text, error));
  EXPECT_EQ(error.Text(), "cannot read the file: No such file or directory");
  EXPECT_FALSE(ReadProjectFileText(dir.Path().string(), text, error)) << "a folder";
  EXPECT_EQ(error.Text(), "cannot read the file: Is a directory");
  EXPECT_FALSE(ReadProjectFileText("/dev/zero", text, error)) << "a device that never ends";
  EXPECT_EQ(error.Text(), kTooLarge);
}

TEST(ProjectFileTest, NulBytesAndInvalidUtf8AreRefusedWithTheirLine) {
  struct Case {
    std::string text;
    int line;
    std::string message;
  };
  const std::string h = kHeader;
  const std::string nul = "the text holds a NUL byte";
  const std::string notUtf8 = "the text is not valid UTF-8";
  const Case cases[] = {
      {h + "group = Line\0 1\n"s, 3, nul},
      {h + "group = G\nitem A = Plant.\0X\n"s, 4, nul},
      {"# a comment\0\n"s + h, 1, nul},
      {h + "group = \"G\\x00\"\n", 3, "the quoted value holds a NUL byte (\\x00)"},
      {h + "group = G\xC3\n", 3, notUtf8},                                      // cut at line end
      {h + "group = G\xC3\r\n", 3, notUtf8},                                    // cut before CR LF
      {h + "group = G\nitem A = X\xC0\xAF\n", 4, notUtf8},                      // overlong '/'
      {h + "group = G\nitem A = X\ndescription = \xED\xA0\x80\n", 5, notUtf8},  // surrogate
      {"project = \xE0\x80\xAF\nserver = S\n", 1, notUtf8},                     // overlong, 3 bytes
      {"project = P\nserver = \xF4\x90\x80\x80\n", 2, notUtf8},                 // above U+10FFFF
      {h + "host = \x80\n", 3, notUtf8},                                        // lone continuation
      {h + "class-id = \xFF\n", 3, notUtf8},
      {h + "group = G\ncalc C = 1 + \xE6\xB3", 4, notUtf8},  // cut at the end of the file
      {h + "group = \"G\\xC3\"\n", 3, "the quoted value is not valid UTF-8 (see its \\x escapes)"},
  };
  for (const Case& c : cases) {
    const ProjectFileError error = ErrorOf(c.text);
    EXPECT_EQ(error.m_nLine, c.line) << c.text;
    EXPECT_EQ(error.m_sMessage, c.message) << c.text;
  }
  EXPECT_EQ(ErrorOf(h + "group = Line\0 1\n"s).Text(), "line 3: the text holds a NUL byte");
}

TEST(ProjectFileTest, ValidUtf8IsStoredUnchanged) {
  // The first and the last code point of each sequence length, and those around the
  // surrogates.
  const std::string edges =
      "\xC2\x80\xDF\xBF\xE0\xA0\x80\xED\x9F\xBF\xEE\x80\x80\xEF\xBF\xBF"
      "\xF0\x90\x80\x80\xF4\x8F\xBF\xBF";
  const ProjectFile file = Parse(
      "project = Température\n"
      "server = S\n"
      "host = 泵站\n"
      "group = 泵 1\n"
      "item 泵 = Plant.泵.Température\n"
      "description = " +
      edges +
      "\n"
      "calc Fahrenheit = 泵 * 1.8 + 32\n"
      "group = \"Four \\xC3\\xA9\"\n");
  EXPECT_EQ(file.m_sName, "Température");
  EXPECT_EQ(file.m_sHost, "泵站");
  ASSERT_EQ(file.m_groups.size(), 2u);
  EXPECT_EQ(file.m_groups[0].m_sName, "泵 1");
  ASSERT_EQ(file.m_groups[0].m_acquiredItems.size(), 1u);
  EXPECT_EQ(file.m_groups[0].m_acquiredItems[0].m_sShortId, "泵");
  EXPECT_EQ(file.m_groups[0].m_acquiredItems[0].m_sText, "Plant.泵.Température");
  EXPECT_EQ(file.m_groups[0].m_acquiredItems[0].m_sDescription, edges);
  ASSERT_EQ(file.m_groups[0].m_calcItems.size(), 1u);
  EXPECT_EQ(file.m_groups[0].m_calcItems[0].m_sText, "泵 * 1.8 + 32");
  EXPECT_EQ(file.m_groups[1].m_sName, "Four é") << "escapes that form a whole character";
  const ProjectFile back = Parse(WriteProjectFile(file));
  EXPECT_EQ(back.m_groups[0].m_acquiredItems[0].m_sDescription, edges);
  EXPECT_EQ(WriteProjectFile(back), WriteProjectFile(file)) << "export keeps the text as it is";
}

}  // namespace
