#pragma once
// A UTF-8 path as the wide text the Windows file functions take.
#ifdef _WIN32
#include <windows.h>

#include <string>

inline std::wstring WidePath(const std::string& path) {
  const int size =
      MultiByteToWideChar(CP_UTF8, 0, path.data(), static_cast<int>(path.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(size > 0 ? size : 0), L'\0');
  if (size > 0)
    MultiByteToWideChar(CP_UTF8, 0, path.data(), static_cast<int>(path.size()), wide.data(), size);
  return wide;
}
#endif
