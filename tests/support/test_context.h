#pragma once
// Everything a core test needs in one object: fake clock, recorded log, scripted
// prompt, in-memory settings, and the AppContext made of them.
#include "base/app_context.h"
#include "recording_log_sink.h"
#include "scripted_user_prompt.h"

struct TestContext {
  FakeClock clock;
  RecordingLogSink sink;
  CLog log{clock, &sink};
  ScriptedUserPrompt prompt;
  InMemorySettingsStore settings;
  AppContext context{clock, log, prompt, settings};
};
