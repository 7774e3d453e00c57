#pragma once
// File names are UTF-8 text throughout the program. std::filesystem::path built from a
// plain std::string reads it in the system's narrow encoding, which on Windows is the ANSI
// code page, not UTF-8: paths go through these instead. On Linux they change nothing.
#include <filesystem>
#include <string>

inline std::filesystem::path Utf8Path(const std::string& utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

inline std::string PathUtf8(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}
