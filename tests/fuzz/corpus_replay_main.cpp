// Runs every file of the given folders (or the given files) through the fuzz entry point
// once: the fuzzer's corpus as an ordinary test, with any compiler.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize);

namespace {

bool Replay(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file)
    return false;
  const std::vector<char> bytes((std::istreambuf_iterator<char>(file)),
                                std::istreambuf_iterator<char>());
  LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  int nReplayed = 0;
  int nFailed = 0;
  for (int i = 1; i < argc; ++i) {
    const std::filesystem::path root(argv[i]);
    std::error_code error;
    if (std::filesystem::is_directory(root, error)) {
      for (const auto& entry : std::filesystem::directory_iterator(root, error)) {
        if (!entry.is_regular_file())
          continue;
        if (Replay(entry.path()))
          ++nReplayed;
        else
          ++nFailed;
      }
    } else if (Replay(root)) {
      ++nReplayed;
    } else {
      ++nFailed;
    }
  }
  std::printf("%d passed, %d failed\n", nReplayed, nFailed);
  // An empty corpus is a broken test set-up, not a pass.
  return nFailed == 0 && nReplayed > 0 ? 0 : 1;
}
