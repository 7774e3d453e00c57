#pragma once
// The creation of the frame's eleven views at start-up: splash texts, the order, and the
// rule that the first view that cannot be created stops the sequence.
#include <array>
#include <functional>
#include <string>

#include "app/navigation.h"
#include "app/splash_progress.h"
#include "base/user_prompt.h"

struct ViewCreationStep {
  VelmoraView view;
  const char* splashText;
  const char* className;  // named in the failure message
};

const std::array<ViewCreationStep, kViewCount>& ViewCreationOrder();
// "Unable to Create " + class name + "!!! Please Contact Quorix"
std::string ViewCreationFailureText(const std::string& className);

inline constexpr char kCreatingViewsText[] = "Creating Automation Explorer Views ...";
inline constexpr int kViewCreationWaitMs = 200;

struct ViewCreationHooks {
  // Creates one view; false when its window could not be created.
  std::function<bool(VelmoraView)> create;
  // Lets the splash screen repaint between steps.
  std::function<void(int milliseconds)> pause;
  int pauseAfterEachMs = 40;
};

// Creates the views in order with one splash step each; the first failure is reported and
// the remaining views are left uncreated. Returns the number of views created.
int CreateViewsInOrder(ISplashProgress* splash, IUserPrompt& prompt,
                       const ViewCreationHooks& hooks);
