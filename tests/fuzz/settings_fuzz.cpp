// Fuzz entry point of the command-line tool's settings file: any text gives values that,
// written back, read as the same values; integer values read as the store reads them.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "base/number_text.h"
#include "update/file_settings_store.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize) {
  const std::string text(reinterpret_cast<const char*>(pData), nSize);
  const SettingsValues values = ParseSettingsText(text);
  for (const auto& [name, value] : values) {
    if (name.empty() || name.find_first_of("=\n") != std::string::npos ||
        value.find('\n') != std::string::npos)
      std::abort();
    if (value.rfind("i:", 0) == 0)
      (void)ParseInt64(std::string_view(value).substr(2));
  }
  const std::string written = FormatSettingsText(values);
  if (ParseSettingsText(written) != values)
    std::abort();
  return 0;
}
