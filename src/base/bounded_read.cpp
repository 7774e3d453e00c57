#include "base/bounded_read.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <memory>
#include <system_error>

namespace {
struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
constexpr size_t kChunkBytes = 64 * 1024;
}  // namespace

SBoundedRead ReadFileBounded(const std::string& path, size_t maxBytes, std::string& text) {
  text.clear();
  SBoundedRead result;
  errno = 0;
  const std::unique_ptr<std::FILE, FileCloser> in(std::fopen(path.c_str(), "rb"));
  if (!in) {
    const int error = errno != 0 ? errno : EIO;
    result.eResult = error == ENOENT ? BoundedRead::kMissing : BoundedRead::kCannotRead;
    result.sError = "cannot open " + path + ": " + std::generic_category().message(error);
    return result;
  }
  // One byte past the limit tells a file at the limit from a larger one.
  char chunk[kChunkBytes];
  while (text.size() <= maxBytes) {
    const size_t wanted = std::min(sizeof(chunk), maxBytes + 1 - text.size());
    errno = 0;
    const size_t got = std::fread(chunk, 1, wanted, in.get());
    text.append(chunk, got);
    if (got == wanted)
      continue;
    if (std::ferror(in.get())) {
      const int error = errno != 0 ? errno : EIO;
      text.clear();
      result.sError = "cannot read " + path + ": " + std::generic_category().message(error);
      return result;
    }
    break;
  }
  if (text.size() > maxBytes) {
    text.clear();
    result.eResult = BoundedRead::kTooLarge;
    result.sError = path + " is larger than " + std::to_string(maxBytes) + " bytes";
    return result;
  }
  result.eResult = BoundedRead::kOk;
  return result;
}
