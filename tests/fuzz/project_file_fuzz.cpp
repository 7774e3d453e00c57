// Fuzz entry point of the project file: any text is read or refused with a reason, and a
// project that was read is written to a text that reads back as the same project.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "db/project_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize) {
  const std::string text(reinterpret_cast<const char*>(pData), nSize);
  ProjectFile file;
  ProjectFileError error;
  if (!ParseProjectFile(text, file, error)) {
    if (error.m_sMessage.empty() || error.m_nLine < 0)
      std::abort();
    return 0;
  }
  const std::string written = WriteProjectFile(file);
  ProjectFile again;
  if (!ParseProjectFile(written, again, error))
    std::abort();
  if (WriteProjectFile(again) != written)
    std::abort();
  return 0;
}
