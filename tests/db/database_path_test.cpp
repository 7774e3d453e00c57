#include <gtest/gtest.h>

#include "db/database_path.h"

namespace {

std::string Joined(const DatabasePathParts& parts) {
  return parts.drive + parts.directory + parts.fileName + parts.extension;
}

TEST(DatabasePath, AbsolutePathSplitsAtTheRoot) {
  const DatabasePathParts parts = SplitDatabasePath("/home/ada/data/Velmora.sq3");
  EXPECT_EQ(parts.drive, "/");
  EXPECT_EQ(parts.directory, "home/ada/data/");
  EXPECT_EQ(parts.fileName, "Velmora");
  EXPECT_EQ(parts.extension, ".sq3");
}

TEST(DatabasePath, RelativeAndBarePaths) {
  DatabasePathParts parts = SplitDatabasePath("data/Velmora.sq3");
  EXPECT_EQ(parts.drive, "");
  EXPECT_EQ(parts.directory, "data/");
  parts = SplitDatabasePath("Velmora.sq3");
  EXPECT_EQ(parts.directory, "");
  EXPECT_EQ(parts.fileName, "Velmora");
  parts = SplitDatabasePath("/Velmora.sq3");
  EXPECT_EQ(parts.drive, "/");
  EXPECT_EQ(parts.directory, "");
  EXPECT_EQ(parts.fileName, "Velmora");
}

TEST(DatabasePath, ExtensionIsTheLastDotOfTheName) {
  DatabasePathParts parts = SplitDatabasePath("/x.y/archive.2024.sq3");
  EXPECT_EQ(parts.directory, "x.y/");
  EXPECT_EQ(parts.fileName, "archive.2024");
  EXPECT_EQ(parts.extension, ".sq3");
  parts = SplitDatabasePath("/x.y/noext");
  EXPECT_EQ(parts.fileName, "noext");
  EXPECT_EQ(parts.extension, "");
  parts = SplitDatabasePath("/home/.velmora");
  EXPECT_EQ(parts.fileName, ".velmora");
  EXPECT_EQ(parts.extension, "");
}

TEST(DatabasePath, PartsAlwaysGiveThePathBack) {
  for (const char* path : {"/home/ada/data/Velmora.sq3", "rel/a.b", "/", "", "a", "/a/b/",
                           "//double//slash.sq3", ".hidden", "dir/.hidden.sq3"}) {
    EXPECT_EQ(Joined(SplitDatabasePath(path)), path) << path;
  }
}

}  // namespace
