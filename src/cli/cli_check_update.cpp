// velmora-cli check-update: the version check with the program's settings rules.
#include <iostream>
#include <memory>

#include "base/clock.h"
#include "base/settings_store.h"
#include "cli/cli_command.h"
#include "update/file_settings_store.h"
#include "update/update_check.h"
#include "update/version_info.h"

namespace {

constexpr char kUsage[] =
    "Usage: velmora-cli check-update [--url URL] [--force] [--settings-dir DIR]\n"
    "         Runs the version check (automatic unless --force) and prints\n"
    "         status=N local=X latest=Y text=T. Settings are kept in DIR, else in memory.\n"
    "         Exit status: 0 when the check got an answer (status 1 or 2) or was not due,\n"
    "         1 when it got none (no connection, an error page, an empty answer or one that\n"
    "         is not a version file: status 0, the reason on stderr), 2 for usage errors.\n";

int RunCheckUpdate(const std::vector<std::string>& arguments) {
  std::vector<std::string> args = arguments;
  std::string url = kVersionFileUrl;
  std::string folder;
  const bool hasUrl = TakeOption(args, "--url", url);
  const bool forced = TakeFlag(args, "--force");
  const bool hasFolder = TakeOption(args, "--settings-dir", folder);
  if (!args.empty()) {
    std::cerr << "velmora-cli check-update: unexpected argument " << args.front() << "\n" << kUsage;
    return 2;
  }
  if ((hasUrl && url.rfind("http://", 0) != 0 && url.rfind("https://", 0) != 0) ||
      (hasFolder && folder.empty())) {
    std::cerr << "velmora-cli check-update: the URL must start with http:// or https://"
              << " and the settings folder must be named\n"
              << kUsage;
    return 2;
  }
  std::unique_ptr<ISettingsStore> store;
  if (hasFolder) {
    auto fileStore = std::make_unique<CFileSettingsStore>(folder);
    if (!fileStore->LoadError().empty()) {
      std::cerr << "velmora-cli check-update: " << fileStore->LoadError() << "\n";
      return 1;
    }
    store = std::move(fileStore);
  } else {
    store = std::make_unique<InMemorySettingsStore>();
  }
  SystemClock clock;
  CCurlFetcher fetcher;
  CUpdateCheck check(*store, clock, fetcher);
  check.Check(url, forced);
  std::cout << "status=" << check.Status() << " local=" << check.LocalVersionText()
            << " latest=" << check.RemoteVersionText() << " text=" << check.RemoteText()
            << std::endl;
  if (!std::cout) {
    std::cerr << "velmora-cli check-update: the result could not be written\n";
    return 1;
  }
  if (check.Status() != kUpdateNoResult)
    return 0;
  if (!check.Requested()) {
    std::cerr << "velmora-cli check-update: no check made: " << check.Reason() << "\n";
    return 0;
  }
  std::cerr << "velmora-cli check-update: " << check.Reason() << "\n";
  return 1;
}

const CliCommandRegistration s_registration{
    {"check-update", "compare the running version with the published version file", kUsage,
     RunCheckUpdate}};

}  // namespace
