#pragma once
// What start-up and the view creation show on the splash screen while they work.
#include <string>

class ISplashProgress {
 public:
  virtual ~ISplashProgress() = default;
  // Sets the status line without advancing the progress bar.
  virtual void ShowText(const std::string& text) = 0;
  // Sets the status line and advances the progress bar by one step.
  virtual void ShowStep(const std::string& text, bool hideProgress) = 0;
};
