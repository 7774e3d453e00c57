#include "db/recording_lock.h"

std::string RecordingLockPath(const std::string& databasePath) {
  return databasePath + ".lock";
}
