#include <gtest/gtest.h>

#include "app/command_line.h"
#include "app/web_pages.h"

TEST(CommandLine, DatabaseAndSettingsDirInBothForms) {
  CommandLineOptions options =
      ParseCommandLine({"--database", "/d/Velmora.sq3", "--settings-dir=/tmp/cfg"});
  EXPECT_TRUE(options.ok);
  EXPECT_EQ(options.databasePath, "/d/Velmora.sq3");
  EXPECT_EQ(options.settingsDir, "/tmp/cfg");
  options = ParseCommandLine({"--database=/x.sq3", "--settings-dir", "cfg"});
  EXPECT_TRUE(options.ok);
  EXPECT_EQ(options.databasePath, "/x.sq3");
  EXPECT_EQ(options.settingsDir, "cfg");
  options = ParseCommandLine({});
  EXPECT_TRUE(options.ok);
  EXPECT_TRUE(options.databasePath.empty());
  EXPECT_TRUE(ParseCommandLine({"--help"}).help);
}

TEST(CommandLine, MissingValuesAndUnknownOptionsFail) {
  EXPECT_FALSE(ParseCommandLine({"--database"}).ok);
  EXPECT_FALSE(ParseCommandLine({"--database="}).ok);
  EXPECT_FALSE(ParseCommandLine({"--settings-dir"}).ok);
  const CommandLineOptions unknown = ParseCommandLine({"--databse", "x"});
  EXPECT_FALSE(unknown.ok);
  EXPECT_NE(unknown.error.find("--databse"), std::string::npos);
}

TEST(WebPages, BrowserErrorTextHasTheReasonOfKnownCodesOnly) {
  EXPECT_EQ(WebBrowserErrorText(2),
            "An Error Occured Starting your Web Browser \nThe specified file was not found");
  EXPECT_EQ(WebBrowserErrorText(0),
            "An Error Occured Starting your Web Browser \nThe operating system is out of memory "
            "or resources");
  EXPECT_EQ(WebBrowserErrorText(31),
            "An Error Occured Starting your Web Browser \nThere is no application associated "
            "with the given file name extension or File is not printable");
  EXPECT_EQ(WebBrowserErrorText(32),
            "An Error Occured Starting your Web Browser \nThe specified DLL was not found");
  EXPECT_EQ(WebBrowserErrorText(4), "An Error Occured Starting your Web Browser \n");
  EXPECT_EQ(WebBrowserErrorText(kShellOpenNoReason),
            "An Error Occured Starting your Web Browser \n");
}
