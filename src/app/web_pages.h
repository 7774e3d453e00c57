#pragma once
// The maker's web pages opened from the Help commands and the status bar, and the text
// shown when the web browser could not be started.
#include <string>

inline constexpr char kVelmoraHomePageUrl[] = "https://velmora.quorix.example/";
inline constexpr char kVelmoraSupportUrl[] = "https://velmora.quorix.example/support";
inline constexpr char kVelmoraDownloadsUrl[] = "https://velmora.quorix.example/downloads";
inline constexpr char kQuorixWebSiteUrl[] = "https://www.quorix.example/";

// Result codes of the system's "open" action: above 32 is success.
inline constexpr int kShellOpenSucceeded = 33;
// A failure whose reason the system does not tell.
inline constexpr int kShellOpenNoReason = -1;

// "An Error Occured Starting your Web Browser \n" followed by the reason of the code, or
// the heading alone when the code has no known reason.
std::string WebBrowserErrorText(int code);
