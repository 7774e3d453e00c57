#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "app/database_location.h"
#include "base/rtf.h"
#include "base/settings.h"
#include "scripted_user_prompt.h"
#include "temp_dir.h"

TEST(DatabaseLocation, SplitKeepsDriveAndDirectoryWithItsSeparator) {
  DatabaseLocation location = SplitDatabasePath("/home/ada/.local/share/Velmora/Velmora.sq3");
  EXPECT_EQ(location.drive, "");
  EXPECT_EQ(location.directory, "/home/ada/.local/share/Velmora/");
  location = SplitDatabasePath("C:\\Data\\Velmora.sq3");
  EXPECT_EQ(location.drive, "C:");
  EXPECT_EQ(location.directory, "\\Data\\");
  EXPECT_EQ(SplitDatabasePath("Velmora.sq3").directory, "");
}

TEST(DatabaseLocation, AStoredPathIsUsedWithoutAskingAndWrittenBack) {
  InMemorySettingsStore store;
  ScriptedUserPrompt prompt;
  settings::Write(store, settings::kDataPath, "/data/old/Velmora.sq3");
  std::string checked;
  auto location = LocateDatabase(store, prompt, "", [&](const std::string& path) {
    checked = path;
    return false;  // a failed check does not stop start-up
  });
  ASSERT_TRUE(location);
  EXPECT_EQ(location->path, "/data/old/Velmora.sq3");
  EXPECT_EQ(location->directory, "/data/old/");
  EXPECT_EQ(checked, "/data/old/Velmora.sq3");
  EXPECT_TRUE(prompt.fileRequests.empty());
  EXPECT_TRUE(prompt.reports.empty());
  EXPECT_EQ(settings::Read(store, settings::kDataPath), "/data/old/Velmora.sq3");
}

TEST(DatabaseLocation, DataPathIsWrittenOnEveryStart) {
  // A store that records writes, to see the unchanged value written back.
  class CountingStore : public InMemorySettingsStore {
   public:
    int WriteString(const std::string& name, const std::string& value, bool expandable) override {
      if (name == "DataPath") {
        ++writes;
        lastExpandable = expandable;
      }
      return InMemorySettingsStore::WriteString(name, value, expandable);
    }
    int writes = 0;
    bool lastExpandable = false;
  } store;
  ScriptedUserPrompt prompt;
  settings::Write(store, settings::kDataPath, "/data/Velmora.sq3");
  store.writes = 0;
  ASSERT_TRUE(LocateDatabase(store, prompt, "", {}));
  ASSERT_TRUE(LocateDatabase(store, prompt, "", {}));
  EXPECT_EQ(store.writes, 2);
  EXPECT_TRUE(store.lastExpandable);
}

TEST(DatabaseLocation, NoStoredPathAsksForAnExistingOrANewSq3File) {
  TempDir dir;
  InMemorySettingsStore store;
  ScriptedUserPrompt prompt;
  const std::string chosen = dir.File("Velmora.sq3");
  prompt.fileAnswers.push_back(chosen);
  auto location = LocateDatabase(store, prompt, "", {});
  ASSERT_TRUE(location);
  ASSERT_EQ(prompt.fileRequests.size(), 1u);
  const FileRequest& request = prompt.fileRequests[0];
  // A name that does not exist yet is accepted, and an existing file is not replaced.
  EXPECT_TRUE(request.save);
  EXPECT_FALSE(request.mustExist);
  EXPECT_FALSE(request.confirmOverwrite);
  EXPECT_EQ(request.initialPath, DefaultDatabasePath());
  EXPECT_EQ(request.defaultExtension, ".sq3");
  EXPECT_EQ(request.filter, "SQLite Files (.sq3)|*.sq3");
  EXPECT_EQ(settings::Read(store, settings::kDataPath), chosen);
  // The next start does not ask again.
  ASSERT_TRUE(LocateDatabase(store, prompt, "", {}));
  EXPECT_EQ(prompt.fileRequests.size(), 1u);
}

TEST(DatabaseLocation, ANewFileInAMissingFolderGetsTheFolderBeforeTheCheck) {
  TempDir dir;
  InMemorySettingsStore store;
  ScriptedUserPrompt prompt;
  const std::string chosen = dir.File("share/Velmora/Velmora.sq3");
  prompt.fileAnswers.push_back(chosen);
  std::string checked;
  bool folderAtCheck = false;
  auto location = LocateDatabase(store, prompt, "", [&](const std::string& path) {
    checked = path;
    folderAtCheck = std::filesystem::is_directory(dir.Path() / "share/Velmora");
    return true;
  });
  ASSERT_TRUE(location);
  EXPECT_EQ(checked, chosen);
  EXPECT_TRUE(folderAtCheck);
  EXPECT_EQ(location->directory, (dir.Path() / "share/Velmora/").string());
  EXPECT_EQ(settings::Read(store, settings::kDataPath), chosen);
  EXPECT_TRUE(prompt.reports.empty());
}

