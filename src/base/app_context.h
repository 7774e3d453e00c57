#pragma once
// The services every subsystem needs, handed around by reference. The application
// object (GUI), the command-line tool or a test owns them.
#include "base/clock.h"
#include "base/log.h"
#include "base/settings_store.h"
#include "base/user_prompt.h"

struct AppContext {
  IClock& clock;
  CLog& log;
  IUserPrompt& prompt;
  ISettingsStore& settings;
};
