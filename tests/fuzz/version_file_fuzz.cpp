// Fuzz entry point of the version file: any answer of the web server either is a version
// file or says nothing; what is shown of it is printable UTF-8 and its version text names
// a version the program can show.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "update/version_file.h"
#include "update/version_info.h"

namespace {

bool PrintableUtf8(const std::string& text) {
  return CleanRemoteText(text) == text;
}

bool AsciiVersion(const std::string& text) {
  for (const char c : text)
    if (!((c >= '0' && c <= '9') || c == '.' || (c >= 'a' && c <= 'z') || text == "Unknown"))
      return false;
  return !text.empty();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize) {
  const std::string data(reinterpret_cast<const char*>(pData), nSize);
  const SVersionFile file = ParseVersionFile(data);
  if (!file.bValid && (file.nHigh != 0 || file.nLow != 0 || !file.sText.empty()))
    std::abort();
  if ((file.nLow & 0xFFFFu) != 0 || (file.nLow >> 16) > kMaxRevision)
    std::abort();
  if (file.sText.size() > kVersionFileMaxBytes || !PrintableUtf8(file.sText))
    std::abort();
  for (const unsigned char c : file.sText)
    if (c < 0x20 || c == 0x7F)
      std::abort();
  if (!AsciiVersion(VersionText(file.nHigh, file.nLow, true)))
    std::abort();
  // The text of any bytes is clean, and cleaning it again changes nothing.
  const std::string clean = CleanRemoteText(data);
  if (CleanRemoteText(clean) != clean)
    std::abort();
  // The order of versions is a total order.
  const int forward =
      CompareVersions(kProgramVersionHigh, kProgramVersionLow, file.nHigh, file.nLow);
  const int backward =
      CompareVersions(file.nHigh, file.nLow, kProgramVersionHigh, kProgramVersionLow);
  if (forward != -backward)
    std::abort();
  return 0;
}
