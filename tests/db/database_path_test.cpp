#include <gtest/gtest.h>

#include "db/database_path.h"

namespace {

TEST(DatabaseFileName, AbsolutePathNamesTheRootAsDrive) {
  const DatabaseFileName parts = SplitDatabaseFileName("/home/ada/data/Velmora.sq3");
  EXPECT_EQ(parts.drive, "/");
  EXPECT_EQ(parts.fileName, "Velmora");
  EXPECT_EQ(parts.extension, ".sq3");
}

TEST(DatabaseFileName, DriveLetterAndBackslashes) {
  DatabaseFileName parts = SplitDatabaseFileName("C:\\Data\\Velmora.sq3");
  EXPECT_EQ(parts.drive, "C:");
  EXPECT_EQ(parts.fileName, "Velmora");
  EXPECT_EQ(parts.extension, ".sq3");
  parts = SplitDatabaseFileName("d:Velmora.sq3");
  EXPECT_EQ(parts.drive, "d:");
  EXPECT_EQ(parts.fileName, "Velmora");
}

TEST(DatabaseFileName, RelativeAndBarePathsHaveNoDrive) {
  DatabaseFileName parts = SplitDatabaseFileName("data/Velmora.sq3");
  EXPECT_EQ(parts.drive, "");
  EXPECT_EQ(parts.fileName, "Velmora");
  parts = SplitDatabaseFileName("Velmora.sq3");
  EXPECT_EQ(parts.drive, "");
  EXPECT_EQ(parts.fileName + parts.extension, "Velmora.sq3");
}

TEST(DatabaseFileName, ExtensionIsTheLastDotOfTheName) {
  DatabaseFileName parts = SplitDatabaseFileName("/x.y/archive.2024.sq3");
  EXPECT_EQ(parts.fileName, "archive.2024");
  EXPECT_EQ(parts.extension, ".sq3");
  parts = SplitDatabaseFileName("/x.y/noext");
  EXPECT_EQ(parts.fileName, "noext");
  EXPECT_EQ(parts.extension, "");
  parts = SplitDatabaseFileName("/home/.velmora");
  EXPECT_EQ(parts.fileName, ".velmora");
  EXPECT_EQ(parts.extension, "");
  parts = SplitDatabaseFileName("/data/");
  EXPECT_EQ(parts.fileName, "");
  EXPECT_EQ(parts.extension, "");
}

}  // namespace