TEST(DatabaseLocation, AFolderThatCannotBeMadeIsLeftToTheCheck) {
  TempDir dir;
  InMemorySettingsStore store;
  ScriptedUserPrompt prompt;
  { std::ofstream blocker(dir.File("file")); }
  const std::string chosen = dir.File("file/Velmora.sq3");
  prompt.fileAnswers.push_back(chosen);
  std::string checked;
  auto location = LocateDatabase(store, prompt, "", [&](const std::string& path) {
    checked = path;
    return false;  // the check reports the path it cannot create
  });
  ASSERT_TRUE(location);
  EXPECT_EQ(checked, chosen);
  EXPECT_EQ(settings::Read(store, settings::kDataPath), chosen);
}

TEST(DatabaseLocation, AStoredPathInAMissingFolderGetsNoFolder) {
  TempDir dir;
  InMemorySettingsStore store;
  ScriptedUserPrompt prompt;
  // A stored path may be on a drive that is not there today: only the check reports it.
  settings::Write(store, settings::kDataPath, dir.File("gone/Velmora.sq3"));
  ASSERT_TRUE(LocateDatabase(store, prompt, "", {}));
  EXPECT_FALSE(std::filesystem::exists(dir.Path() / "gone"));
}

TEST(DatabaseLocation, TheProposedFileIsInTheUserDataFolder) {
  std::map<std::string, std::string> environment;
  const auto lookup = [&](const char* name) { return environment[name]; };
  EXPECT_EQ(DefaultDatabasePath(lookup), "Velmora.sq3");
#if defined(_WIN32)
  environment["APPDATA"] = "C:\\Users\\ada\\AppData\\Roaming";
  EXPECT_EQ(DefaultDatabasePath(lookup), "C:\\Users\\ada\\AppData\\Roaming\\Velmora\\Velmora.sq3");
  environment["LOCALAPPDATA"] = "C:\\Users\\ada\\AppData\\Local";
  EXPECT_EQ(DefaultDatabasePath(lookup), "C:\\Users\\ada\\AppData\\Local\\Velmora\\Velmora.sq3");
#elif defined(__APPLE__)
  environment["HOME"] = "/Users/ada";
  EXPECT_EQ(DefaultDatabasePath(lookup),
            "/Users/ada/Library/Application Support/Velmora/Velmora.sq3");
#else
  environment["HOME"] = "/home/ada";
  EXPECT_EQ(DefaultDatabasePath(lookup), "/home/ada/.local/share/Velmora/Velmora.sq3");
  environment["XDG_DATA_HOME"] = "relative/data";  // not absolute: ignored
  EXPECT_EQ(DefaultDatabasePath(lookup), "/home/ada/.local/share/Velmora/Velmora.sq3");
  environment["XDG_DATA_HOME"] = "/srv/ada/data";
  EXPECT_EQ(DefaultDatabasePath(lookup), "/srv/ada/data/Velmora/Velmora.sq3");
#endif
}

TEST(DatabaseLocation, CancellingTheDialogReportsAndStoresNothing) {
  InMemorySettingsStore store;
  ScriptedUserPrompt prompt;
  settings::Write(store, settings::kDataPath, "None");
  bool checked = false;
  auto location = LocateDatabase(store, prompt, "", [&](const std::string&) {
    checked = true;
    return true;
  });
  EXPECT_FALSE(location);
  EXPECT_FALSE(checked);
  ASSERT_EQ(prompt.reports.size(), 1u);
  const ReportRequest& report = prompt.reports[0];
  EXPECT_EQ(report.title, "Velmora Database Path Error");
  EXPECT_EQ(report.body,
            "{\\f1\\cb5\\cf5\\b Unable to Get Velmora Database Path} \\par\\par \\fs18 Without "
            "Database, Velmora is unable to work ... End of Job ... \\par \\par {\\f1 \\b Please "
            "Restart Velmora 2.0 and Provide a Valid Path to Velmora.sq3} \\par}");
  EXPECT_NE(report.buttonMode, 1);
  EXPECT_NE(report.buttonMode, 4);
  EXPECT_EQ(settings::Read(store, settings::kDataPath), "None");
}

TEST(DatabaseLocation, TheCommandLinePathWinsAndIsStoredAsAFullPath) {
  TempDir dir;
  InMemorySettingsStore store;
  ScriptedUserPrompt prompt;
  settings::Write(store, settings::kDataPath, "/elsewhere/Velmora.sq3");
  const std::string given = dir.File("sub/../Velmora.sq3");
  auto location = LocateDatabase(store, prompt, given, {});
  ASSERT_TRUE(location);
  EXPECT_EQ(location->path, dir.File("Velmora.sq3"));
  EXPECT_TRUE(prompt.fileRequests.empty());
  EXPECT_EQ(settings::Read(store, settings::kDataPath), dir.File("Velmora.sq3"));

  const auto old = std::filesystem::current_path();
  std::filesystem::current_path(dir.Path());
  location = LocateDatabase(store, prompt, "relative.sq3", {});
  std::filesystem::current_path(old);
  ASSERT_TRUE(location);
  EXPECT_TRUE(std::filesystem::path(location->path).is_absolute());
  EXPECT_EQ(location->directory, (dir.Path() / "").string());
}
