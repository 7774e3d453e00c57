// The recording lock: one byte per acquisition in "<database>.lock", seen by every other
// holder (also in this process) and dropped by the system when its holder dies.
#include "db/recording_lock.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <filesystem>

#include "db/file_identity.h"
#include "temp_dir.h"

namespace {

TEST(RecordingLockTest, AHeldLockIsSeenAndRefusedToOthersUntilReleased) {
  TempDir dir;
  const std::string database = dir.File("Velmora.sq3");
  EXPECT_EQ(CRecordingLockProbe(database).State(7), RecordingLockState::kFree);  // no file yet
  CRecordingLock lock;
  ASSERT_TRUE(lock.Acquire(database, 7)) << lock.Cause();
  EXPECT_TRUE(std::filesystem::exists(database + ".lock"));
  EXPECT_EQ(CRecordingLockProbe(database).State(7), RecordingLockState::kRecorded);
  EXPECT_EQ(CRecordingLockProbe(database).State(8), RecordingLockState::kFree);

  CRecordingLock other;
  EXPECT_FALSE(other.Acquire(database, 7));
  EXPECT_TRUE(other.Busy());
  EXPECT_TRUE(other.Acquire(database, 8)) << other.Cause();

  lock.Release();
  EXPECT_EQ(CRecordingLockProbe(database).State(7), RecordingLockState::kFree);
  // Releasing one holder leaves the other's lock in place.
  EXPECT_EQ(CRecordingLockProbe(database).State(8), RecordingLockState::kRecorded);
}

#ifndef _WIN32
TEST(RecordingLockTest, TheSystemDropsTheLockOfAProcessThatDies) {
  TempDir dir;
  const std::string database = dir.File("Velmora.sq3");
  int ready[2];
  ASSERT_EQ(pipe(ready), 0);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    CRecordingLock lock;
    const char answer = lock.Acquire(database, 3) ? 'y' : 'n';
    (void)!write(ready[1], &answer, 1);
    pause();  // killed by the parent
    _exit(0);
  }
  char answer = 0;
  ASSERT_EQ(read(ready[0], &answer, 1), 1);
  ASSERT_EQ(answer, 'y');
  EXPECT_EQ(CRecordingLockProbe(database).State(3), RecordingLockState::kRecorded);
  CRecordingLock mine;
  EXPECT_FALSE(mine.Acquire(database, 3));
  kill(child, SIGKILL);
  waitpid(child, nullptr, 0);
  EXPECT_EQ(CRecordingLockProbe(database).State(3), RecordingLockState::kFree);
  EXPECT_TRUE(mine.Acquire(database, 3));
  close(ready[0]);
  close(ready[1]);
}
#endif

TEST(FileIdentityTest, AFileRenamedOverThePathIsAnotherFile) {
  TempDir dir;
  const std::string path = dir.File("a.sq3");
  const std::string copy = dir.File("b.sq3");
  std::FILE* file = std::fopen(path.c_str(), "w");
  ASSERT_NE(file, nullptr);
  std::fclose(file);
  FileIdentity first;
  FileIdentity again;
  std::string cause;
  ASSERT_TRUE(ReadFileIdentity(path, first, cause));
  ASSERT_TRUE(ReadFileIdentity(path, again, cause));
  EXPECT_TRUE(first.SameFileAs(again));
  std::filesystem::copy_file(path, copy);
  std::filesystem::rename(copy, path);
  ASSERT_TRUE(ReadFileIdentity(path, again, cause));
  EXPECT_FALSE(first.SameFileAs(again));
  std::filesystem::remove(path);
  EXPECT_FALSE(ReadFileIdentity(path, again, cause));
  EXPECT_FALSE(cause.empty());
}

}  // namespace
