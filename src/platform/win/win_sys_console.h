// The Windows side of a console program's text: arguments as UTF-8, console output in
// UTF-8, and the console's stop events (Ctrl+C, Ctrl+Break, closing the window, log-off,
// shut-down). Plain C++ interface; the implementation sees <windows.h>.
#pragma once

#include <string>
#include <vector>

namespace winconsole {

// The program's arguments (without the program name), from their wide form to UTF-8.
std::vector<std::string> Utf8Arguments(int argc, wchar_t** argv);

// A UTF-8 text as UTF-16 (for the wide file functions) and back.
std::wstring Wide(const std::string& utf8);
std::string Utf8(const std::wstring& wide);

// When stdout or stderr is a console, it shows UTF-8 (the program writes UTF-8 bytes);
// redirected output receives the same bytes unchanged.
void UseUtf8Console();

// Calls onStop(signalNumber) from the console's control thread for Ctrl+C (SIGINT),
// Ctrl+Break (SIGBREAK) and close/log-off/shut-down (SIGTERM). For the last three Windows
// ends the process when the handler returns: the handler waits (up to the system's
// grace time) until FinishStop() says the stop has been recorded.
void OnConsoleStop(void (*onStop)(int signal));
void FinishStop();

}  // namespace winconsole
