#include <gtest/gtest.h>

#include <vector>

#include "app/view_creation.h"
#include "scripted_user_prompt.h"

namespace {

class RecordingSplash : public ISplashProgress {
 public:
  void ShowText(const std::string& text) override { texts.push_back(text); }
  void ShowStep(const std::string& text, bool hideProgress) override {
    steps.push_back(text);
    EXPECT_FALSE(hideProgress);
  }
  std::vector<std::string> texts;
  std::vector<std::string> steps;
};

}  // namespace

TEST(ViewCreation, CreatesElevenViewsInOrderWithOneSplashStepEach) {
  RecordingSplash splash;
  ScriptedUserPrompt prompt;
  std::vector<VelmoraView> created;
  std::vector<int> pauses;
  ViewCreationHooks hooks;
  hooks.create = [&](VelmoraView view) {
    created.push_back(view);
    return true;
  };
  hooks.pause = [&](int ms) { pauses.push_back(ms); };
  EXPECT_EQ(CreateViewsInOrder(&splash, prompt, hooks), kViewCount);
  ASSERT_EQ(created.size(), static_cast<size_t>(kViewCount));
  for (int i = 0; i < kViewCount; ++i)
    EXPECT_EQ(static_cast<int>(created[static_cast<size_t>(i)]), i);
  ASSERT_EQ(splash.texts.size(), 1u);
  EXPECT_EQ(splash.texts[0], "Creating Automation Explorer Views ...");
  ASSERT_EQ(splash.steps.size(), 11u);
  EXPECT_EQ(splash.steps.front(), "Initializing Velmora Start View ...");
  EXPECT_EQ(splash.steps[3], "Initializing OPC Data Acquisition View ...");
  EXPECT_EQ(splash.steps[9], "Initializing OPC Data Chart View for Project ...");
  EXPECT_EQ(splash.steps.back(), "Initializing DCOM Pane View ...");
  ASSERT_FALSE(pauses.empty());
  EXPECT_EQ(pauses.front(), 200);
  EXPECT_TRUE(prompt.messages.empty());
}

TEST(ViewCreation, TheFirstFailureStopsTheSequenceAndNamesTheClass) {
  struct Case {
    int failingIndex;
    const char* message;
  };
  const Case cases[] = {
      {0, "Unable to Create CVelmoraStartView!!! Please Contact Quorix"},
      {3, "Unable to Create CDbView!!! Please Contact Quorix"},
      {4, "Unable to Create COPCDataChartView!!! Please Contact Quorix"},
      {9, "Unable to Create COPCDataChartView!!! Please Contact Quorix"},
      {10, "Unable to Create CVelmoraPaneView!!! Please Contact Quorix"},
  };
  for (const Case& c : cases) {
    RecordingSplash splash;
    ScriptedUserPrompt prompt;
    int attempts = 0;
    ViewCreationHooks hooks;
    hooks.create = [&](VelmoraView view) {
      ++attempts;
      return static_cast<int>(view) != c.failingIndex;
    };
    EXPECT_EQ(CreateViewsInOrder(&splash, prompt, hooks), c.failingIndex);
    EXPECT_EQ(attempts, c.failingIndex + 1) << "no view after the failing one is tried";
    ASSERT_EQ(prompt.messages.size(), 1u);
    EXPECT_EQ(prompt.messages[0].text, c.message);
  }
}

TEST(ViewCreation, WorksWithoutASplashScreen) {
  ScriptedUserPrompt prompt;
  ViewCreationHooks hooks;
  hooks.create = [](VelmoraView) { return true; };
  EXPECT_EQ(CreateViewsInOrder(nullptr, prompt, hooks), kViewCount);
}
