#include <gtest/gtest.h>

#include "app/splash_state.h"

TEST(SplashState, FirstTickStartsTheVersionCheckOnce) {
  CSplashState splash;
  splash.Open(1000);
  EXPECT_TRUE(splash.Tick(1000).startVersionCheck);
  EXPECT_FALSE(splash.Tick(1000).startVersionCheck);
  EXPECT_FALSE(splash.Tick(1001).startVersionCheck);
}

TEST(SplashState, ClosesItselfOnlyOnceBothMarksArePassed) {
  CSplashState splash;
  splash.Open(500);
  EXPECT_FALSE(splash.Tick(500).close);
  EXPECT_FALSE(splash.Tick(508).close);  // 8 s: first mark only
  EXPECT_FALSE(splash.Tick(515).close);
  const CSplashState::TickResult result = splash.Tick(516);
  EXPECT_TRUE(result.close);
  EXPECT_TRUE(splash.IsClosed());
  EXPECT_EQ(splash.Countdown(), 0);
  EXPECT_FALSE(splash.Tick(520).close) << "a closed splash does not close twice";
}

TEST(SplashState, StepsAdvanceTheProgressToTwelve) {
  CSplashState splash;
  splash.Open(0);
  EXPECT_EQ(splash.Steps(), 0);
  for (int i = 1; i <= kSplashProgressMax; ++i)
    EXPECT_EQ(splash.Step(), i);
}

TEST(SplashState, ThePauseLastsAtMostOneHundredRoundsAndAClickEndsIt) {
  CSplashState splash;
  splash.Open(0);
  int rounds = 0;
  while (splash.CountDown())
    ++rounds;
  EXPECT_EQ(rounds, 100);

  CSplashState clicked;
  clicked.Open(0);
  rounds = 0;
  while (clicked.CountDown()) {
    if (++rounds == 10)
      clicked.Close();
  }
  EXPECT_EQ(rounds, 10);
}
