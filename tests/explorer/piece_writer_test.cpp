// Pieces written on the writer's thread: in order, each once, none offered after a refusal.
#include "explorer/piece_writer.h"

#include <gtest/gtest.h>

#include <string>

TEST(PieceWriter, WritesEveryPieceInOrderAndStopsAtARefusal) {
  std::string written;
  int offered = 0;
  {
    CPieceWriter writer([&](std::string_view piece) {
      ++offered;
      written.append(piece);
      return true;
    });
    std::string expected;
    for (int i = 0; i < 500; ++i) {
      std::string piece = std::to_string(i) + ",";
      expected += piece;
      ASSERT_TRUE(writer.Push(piece));
      EXPECT_TRUE(piece.empty()) << "the text is handed over, an empty buffer left";
    }
    ASSERT_TRUE(writer.Finish());
    EXPECT_EQ(written, expected);
    EXPECT_EQ(offered, 500);
  }

  offered = 0;
  CPieceWriter refusing([&](std::string_view) { return ++offered < 3; });
  bool pushed = true;
  int pushes = 0;
  for (; pushes < 100 && pushed; ++pushes) {
    std::string piece = "x";
    pushed = refusing.Push(piece);
  }
  EXPECT_FALSE(pushed) << "a push after the refusal is refused";
  EXPECT_FALSE(refusing.Finish());
  EXPECT_EQ(offered, 3) << "nothing is offered after the refused piece";
  EXPECT_LE(pushes, 3 + 4 + 1) << "at most a few pieces wait";
}
