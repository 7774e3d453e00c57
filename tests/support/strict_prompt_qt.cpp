// Linked into every Qt test program: a report or message box that the test did not
// script an answer for fails the running test.
#include <QTest>
#include <string>

#include "scripted_user_prompt.h"

namespace {

void FailRunningTest(const std::string& description) {
  const std::string message = "Unexpected prompt: " + description;
  QTest::qFail(message.c_str(), __FILE__, __LINE__);
}

[[maybe_unused]] const bool g_bInstalled =
    (ScriptedUserPrompt::SetUnexpectedPromptHandler(&FailRunningTest), true);

}  // namespace
