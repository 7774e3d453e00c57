#include "base/atomic_file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "base/database_files.h"
#include "temp_dir.h"

namespace {

namespace fs = std::filesystem;

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

void WriteFile(const fs::path& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
}

std::vector<std::string> Names(const fs::path& folder) {
  std::vector<std::string> names;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

// Runs body in a child process under a file size limit of limitBytes, SIGXFSZ as the
// program sets it at start-up. The child's exit code is body's (or 128 + the signal).
int RunUnderSizeLimit(rlim_t limitBytes, const std::function<int()>& body) {
  const pid_t child = ::fork();
  if (child == 0) {
    IgnoreFileSizeLimitSignal();
    rlimit limit{limitBytes, limitBytes};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    ::_exit(body());
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

TEST(AtomicFile, ReplacesTheFileWholeAndLeavesNothingElse) {
  TempDir dir;
  const fs::path target = dir.Path() / "export.csv";
  WriteFile(target, "old\r\n");
  int error = -1;
  ASSERT_TRUE(WriteFileWhole(target.string(), "new\r\ntext\r\n", error));
  EXPECT_EQ(error, 0);
  EXPECT_EQ(ReadFile(target), "new\r\ntext\r\n");
  EXPECT_EQ(Names(dir.Path()), std::vector<std::string>{"export.csv"});
}

TEST(AtomicFile, AFailurePartWayKeepsThePreviousFileAndRemovesTheTemporaryOne) {
  TempDir dir;
  const fs::path target = dir.Path() / "x.csv";
  const std::string previous(3000, 'p');
  WriteFile(target, previous);
  const std::string text(64 * 1024, 'n');
  // The limit lets part of the new text be written before the write fails.
  const int code = RunUnderSizeLimit(8192, [&target, &text] {
    CAtomicFile file(target.string());
    if (!file.Open())
      return 10;
    const bool written = file.Write(text) && file.Commit();
    if (written)
      return 11;
    return file.Error() == EFBIG && file.Cause() == "File Too Large" ? 0 : 12;
  });
  EXPECT_EQ(code, 0) << "11: written past the limit, 12: another cause, >128: killed";
  EXPECT_EQ(ReadFile(target), previous);
  EXPECT_EQ(Names(dir.Path()), std::vector<std::string>{"x.csv"});
}

TEST(AtomicFile, AnAbandonedFileIsDiscarded) {
  TempDir dir;
  const fs::path target = dir.Path() / "list.csv";
  {
    CAtomicFile file(target.string());
    ASSERT_TRUE(file.Open());
    ASSERT_TRUE(file.Write("half"));
    EXPECT_EQ(Names(dir.Path()).size(), 1u);  // the temporary file, next to the target
    EXPECT_NE(Names(dir.Path())[0], "list.csv");
  }
  EXPECT_TRUE(Names(dir.Path()).empty());
}

TEST(AtomicFile, AMissingFolderIsTheCauseAndNothingIsCreated) {
  TempDir dir;
  int error = 0;
  EXPECT_FALSE(WriteFileWhole((dir.Path() / "none" / "x.csv").string(), "x", error));
  EXPECT_EQ(error, ENOENT);
  EXPECT_EQ(FileErrorCauseText(error), "File Not Found");
  EXPECT_TRUE(Names(dir.Path()).empty());
}

TEST(AtomicFile, AFolderAsTargetIsRefused) {
  TempDir dir;
  fs::create_directory(dir.Path() / "d.csv");
  int error = 0;
  EXPECT_FALSE(WriteFileWhole((dir.Path() / "d.csv").string(), "x", error));
  EXPECT_EQ(FileErrorCauseText(error), "Invalid File");
  EXPECT_EQ(Names(dir.Path()), std::vector<std::string>{"d.csv"});
}

TEST(AtomicFile, TheReplacedFileKeepsItsPermissionsAndALinkKeepsPointingAtIt) {
  TempDir dir;
  const fs::path real = dir.Path() / "real.csv";
  const fs::path link = dir.Path() / "link.csv";
  WriteFile(real, "old");
  ::chmod(real.c_str(), 0640);
  fs::create_symlink(real, link);
  int error = 0;
  ASSERT_TRUE(WriteFileWhole(link.string(), "new", error));
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(ReadFile(real), "new");
  struct stat status {};
  ASSERT_EQ(::stat(real.c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 07777, 0640u);
}

TEST(AtomicFile, AFileTheUserMayNotWriteIsNotReplaced) {
  if (::geteuid() == 0)
    GTEST_SKIP() << "the superuser may write any file";
  TempDir dir;
  const fs::path target = dir.Path() / "locked.csv";
  WriteFile(target, "kept");
  ::chmod(target.c_str(), 0444);
  int error = 0;
  EXPECT_FALSE(WriteFileWhole(target.string(), "new", error));
  EXPECT_EQ(FileErrorCauseText(error), "Access Denied");
  EXPECT_EQ(ReadFile(target), "kept");
  EXPECT_EQ(Names(dir.Path()), std::vector<std::string>{"locked.csv"});
}

TEST(AtomicFile, ADeviceIsWrittenInPlace) {
  int error = 0;
  EXPECT_TRUE(WriteFileWhole("/dev/null", "anything", error));
  EXPECT_FALSE(WriteFileWhole("/dev/full", "anything", error));
  EXPECT_EQ(FileErrorCauseText(error), "Disk Full");
}

TEST(AtomicFile, CauseTexts) {
  EXPECT_EQ(FileErrorCauseText(EACCES), "Access Denied");
  EXPECT_EQ(FileErrorCauseText(ENOSPC), "Disk Full");
  EXPECT_EQ(FileErrorCauseText(EFBIG), "File Too Large");
  EXPECT_EQ(FileErrorCauseText(EIO), "Hardware Error");
  EXPECT_EQ(FileErrorCauseText(12345), "Unknown Error !!!");
}

TEST(DatabaseFiles, TheDatabaseAndItsSideFilesAreRecognisedHoweverNamed) {
  TempDir dir;
  const fs::path database = dir.Path() / "Velmora.sq3";
  WriteFile(database, "SQLite format 3");
  fs::create_directory(dir.Path() / "sub");
  const std::string db = database.string();
  EXPECT_TRUE(IsDatabaseFile(db, db));
  EXPECT_TRUE(IsDatabaseFile((dir.Path() / "sub" / ".." / "Velmora.sq3").string(), db));
  for (const char* suffix : {"-journal", "-wal", "-shm", ".lock"})
    EXPECT_TRUE(IsDatabaseFile(db + suffix, db)) << suffix;
  // Another name for the same file: a hard link and a symbolic link.
  fs::create_hard_link(database, dir.Path() / "hard.sq3");
  fs::create_symlink(database, dir.Path() / "soft.csv");
  EXPECT_TRUE(IsDatabaseFile((dir.Path() / "hard.sq3").string(), db));
  EXPECT_TRUE(IsDatabaseFile((dir.Path() / "soft.csv").string(), db));
  // Reached through a link, the database keeps its side files next to the real file.
  EXPECT_TRUE(IsDatabaseFile(db + "-wal", (dir.Path() / "soft.csv").string()));
  // A relative path from the working folder.
  const fs::path before = fs::current_path();
  fs::current_path(dir.Path() / "sub");
  EXPECT_TRUE(IsDatabaseFile("../Velmora.sq3", db));
  EXPECT_TRUE(IsDatabaseFile("../Velmora.sq3-shm", db));
  fs::current_path(before);

  EXPECT_FALSE(IsDatabaseFile((dir.Path() / "Velmora.csv").string(), db));
  EXPECT_FALSE(IsDatabaseFile(db + "-backup", db));
  EXPECT_FALSE(IsDatabaseFile(db, ""));
}

}  // namespace
