#pragma once
// The pseudo-random generator of the expression language: 15-bit values (0 to 32767),
// shared by every evaluation and seeded by each Evaluate with the time in seconds, so
// that unknown variables, rand, percent and roll draw from one sequence.
// The seed is mixed before use: seeds one second apart must not give nearly equal first
// draws (a plain linear congruential generator seeded with the time would make rand()
// of a calculated item creep upward by one step per second instead of varying).
// Thread rule: the evaluation thread only.
#include <cstdint>

class CExpressionRandom {
 public:
  static constexpr int kMax = 32767;
  static void Seed(uint32_t nSeed);
  // The next value, 0 to kMax.
  static int Next();
  // R of the built-in functions: (Next() modulo 32767) times 2^-15, in [0, 1).
  static double Draw();
};
