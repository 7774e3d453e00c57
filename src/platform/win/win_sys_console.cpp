#include "platform/win/win_sys_console.h"

#include <windows.h>

#include <csignal>

namespace winconsole {

namespace {

void (*g_pOnStop)(int) = nullptr;
HANDLE g_hStopped = nullptr;

BOOL WINAPI ConsoleControl(DWORD event) {
  if (g_pOnStop == nullptr)
    return FALSE;
  switch (event) {
    case CTRL_C_EVENT:
      g_pOnStop(SIGINT);
      return TRUE;
    case CTRL_BREAK_EVENT:
      g_pOnStop(SIGBREAK);
      return TRUE;
    case CTRL_CLOSE_EVENT:
    case CTRL_LOGOFF_EVENT:
    case CTRL_SHUTDOWN_EVENT:
      // The process ends when this returns: give the main thread the time to record the
      // acquisition's end (Windows allows about five seconds for a close).
      g_pOnStop(SIGTERM);
      if (g_hStopped != nullptr)
        WaitForSingleObject(g_hStopped, 4500);
      return TRUE;
    default:
      return FALSE;
  }
}

bool IsConsole(DWORD which) {
  HANDLE handle = GetStdHandle(which);
  DWORD mode = 0;
  return handle != nullptr && handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode);
}

}  // namespace

std::wstring Wide(const std::string& utf8) {
  if (utf8.empty())
    return std::wstring();
  const int size =
      MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(size), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), size);
  return wide;
}

std::string Utf8(const std::wstring& wide) {
  if (wide.empty())
    return std::string();
  const int size = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                       nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(), size,
                      nullptr, nullptr);
  return utf8;
}

std::vector<std::string> Utf8Arguments(int argc, wchar_t** argv) {
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i)
    args.push_back(Utf8(argv[i]));
  return args;
}

void UseUtf8Console() {
  if (IsConsole(STD_OUTPUT_HANDLE) || IsConsole(STD_ERROR_HANDLE))
    SetConsoleOutputCP(CP_UTF8);
  if (IsConsole(STD_INPUT_HANDLE))
    SetConsoleCP(CP_UTF8);
}

void OnConsoleStop(void (*onStop)(int signal)) {
  g_pOnStop = onStop;
  if (g_hStopped == nullptr)
    g_hStopped = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  SetConsoleCtrlHandler(ConsoleControl, TRUE);
}

void FinishStop() {
  if (g_hStopped != nullptr)
    SetEvent(g_hStopped);
}

}  // namespace winconsole
