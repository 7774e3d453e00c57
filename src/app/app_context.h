#pragma once
// The services every subsystem needs, handed around by reference. The application
// object (GUI), the command-line tool or a test owns them.
#include "app/log.h"
#include "platform/clock.h"
#include "platform/settings_store.h"
#include "platform/user_prompt.h"

struct AppContext {
  IClock& clock;
  CLog& log;
  IUserPrompt& prompt;
  ISettingsStore& settings;
};
